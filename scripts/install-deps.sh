#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Ardvane need.
# Idempotent: when everything is present it only asks dpkg and returns.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  # Qt 6 for the windows and charts, with what they need to build and draw text.
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libxkbcommon-dev libvulkan-dev libgl-dev
  # The windows' text, and Arial-metric text for the charts and reports.
  fonts-dejavu-core fonts-liberation2
  # A display server for screenshots and for starting the program without a desktop.
  xvfb xauth
)
# Extra packages for a purpose, e.g. `install-deps.sh fuzz`.
for extra in "$@"; do
  case "$extra" in
    fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
    screenshot) packages+=(x11-utils imagemagick xdotool) ;;
    # Converting a report the way an office suite opens it, and reading the result back.
    report) packages+=(libreoffice-writer-nogui poppler-utils) ;;
    # Printing a report as a browser shows it.
    browser) packages+=(chromium) ;;
    # Building the Debian package (its icons, its dependencies) and checking it.
    package) packages+=(dpkg-dev fakeroot file binutils lintian librsvg2-bin desktop-file-utils) ;;
    *) echo "install-deps.sh: unknown extra '$extra'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
