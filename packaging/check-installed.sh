#!/usr/bin/env bash
# Checks the Debian package as a user would meet it once installed:
#   packaging/check-installed.sh <package.deb> [<kestrel-simulator from the build>]
# 1. unpacks the package into a temporary root, validates its desktop entry and its
#    AppStream metainfo there, checks the licence (the metainfo's, the copyright file
#    against LICENSE) and the icons (every size, the SVG the same drawing as the PNGs,
#    which the program's own icon code draws) and that the unpacked kestrel-cli shows a
#    build code;
# 2. starts the unpacked program under Xvfb with its bin folder read-only: the window must
#    appear, a click on "現在の設定を保存" must write the settings to
#    $XDG_CONFIG_HOME/kestrel-simulator/kestrel-simulator.ini (folder made by that save,
#    mode 0700), and SIGTERM must close the window as its close button does (the active
#    page and the position written, exit status 0);
# 3. with the build's executable: a copy in a writable folder keeps its settings beside
#    itself, and SIGTERM writes the close keys there too.
# Needs dpkg-deb, desktop-file-validate, appstreamcli, rsvg-convert, ImageMagick, xvfb-run,
# xdotool and xwininfo (./dev installs them). As root the bin folder is made read-only with
# a bind mount in a private mount namespace (root writes through file modes), or, where no
# mount namespace can be made, the session runs as nobody; otherwise its modes are enough.
set -euo pipefail

id=io.github.kestrel_sim.KestrelSimulator
sizes=(16 22 24 32 48 64 128 256)

fail() {
    echo "check-installed: $*" >&2
    exit 1
}

# Waits up to 20 s for a visible window of the program started as process $1; prints its id.
wait_window() {
    local pid=$1 win=""
    for _ in $(seq 200); do
        kill -0 "$pid" 2>/dev/null || fail "the program ended before showing its window"
        win=$(xdotool search --onlyvisible --pid "$pid" --name 'ケストレル' 2>/dev/null | head -1) || true
        [ -n "$win" ] && { echo "$win"; return 0; }
        sleep 0.1
    done
    fail "no window within 20 s"
}

# Waits up to 10 s for file $1 to hold a line matching $2.
wait_line() {
    for _ in $(seq 100); do
        grep -q -- "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "$1 does not hold '$2'"
}

# Sends SIGTERM to $1 and checks that it ends by itself with status 0.
terminate() {
    local pid=$1 status=0
    kill -TERM "$pid"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && { kill -KILL "$pid"; fail "SIGTERM did not end the program"; }
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status after SIGTERM"
}

# Inside Xvfb: drives the unpacked program, then the build's copy.
drive() {
    local work=$1 exe=$2
    local root=$work/root config=$work/config
    export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home XDG_CONFIG_HOME=$config
    local ini=$config/kestrel-simulator/kestrel-simulator.ini

    touch "$root/usr/bin/probe" 2>/dev/null && fail "the bin folder is writable"
    "$root/usr/bin/kestrel-simulator" &
    local pid=$!
    local win
    win=$(wait_window "$pid")
    xwininfo -id "$win" | grep -q 'Width: 633' || fail "the window is not 633 pixels wide"
    xwininfo -id "$win" | grep -q 'Height: 650' || fail "the window is not 650 pixels high"
    xprop -id "$win" WM_CLASS | grep -q '"Kestrel Status Simulator"' ||
        fail "the window class is not the desktop entry's StartupWMClass"
    [ -e "$config" ] && fail "starting the program made $config"

    # The save button (GroupBox14 at 8,504; Button1 at 480,24, 105 x 33).
    xdotool mousemove --window "$win" 540 544 click 1
    wait_line "$ini" '^SavedPP'
    [ "$(stat -c %a "$config/kestrel-simulator")" = 700 ] || fail "the settings folder is not 0700"
    echo "check-installed: the save wrote $ini"

    # Another page (the fourth tab), another place, then the end signal of a logout.
    xdotool mousemove --window "$win" 156 90 click 1
    xdotool windowmove "$win" 40 30
    sleep 0.5
    terminate "$pid"
    grep -q '^TabIndex *= *3' "$ini" || fail "the close did not write the active page"
    { grep -q '^Left *= *40' "$ini" && grep -q '^Top *= *30' "$ini"; } ||
        fail "the close did not write the window position"
    echo "check-installed: SIGTERM closed the window and wrote TabIndex and Window"

    # A copy in a writable folder keeps its settings beside itself.
    [ -n "$exe" ] || return 0
    local own=$work/own
    mkdir -p "$own"
    cp "$exe" "$own/kestrel-simulator"
    printf '[Character]\nTabIndex=2\n' >"$own/kestrel-simulator.ini"
    export XDG_CONFIG_HOME=$work/unused
    "$own/kestrel-simulator" &
    pid=$!
    wait_window "$pid" >/dev/null
    terminate "$pid"
    grep -q '^Left' "$own/kestrel-simulator.ini" || fail "the close did not write beside the copy"
    grep -q '^TabIndex *= *2' "$own/kestrel-simulator.ini" || fail "the close lost the page"
    [ -e "$work/unused" ] && fail "a copy in a writable folder wrote to XDG_CONFIG_HOME"
    echo "check-installed: a copy in a writable folder keeps its settings beside itself"
}

# In a private mount namespace (root only): bin read-only, then the X session.
session() {
    local work=$1 exe=$2
    if [ "$(id -u)" -eq 0 ]; then
        mount --bind "$work/root/usr/bin" "$work/root/usr/bin"
        mount -o remount,ro,bind "$work/root/usr/bin"
    fi
    # A random first display number: xvfb-run -a alone races with other sessions for :99.
    xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24" "$0" --drive "$work" "$exe"
}

case "${1:-}" in
    --drive)
        drive "$2" "$3"
        exit 0
        ;;
    --session)
        session "$2" "$3"
        exit 0
        ;;
esac

deb=${1:?usage: check-installed.sh <package.deb> [<kestrel-simulator>]}
exe=${2:-}
[ -n "$exe" ] && exe=$(realpath "$exe")
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
root=$work/root
mkdir -m 0700 "$work/runtime" "$work/home"
dpkg-deb -x "$deb" "$root"

desktop=$root/usr/share/applications/$id.desktop
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"
{ grep -q '^Exec=kestrel-simulator$' "$desktop" && [ -x "$root/usr/bin/kestrel-simulator" ]; } ||
    fail "the desktop entry does not start the installed program"
grep -q "^Icon=$id\$" "$desktop" || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch the desktop entry"

# The licence: MIT in the metainfo, and the package's copyright file in the machine-
# readable format with the holders and the licence text of LICENSE.
license=$(dirname "$0")/../LICENSE
copyright=$root/usr/share/doc/kestrel-simulator/copyright
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the metainfo names no MIT licence"
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" ||
    fail "the copyright file is not in the machine-readable format"
grep -qx "Copyright: $(sed -n 's/^Copyright (c) //p' "$license")" "$copyright" ||
    fail "the copyright file names other holders than LICENSE"
# The standalone licence paragraph (the second "License: MIT"), unindented, " ." an empty line.
cmp -s <(sed -n '/^Permission is hereby granted/,$p' "$license") \
       <(awk '/^License: MIT$/ && ++n == 2 { on = 1; next }
              on && /^ / { sub(/^ /, ""); if ($0 == ".") $0 = ""; print; next }
              on { exit }' "$copyright") ||
    fail "the copyright file's licence text is not that of LICENSE"

icons=$root/usr/share/icons/hicolor
svg=$icons/scalable/apps/$id.svg
for size in "${sizes[@]}"; do
    png=$icons/${size}x${size}/apps/$id.png
    [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "$png is not $size px"
    # From 48 px up the SVG drawn at this size looks as the program's own drawing: small
    # antialiasing differences only (RMSE about 0.006 to 0.015), where a changed colour or
    # shape gives 0.04 and more. Below 48 px the two rasterisers differ too much to tell.
    [ "$size" -ge 48 ] || continue
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$work/svg.png"
    error=$(compare -metric RMSE "$work/svg.png" "$png" null: 2>&1 | sed 's/.*(\(.*\))/\1/') || true
    awk -v e="$error" 'BEGIN { exit !(e < 0.025) }' ||
        fail "the SVG icon differs from the $size px icon (RMSE $error)"
done
echo "check-installed: desktop entry, metainfo, licence and ${#sizes[@]} icon sizes checked"

# The command-line face answers from the unpacked package: the figures of a code (the
# build of empty settings), exit 2 for a damaged one; its manual is installed.
cli=$root/usr/bin/kestrel-cli
code=BERIIAAAAAAAAAAnrA
shown=$("$cli" show "$code") || fail "kestrel-cli show $code ended with status $?"
{ grep -q "^  \"code\": \"$code\",\$" <<<"$shown" &&
    grep -q '^  "final": \[15, 17, 10, 5, 5\],$' <<<"$shown" &&
    grep -q '^  "distances": \[230, 240, 250\],$' <<<"$shown"; } ||
    fail "kestrel-cli show printed other figures: $shown"
status=0
"$cli" show "${code%A}B" >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "kestrel-cli show of a damaged code ended with status $status"
[ -s "$root/usr/share/man/man1/kestrel-cli.1.gz" ] || fail "the manual of kestrel-cli is missing"
echo "check-installed: kestrel-cli shows a build code"

# The installed search.md's example command, run against the unpacked package (its /usr
# being $root/usr), prints the output the document shows, but for the count of nodes.
doc=$root/usr/share/doc/kestrel-simulator/search.md
command=$(sed -n 's/^<!-- output of: \(kestrel-cli search [^ ]*\) .*/\1/p' "$doc")
[ -n "$command" ] || fail "no example command in the installed search.md"
example=${command#kestrel-cli search }
[ -s "$root$example" ] || fail "the example $example named by search.md is not installed"
printed=$("$cli" search "$root$example") || fail "$command ended with status $?"
shown=$(sed -n '/^<!-- output of: /,/^```$/p' "$doc" | sed '1,2d;$d')
[ "$(grep -v '"nodes": ' <<<"$printed")" = "$(grep -v '"nodes": ' <<<"$shown")" ] ||
    fail "$command printed other than search.md shows"
"$cli" --help | grep -qF "/usr/share/doc/kestrel-simulator/search.md" ||
    fail "kestrel-cli --help does not name the installed search.md"
echo "check-installed: the example of the installed search.md works"

# The package stands in the section of its desktop entry's category.
section=$(dpkg-deb -f "$deb" Section)
grep -q '^Categories=Game;' "$root/usr/share/applications/$id.desktop" ||
    fail "the desktop entry is no game"
[ "$section" = games ] || fail "the package's section is $section, not games"
echo "check-installed: section games"

if [ "$(id -u)" -ne 0 ]; then
    chmod a-w "$root/usr/bin"
    session "$work" "$exe"
elif unshare --mount --propagation private true 2>/dev/null; then
    unshare --mount --propagation private "$0" --session "$work" "$exe"
else
    # No mount namespace here, and root writes through file modes: the whole session runs
    # as nobody instead, on copies it can reach.
    cp "$0" "$work/check-installed.sh"
    if [ -n "$exe" ]; then
        cp "$exe" "$work/build-exe"
        exe=$work/build-exe
    fi
    chmod a-w "$root/usr/bin"
    chown -R nobody:nogroup "$work"
    chmod 0755 "$work"
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
        "$work/check-installed.sh" --session "$work" "$exe"
fi
echo "check-installed: all checks passed"
