#!/usr/bin/env bash
# The settings file with the real program under a window manager, where a window's
# frame and its client area differ: what one run writes at its close puts the
# windows, the shape tool and the letter case back at the next start.
#   test_settings.sh <path-to-zonefold>   (run through run-in-x.sh)
set -euo pipefail

binary=$1
work=$(mktemp -d)
pid=

cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
    chattr -i "$work" 2>/dev/null || true
    chmod u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Polls a command until it succeeds, for up to $1 seconds.
within() {
    local seconds=$1
    shift
    local tries=$((seconds * 10))
    until "$@"; do
        ((--tries > 0)) || return 1
        sleep 0.1
    done
}

wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# The program writes its settings beside its executable: run a copy in $work.
cp "$binary" "$work/zonefold"

start() {
    (cd "$work" && exec ./zonefold) &
    pid=$!
}

main_window() { xdotool search --all --onlyvisible --pid "$pid" --name '^Zonefold$' 2>/dev/null | head -n 1; }
# The tag list window is the program's other visible top-level window.
tag_window() {
    local main
    main=$(main_window)
    xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "${main:-none}" | head -n 1
}
has_main_window() { [[ -n $(main_window) ]]; }
has_tag_window() { [[ -n $(tag_window) ]]; }
framed() { xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '= '; }

# "left top width height" of a window's frame on the screen. xwininfo gives the
# client area's place; the window manager publishes the frame's extents around it.
frame_of() {
    local id=$1 info left right top bottom
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    info=$(xwininfo -id "$id")
    local x y w h
    x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
    w=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
    h=$(awk '/^ *Height:/ {print $NF}' <<<"$info")
    echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

# Waits until the window's frame stops moving, then prints it.
settled_frame_of() {
    local id=$1 last now
    last=$(frame_of "$id")
    for _ in $(seq 20); do
        sleep 0.25
        now=$(frame_of "$id")
        [[ $now == "$last" ]] && break
        last=$now
    done
    echo "$now"
}

menu_open() {
    local window
    for window in $(xdotool search --onlyvisible --class zonefold 2>/dev/null); do
        # Of the program's windows only the menus bypass the window manager.
        xwininfo -id "$window" 2>/dev/null | grep -q 'Override Redirect State: yes' && return 0
    done
    return 1
}
menu_closed() { ! menu_open; }

# Chooses a menu entry with the keyboard: Alt and the menu's letter, then the
# entry's letter once the menu is up. The keys are sent to the main window rather
# than to whichever window has the focus, which is not settled at once after the
# tag window appears; a letter that arrives before the menu is ready is lost (the
# menu stays open, nothing was chosen), so it is typed again.
choose() {
    local window
    window=$(main_window)
    for _ in 1 2 3; do
        menu_open || xdotool key --window "$window" "alt+$1"
        within 5 menu_open || fail "Alt+$1 opened no menu"
        sleep 0.3
        # A key that ends the program finds no window for its release: no matter.
        xdotool key --window "$window" "$2" 2>/dev/null || true
        within 2 menu_closed && return 0
    done
    fail "the entry $2 of the menu Alt+$1 was not chosen"
}

exited() { ! kill -0 "$pid" 2>/dev/null; }

# Waits for the program to end; its exit status goes to $status.
wait_for_exit() {
    within 20 exited || fail "the program did not end after $1"
    status=0
    wait "$pid" || status=$?
    pid=
}

settings_text() { # left top shape letter tagLeft tagTop tagWidth tagHeight
    printf '[MainWindow]\r\n\r\nLeft = %d\r\nTop = %d\r\nShape = %s\r\nLetter = %s\r\n\r\n' "$1" "$2" "$3" "$4"
    printf '[TagListWindow]\r\n\r\nTLWLeft = %d\r\nTLWTop = %d\r\nTLWWidth = %d\r\nTLWHeight = %d\r\nTLWOpen = true\r\n' \
        "$5" "$6" "$7" "$8"
}

within 10 wm_ready || fail "no window manager"

# --- First run: no settings file. Show the tag list window, move and size both
# windows, pick the polygon tool and capital letters, close by the close box.
start
within 20 has_main_window || fail "the main window did not appear"
main=$(main_window)
within 5 framed "$main" || fail "the main window got no frame"
choose t w # Tags > Show tag window
within 10 has_tag_window || fail "Tags > Show tag window did not show it"
tag=$(tag_window)
within 5 framed "$tag" || fail "the tag window got no frame"

# Moved as a window manager moves a window on request; negative places are those
# of a monitor left of the primary one.
xdotool windowmove "$main" -20 130
xdotool windowmove "$tag" 410 520
xdotool windowsize "$tag" 480 140
read -r main_x main_y _ _ < <(settled_frame_of "$main")
read -r tag_x tag_y tag_w tag_h < <(settled_frame_of "$tag")
echo "first run: main frame at $main_x,$main_y; tag frame at $tag_x,$tag_y size ${tag_w}x$tag_h"
((main_x < 0)) || fail "the main window could not be put at a negative x ($main_x)"
((tag_w > 480 && tag_h > 140)) || fail "the tag window's frame is not measured ($tag_w x $tag_h)"

choose s p # Shape > Polygon
choose t s # Tags > small letters off
wmctrl -i -c "$main" # the close box, through the window manager
wait_for_exit "a close by the window manager"
((status == 0)) || fail "exit status $status after the first run"

settings_text "$main_x" "$main_y" poly Capital "$tag_x" "$tag_y" "$tag_w" "$tag_h" >"$work/expected.ini"
cmp "$work/expected.ini" "$work/Zonefold.ini" || {
    echo "--- expected" >&2; cat -A "$work/expected.ini" >&2
    echo "--- written" >&2; cat -A "$work/Zonefold.ini" >&2
    fail "the first run's settings file"
}

# --- Second run: the windows come back where they were, the tool and the letter
# case are in force (the file written at its close says so), quit by File > End.
start
within 20 has_main_window || fail "the main window did not appear at the second start"
within 10 has_tag_window || fail "the tag window did not open at the second start"
main=$(main_window)
tag=$(tag_window)
read -r x y _ _ < <(settled_frame_of "$main")
[[ "$x $y" == "$main_x $main_y" ]] ||
    fail "main window frame at $x,$y after the restart, not $main_x,$main_y"
read -r x y w h < <(settled_frame_of "$tag")
[[ "$x $y $w $h" == "$tag_x $tag_y $tag_w $tag_h" ]] ||
    fail "tag window frame at $x,$y ${w}x$h after the restart, not $tag_x,$tag_y ${tag_w}x$tag_h"

choose f x # File > End
wait_for_exit "File > End"
((status == 0)) || fail "exit status $status after the second run"
cmp "$work/expected.ini" "$work/Zonefold.ini" || {
    cat -A "$work/Zonefold.ini" >&2
    fail "the second run did not restore what the first one kept"
}

# --- Third run: the program folder cannot be written. The close says nothing,
# the program ends with status 0, the old file stays as it was.
chmod a-w "$work"
if touch "$work/probe" 2>/dev/null; then
    rm -f "$work/probe"
    chattr +i "$work" 2>/dev/null || true
fi
if touch "$work/probe" 2>/dev/null; then
    rm -f "$work/probe"
    echo "note: the program folder stays writable here; the unwritable case is not run"
else
    start
    within 20 has_main_window || fail "the main window did not appear at the third start"
    # Menus are opened only once the start-up has placed the windows.
    within 10 has_tag_window || fail "the tag window did not open at the third start"
    settled_frame_of "$(tag_window)" >/dev/null
    choose s c # a change that would show in the file
    choose f x
    wait_for_exit "File > End with an unwritable folder (an error box may be waiting)"
    ((status == 0)) || fail "exit status $status when the settings could not be written"
    cmp "$work/expected.ini" "$work/Zonefold.ini" || fail "the old settings file was touched"
    [[ $(ls -A "$work" | LC_ALL=C sort | tr '\n' ' ') == "Zonefold.ini expected.ini zonefold " ]] ||
        fail "files left in the program folder: $(ls -A "$work")"
fi

echo "PASS"
