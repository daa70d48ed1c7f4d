#!/usr/bin/env bash
# The real program under a window manager: it starts with one window titled
# "Zonefold", ends with status 0 soon after the window manager asks it to close,
# and leaves its settings beside the executable. Started on a missing picture it
# shows one error box and goes on.
#   test_startup.sh <path-to-zonefold>   (run inside X by run-in-x.sh)
set -uo pipefail
binary=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of its own, since the program writes Zonefold.ini beside itself.
cp "$binary" "$work/zonefold"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Window ids whose title is exactly $1, one a line.
windows_titled() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

wait_for_count() { # title count seconds
    local deadline=$((SECONDS + $3))
    while ((SECONDS < deadline)); do
        [ "$(windows_titled "$1" | wc -l)" -eq "$2" ] && return 0
        sleep 0.1
    done
    return 1
}

# Waits for process $1 to end within $2 seconds; its status is in $status.
wait_for_exit() {
    local deadline=$((SECONDS + $2))
    while kill -0 "$1" 2>/dev/null; do
        if ((SECONDS >= deadline)); then
            kill "$1" 2>/dev/null
            return 1
        fi
        sleep 0.1
    done
    wait "$1"
    status=$?
    return 0
}

client_size() { # window id -> "width height"
    xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'
}

# --- Start and close through the window manager -----------------------------
(cd "$work" && exec ./zonefold) &
pid=$!
wait_for_count Zonefold 1 15 || fail "no window titled Zonefold"
main=$(windows_titled Zonefold)
read -r width height < <(client_size "$main")
[ "$width" -eq 294 ] || fail "main window is $width wide, not 294"
# 251 below the menu bar, whose height belongs to the style.
((height > 251 && height < 251 + 60)) || fail "main window is $height high"
[ -z "$(windows_titled 'タグリスト')" ] || fail "the tag list window shows at start"

wmctrl -F -c Zonefold || fail "wmctrl could not ask the window to close"
wait_for_exit "$pid" 5 || fail "still running 5 s after the close request"
[ "$status" -eq 0 ] || fail "exit status $status"
[ -f "$work/Zonefold.ini" ] || fail "no Zonefold.ini beside the program"
grep -q '^\[MainWindow\]' "$work/Zonefold.ini" || fail "Zonefold.ini lacks [MainWindow]"

# --- A missing picture on the command line: one error box, then on ----------
rm -f "$work/Zonefold.ini"
(cd "$work" && exec ./zonefold "$work/missing.png") &
pid=$!
# The error box bears the application title too; it comes up while the main
# window is being shown, and the main window follows once it is answered.
box=""
deadline=$((SECONDS + 15))
while [ -z "$box" ] && ((SECONDS < deadline)); do
    for id in $(windows_titled Zonefold); do
        read -r w _ < <(client_size "$id")
        [ "$w" -ne 294 ] && box=$id
    done
    sleep 0.1
done
[ -n "$box" ] || fail "no error box"
xdotool windowactivate --sync "$box" key --clearmodifiers Return
wait_for_count Zonefold 1 5 || fail "the error box did not go away, or no main window"
sleep 1
[ "$(windows_titled Zonefold | wc -l)" -eq 1 ] || fail "a second error box appeared"
read -r width _ < <(client_size "$(windows_titled Zonefold)")
[ "$width" -eq 294 ] || fail "the window left is not the empty main window"

wmctrl -F -c Zonefold || fail "wmctrl could not ask the window to close"
wait_for_exit "$pid" 5 || fail "still running 5 s after the close request"
[ "$status" -eq 0 ] || fail "exit status $status after the error box"

echo "PASS"
