#pragma once

// The three windows that live for the whole run, made in their order: the main
// window, the tag list window (which applies the settings file), the link dialog.
namespace Forms {

void create();
void destroy();

} // namespace Forms
