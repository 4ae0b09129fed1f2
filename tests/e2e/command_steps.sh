# shellcheck shell=bash
# The steps of the Command button's end-to-end checks, shared by the GTK run on Xvfb
# (command_e2e.sh) and the Win32 run under Wine (tests/wine/command_check.sh). Source it with
# DISPLAY set and command_check running, its standard output in $COMMAND_OUT, the state
# pictures' folder in $COMMAND_PICTURES and a scratch folder that the caller removes in
# $COMMAND_WORK; then call command_read_buttons and command_run_case CASE. Needs fail and note
# from the caller, and xdotool and ImageMagick.
#
# Each step takes a screenshot and compares the button's edge rows (the middle column's top and
# bottom four pixels) and two corners with the state picture's PNG file, and reads the face's
# direction on a column left of the caption; "Click <name>" lines are counted.

: "${COMMAND_PICTURES:?the folder of the state pictures}" "${COMMAND_OUT:?the program output file}"
COMMAND_SHOT="${COMMAND_WORK:?a scratch folder}/shot.png"
# shellcheck source=gradient_lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/gradient_lib.sh"

command_lines() { tr -d '\r' <"$COMMAND_OUT"; }

# Waits for "ready" and reads each button's screen rectangle: SET_L SET_T SET_R SET_B, CAN_...
command_read_buttons() {
  local _
  for _ in $(seq 1 300); do command_lines | grep -qx ready && break; sleep 0.1; done
  command_lines | grep -qx ready || fail "the program never became ready"
  read -r SET_L SET_T SET_R SET_B < <(command_lines | sed -n 's/^button Cmd_Set //p')
  read -r CAN_L CAN_T CAN_R CAN_B < <(command_lines | sed -n 's/^button Cmd_Can //p')
  [ $((SET_R - SET_L)) = 73 ] && [ $((SET_B - SET_T)) = 25 ] ||
    fail "Cmd_Set is $SET_L $SET_T $SET_R $SET_B, not 73 x 25 pixels"
  note "Cmd_Set at $SET_L,$SET_T (73 x 25), Cmd_Can at $CAN_L,$CAN_T"
}

# "r g b" of pixels of a picture file: x, then the rows.
column_of() {
  local file=$1 x=$2 y
  shift 2
  for y in "$@"; do
    convert "$file" -crop "1x1+$x+$y" -depth 8 txt:- | sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
  done
}
# The 4 x 4 block at x, y as one line of numbers.
block_of() {
  convert "$1" -crop "4x4+$2+$3" -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | tr '\n' ' '
}

shot() { sleep "${COMMAND_SETTLE:-0.4}"; import -window root "$COMMAND_SHOT"; }

# expect_look SET|CAN PICTURE white|lavender|-: the last screenshot shows the picture's border
# on the button and that colour at the top of its face ("-": either).
expect_look() {
  local which=$1 picture=$2 face=$3 l t r b name top bottom
  eval "l=\$${which}_L t=\$${which}_T r=\$${which}_R b=\$${which}_B"
  name=$([ "$which" = SET ] && echo Cmd_Set || echo Cmd_Can)
  local mid=$(((l + r) / 2)) png="$COMMAND_PICTURES/$picture.png"
  [ "$(column_of "$COMMAND_SHOT" $mid "$t" $((t + 1)) $((t + 2)) $((t + 3)) $((b - 4)) $((b - 3)) $((b - 2)) $((b - 1)))" = \
    "$(column_of "$png" 31 0 1 2 3 21 22 23 24)" ] || fail "$name does not show the edge rows of $picture"
  [ "$(block_of "$COMMAND_SHOT" "$l" "$t")" = "$(block_of "$png" 0 0)" ] || fail "$name: top-left corner is not $picture's"
  [ "$(block_of "$COMMAND_SHOT" $((r - 4)) $((b - 4)))" = "$(block_of "$png" 60 21)" ] ||
    fail "$name: bottom-right corner is not $picture's"
  top=$(column_of "$COMMAND_SHOT" $((l + 6)) $((t + 4)) | cut -d' ' -f1)
  bottom=$(column_of "$COMMAND_SHOT" $((l + 6)) $((b - 5)) | cut -d' ' -f1)
  if [ "$face" = white ]; then
    [ "$top" -gt "$bottom" ] || fail "$name: the face is not white at the top (red $top over $bottom)"
  elif [ "$face" = lavender ]; then
    [ "$top" -lt "$bottom" ] || fail "$name: the face is not lavender at the top (red $top over $bottom)"
  fi
  note "$name shows $picture$([ "$face" = - ] || echo ", $face at the top")"
}

clicks() { command_lines | grep -cx "Click Cmd_$1" || true; }
centre_of() {
  local l t r b
  eval "l=\$${1}_L t=\$${1}_T r=\$${1}_R b=\$${1}_B"
  echo $(((l + r) / 2)) $(((t + b) / 2))
}
away() { xdotool mousemove $((SET_L + 20)) $((SET_B + 20)); }  # the form, below the buttons

area() { command_lines | sed -n "s/^area $1 //p"; }
focus_moves() { command_lines | sed -n 's/^focus //p' | tr '\n' ' '; }
wait_for_focus_moves() {
  local _
  for _ in $(seq 1 50); do [ "$(focus_moves)" = "$1" ] && return 0; sleep 0.1; done
  fail "focus moved through '$(focus_moves)', expected '$1'"
}

# The form and its panel painted on their first resize, labels over them, the walk that
# initialised the button inside the panel, Tab through the tab order, the combo box's text.
command_form_case() {
  local fl ft fr fb pl pt pr pb y want label surface ink height top l t r b total clear marked cr cg cb step
  read -r fl ft fr fb <<<"$(area form)"
  read -r pl pt pr pb <<<"$(area panel)"
  for y in 0 9 40 85 130 $((fb - ft - 1)); do
    want=$(gradient_colour form "$y" $((fb - ft)))
    [ "$(column_of "$COMMAND_SHOT" $((fr - 4)) $((ft + y)))" = "$want" ] || fail "form row $y is not $want"
  done
  for y in 0 30 45 $((pb - pt - 1)); do
    want=$(gradient_colour panel "$y" $((pb - pt)))
    [ "$(column_of "$COMMAND_SHOT" $((pr - 20)) $((pt + y)))" = "$want" ] || fail "panel row $y is not $want"
  done
  note "the form and the panel show their sine gradients, painted on their first resize"
  # Each label: text of its colour, and the gradient of its surface between the letters.
  for label in "about form 255" "track panel 0"; do
    read -r label surface ink <<<"$label"
    read -r l t r b <<<"$(area "$label")"
    [ "$surface" = form ] && height=$((fb - ft)) top=$ft || height=$((pb - pt)) top=$pt
    total=0 clear=0 marked=0
    while read -r _ y cr cg cb; do
      total=$((total + 1))
      [ "$cr $cg $cb" = "$(gradient_colour "$surface" $((t + y - top)) "$height")" ] && clear=$((clear + 1))
      # Within 60 of the text colour on every channel: the inside of an anti-aliased letter.
      [ $(((cr - ink) ** 2 <= 3600 && (cg - ink) ** 2 <= 3600 && (cb - ink) ** 2 <= 3600)) = 1 ] && marked=$((marked + 1))
    done < <(convert "$COMMAND_SHOT" -crop "$((r - l))x$((b - t))+$l+$t" +repage -depth 8 txt:- |
      sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p')
    [ "$marked" -ge 10 ] && [ $((clear * 2)) -ge "$total" ] ||
      fail "label $label: $marked pixels of its text colour and $clear of $total showing the gradient"
    note "label $label: its text over the $surface's gradient ($marked text pixels, $clear of $total clear)"
  done

  wait_for_focus_moves "BGM_Repeat "
  for step in "Tab:BGM_Repeat Cmd_Set " "Tab:BGM_Repeat Cmd_Set Cmd_Can " \
    "Tab:BGM_Repeat Cmd_Set Cmd_Can BGM_Repeat " "shift+Tab:BGM_Repeat Cmd_Set Cmd_Can BGM_Repeat Cmd_Can "; do
    xdotool key "${step%%:*}"
    wait_for_focus_moves "${step#*:}"
  done
  note "focus on the first of the tab order when shown, then Tab and Shift+Tab through it, round"
  xdotool key shift+Tab sleep 0.2 key shift+Tab sleep 0.2 key ctrl+a type 45x
  xdotool mousemove $(centre_of SET) sleep 0.3 click 1
  for _ in $(seq 1 30); do command_lines | grep -qx "text 45x" && break; sleep 0.1; done
  command_lines | grep -qx "text 45x" || fail "the combo box read back '$(command_lines | sed -n 's/^text //p')', not 45x"
  note "typed text that is not one of the entries is read back exactly"
}

command_run_case() {
  away
  shot
  expect_look CAN Normal white
  # Whether a shown form gives its first control the focus depends on the platform, so Cmd_Set
  # is left to the first press on it to focus.

  case "$1" in
  click)
    xdotool mousemove $(centre_of CAN)
    shot
    expect_look CAN HighLight lavender
    xdotool mousemove $(centre_of SET)
    shot
    expect_look CAN Normal white  # the poll saw the pointer leave
    expect_look SET HighLight -   # HighLight, or HighLightSelect when it has the focus already
    xdotool mousedown 1
    shot
    expect_look SET Pressed -
    xdotool mouseup 1
    shot
    expect_look SET HighLight -  # HighLightSelect
    [ "$(clicks Set)" = 1 ] || fail "$(clicks Set) clicks of Cmd_Set after one press and release"
    note "one Click Cmd_Set"
    away
    shot
    expect_look SET Selected white
    # Over the unfocused Cmd_Can, which the press focuses: Pressed, then HighLightSelect, both
    # with the lavender face of the hover look.
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
    xdotool mousemove $(centre_of SET) sleep 0.3 click 1
    away
    shot
    expect_look SET Selected white
    [ "$(clicks Set)" = 1 ] || fail "$(clicks Set) clicks of Cmd_Set after the focusing click"
    xdotool mousemove $(centre_of SET) sleep 0.3 mousedown 1
    shot
    expect_look SET Pressed white  # state 4 keeps the face of the Selected paint before
    away
    shot  # the polls see the pointer gone: the focused button shows Selected
    expect_look SET Selected white
    xdotool mouseup 1
    shot
    expect_look SET Selected white
    [ "$(clicks Set)" = 1 ] || fail "a press moved off the button and released after a poll gave a Click"
    note "press, leave, wait, release: no Click"
    xdotool mousemove $(centre_of SET) sleep 0.3 click 1
    sleep 0.5
    [ "$(clicks Set)" = 2 ] || fail "the next press and release gave $(($(clicks Set) - 1)) clicks"
    note "the next press and release inside: one Click"
    ;;
  form)
    command_form_case
    ;;
  *) fail "unknown case $1" ;;
  esac
}
