#!/usr/bin/env bash
# Real-world check of the Debian package: builds it (scripts/package.sh), installs it on this
# machine with dpkg, and runs the installed program as a throwaway unprivileged user with a
# fresh home: --version, --results on the installed sample plan, a report request with its
# PDF into the per-user program folder, which must have been seeded from /usr/share/ardvane;
# then a file the user edited and one the user lost, the package installed again over itself
# and another start: the edit is kept, the lost file is back and, as no file changed, no new
# version (NAME.new) is put beside the edit. Finally the package is
# purged and the user removed, and the machine must be as it was. Cleans up on failure too.
# Needs root.
# Usage: scripts/check-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

[ "$(id -u)" -eq 0 ] || { echo "check-package: run as root (it installs a package)" >&2; exit 2; }
installed() { dpkg-query -W -f='${Status}' ardvane 2>/dev/null | grep -q 'install ok installed'; }
if installed || [ -e /usr/share/ardvane ] || [ -e /usr/bin/ardvane ]; then
  echo "check-package: ardvane is installed on this machine already; remove it first" >&2
  exit 2
fi
user=ardvane-check
if getent passwd "$user" >/dev/null; then
  echo "check-package: the user $user exists already; remove it first" >&2
  exit 2
fi

deb=$(bash scripts/package.sh | tail -1)
version=$(dpkg-deb -f "$deb" Version)

work=$(mktemp -d)
chmod 755 "$work"
home="$work/home"
we_installed=0
we_added_user=0
cleanup() {
  set +e
  [ "$we_installed" = 1 ] && dpkg --purge ardvane >/dev/null
  [ "$we_added_user" = 1 ] && userdel "$user"
  rm -rf "$work"
}
trap cleanup EXIT

failed=0
fail() { echo "check-package: $1" >&2; failed=1; }

echo "check-package: installing $deb"
we_installed=1
if ! dpkg -i "$deb" >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -f -y --no-install-recommends >/dev/null
fi
installed || { echo "check-package: the package did not install" >&2; exit 1; }

# The desktop's databases picked the package up through dpkg's triggers.
[ -f /usr/share/mime/application/x-ardvane-plan.xml ] ||
  fail "the shared MIME database has no application/x-ardvane-plan"
grep -q '^[0-9]*:application/x-ardvane-plan:\*\.bvx' /usr/share/mime/globs2 ||
  fail "the MIME database does not match *.bvx"
grep -q '^ Client application/x-ardvane-plan$' /usr/share/mime/XMLnamespaces ||
  fail "the MIME database does not match the plan file's root element"
grep -aq '^\[50:application/x-ardvane-plan\]$' /usr/share/mime/magic ||
  fail "the MIME database has no content match for plan files"
if command -v update-desktop-database >/dev/null; then
  grep -q '^application/x-ardvane-plan=ardvane.desktop' /usr/share/applications/mimeinfo.cache ||
    fail "plan files are not associated with ardvane.desktop"
fi
desktop-file-validate /usr/share/applications/ardvane.desktop || fail "the desktop entry is not valid"

stamp=$(readelf -p .ardvane_version /usr/bin/ardvane | awk '/\\FileVersion$/ { getline; print $NF }')
[ "$stamp" = "$version" ] || fail "the installed program's FileVersion is \"$stamp\", not $version"

useradd --no-create-home --home-dir "$home" --shell /usr/sbin/nologin "$user"
we_added_user=1
mkdir -p "$home" "$work/runtime"
chown "$user:" "$home" "$work/runtime"
chmod 700 "$work/runtime"
# The user's own environment only: nothing of the caller's, no display.
as_user() {
  runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$work/runtime" "$@"
}
folder="$home/.local/share/ardvane"
template="$folder/Templates/English/CoverPage.ktf"

out=$(as_user ardvane --version) || fail "ardvane --version failed"
[ "$out" = "ardvane $version" ] || fail "ardvane --version says \"$out\", not \"ardvane $version\""

results=$(as_user ardvane --results /usr/share/ardvane/Sample.bvx) ||
  fail "ardvane --results on the installed sample plan failed"
grep -q '"proposed"' <<<"$results" || fail "--results printed no proposed figures"

report="$folder/Reports/Check.doc"
as_user ardvane /usr/share/ardvane/Sample.bvx '-<p>Check' --pdf || fail "the report request failed"
[ -s "$report" ] || fail "no report at $report"
head -c 5 "$folder/Reports/Check.pdf" 2>/dev/null | grep -q '^%PDF-' ||
  fail "no PDF of the report at $folder/Reports/Check.pdf"

# Every file of the payload is in the per-user folder now.
missing=$(cd /usr/share/ardvane && find . -type f | while read -r f; do
  [ -f "$folder/$f" ] || echo "$f"; done)
[ -z "$missing" ] || fail "the per-user folder lacks: $(tr '\n' ' ' <<<"$missing")"
[ -n "$(find "$folder/Templates/English" -name '*.ktf' 2>/dev/null)" ] ||
  fail "no English templates in the per-user folder"

# The adviser edits a template and loses a help file; the package is installed again over
# itself, as an upgrade replaces it; the next start keeps the edit and brings the file back.
[ -f "$template" ] || fail "no template to edit at $template"
if [ -f "$template" ]; then
  as_user sh -c 'printf "%s\n" "<p>Edited by this office.</p>" >> "$1"' sh "$template"
  edited=$(sha256sum < "$template")
  as_user rm -f "$folder/Help/OK.txt"
  dpkg -i "$deb" >/dev/null || fail "installing the package over itself failed"
  as_user ardvane --results /usr/share/ardvane/Sample.bvx >/dev/null ||
    fail "the second start failed"
  as_user ardvane /usr/share/ardvane/Sample.bvx '-<p>Check again' ||
    fail "the second report request failed"
  [ "$(sha256sum < "$template")" = "$edited" ] || fail "the edited template was overwritten"
  grep -qF "Edited by this office." "$folder/Reports/Check again.doc" ||
    fail "the second report does not use the edited template"
  [ -f "$folder/Help/OK.txt" ] || fail "the lost help file was not copied again"
  # The same files again: the record of what was copied says nothing changed, so nothing is
  # offered beside the edited template.
  [ -f "$folder/.seeded" ] || fail "no record of the copied files at $folder/.seeded"
  offered=$(find "$folder" -name '*.new')
  [ -z "$offered" ] || fail "new versions offered though the files did not change: $offered"
fi

# Removal leaves the machine as it was.
dpkg --purge ardvane >/dev/null || fail "dpkg --purge failed"
we_installed=0
userdel "$user" || fail "userdel failed"
we_added_user=0
for path in /usr/bin/ardvane /usr/share/ardvane /usr/share/doc/ardvane \
    /usr/share/applications/ardvane.desktop /usr/share/mime/packages/ardvane.xml \
    /usr/share/mime/application/x-ardvane-plan.xml /usr/share/man/man1/ardvane.1.gz \
    /usr/share/icons/hicolor/scalable/apps/ardvane.svg; do
  [ ! -e "$path" ] || fail "$path is still there after the purge"
done
! grep -q 'x-ardvane-plan' /usr/share/mime/globs2 || fail "the MIME database still knows *.bvx"
! installed || fail "the package is still installed"
! getent passwd "$user" >/dev/null || fail "the user $user is still there"

if [ "$failed" -ne 0 ]; then
  echo "check-package: FAILED" >&2
  exit 1
fi
echo "check-package: passed ($deb, version $version)"
