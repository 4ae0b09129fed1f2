#!/usr/bin/env bash
# The packages as built by `cmake --build --preset linux --target package` and
# `cmake --build --preset windows --target package`: what they hold, the Debian package's
# dependencies, desktop entries, icon, example unit and lintian report, and the zip's guides.
# Running what they install is the e2e.session.installed case.
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
    "-rw-r--r-- root/root ./usr/share/icons/hicolor/32x32/apps/vellora.png" \
    "-rw-r--r-- root/root ./usr/share/icons/hicolor/128x128/apps/vellora.png" \
    "-rw-r--r-- root/root ./usr/share/man/man1/vellora.1.gz" \
    "-rw-r--r-- root/root ./usr/share/doc/vellora/examples/vellora-xss-lock.service" \
    "-rw-r--r-- root/root ./usr/share/doc/vellora/examples/vellora-xautolock.desktop" \
    "-rw-r--r-- root/root ./usr/share/doc/vellora/copyright"; do
    grep -qxF -e "$entry" "$work/deb" || fail "the package has no \"$entry\""
  done
  note "both programs in /usr/lib/vellora, the vellora command links to Vellora.scr"
  mkdir "$work/root"
  dpkg-deb -x "$deb" "$work/root"

  # The menu entry and the autostart example as desktops read them; the entry's icon is in the
  # theme, each picture of it in the folder of its size.
  desktop="$work/root/usr/share/applications/vellora.desktop"
  autostart="$work/root/usr/share/doc/vellora/examples/vellora-xautolock.desktop"
  desktop-file-validate "$desktop" "$autostart" || fail "desktop-file-validate refuses the desktop entries"
  grep -qx 'Exec=vellora /c' "$desktop" || fail "the desktop entry does not open the settings with vellora /c"
  grep -q '^Keywords=.*screensaver;' "$desktop" || fail "the desktop entry has no Keywords"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  sizes=""
  for icon_file in $(compgen -G "$work/root/usr/share/icons/hicolor/*/apps/$icon.png"); do
    size=$(identify -format '%wx%h' "$icon_file") || fail "$icon_file is no picture"
    [ "$(basename "$(dirname "$(dirname "$icon_file")")")" = "$size" ] || fail "$icon_file is $size"
    sizes+=" $size"
  done
  [ -n "$sizes" ] || fail "no icon \"$icon\" in the package's hicolor theme"
  note "the desktop entries validate; the menu entry runs vellora /c with the icon \"$icon\" ($sizes )"

  # The systemd user unit as the user's manager would load it (its own runtime folder, since
  # the check may run outside a login session).
  mkdir -m 700 "$work/runtime"
  XDG_RUNTIME_DIR="$work/runtime" systemd-analyze --user --man=no verify \
    "$work/root/usr/share/doc/vellora/examples/vellora-xss-lock.service" || fail "systemd refuses the example unit"
  grep -qx 'ExecStart=/usr/bin/xss-lock -- vellora /s' "$work/root/usr/share/doc/vellora/examples/vellora-xss-lock.service" ||
    fail "the example unit does not run vellora /s through xss-lock"
  note "the example unit loads and runs xss-lock -- vellora /s"

  # The dialog's texts are Japanese, so the package brings a Japanese font; the libraries are
  # worked out from the programs by dpkg-shlibdeps, so the ones they link must be there.
  depends=$(dpkg-deb -f "$deb" Depends)
  grep -q '\bfonts-ipafont-gothic | fonts-japanese-gothic\b' <<<"$depends" || fail "Depends names no Japanese font: $depends"
  for library in libc6 libgtk-3-0 libx11-6 libglu1-mesa libsdl2-2.0-0 libmpg123-0 libsndfile1 libcdio19; do
    grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
  done
  note "Depends: $depends"

  # Lintian reads the manual page too (man --warnings).
  status=0
  lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1 || status=$?
  grep -v 'running with root privileges' "$work/lintian" || true
  [ "$status" = 0 ] || fail "lintian found errors or warnings"
  note "lintian finds no errors or warnings"

  # Every file of the archive, so that the README's uninstall list stays whole.
  tar -tzvf "$tgz" | awk '$1 !~ /^d/ { print $1, $6, $7, $8 }' | sed 's/ *$//' | sort >"$work/tgz"
  top="Vellora-$version-linux-x64"
  printf '%s\n' \
    "-rwxr-xr-x $top/lib/vellora/Vellora.scr" \
    "-rwxr-xr-x $top/lib/vellora/Vellora.data" \
    "lrwxrwxrwx $top/bin/vellora -> ../lib/vellora/Vellora.scr" \
    "-rw-r--r-- $top/share/applications/vellora.desktop" \
    "-rw-r--r-- $top/share/icons/hicolor/32x32/apps/vellora.png" \
    "-rw-r--r-- $top/share/icons/hicolor/128x128/apps/vellora.png" \
    "-rw-r--r-- $top/share/man/man1/vellora.1.gz" \
    "-rw-r--r-- $top/share/doc/vellora/README.md" \
    "-rw-r--r-- $top/share/doc/vellora/changelog.gz" \
    "-rw-r--r-- $top/share/doc/vellora/copyright" \
    "-rw-r--r-- $top/share/doc/vellora/examples/vellora-xautolock.desktop" \
    "-rw-r--r-- $top/share/doc/vellora/examples/vellora-xss-lock.service" | sort >"$work/tgz.expected"
  diff "$work/tgz.expected" "$work/tgz" >&2 || fail "the archive's files differ from the expected ones (above)"
  note "the archive holds bin/, lib/vellora/ and share/ for any prefix, and nothing else"
  ;;

windows)
  zip="$build/Vellora-$version-windows-x64.zip"
  [ -f "$zip" ] || skip "$zip"
  folder="Vellora-$version-windows-x64"
  listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
  [ "$listing" = "$folder/LICENSE.txt $folder/README-ja.txt $folder/README.txt $folder/Vellora.data $folder/Vellora.scr " ] ||
    fail "the zip holds $listing"
  note "the zip holds the two programs side by side, README.txt, README-ja.txt and LICENSE.txt"
  unzip -q "$zip" -d "$work"
  grep -q 'the Vellora authors' "$work/$folder/LICENSE.txt" || fail "LICENSE.txt names no authors"
  # The user's guides open in Notepad as text: UTF-8 with a byte order mark, CRLF line ends,
  # no Markdown; each tells how to install, where the files go and how to uninstall.
  for guide in README.txt:Uninstall README-ja.txt:アンインストール; do
    file="$work/$folder/${guide%%:*}"
    [ "$(head -c 3 "$file" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "${guide%%:*} has no UTF-8 byte order mark"
    iconv -f UTF-8 -t UTF-8 "$file" >/dev/null || fail "${guide%%:*} is not UTF-8"
    [ "$(grep -c $'\r$' "$file")" = "$(wc -l <"$file")" ] || fail "${guide%%:*} has lines without CR"
    grep -q '^```\|^#' "$file" && fail "${guide%%:*} is Markdown"
    for part in "${guide#*:}" 'Vellora.scr' '%LOCALAPPDATA%\Vellora' "Vellora $version"; do
      grep -qF -e "$part" "$file" || fail "${guide%%:*} does not mention $part"
    done
  done
  note "README.txt (English) and README-ja.txt (Japanese): plain UTF-8 text with CRLF for Notepad"
  bash "$(dirname "$0")/../wine/manifest_check.sh" "$work/$folder"
  ;;

*) fail "unknown kind $kind" ;;
esac
echo "PASS package.$kind"
