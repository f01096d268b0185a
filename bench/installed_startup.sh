#!/usr/bin/env bash
# Start-up time of an installed Ardvane to its shown main window, under Xvfb on the real xcb
# platform: from starting the process until the main window is mapped on the screen (polled
# every 5 ms), with the sample plan open. The first start, which seeds a fresh per-user folder,
# is reported apart from the later ones.
# Usage: bench/installed_startup.sh [EXECUTABLE [RUNS]]   (default /usr/bin/ardvane, 11 runs)
set -euo pipefail
program=${1:-/usr/bin/ardvane}
runs=${2:-11}
plan=$(dirname "$(dirname "$program")")/share/ardvane/Sample.bvx
[ -x "$program" ] || { echo "installed_startup: no program at $program" >&2; exit 1; }

home=$(mktemp -d)
display=":$((200 + RANDOM % 100))"
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done

# Milliseconds from start until the main window is viewable.
one_start() {
  local start app window ms=
  start=$(date +%s%N)
  HOME=$home XDG_DATA_HOME= DISPLAY=$display QT_QPA_PLATFORM=xcb "$program" "$plan" \
    >/dev/null 2>&1 &
  app=$!
  for _ in $(seq 2000); do
    window=$(xwininfo -display "$display" -root -tree 2>/dev/null |
      awk '/"Ardvane - / { print $1; exit }')
    if [ -n "$window" ] &&
        xwininfo -display "$display" -id "$window" 2>/dev/null | grep -q IsViewable; then
      ms=$(( ($(date +%s%N) - start) / 1000000 ))
      break
    fi
    sleep 0.005
  done
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  [ -n "$ms" ] || { echo "installed_startup: the main window did not appear" >&2; exit 1; }
  echo "$ms"
}

first=$(one_start)
times=()
for _ in $(seq "$runs"); do times+=("$(one_start)"); done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
echo "installed_startup: first start (seeding ~/.local/share/ardvane): $first ms"
echo "installed_startup: later starts: median $median ms of $runs (${times[*]})"
