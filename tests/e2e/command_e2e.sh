#!/usr/bin/env bash
# End-to-end checks of the Command button on the GTK forms platform, on a private Xvfb driven
# with xdotool: a form with two buttons (command_check), screenshots after each step compared
# with the state pictures at the button's border and read for the face's direction, and the
# program's "Click <name>" lines counted.
# Usage: command_e2e.sh CASE COMMAND_CHECK PICTURES_DIR     (CASE: click or no_click)
set -euo pipefail
case_name=$1 program=$2 pictures=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"

[ -x "$program" ] || fail "no program at $program"
start_xvfb 640x480x24
out="$E2E_WORK/out"
"$program" >"$out" 2>"$E2E_WORK/err" &
E2E_PIDS+=("$!")
for _ in $(seq 1 200); do grep -qx ready "$out" && break; sleep 0.1; done
grep -qx ready "$out" || fail "the program never became ready: $(cat "$E2E_WORK/err")"
# Each button's screen rectangle: left top right bottom.
read -r SET_L SET_T SET_R SET_B < <(sed -n 's/^button Cmd_Set //p' "$out")
read -r CAN_L CAN_T CAN_R CAN_B < <(sed -n 's/^button Cmd_Can //p' "$out")
[ $((SET_R - SET_L)) = 73 ] && [ $((SET_B - SET_T)) = 25 ] || fail "Cmd_Set is $SET_L $SET_T $SET_R $SET_B, not 73 x 25"
note "Cmd_Set at $SET_L,$SET_T (73 x 25), Cmd_Can at $CAN_L,$CAN_T"

# "r g b" lines of a column of pixels in a picture file: x, then rows.
column_of() {
  local file=$1 x=$2 y
  shift 2
  for y in "$@"; do
    convert "$file" -crop "1x1+$x+$y" -depth 8 txt:- | sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
  done
}
block_of() {  # the 4 x 4 block at x, y as one line of numbers
  convert "$1" -crop "4x4+$2+$3" -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | tr '\n' ' '
}

shot() { sleep 0.4; import -window root "$E2E_WORK/shot.png"; }

# Checks that the button (SET or CAN) shows the picture's border and the face direction
# (white or lavender at the top) in the last screenshot.
expect_look() {
  local which=$1 picture=$2 face=$3 l t r b name
  eval "l=\$${which}_L t=\$${which}_T r=\$${which}_R b=\$${which}_B"
  name=$([ "$which" = SET ] && echo Cmd_Set || echo Cmd_Can)
  local mid=$(((l + r) / 2)) png="$pictures/$picture.png"
  [ "$(column_of "$E2E_WORK/shot.png" $mid $t $((t + 1)) $((t + 2)) $((t + 3)) $((b - 4)) $((b - 3)) $((b - 2)) $((b - 1)))" = \
    "$(column_of "$png" 31 0 1 2 3 21 22 23 24)" ] || fail "$name does not show the edge rows of $picture"
  [ "$(block_of "$E2E_WORK/shot.png" "$l" "$t")" = "$(block_of "$png" 0 0)" ] || fail "$name: top-left corner is not $picture's"
  [ "$(block_of "$E2E_WORK/shot.png" $((r - 4)) $((b - 4)))" = "$(block_of "$png" 60 21)" ] ||
    fail "$name: bottom-right corner is not $picture's"
  local top bottom
  top=$(column_of "$E2E_WORK/shot.png" $((l + 6)) $((t + 4)) | cut -d' ' -f1)
  bottom=$(column_of "$E2E_WORK/shot.png" $((l + 6)) $((b - 5)) | cut -d' ' -f1)
  if [ "$face" = white ]; then
    [ "$top" -gt "$bottom" ] || fail "$name: the face is not white at the top (red $top over $bottom)"
  else
    [ "$top" -lt "$bottom" ] || fail "$name: the face is not lavender at the top (red $top over $bottom)"
  fi
  note "$name shows $picture, $face at the top"
}

clicks() { grep -cx "Click Cmd_$1" "$out" || true; }

centre_of() { local l t r b; eval "l=\$${1}_L t=\$${1}_T r=\$${1}_R b=\$${1}_B"; echo $(((l + r) / 2)) $(((t + b) / 2)); }
away() { xdotool mousemove $((SET_L + 20)) $((SET_B + 20)); }  # the form, below the buttons

# Showing the form gives its first control, Cmd_Set, the focus.
away
shot
expect_look SET Selected white
expect_look CAN Normal white

case "$case_name" in
click)
  xdotool mousemove $(centre_of CAN)
  shot
  expect_look CAN HighLight lavender
  xdotool mousemove $(centre_of SET)
  shot
  expect_look CAN Normal white  # the poll saw the pointer leave
  expect_look SET HighLight white  # HighLightSelect: focused, and the face of the paint before
  xdotool mousedown 1
  shot
  expect_look SET Pressed white
  xdotool mouseup 1
  shot
  expect_look SET HighLight white
  [ "$(clicks Set)" = 1 ] || fail "$(clicks Set) clicks of Cmd_Set after one press and release"
  note "one Click Cmd_Set"
  away
  shot
  expect_look SET Selected white
  # Pointer over the unfocused Cmd_Can, which a press focuses: Pressed, then HighLightSelect,
  # both with the lavender face of the hover look.
  xdotool mousemove $(centre_of CAN) sleep 0.3 mousedown 1
  shot
  expect_look CAN Pressed lavender
  expect_look SET Normal white
  xdotool mouseup 1
  shot
  expect_look CAN HighLight lavender
  [ "$(clicks Set)" = 1 ] && [ "$(clicks Can)" = 1 ] || fail "clicks: Cmd_Set $(clicks Set), Cmd_Can $(clicks Can)"
  note "focusing Cmd_Can by a click leaves Cmd_Set idle; one Click each"
  ;;

no_click)
  xdotool mousemove $(centre_of SET) mousedown 1
  shot
  expect_look SET Pressed white
  away
  shot  # the polls see the pointer gone: the focused button shows Selected
  expect_look SET Selected white
  xdotool mouseup 1
  shot
  expect_look SET Selected white
  [ "$(clicks Set)" = 0 ] || fail "a press moved off the button and released after a poll gave a Click"
  note "press, leave, wait, release: no Click"
  xdotool mousemove $(centre_of SET) click 1
  sleep 0.3
  [ "$(clicks Set)" = 1 ] || fail "the next press and release gave $(clicks Set) clicks"
  note "the next press and release inside: one Click"
  ;;

*) fail "unknown case $case_name" ;;
esac
echo "PASS command.$case_name"
