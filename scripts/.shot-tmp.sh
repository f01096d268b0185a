#!/usr/bin/env bash
# Takes a picture of the real main window: starts the program under Xvfb (the xcb platform),
# waits until its window is drawn, captures the screen and ends the program.
# Usage: scripts/screenshot.sh OUT.png [PLAN [ACTION...]]
# Each ACTION is done in the window before the picture is taken: "key:NAMES" types keys
# (xdotool names, e.g. key:F10 or key:ctrl+n), "click:X,Y" clicks at a point of the main
# window, "size:WxH" resizes it (size:800x600). With actions the whole screen is captured, so
# dialogs and other windows show too.
# The program runs against a scratch copy of the program folder, so no Settings.ini is left
# behind. Set ARDVANE_PROGRAM_FOLDER to use another payload folder.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:?usage: scripts/screenshot.sh OUT.png [PLAN]}
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

Xvfb "$display" -screen 0 ${SCREEN:-1920x1200}x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done

args=(--program-folder "$folder")
[ -n "$plan" ] && args+=("$(realpath "$plan")")
DISPLAY=$display QT_QPA_PLATFORM=xcb build/app/ardvane "${args[@]}" >/dev/null 2>&1 &
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
