#pragma once
// Shared helpers for the window tests.
