#!/usr/bin/env bash
# Regenerates the pictures of the window, all over the selection in
# docs/screenshot-settings.ini (the first page, level "レジェンド", a full outfit, cards, a
# caddie, a club set and a special card), under Xvfb:
#   docs/screenshot.png  the window as it opens;
#   docs/tabs.png        the tabs and the group-box captions above them at twice the size;
#   docs/preview.png     the wear-slot list "上" opened with a click and the highlight moved
#                        down four entries, to "パワー+2", with the tip beside it that shows
#                        what picking it would change;
#   docs/search.png      the dialog "ビルド探索" opened with Ctrl+F, "なし" clicked and then
#                        the rows 頭1, 頭2, 顔, 頬, 装飾, キャディ and the ten upgrade counts
#                        made free, searched for the longest 1W distance without a power
#                        penalty: the answers and the curve.
# Needs a build (./dev test) and the packages xvfb, imagemagick and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=build/ui/kestrel-simulator
[ -x "$exe" ] || { echo "no $exe: build first (./dev test)" >&2; exit 1; }

# A copy of the program in a folder of its own, so that its settings file and its lock
# are not those of the user's copy.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/"
cp docs/screenshot-settings.ini "$work/kestrel-simulator.ini"

# The window stands at (0, 0) without a frame, as Xvfb has no window manager; the list
# "上" of the first page at (66, 116) in it, 121 x 20.
XDG_RUNTIME_DIR="$work" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$1/kestrel-simulator" &
    pid=$!
    sleep 3
    import -window root -crop 633x650+0+0 +repage "$1/shot.png"
    xdotool mousemove 120 126 click 1
    sleep 1
    xdotool key Down Down Down Down
    sleep 1
    import -window root -crop 640x330+0+0 +repage "$1/preview.png"
    xdotool key Escape
    sleep 1
    xdotool key ctrl+f
    sleep 2
    dialog=$(xdotool search --name "ビルド探索" | head -n 1)
    # Places of "なし", the boxes and "探索" in the dialog (1000 x 700).
    for at in "366 49" "370 73" "428 73" "484 73" "100 95" "312 95" "100 161" \
              "100 183" "168 183" "266 183" "337 183" "404 183" \
              "100 205" "168 205" "266 205" "337 205" "404 205" "833 102"; do
        xdotool mousemove --window "$dialog" $at click 1
    done
    xdotool mousemove --window "$dialog" 600 -20
    sleep 3
    import -window "$dialog" "$1/search.png"
    kill "$pid"
    wait "$pid" || true
' _ "$work"
cp "$work/shot.png" docs/screenshot.png
convert "$work/shot.png" -crop 440x130+0+0 +repage -filter point -resize 200% docs/tabs.png
cp "$work/preview.png" docs/preview.png
cp "$work/search.png" docs/search.png
echo "wrote docs/screenshot.png, docs/tabs.png, docs/preview.png and docs/search.png"
