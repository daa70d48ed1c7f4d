#!/usr/bin/env bash
# Takes a screenshot of Zonefold with its main window and the tag list window
# showing, in a private X server with a window manager.
#   screenshot.sh <output.png> [zonefold-binary] [picture]
# The binary defaults to the release build; a picture, if given, is opened at
# start (the map name dialog is answered as offered).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:?usage: screenshot.sh <output.png> [zonefold-binary] [picture]}")
binary=$(realpath "${2:-$root/build/release/src/zonefold}")
picture=${3:+$(realpath "$3")}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of its own: the program reads and writes Zonefold.ini beside itself.
cp "$binary" "$work/zonefold"
# Both windows placed apart, the tag list open.
printf '%s\r\n' '[MainWindow]' 'Left = 40' 'Top = 40' 'Shape = Rect' 'Letter = Small' \
    '[TagListWindow]' 'TLWLeft = 40' 'TLWTop = 420' 'TLWWidth = 560' 'TLWHeight = 160' \
    'TLWOpen = true' >"$work/Zonefold.ini"

cat >"$work/shoot.sh" <<'EOF'
set -u
work=$1 out=$2 picture=$3
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5
cd "$work"
if [ -n "$picture" ]; then ./zonefold "$picture" & else ./zonefold & fi
app=$!
for _ in $(seq 100); do
    xdotool search --onlyvisible --name 'タグリスト' >/dev/null 2>&1 && break
    if [ -n "$picture" ]; then
        # The map name dialog comes first: take the name it offers.
        dialog=$(xdotool search --onlyvisible --name '^Map Name$' 2>/dev/null | head -1)
        [ -n "$dialog" ] && xdotool windowactivate --sync "$dialog" key --clearmodifiers Return
    fi
    sleep 0.1
done
sleep 1
import -window root "$out"
rc=$?
wmctrl -F -c Zonefold 2>/dev/null || kill "$app"
wait "$app" 2>/dev/null
kill "$wm" 2>/dev/null
exit $rc
EOF

xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$work/shoot.sh" "$work" "$out" "$picture"
echo "$out"
