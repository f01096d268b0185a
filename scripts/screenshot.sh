#!/usr/bin/env bash
# Takes a picture of the real main window: starts the program under Xvfb (the xcb platform),
# waits until its window is drawn, captures the screen and ends the program.
# Usage: scripts/screenshot.sh [OPTION...] OUT.png [PLAN [ACTION...]]
# Options (before OUT.png):
#   --screen WxH  size of the Xvfb screen in pixels (default 1920x1200), e.g. --screen 800x600
#   --scale N     the program's scale factor (QT_SCALE_FACTOR), e.g. --scale 2 on a 3840x2160
#                 screen
#   --fill        the window is sized to fill the screen, as maximised (there is no window
#                 manager to maximise it), before any action
# Each ACTION is done in the window before the picture is taken: "key:NAMES" types keys
# (xdotool names, e.g. key:F10 or key:ctrl+n), "click:X,Y" clicks at a point of the main
# window, "size:WxH" resizes it (size:800x600). Points and sizes are screen pixels, so with
# --scale 2 they are twice the program's own. With actions the whole screen is captured, so
# dialogs and other windows show too; without, only the main window.
# Examples:
#   scripts/screenshot.sh --screen 800x600 --fill small.png dist/Sample.bvx
#   scripts/screenshot.sh --screen 3840x2160 --scale 2 --fill big.png dist/Sample.bvx
# The program runs against a scratch copy of the program folder, so no Settings.ini is left
# behind. Set ARDVANE_PROGRAM_FOLDER to use another payload folder.
set -euo pipefail
cd "$(dirname "$0")/.."
usage="usage: scripts/screenshot.sh [--screen WxH] [--scale N] [--fill] OUT.png [PLAN [ACTION...]]"
screen=1920x1200
scale=
fill=
while [ $# -gt 0 ]; do
  case "$1" in
    --screen)
      screen=${2:?$usage}
      shift 2
      ;;
    --scale)
      scale=${2:?$usage}
      shift 2
      ;;
    --fill)
      fill=1
      shift
      ;;
    --) shift; break ;;
    -*) echo "screenshot.sh: unknown option $1" >&2; echo "$usage" >&2; exit 2 ;;
    *) break ;;
  esac
done
if ! [[ $screen =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]]; then
  echo "screenshot.sh: the screen size must be WIDTHxHEIGHT, e.g. 800x600, not '$screen'" >&2
  exit 2
fi
if [ -n "$scale" ] && ! [[ $scale =~ ^[0-9]+(\.[0-9]+)?$ ]]; then
  echo "screenshot.sh: the scale factor must be a number, e.g. 2, not '$scale'" >&2
  exit 2
fi
out=${1:?$usage}
plan=${2:-}
actions=("${@:3}")
bash scripts/install-deps.sh screenshot
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target ardvane >/dev/null

folder=$(mktemp -d)
display=":$((90 + RANDOM % 100))"
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$folder"
}
trap cleanup EXIT
cp -r "${ARDVANE_PROGRAM_FOLDER:-build/app}/." "$folder/"
rm -f "$folder/Settings.ini"

Xvfb "$display" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done

args=(--program-folder "$folder")
[ -n "$plan" ] && args+=("$(realpath "$plan")")
env=(DISPLAY="$display" QT_QPA_PLATFORM=xcb)
[ -n "$scale" ] && env+=(QT_SCALE_FACTOR="$scale")
env "${env[@]}" build/app/ardvane "${args[@]}" >/dev/null 2>&1 &
app=$!
window=
for _ in $(seq 150); do
  window=$(xwininfo -display "$display" -root -tree 2>/dev/null |
    awk '/"Ardvane - / {print $1; exit}')
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "screenshot.sh: the main window did not appear" >&2
  exit 1
fi
if [ -n "$fill" ]; then
  DISPLAY=$display xdotool windowmove "$window" 0 0
  DISPLAY=$display xdotool windowsize "$window" "${screen%x*}" "${screen#*x}"
fi
sleep 1.5  # let the window finish its first paint
if [ ${#actions[@]} -eq 0 ]; then
  import -display "$display" -window "$window" "$out"
else
  for action in "${actions[@]}"; do
    case "$action" in
      key:*)
        # Keys go to whatever has the keyboard: give it to the program's window first unless
        # one of its own windows (a menu, a dialog) already holds it.
        DISPLAY=$display xdotool getwindowfocus >/dev/null 2>&1 ||
          DISPLAY=$display xdotool windowfocus "$window"
        DISPLAY=$display xdotool key "${action#key:}"
        ;;
      size:*)
        size=${action#size:}
        DISPLAY=$display xdotool windowsize "$window" "${size%x*}" "${size#*x}"
        ;;
      click:*)
        point=${action#click:}
        DISPLAY=$display xdotool mousemove --window "$window" "${point%,*}" "${point#*,}" click 1
        ;;
      *) echo "screenshot.sh: unknown action $action" >&2; exit 2 ;;
    esac
    sleep 0.7
  done
  import -display "$display" -window root "$out"
fi
echo "$out"
