#!/usr/bin/env bash
# Takes a screenshot of Zonefold with its main window and the tag list window
# showing, in a private X server with a window manager.
#   screenshot.sh <output.png> [zonefold-binary] [picture] [map|href]
# The binary defaults to the release build; a picture, if given, is opened at
# start (the map name dialog is answered as offered). With "map" the shot shows
# the map name dialog instead (a picture is needed); with "href", the link dialog
# as the default-area command opens it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:?usage: screenshot.sh <output.png> [zonefold-binary] [picture] [map|href]}")
binary=$(realpath "${2:-$root/build/release/src/zonefold}")
picture=${3:+$(realpath "$3")}
shot=${4:-}
case $shot in '' | map | href) ;; *) echo "screenshot.sh: unknown dialog '$shot'" >&2; exit 2 ;; esac
[ "$shot" != map ] || [ -n "$picture" ] || { echo "screenshot.sh: map needs a picture" >&2; exit 2; }

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
work=$1 out=$2 picture=$3 shot=$4
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
        if [ -n "$dialog" ] && [ "$shot" = map ]; then
            sleep 1
            import -window root "$out"
        fi
        [ -n "$dialog" ] && xdotool windowactivate --sync "$dialog" key --clearmodifiers Return
        [ -n "$dialog" ] && [ "$shot" = map ] && break
    fi
    sleep 0.1
done
sleep 1
rc=0
if [ "$shot" = href ]; then
    # シェイプ(&S) > その他の領域(&D) on the main window.
    main=$(xdotool search --onlyvisible --name 'Zonefold$' 2>/dev/null | head -1)
    xdotool windowactivate --sync "$main" key --clearmodifiers alt+s
    sleep 0.3
    xdotool key d
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name '^その他の領域$' >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 1
fi
[ "$shot" = map ] || import -window root "$out" || rc=$?
[ "$shot" != href ] || xdotool key --clearmodifiers Escape
wmctrl -F -c Zonefold 2>/dev/null || kill "$app"
wait "$app" 2>/dev/null
kill "$wm" 2>/dev/null
exit $rc
EOF

xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$work/shoot.sh" "$work" "$out" "$picture" "$shot"
echo "$out"
