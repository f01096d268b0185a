#!/usr/bin/env bash
# Builds the Debian package of Ardvane: a Release build in its own folder, with Debian's
# hardening flags, then CPack. Writes build-package/ardvane_<version>_amd64.deb and prints
# its path on the last line.
# Usage: scripts/package.sh [BUILD_DIR]   (default: build-package; JOBS=N builds with N jobs)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh package

build=${1:-build-package}
# The flags Debian builds its own packages with (stack protector, fortified functions,
# read-only relocations, immediate binding).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DARDVANE_PACKAGE=ON \
  -DARDVANE_BUILD_TESTS=OFF -DARDVANE_BUILD_BENCH=OFF -DARDVANE_BUILD_FUZZ=OFF >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}"
rm -f "$build"/ardvane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)

debs=("$build"/ardvane_*_amd64.deb)
[ -f "${debs[0]}" ] || { echo "package: CPack wrote no package" >&2; exit 1; }
echo "package: lintian"
# Errors fail the package; warnings are shown.
lintian --fail-on error "${debs[0]}" || {
  echo "package: lintian found errors" >&2
  exit 1
}
realpath "${debs[0]}"
