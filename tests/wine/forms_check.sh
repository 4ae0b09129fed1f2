#!/usr/bin/env bash
# The Win32 forms backend under Wine, driven by forms_check_win32.exe from the Windows build tree.
#
# Usage: forms_check.sh <dist/windows folder> <build tree folder of forms_check_win32.exe>
#
# The program checks the backend in-process (its "ok:"/"FAIL:" lines), then holds the form
# "Vellora forms check" hidden for a while and shows it. From outside this case checks that the
# form is found by its title while hidden (from another Windows process, with FindWindowW, as the
# shell's start-up guard looks), and once shown; that clicks arrive with their buttons, shift
# state and positions; that the open-file dialog returns a typed name; and that a close request,
# after its message box, ends the program with exit code 0. The program icon of Vellora.scr and
# Vellora.data is read from beside it, and the user's decimal separator from two short runs
# under Japanese and German locales. What the real programs show of the backend (pictures,
# labels, the combo box, frames and placement, embedding, program start) is proven by the
# command, settings dialog, preview and session cases.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 <dist/windows folder> <forms check build folder>" >&2
  exit 2
fi
readonly CHECK_BUILD_DIR="$2"
for program in forms_check_win32.exe find_window_win32.exe; do
  if [ ! -f "$CHECK_BUILD_DIR/$program" ]; then
    echo "SKIP: no $CHECK_BUILD_DIR/$program (cmake --preset windows && cmake --build --preset windows)"
    exit 77
  fi
done

# shellcheck source=wine_session.sh
source "$(dirname "$0")/wine_session.sh" "$1"

readonly TITLE="Vellora forms check"
readonly HIDDEN_MS=6000

# The forms' default font "ＭＳ Ｐゴシック" does not exist under Wine, whose font mapper then takes
# any font of the Japanese character set, the fixed-pitch IPAGothic among them. The prefix maps
# the name to the metric-compatible proportional IPAPGothic, as fontconfig does on Linux. Once
# per prefix; the registry file is UTF-16 so that the Japanese name survives any locale.
map_default_font() {
  local marker="$WINEPREFIX/.vellora-font-substitutes"
  [ -f "$marker" ] && return 0
  fc-list ':family=IPAPGothic' family | grep -q . ||
    fail "the font IPAPGothic is not installed (bash scripts/setup.sh: fonts-ipafont-gothic)"
  local reg="$WORK_DIR/font-substitutes.reg"
  {
    printf '\xff\xfe'
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
      '"ＭＳ Ｐゴシック"="IPAPGothic"' '' | iconv -f UTF-8 -t UTF-16LE
  } >"$reg"
  timeout 60 wine regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1 9>&- || fail "regedit could not import $reg"
  # The server writes the registry to disk when it ends.
  timeout 60 "$WINESERVER_BIN" -w 9>&- || true
  touch "$marker"
}

# The value of the first "key: value" line the program wrote, without the CR of text mode.
fact() { tr -d '\r' <"$WORK_DIR/program.out" | sed -n "s/^$1: //p" | head -n 1; }
has_line() { tr -d '\r' <"$WORK_DIR/program.out" | grep -qxF -- "$1"; }

wait_for_line() {
  local line="$1" deadline=$((SECONDS + $2))
  until has_line "$line"; do
    program_running || fail "the program ended before it wrote \"$line\""
    [ $SECONDS -lt "$deadline" ] || fail "no line \"$line\" within $2 s"
    sleep 0.1
  done
}

wait_for_fact() {
  local deadline=$((SECONDS + $2))
  until [ -n "$(fact "$1")" ]; do
    program_running || fail "the program ended before it reported \"$1\""
    [ $SECONDS -lt "$deadline" ] || fail "no \"$1\" within $2 s"
    sleep 0.1
  done
}

no_failed_verdicts() {
  local failed
  failed="$(tr -d '\r' <"$WORK_DIR/program.out" | grep '^FAIL: ' || true)"
  [ -z "$failed" ] || fail "the program's own checks failed:
$failed"
}

# find_window_win32 run as a second Windows process: prints found or missing.
look_up() { timeout 30 wine "$folder/find_window_win32.exe" "$@" 2>/dev/null 9>&- | tr -d '\r' || true; }

map_default_font

# A folder name with a blank: the program path in the command line is then quoted.
folder="$WORK_DIR/forms check"
mkdir -p "$folder"
cp "$CHECK_BUILD_DIR/forms_check_win32.exe" "$CHECK_BUILD_DIR/find_window_win32.exe" "$folder/"
# The shipped programs beside it: their program icon is read as Explorer reads it.
cp "$DIST_DIR/Vellora.scr" "$DIST_DIR/Vellora.data" "$folder/"
windows_folder="Z:${folder//\//\\}"
cd "$folder"
timeout 150 wine "$folder/forms_check_win32.exe" "$HIDDEN_MS" /S:1234 \
  >"$WORK_DIR/program.out" 2>"$WORK_DIR/program.err" 9>&- &
# shellcheck disable=SC2034  # read by the helpers of wine_session.sh
PROGRAM_PID=$!

# --- In-process checks and process facts, all made while the form is hidden.
wait_for_fact hidden 90
no_failed_verdicts
pass "$(tr -d '\r' <"$WORK_DIR/program.out" | grep -c '^ok: ') in-process checks passed"
[ "$(fact command-line)" = "[$HIDDEN_MS /S:1234]" ] ||
  fail "command line $(fact command-line), expected the arguments without the quoted program path"
[ "$(fact folder)" = "[$windows_folder]" ] || fail "application folder $(fact folder), expected [$windows_folder]"
[ "$(fact screen)" = "1024 768" ] || fail "screen size $(fact screen), expected Xvfb's 1024 768"
[ "$(fact twips)" = "15.000000 15.000000" ] || fail "twips per pixel $(fact twips), expected 15 at 96 dpi"
pass "command line, application folder, screen size and twips per pixel"
for program in Vellora.scr Vellora.data; do
  [ "$(fact "program-icon $program")" = "2 32 16" ] ||
    fail "$program: icons extracted, large and small width: $(fact "program-icon $program")"
done
pass "Vellora.scr and Vellora.data carry the program icon at 32 and 16 pixels"
case "$(fact default-font)" in
  *"= IPAPGothic"*", charset 128, proportional") pass "default font: $(fact default-font)" ;;
  *) fail "the default font maps to $(fact default-font), not the proportional IPAPGothic" ;;
esac

# --- Found by title while hidden, from another process.
[ "$(look_up "$TITLE")" = found ] || fail "FindWindowW from another process does not find the hidden form"
[ -z "$(fact shown)" ] || fail "the form was shown before the hidden look-up ended; raise HIDDEN_MS"
window_visible "$TITLE" && fail "the form is on screen while it should be hidden"
pass "the hidden form is found by its title and is not on screen"
[ "$(look_up "$TITLE x")" = missing ] || fail "a longer title is found too"

# --- Shown.
wait_for_window "$TITLE" 30
[ "$(look_up "$TITLE")" = found ] || fail "the shown form is not found by its title"
pass "the form is shown and found by its title"
wait_for_line "focus: in" 10
pass "the shown form reports that it has the focus"
read -r left top _ _ <<<"$(fact window)"
no_failed_verdicts

# --- Input: buttons, shift state and client positions.
xdotool mousemove $((left + 50)) $((top + 60)) click 1
wait_for_line "mouse-down: 1 0 50 60" 10
wait_for_line "mouse-up: 1 0 50 60" 10
xdotool mousemove $((left + 70)) $((top + 90)) keydown shift click 1 keyup shift
wait_for_line "mouse-down: 1 1 70 90" 10
pass "left clicks arrive with their shift state and client position"

# A right click opens the open-file dialog; a typed name of a missing file is taken.
xdotool mousemove $((left + 60)) $((top + 70)) click 3
wait_for_line "mouse-up: 2 0 60 70" 10
wait_for_window "ﾌｧｲﾙを開く" 20
pass "a right click arrives and the open-file dialog \"ﾌｧｲﾙを開く\" is up"
# The whole path is typed: the dialog starts in the folder it last showed to this program.
xdotool type --delay 20 "$windows_folder\\song.mp3"
xdotool key Return
wait_for_fact chosen 20
[ "$(fact chosen)" = "$windows_folder\\song.mp3" ] ||
  fail "the dialog gave $(fact chosen), expected $windows_folder\\song.mp3"
pass "the dialog gave $(fact chosen)"

# --- A close request from another process: message box, then the end with exit code 0.
[ "$(look_up "$TITLE" --close)" = found ] || fail "the form is gone before the close request"
wait_for_line "close-requested: yes" 15
wait_for_window "Vellora\(ScreenSaver\)" 20  # a pattern: the parentheses escaped
window_visible "$TITLE" || fail "the form went away on the close request"
pass "the close request reaches the form, which stays and shows its message box"
xdotool key Return
wait_for_program_exit 20
[ "$PROGRAM_EXIT_CODE" -eq 0 ] || fail "exit code $PROGRAM_EXIT_CODE, expected 0"
has_line "ending: yes" || fail "the program ended before leaving its loop"
window_visible "$TITLE" && fail "the form is still on screen after the end"
no_failed_verdicts
pass "dismissing the box ended the program with exit code 0"

# --- The user's decimal separator follows the locale the program is started in.
for locale in ja_JP.UTF-8:. de_DE.UTF-8:,; do
  LC_ALL=${locale%:*} timeout 60 wine "$folder/forms_check_win32.exe" decimal >"$WORK_DIR/program.out" 2>/dev/null 9>&- ||
    fail "the decimal separator under ${locale%:*} could not be read"
  [ "$(fact decimal)" = "[${locale#*:}]" ] || fail "decimal separator $(fact decimal) under ${locale%:*}"
done
pass "the user's decimal separator: \".\" under ja_JP, \",\" under de_DE"
