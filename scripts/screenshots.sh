#!/usr/bin/env bash
# Makes the README's pictures again, into docs/screenshots/: the real program on an 800 x 600
# virtual screen (Xvfb with the openbox window manager), opened on a demo meet and driven with
# the mouse and keyboard through xdotool; and the first page of a division's slot sheets,
# printed to PDF and rendered with pdftoppm. Installs what it needs from Debian when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh xvfb xdotool openbox
scripts/build.sh

out=docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM

# The program opens the meet beside itself: a copy of it in a folder with the demo meet.
cp build/bin/trotwise "$work/"
QT_QPA_PLATFORM=offscreen build/bin/trotwise-demo meet "$work"

# The printed page, from the same meet.
QT_QPA_PLATFORM=offscreen build/bin/trotwise-demo slotsheets "$work" B "$work/slotsheets.pdf"
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/slotsheets.pdf" "$out/slot-sheet"

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.2; done
export DISPLAY=":$(cat "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1
(cd "$work" && exec ./trotwise) &
pids+=($!)
main=$(xdotool search --sync --onlyvisible --name '^Main$' | head -1)

# Positions are the windows' own layout, in pixels of the main window's inside.
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; sleep 1; }
keys() { xdotool key --clearmodifiers "$@"; sleep 1; }
shot() { QT_QPA_PLATFORM=xcb build/bin/trotwise-demo grab "$out/$1.png"; }
waitFor() { xdotool search --sync --onlyvisible --name "$1" >/dev/null; sleep 1; }
# Closes the active window as its close box does, answering its question Yes.
closeAsked() { keys alt+F4; keys Return; }

click 132 90 && keys B Return            # Division B
click 64 304                             # Entry Booth
click 128 360                            # Rider Entries
click 493 286 && keys P Return           # the team Prairie Wind Riders
shot main-menu
click 489 376                            # Add Entries
waitFor '^Class Assignments$'
shot entry-grid
closeAsked

click 128 456                            # Placings
click 441 224 && keys 3 Return           # class 3
click 377 284                            # Add Placings
waitFor '^Class Placings$'
shot placing-form
closeAsked

click 64 512                             # Reports
click 128 432                            # Meet Standings
waitFor '^Team Standings$'
shot report-preview
