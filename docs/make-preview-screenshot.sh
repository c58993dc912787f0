#!/usr/bin/env bash
# Regenerates docs/preview.png: the window under Xvfb on the first page with the same
# selection as docs/screenshot.png, the wear-slot list "上" opened with a click and the
# highlight moved down four entries with the arrow key, to "パワー+2", so that the tip
# beside it shows what picking it would change.
# Needs a build (./dev test) and the packages xvfb, imagemagick and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=build/ui/kestrel-simulator
[ -x "$exe" ] || { echo "no $exe: build first (./dev test)" >&2; exit 1; }

# A copy of the program in a folder of its own, so that its settings file and its lock
# are not those of the user's copy; the selection is the one of docs/screenshot.png.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/"
sed -n "/^cat >\"\$work\/kestrel-simulator.ini\" <<'INI'$/,/^INI$/p" docs/make-screenshot.sh |
    sed '1d;$d' >"$work/kestrel-simulator.ini"
grep -q '^\[Bastian\]' "$work/kestrel-simulator.ini" || { echo "no selection found" >&2; exit 1; }

# The list "上" of the first page stands at (66, 116) in the window, 121 x 20; the
# window itself at (0, 0) without a frame, as Xvfb has no window manager.
XDG_RUNTIME_DIR="$work" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$1/kestrel-simulator" &
    pid=$!
    sleep 3
    xdotool mousemove 120 126 click 1
    sleep 1
    xdotool key Down Down Down Down
    sleep 1
    import -window root -crop 640x330+0+0 +repage "$1/shot.png"
    kill "$pid"
    wait "$pid" || true
' _ "$work"
cp "$work/shot.png" docs/preview.png
echo "wrote docs/preview.png"
