#!/usr/bin/env bash
# Peak resident memory of the running program: a copy of the simulator starts under
# Xvfb on a full settings file, runs for a few seconds and is stopped; GNU time reports
# the largest resident set of the program (a descendant it waits for through timeout).
# Needs a build (./dev bench) and the packages xvfb, xauth and time.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/ui/kestrel-simulator "$work/"
build/bench/full_settings "$work/kestrel-simulator.ini"

XDG_RUNTIME_DIR="$work" xvfb-run -a -s "-screen 0 1024x768x24" \
    /usr/bin/time -v -o "$work/time.txt" \
    timeout -s TERM "$seconds" "$work/kestrel-simulator" || true
# timeout exits with 124 when it had to stop the program: anything else means the program
# ended on its own and the figure would not be that of a running window.
status=$(awk -F': ' '/Exit status/ {print $2}' "$work/time.txt")
[ "$status" = 124 ] || { echo "the simulator ended on its own (status $status)" >&2; exit 1; }
peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
[ -n "$peak" ] || { echo "no figure from /usr/bin/time" >&2; cat "$work/time.txt" >&2; exit 1; }
echo "peak resident memory of kestrel-simulator under Xvfb, ${seconds} s on a full settings file:" \
     "$((peak / 1024)) MB ($peak kB)"
