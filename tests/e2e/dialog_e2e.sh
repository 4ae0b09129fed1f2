#!/usr/bin/env bash
# End-to-end check of the settings dialog: Vellora.scr /c with Vellora.data beside it, on a
# private Xvfb at 96 dpi, driven with xdotool as a user would: its size and place, the painted
# gradients, the option marks, the track box, a long path on the two lines of its label, "設定"
# with the bytes it writes, "..." opening the open-file dialog, "ｷｬﾝｾﾙ" and the close box (and
# a cancelled open-file dialog) writing nothing, a session refused while the dialog is open, and
# a music file whose path would not come back whole from the settings file refused with a
# message.
# Usage: dialog_e2e.sh DIST_DIR X11_PROBE
set -euo pipefail
dist=$1 probe=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
. "$here/gradient_lib.sh"

for program in Vellora.scr Vellora.data; do
  [ -x "$dist/$program" ] || fail "no $program at $dist"
done
start_xvfb 1024x768x24
app="$E2E_WORK/app"
# A path longer than the file label is wide.
folder="$E2E_WORK/音楽/A collection of songs for the screensaver"
mkdir -p "$app" "$folder"
cp "$dist/Vellora.scr" "$dist/Vellora.data" "$app/"
ini="$app/Vellora.ini"
music="$folder/The song that plays while the tunnel flies.mp3"
touch "$music"

# A settings file as the dialog writes it: code page 932 keys and path, CRLF lines.
settings_bytes() {  # MODE TRACK
  printf '[Section]\r\nBGM\x8B\xE6\x95\xAA=%s\r\nBGM\xD8\xCB\xDF\xB0\xC4=%s\r\nBGM\xCC\xA7\xB2\xD9=' "$1" "$2"
  printf '%s' "$music" | iconv -f UTF-8 -t CP932
  printf '\r\n'
}
settings_bytes " 1" " 5" >"$ini"

open_dialog() {  # [WORKING_FOLDER], where the open-file dialog opens
  "$probe" move 900 700
  (cd "${1:-$E2E_WORK}" && exec "$app/Vellora.scr" /c 2>>"$E2E_WORK/shell.err") &
  SHELL_PID=$!
  E2E_PIDS+=("$SHELL_PID")
  DIALOG=$(wait_for_window '<Vellora>' 20) ||
    fail "/c opened no window titled <Vellora> ($(kill -0 "$SHELL_PID" 2>/dev/null && echo running ||
      echo ended); $(cat "$E2E_WORK/shell.err" 2>/dev/null))"
  # The window exists, hidden, from the start of the load; the dialog is up once it is mapped
  # where the load placed it and the gradient's middle row is on the screen.
  eventually shown || fail "the dialog was not shown and painted (last seen at $X,$Y)"
}
shown() {
  xwininfo -id "$DIALOG" | grep -q 'Map State: IsViewable' || return 1
  eval "$(xdotool getwindowgeometry --shell "$DIALOG")"
  PANEL_X=$((X + 12)) PANEL_Y=$((Y + 16))
  [ "$(pixel_at $((X + 472)) $((Y + 126)))" = "$(gradient_colour form 126 252)" ]
}
# True once the command succeeds, trying again for up to five seconds: what a click changes
# shows once the dialog has handled it.
eventually() {
  local deadline=$((SECONDS + 5))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}
# True when no window has this title (a regular expression).
gone_window() { ! xdotool search --name "^$1\$" >/dev/null 2>&1; }
# Screen point of a place on the panel, in twips from the panel's corner as the design gives it.
panel_point() { echo $((PANEL_X + $1 / 15)) $((PANEL_Y + $2 / 15)); }
click_panel() { xdotool mousemove $(panel_point "$1" "$2") click 1; }
# Which option shows the blue mark: the middle of each 12 x 12 mark.
marked_option() {
  local i r g b marked=-
  for i in 0 1 2; do
    read -r r g b < <(pixel_at $(panel_point 390 $((i == 0 ? 1230 : i == 1 ? 930 : 1530))))
    [ "$b" -gt 150 ] && [ "$r" -lt 120 ] && marked=$i
  done
  echo "$marked"
}
# The track box's drop-down arrow is dark while the box is enabled, grey while it is not.
track_box_enabled() {
  local r _
  read -r r _ < <(pixel_at $(panel_point 1800 930))
  [ "$r" -lt 100 ]
}
# The option marked ("-" for none) and whether the track box is enabled (on or off).
options_show() {
  [ "$(marked_option)" = "$1" ] || return 1
  if [ "$2" = on ]; then track_box_enabled; else ! track_box_enabled; fi
}
ends_with_zero() {
  wait_for_exit "$SHELL_PID" 10
  [ "$EXIT_CODE" = 0 ] || fail "Vellora.scr /c ended with $EXIT_CODE"
}

# --- open: size, place, gradients, the settings on the controls ------------------------------
open_dialog
[ "$WIDTH x $HEIGHT" = "479 x 252" ] || fail "client area ${WIDTH}x$HEIGHT, expected 479x252"
# (15360 - 7185) / 2 and (11520 - 3780) / 3 twips: centred, a third of the free height down.
[ "$X,$Y" = "272,172" ] || fail "dialog at $X,$Y, expected 272,172"
note "client area 479 x 252 at 272,172: centred, its top a third of the free height down"
for y in 0 30 126 200 251; do
  [ "$(pixel_at $((X + 472)) $((Y + y)))" = "$(gradient_colour form "$y" 252)" ] || fail "dialog row $y"
done
for y in 0 40 84 168; do
  [ "$(pixel_at $((PANEL_X + 440)) $((PANEL_Y + y)))" = "$(gradient_colour panel "$y" 169)" ] || fail "panel row $y"
done
note "the dialog's navy-lavender and the panel's grey sine gradients, row for row"
options_show 1 on || fail "option $(marked_option) marked, expected the music CD (1) with its track box enabled"
note "the music CD marked from the file, its track box enabled"
# The path's label is two lines high, inside a frame: a path too long for the first line goes
# on in the second. Dark text pixels in each line's band, the frame left out.
read -r label_x label_y < <(panel_point 1020 1740)
import -window root -crop "357x29+$label_x+$label_y" +repage "$E2E_WORK/path_label.png"
text_pixels() {
  convert "$E2E_WORK/path_label.png" -crop "349x$2+4+$1" +repage -colorspace gray -threshold 30% \
    -format '%[fx:round((1-mean)*w*h)]' info:
}
[ "$(text_pixels 3 11)" -gt 30 ] && [ "$(text_pixels 17 10)" -gt 30 ] ||
  fail "the path's label shows $(text_pixels 3 11) and $(text_pixels 17 10) text pixels on its two lines"
note "the long path shows on both lines of its label"

# A session is refused while the dialog is open.
"$app/Vellora.scr" /s 2>>"$E2E_WORK/shell.err" || fail "the refused session ended with $?"
[ ! -e "$app/Vellora.bmp" ] && ! xdotool search --name '^Vellora_Tessel$' >/dev/null 2>&1 ||
  fail "a session started beside the dialog"
note "/s ends at once while the dialog is open"

# --- options, a typed track, save -------------------------------------------------------------
click_panel 600 1500  # the "MP3、WAV" label
eventually options_show 2 off || fail "after MP3、WAV: option $(marked_option) marked"
click_panel 390 930  # the music CD's mark
eventually options_show 1 on || fail "after the CD's mark: option $(marked_option) marked"
note "a click on a label or a mark moves the blue mark and enables what goes with it"
click_panel 1440 930
xdotool key ctrl+a type 5.5
xdotool mousemove $((X + 4800 / 15 + 20)) $((Y + 3000 / 15 + 10)) click 1  # 設定
ends_with_zero
cmp -s "$ini" <(settings_bytes " 1" " 6") || fail "saved: $(od -c "$ini" | head -5)"
note "設定 wrote mode 1, track 5.5 as 6 and the path, in code page 932, and closed the dialog"

# --- cancel and the close box write nothing ---------------------------------------------------
cp "$ini" "$E2E_WORK/before.ini"
# The file itself, not only its bytes: a rewrite with the same content or a replacement shows in
# the modification time (to the nanosecond) or the inode.
identity=$(stat -c '%i %y' "$ini")
sleep 0.05  # a rewrite, were there one, must show in the modification time
open_dialog
click_panel 390 1230  # 無し
eventually options_show 0 off || fail "無し was not marked"
xdotool mousemove $((X + 5940 / 15 + 20)) $((Y + 3000 / 15 + 10)) click 1  # ｷｬﾝｾﾙ
ends_with_zero
open_dialog
click_panel 390 1530
# With MP3、WAV chosen, "..." opens the open-file dialog; cancelling it changes nothing.
eventually options_show 2 off || fail "MP3、WAV was not marked"
click_panel 757 1897  # ...
chooser=$(wait_for_window 'ﾌｧｲﾙを開く' 10) || fail "... opened no window titled ﾌｧｲﾙを開く"
"$probe" close "$chooser"  # its close box: a cancel
eventually gone_window 'ﾌｧｲﾙを開く' || fail "the open-file dialog stayed"
note "... opens the open-file dialog ﾌｧｲﾙを開く; its close box cancels it"
"$probe" close "$DIALOG"
ends_with_zero
cmp -s "$ini" "$E2E_WORK/before.ini" || fail "the settings file changed without 設定"
[ "$(stat -c '%i %y' "$ini")" = "$identity" ] || fail "the settings file was written again without 設定"
note "ｷｬﾝｾﾙ and the close box leave Vellora.ini untouched: same file, same time, same bytes"

# --- choosing the music file --------------------------------------------------------------------
# The open-file dialog opens on the working folder, where Return picks its one music file.
# "〜" (U+301C) would be saved as 81 60 and read back as "～" (U+FF5E), another file: it is
# refused with a message, and the previous choice stays. "ソ表能" (second bytes 5C) is taken.
choose_file() {  # FOLDER
  open_dialog "$1"
  click_panel 600 1500  # "MP3、WAV"
  eventually options_show 2 off || fail "MP3、WAV was not marked"
  click_panel 757 1897  # "..."
  chooser=$(wait_for_window "ﾌｧｲﾙを開く" 10) || fail "no open-file dialog titled ﾌｧｲﾙを開く"
  # The chooser reads the folder in the background; as a person does, Return waits until the
  # file is listed, on the row the chooser selects (in the theme's selection colour).
  eventually file_listed || fail "ﾌｧｲﾙを開く never listed the file in $1"
  xdotool windowfocus --sync "$chooser" key Return
}
file_listed() (  # the chooser's part of the screen: without a window manager it reaches past the edges
  eval "$(xdotool getwindowgeometry --shell "$chooser")"
  import -window root png:- | convert png:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" -unique-colors txt:- | grep -ci '#3584E4' >/dev/null
)
mkdir -p "$E2E_WORK/refused" "$E2E_WORK/taken"
touch "$E2E_WORK/refused/夏祭り〜remix〜.wav" "$E2E_WORK/taken/ソ表能.wav"
choose_file "$E2E_WORK/refused"
box=$(wait_for_window 'Vellora\(ScreenSaver\)' 10) || fail "no message box titled Vellora(ScreenSaver)"
wait_for_focus "$box"
xdotool key Return
eventually gone_window 'Vellora\(ScreenSaver\)' || fail "the box stays"
xdotool mousemove $((X + 4800 / 15 + 20)) $((Y + 3000 / 15 + 10)) click 1  # 設定
ends_with_zero
cmp -s "$ini" <(settings_bytes " 2" " 6") || fail "saved after the refusal: $(od -c "$ini" | head -5)"
note "a file with 〜 in its name is refused with a message box; 設定 keeps the previous path"
choose_file "$E2E_WORK/taken"
eventually gone_window 'ﾌｧｲﾙを開く' || fail "the chooser stays"
xdotool mousemove $((X + 4800 / 15 + 20)) $((Y + 3000 / 15 + 10)) click 1  # 設定
ends_with_zero
music="$E2E_WORK/taken/ソ表能.wav"
cmp -s "$ini" <(settings_bytes " 2" " 6") || fail "saved ソ表能.wav as: $(od -c "$ini" | head -5)"
note "ソ表能.wav is taken and saved in code page 932"
echo "PASS dialog"
