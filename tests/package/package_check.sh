#!/usr/bin/env bash
# The packages as built by `cmake --build --preset linux --target package` and
# `cmake --build --preset windows --target package`: what they hold, the Debian package's
# dependencies and its lintian report. Running what they install is the e2e.session.installed
# case.
# Usage: package_check.sh linux|windows BUILD_DIR VERSION
set -euo pipefail
kind=$1 build=$2 version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "  - $*"; }
skip() { echo "SKIP: $1 not built (cmake --build --preset $kind --target package)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

case "$kind" in
linux)
  deb=$(compgen -G "$build/vellora_${version}_*.deb" | head -n 1) || skip "the Debian package"
  tgz="$build/Vellora-$version-linux-x64.tar.gz"
  [ -f "$tgz" ] || skip "$tgz"

  # Owner, mode and name of each entry, links with their target.
  dpkg-deb -c "$deb" | awk '{ $3 = $4 = $5 = ""; print }' | tr -s ' ' >"$work/deb"
  for entry in \
    "-rwxr-xr-x root/root ./usr/lib/vellora/Vellora.scr" \
    "-rwxr-xr-x root/root ./usr/lib/vellora/Vellora.data" \
    "lrwxrwxrwx root/root ./usr/bin/vellora -> ../lib/vellora/Vellora.scr" \
    "-rw-r--r-- root/root ./usr/share/applications/vellora.desktop" \
    "-rw-r--r-- root/root ./usr/share/doc/vellora/copyright"; do
    grep -qxF -e "$entry" "$work/deb" || fail "the package has no \"$entry\""
  done
  note "both programs in /usr/lib/vellora, the vellora command links to Vellora.scr"
  dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/vellora.desktop | grep -qx 'Exec=vellora /c' ||
    fail "the desktop entry does not open the settings with vellora /c"
  note "the desktop entry runs vellora /c"

  # Worked out from the programs by dpkg-shlibdeps, so the libraries they link must be there.
  depends=$(dpkg-deb -f "$deb" Depends)
  for library in libc6 libgtk-3-0 libx11-6 libglu1-mesa libsdl2-2.0-0 libmpg123-0 libsndfile1 libcdio19; do
    grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
  done
  note "Depends: $depends"

  status=0
  lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || status=$?
  grep -v 'running with root privileges' "$work/lintian" || true
  [ "$status" = 0 ] || fail "lintian found errors"
  note "lintian finds no errors"

  tar -tzvf "$tgz" | awk '{ print $1, $6, $7, $8 }' | sed 's/ *$//' >"$work/tgz"
  for entry in \
    "-rwxr-xr-x Vellora-$version-linux-x64/lib/vellora/Vellora.scr" \
    "-rwxr-xr-x Vellora-$version-linux-x64/lib/vellora/Vellora.data" \
    "lrwxrwxrwx Vellora-$version-linux-x64/bin/vellora -> ../lib/vellora/Vellora.scr"; do
    grep -qxF -e "$entry" "$work/tgz" || fail "the archive has no \"$entry\""
  done
  note "the archive holds bin/, lib/vellora/ and share/ for any prefix"
  ;;

windows)
  zip="$build/Vellora-$version-windows-x64.zip"
  [ -f "$zip" ] || skip "$zip"
  folder="Vellora-$version-windows-x64"
  listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
  [ "$listing" = "$folder/LICENSE.txt $folder/README.txt $folder/Vellora.data $folder/Vellora.scr " ] ||
    fail "the zip holds $listing"
  note "the zip holds the two programs side by side, README.txt and LICENSE.txt"
  unzip -q "$zip" -d "$work"
  grep -q 'the Vellora authors' "$work/$folder/LICENSE.txt" || fail "LICENSE.txt names no authors"
  bash "$(dirname "$0")/../wine/manifest_check.sh" "$work/$folder"
  ;;

*) fail "unknown kind $kind" ;;
esac
echo "PASS package.$kind"
