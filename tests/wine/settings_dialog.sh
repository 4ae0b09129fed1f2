#!/usr/bin/env bash
# The Windows build's settings dialog under Wine: Vellora.scr /c opens "<Vellora>" centred,
# a third of the free height down, frame included; choosing the music CD, typing a track and pressing "設定"
# writes Vellora.ini in code page 932; choosing another option and pressing "ｷｬﾝｾﾙ" writes
# nothing, and neither does "設定" once the file is read-only.
#
# Usage: settings_dialog.sh <dist/windows folder>
set -euo pipefail

if [ ! -f "${1:-}/Vellora.scr" ]; then
  echo "SKIP: no ${1:-dist/windows}/Vellora.scr (cmake --preset windows && cmake --build --preset windows)"
  exit 77
fi
# shellcheck source=wine_session.sh
source "$(dirname "$0")/wine_session.sh" "$1"

folder="$(stage_program)"
cp "$DIST_DIR/Vellora.scr" "$folder/Vellora.scr"
ini="$folder/Vellora.ini"

open_dialog() {
  timeout 90 wine "$folder/Vellora.scr" /c >"$WORK_DIR/program.out" 2>"$WORK_DIR/program.err" 9>&- &
  PROGRAM_PID=$!
  wait_for_window '<Vellora>' 30
  sleep 1  # the zoom and the first paint
  eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name '^<Vellora>$' | head -n 1)")"
}
# Clicks a point of the panel or the form given in twips, as the design places its controls.
click_panel() { xdotool mousemove $((X + 12 + $1 / 15)) $((Y + 16 + $2 / 15)) click 1; }
click_form() { xdotool mousemove $((X + $1 / 15)) $((Y + $2 / 15)) click 1; }
closed_with_zero() {
  wait_for_program_exit 15
  [ "$PROGRAM_EXIT_CODE" = 0 ] || fail "Vellora.scr /c ended with $PROGRAM_EXIT_CODE"
}

open_dialog
# The frame's corner is placed: Wine's frame around a fixed dialog is 3 pixels with a 22-pixel
# caption in its default theme, so the outer size is 7185 + 6 * 15 by 3780 + 25 * 15
# twips, its corner at (15360 - 7275) / 2, (11520 - 4155) / 3 twips, the client area 3, 22 in.
left=$(((15360 - 7275) / 2)) top=$(((11520 - 4155) / 3))
client="$((((left + 3 * 15) * 2 + 15) / 30)),$((((top + 22 * 15) * 2 + 15) / 30))"
[ "$X,$Y $WIDTH x $HEIGHT" = "$client 479 x 252" ] || fail "dialog at $X,$Y, ${WIDTH}x$HEIGHT, expected $client"
pass "the dialog's client area is 479 x 252 at $client, its frame placed centred and a third down"
click_panel 600 1500  # "MP3、WAV"
click_panel 390 930   # the music CD's mark
click_panel 1440 930  # the track box
xdotool key ctrl+a type 12
click_form 4900 3100  # 設定
closed_with_zero
printf '[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\nBGM\xD8\xCB\xDF\xB0\xC4= 12\r\nBGM\xCC\xA7\xB2\xD9=\r\n' >"$WORK_DIR/expected.ini"
cmp -s "$ini" "$WORK_DIR/expected.ini" || fail "Vellora.ini holds: $(od -c "$ini" | head -6)"
pass "設定 wrote the music CD and track 12 in code page 932"

open_dialog
click_panel 390 1230  # 無し
click_form 6040 3100  # ｷｬﾝｾﾙ
closed_with_zero
cmp -s "$ini" "$WORK_DIR/expected.ini" || fail "ｷｬﾝｾﾙ changed Vellora.ini"
pass "ｷｬﾝｾﾙ left Vellora.ini as it was"

# A read-only Vellora.ini (attrib +r) is left as it is: 設定 neither replaces it nor leaves a
# temporary file beside it.
wine cmd /c attrib +r "$(winepath -w "$ini")" >/dev/null 2>&1 9>&-
[ "$(stat -c %a "$ini")" = 444 ] || fail "attrib +r left mode $(stat -c %a "$ini")"
open_dialog
click_panel 390 1230  # 無し
click_form 4900 3100  # 設定
closed_with_zero
cmp -s "$ini" "$WORK_DIR/expected.ini" || fail "設定 replaced the read-only Vellora.ini: $(od -c "$ini" | head -6)"
[ "$(stat -c %a "$ini")" = 444 ] || fail "Vellora.ini lost its read-only mark: $(stat -c %a "$ini")"
[ "$(ls -A "$folder")" = "$(printf 'Vellora.data\nVellora.ini\nVellora.scr')" ] || fail "left beside it: $(ls -A "$folder")"
pass "設定 left the read-only Vellora.ini as it was"
