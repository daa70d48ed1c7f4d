#!/usr/bin/env bash
# Runs a test script against the real program in a private X server with a window
# manager: run-in-x.sh <script> <path-to-zonefold>
set -euo pipefail
script=$1
binary=$2
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    bash -c 'openbox >/dev/null 2>&1 & wm=$!; sleep 0.5; bash "$0" "$1"; rc=$?; kill $wm 2>/dev/null; exit $rc' \
    "$script" "$binary"
