#!/usr/bin/env bash
# Regenerates docs/screenshot.png: the window under Xvfb on the first page, level
# "レジェンド", with a full outfit, cards, a caddie, a club set and a special card chosen;
# and docs/tabs.png, the tabs and the group-box captions above them at twice the size.
# Needs a build (./dev test) and the packages xvfb and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=build/ui/kestrel-simulator
[ -x "$exe" ] || { echo "no $exe: build first (./dev test)" >&2; exit 1; }

# A copy of the program in a folder of its own, so that its settings file and its lock
# are not those of the user's copy.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/"
cat >"$work/kestrel-simulator.ini" <<'INI'
[Window]
Left=0
Top=0
[Character]
Level=12
TabIndex=0
[Bastian]
Top=4
Pants=7
TopPants=0
Shoes=6
Hand=6
Head1=7
Head2=3
Face=5
Hoho=1
Ear=1
Back=1
Shippo=1
Acce=2
Ring=1
CharaCard1=3
CharaCard2=5
CharaCard3=7
CaddieCard1=1
CaddieCard2=4
PowSlotUp=6
CtrlSlotUp=3
ExaSlotUp=2
SpinSlotUp=1
CurSlotUp=1
[Caddie]
Caddie=3
[SpecialCard]
SpecialCard=1
[Club]
Club=41
[Club0]
PowSlotUp=0
[Club41]
PowSlotUp=2
INI

XDG_RUNTIME_DIR="$work" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$1/kestrel-simulator" &
    pid=$!
    sleep 3
    import -window root -crop 633x650+0+0 +repage "$1/shot.png"
    kill "$pid"
' _ "$work"
cp "$work/shot.png" docs/screenshot.png
convert "$work/shot.png" -crop 440x130+0+0 +repage -filter point -resize 200% docs/tabs.png
echo "wrote docs/screenshot.png and docs/tabs.png"
