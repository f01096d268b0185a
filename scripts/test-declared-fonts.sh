#!/usr/bin/env bash
# Runs the window and chart tests once more with only the fonts install-deps.sh installs, so
# that a test which passes only because some other font happens to be installed fails here.
# The system's rules (/etc/fonts/conf.d) still apply: they map Arial to Liberation Sans.
# Usage: scripts/test-declared-fonts.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"

folders=()
for package in fonts-dejavu-core fonts-liberation2; do
  while IFS= read -r folder; do folders+=("$folder"); done < <(
    dpkg -L "$package" | grep -E '\.(ttf|otf)$' | xargs -n1 dirname | sort -u)
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
{
  echo '<?xml version="1.0"?>'
  echo '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">'
  echo '<fontconfig>'
  for folder in "${folders[@]}"; do echo "  <dir>$folder</dir>"; done
  echo "  <cachedir>$work/cache</cachedir>"
  echo '  <include ignore_missing="yes">/etc/fonts/conf.d</include>'
  echo '</fontconfig>'
} > "$work/fonts.conf"
export FONTCONFIG_FILE="$work/fonts.conf"
export HOME="$work"  # no fonts of the user's own
export QT_QPA_PLATFORM=offscreen

echo "Fonts: $(fc-list : family | sort -u | paste -sd ',')"
status=0
for suite in "$build"/tests/ui/ui_*_tests; do
  [ -x "$suite" ] || continue
  echo "== $(basename "$suite") with the declared fonts only"
  "$suite" --gtest_brief=1 || status=1
done
exit $status
