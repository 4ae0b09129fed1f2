#!/usr/bin/env bash
# End-to-end check of what the GTK forms platform does that no run of the real programs shows:
# a test form is found by its exact title while hidden and while shown, a click into its child
# window stays there, and the windows under a screen point are told apart; the open-file dialog,
# the zoom animation and opening an address (whether or not the session bus answers) are
# driven. A form of the settings dialog's size carries the program's icon, shows the busy
# pointer over its entry field, and is placed by its frame's corner under a window manager
# (openbox), whose frame it knows before it is first shown. What the programs show of the
# platform (pictures, labels, the combo box, close requests, embedding, message boxes, program
# start) is proven by the dialog, command, preview and session checks.
# Usage: forms_gtk_e2e.sh FORMS_CHECK X11_PROBE ASSETS_FOLDER
set -euo pipefail
check=$1 probe=$2 ASSETS=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"

[ -x "$check" ] || fail "no test program at $check"
start_xvfb 1024x768x24
# A private copy: a rebuild of the tree while the check runs must not swap the program under it.
cp "$check" "$E2E_WORK/forms_check_gtk"
check="$E2E_WORK/forms_check_gtk"
title="Vellora forms check"
out="$E2E_WORK/out"

# Waits until the test program has printed a line matching the pattern.
wait_for_line() {
  local pattern=$1 file=${2:-$out} deadline=$((SECONDS + ${3:-10}))
  until grep -q -- "$pattern" "$file" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "no line '$pattern' in: $(cat "$file" 2>/dev/null)"
    sleep 0.1
  done
}
map_state() { xwininfo -id "$1" | sed -n 's/.*Map State: *//p'; }
# The hidden form's window by its title, which must be unmapped. Before GTK is up the form is a
# bare X window that GTK's window takes over when GTK starts, so a window found may be gone by
# the time it is looked at: then the title is looked up again.
hidden_window() {
  local id state deadline=$((SECONDS + 4))
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --name "^$title\$" 2>/dev/null | tail -n 1)
    if [ -n "$id" ] && state=$(map_state "$id" 2>/dev/null) && [ -n "$state" ]; then
      [ "$state" = IsUnMapped ] || fail "window mapped before its time: $state"
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  fail "no window titled '$title' while hidden"
}
# The numbers after the program's "NAME ..." line.
reported() { sed -n "s/^$1 //p" "$out" | head -n 1; }

# --- hidden, then shown ---------------------------------------------------------------
# The form stays hidden until the file "show" appears in its working folder.
mkdir -p "$E2E_WORK/form"
start_form() { (cd "$E2E_WORK/form" && rm -f show && exec "$check" "$@") >"$out" 2>"$E2E_WORK/stderr" & }
show_form() { touch "$E2E_WORK/form/show"; }
start_form show
FORM=$!
E2E_PIDS+=("$FORM")
WINDOW=$(hidden_window) || exit 1
grep -q '^shown' "$out" && fail "the form says it was shown already"
note "found by title while hidden (xdotool search --name), unmapped"
# Runs the test program and fails unless it ends with this exit code (a crash is no "not found").
expect_exit_code() {
  local want=$1 rc=0
  shift
  "$check" "$@" || rc=$?
  [ "$rc" = "$want" ] || fail "forms_check_gtk $* ended with $rc, expected $want"
}
expect_exit_code 0 find "$title"
expect_exit_code 1 find "Vellora forms"
expect_exit_code 1 find "vellora forms check"
note "FindWindowByTitle of another process: exact title found while hidden, prefix and other case not"
xprop -id "$WINDOW" WM_NAME | grep -qF "\"$title\"" || fail "WM_NAME"
xprop -id "$WINDOW" _NET_WM_NAME | grep -qF "\"$title\"" || fail "_NET_WM_NAME"

show_form
wait_for_line '^shown' "$out" 10
deadline=$((SECONDS + 5))
until [ "$(map_state "$WINDOW")" = IsViewable ]; do
  [ $SECONDS -lt $deadline ] || fail "window not mapped after being shown"
  sleep 0.1
done
[ "$(xdotool search --onlyvisible --name "^$title\$" | head -n 1)" = "$WINDOW" ] || fail "not found as visible"
note "found by title while shown"
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"

# --- the child window and the windows under a point ------------------------------------------
read -r hx hy _ _ <<<"$(reported child)"
xdotool mousemove $((X + hx + 7)) $((Y + hy + 9)) click 1
wait_for_line '^child up 1 0 7 9'
grep -q '^child down 1 0 7 9' "$out" || fail "no button down in the child window"
grep -q '^down' "$out" && fail "a click into the child window reached the form too"
note "a click into the child window goes to it alone, in its own coordinates"

# Whether the form and the child are the windows under two screen points: not while hidden,
# yes once shown, and the form not while another program's window covers its point.
[ "$(sed -n 's/^at //p' "$out" | head -n 2 | tr '\n' '|')" = "form 0 child 0|form 1 child 1|" ] ||
  fail "windows under the points: $(grep '^at ' "$out" | tr '\n' '|')"
"$check" host 500 250 >/dev/null 2>&1 &
COVER=$!
E2E_PIDS+=("$COVER")
wait_for_line '^at form 0 child 1'
kill "$COVER"
wait_for_exit "$COVER" 5
deadline=$((SECONDS + 10))
until [ "$(grep '^at ' "$out" | tail -n 1)" = "at form 1 child 1" ]; do
  [ $SECONDS -lt $deadline ] || fail "form not found under its point after the cover went"
  sleep 0.1
done
note "IsWindowAtPoint: not while hidden, yes when shown, no where another window covers the form"
"$probe" close "$WINDOW"
wait_for_exit "$FORM" 10

# --- made as a session makes its form, before GTK is up ------------------------------------
# With a session's command line the platform starts without GTK: the form's window is a bare
# X window with the title while hidden; once shown, GTK's window takes its place with the
# form's geometry and picture, and only one window carries the title.
start_form /s show
FORM=$!
E2E_PIDS+=("$FORM")
WINDOW=$(hidden_window) || exit 1
show_form
wait_for_line '^shown'
WINDOW=$(wait_for_window "$title" 5) || fail "window not mapped after being shown"
deadline=$((SECONDS + 5))
until [ "$(map_state "$WINDOW")" = IsViewable ]; do
  [ $SECONDS -lt $deadline ] || fail "window not mapped after being shown"
  sleep 0.1
  WINDOW=$(xdotool search --name "^$title\$" | tail -n 1)
done
[ "$(xdotool search --name "^$title\$" | wc -l)" = 1 ] || fail "$(xdotool search --name "^$title\$" | wc -l) windows titled '$title'"
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
[ "$X $Y $WIDTH $HEIGHT" = "100 80 480 240" ] || fail "client area at $X,$Y size ${WIDTH}x$HEIGHT, expected 100,80 480x240"
deadline=$((SECONDS + 5))
until [ "$(pixel_at $((X + 260)) $((Y + 180)))" = "0 160 0" ]; do
  [ $SECONDS -lt $deadline ] || fail "child window shows $(pixel_at $((X + 260)) $((Y + 180))), not its green"
  sleep 0.1
done
"$probe" close "$WINDOW"
wait_for_exit "$FORM" 10
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after the close request: $(cat "$E2E_WORK/stderr")"
note "a form made before GTK: one window with its title, hidden, then shown at 100,80 with its picture"

# --- open-file dialog ---------------------------------------------------------------------------
# It opens on the working folder and lists only the music files, whatever the case of their
# extensions: the first entry, which Return picks, is the one file that matches.
mkdir -p "$E2E_WORK/music"
touch "$E2E_WORK/music/a_notes.txt" "$E2E_WORK/music/Song.Mp3" "$E2E_WORK/music/cover.JPG"
(cd "$E2E_WORK/music" && GSETTINGS_BACKEND=memory exec "$check" open >"$E2E_WORK/open" 2>&1) &
CHOOSER=$!
E2E_PIDS+=("$CHOOSER")
chooser=$(wait_for_window "ﾌｧｲﾙを開く" 10) || fail "no open-file dialog titled ﾌｧｲﾙを開く: $(cat "$E2E_WORK/open")"
sleep 1  # the folder is read in the background
xdotool windowfocus --sync "$chooser" key Return
wait_for_exit "$CHOOSER" 10
grep -qx "chose $E2E_WORK/music/Song.Mp3" "$E2E_WORK/open" || fail "open-file dialog: $(cat "$E2E_WORK/open")"
note "open-file dialog: working folder, *.MP3 matches Song.Mp3, other files left out"

# --- zoom animation ---------------------------------------------------------------------------
# The outline is a window of its own for the animation's fifth of a second: the windows on the
# root are listed while it runs (a busy machine may let it pass unseen), and the screen must be
# as before once it is over.
root_windows() { xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'; }
xdotool mousemove 900 700
sleep 0.2
read -r px py < <("$probe" where)
import -window root "$E2E_WORK/before.png"
before_windows=" $(root_windows | tr '\n' ' ')"
"$check" zoom 100 100 400 300 >"$E2E_WORK/zoom" 2>&1 &
ZOOM=$!
E2E_PIDS+=("$ZOOM")
outlines=""
while kill -0 "$ZOOM" 2>/dev/null; do
  for id in $(root_windows); do
    case "$before_windows" in *" $id "*) continue ;; esac
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    grep -q 'Map State: IsViewable' <<<"$info" || continue
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info") h=$(sed -n 's/.*Height: *//p' <<<"$info")
    outlines+="${w}x$h+$x+$y "
  done
done
wait_for_exit "$ZOOM" 5
grep -q '^zoomed' "$E2E_WORK/zoom" || fail "no zoom (exit code $EXIT_CODE): $(cat "$E2E_WORK/zoom")"
# Every frame lies within the box spanned by the pointer (a pixel) and the rectangle, no larger
# than the rectangle.
min() { echo $(($1 < $2 ? $1 : $2)); }
max() { echo $(($1 > $2 ? $1 : $2)); }
for outline in $outlines; do
  IFS='x+' read -r w h x y <<<"$outline"
  [ "$x" -ge "$(min "$px" 100)" ] && [ "$y" -ge "$(min "$py" 100)" ] && [ $((x + w)) -le "$(max $((px + 1)) 400)" ] &&
    [ $((y + h)) -le "$(max $((py + 1)) 300)" ] && [ "$w" -le 300 ] && [ "$h" -le 200 ] ||
    fail "outline $outline lies outside the way from $px,$py to 100,100-400,300"
done
import -window root "$E2E_WORK/after.png"
[ "$(compare -metric AE "$E2E_WORK/before.png" "$E2E_WORK/after.png" null: 2>&1)" = 0 ] ||
  fail "the zoom animation left something on the screen"
note "zoom from the pointer at $px,$py to 100,100-400,300: outline frames seen: ${outlines:-none}; nothing left behind"

# --- opening an address with its default program -----------------------------------------------
# A handler of our own for a scheme of our own, found through GIO's desktop files. With no
# session bus the handler runs; with a bus that never answers the call still returns at once
# and the loop runs on.
apps="$E2E_WORK/data/applications"
mkdir -p "$apps" "$E2E_WORK/config"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >"%s/opened"\n' "$E2E_WORK" >"$E2E_WORK/handler.sh"
chmod +x "$E2E_WORK/handler.sh"
printf '[Desktop Entry]\nType=Application\nName=Vellora check handler\nExec=%s %%u\nMimeType=x-scheme-handler/vellora-check;\n' \
  "$E2E_WORK/handler.sh" >"$apps/vellora-check-handler.desktop"
printf '[Default Applications]\nx-scheme-handler/vellora-check=vellora-check-handler.desktop\n' >"$E2E_WORK/config/mimeapps.list"
open_address() {  # BUS_ADDRESS OUTPUT [VARIABLE=VALUE...]
  local bus=$1 output=$2
  shift 2
  env XDG_DATA_HOME="$E2E_WORK/data" XDG_CONFIG_HOME="$E2E_WORK/config" DBUS_SESSION_BUS_ADDRESS="$bus" "$@" \
    "$check" opendoc "vellora-check://home/page" >"$output" 2>&1 &
  local opener=$!
  E2E_PIDS+=("$opener")
  wait_for_line '^loop runs' "$output" 5
  grep -qx returned "$output" || fail "OpenDocument: $(cat "$output")"
  wait_for_exit "$opener" 10
}
open_address "unix:path=$E2E_WORK/no-bus" "$E2E_WORK/opendoc"
deadline=$((SECONDS + 10))
until [ -s "$E2E_WORK/opened" ]; do
  [ $SECONDS -lt $deadline ] || fail "the default handler did not run: $(cat "$E2E_WORK/opendoc")"
  sleep 0.1
done
[ "$(cat "$E2E_WORK/opened")" = "vellora-check://home/page" ] || fail "the handler got $(cat "$E2E_WORK/opened")"
note "OpenDocument: the scheme's default handler got the address; the call returned at once"
rm -f "$E2E_WORK/opened"
python3 -c 'import socket, sys, time
s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(8); time.sleep(60)' "$E2E_WORK/silent-bus" &
E2E_PIDS+=("$!")
until [ -S "$E2E_WORK/silent-bus" ]; do sleep 0.1; done
# GTK's accessibility bridge, like that of every GTK program, waits for the bus while GTK
# starts; it is left out here, where the call is what is looked at.
open_address "unix:path=$E2E_WORK/silent-bus" "$E2E_WORK/opendoc-silent" NO_AT_BRIDGE=1
note "OpenDocument with a session bus that never answers: returned at once, the loop ran on"

# --- the settings dialog's services -----------------------------------------------------------
# Runs the services form; sets SERVICES (its window) and prints nothing.
start_services() {
  mkdir -p "$E2E_WORK/services"
  (cd "$E2E_WORK/services" && exec "$check" services) >"$out" 2>"$E2E_WORK/stderr" &
  FORM=$!
  E2E_PIDS+=("$FORM")
  wait_for_line '^shown' "$out" 10
  SERVICES=$(wait_for_window "Vellora services check" 10) || fail "no services form"
}
absolute() { xwininfo -id "$1" | sed -n "s/.*Absolute upper-left $2: *//p"; }
# Outer size and place as the form reported them, checked with the script's own sums: client
# 7185 x 3780 twips plus the frame, 15 twips a pixel, placed at ((screen - outer) / 2,
# (screen - outer) / 3) on the 1024 x 768 screen. The client area must lie there plus the frame.
check_placement() {
  read -r fl ft fr fb <<<"$(reported frame)"
  read -r ow oh _ ol ot <<<"$(reported outer)"
  [ "$ow $oh" = "$((7185 + (fl + fr) * 15)) $((3780 + (ft + fb) * 15))" ] || fail "outer size $ow x $oh with frame $fl $ft $fr $fb"
  [ "$ol $ot" = "$(((15360 - ow) / 2)) $(((11520 - oh) / 3))" ] || fail "placed at $ol $ot twips"
  OUTER_X=$(((ol * 2 + 15) / 30)) OUTER_Y=$(((ot * 2 + 15) / 30))
  [ "$(absolute "$SERVICES" X) $(absolute "$SERVICES" Y)" = "$((OUTER_X + fl)) $((OUTER_Y + ft))" ] ||
    fail "client area at $(absolute "$SERVICES" X),$(absolute "$SERVICES" Y), expected $((OUTER_X + fl)),$((OUTER_Y + ft))"
}
start_services

# The icon: 32 x 32, pixel for pixel the program's icon picture, opaque.
icon=$(xprop -id "$SERVICES" -f _NET_WM_ICON 32c ' = $0+' _NET_WM_ICON | sed 's/^[^=]*= *//')
expected=$(printf '32, 32, '; convert "$ASSETS/vellora_icon.png" -depth 8 txt:- |
  sed -n 's/^[0-9]*,[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
  awk '{ printf "%s%.0f", (NR > 1 ? ", " : ""), 4278190080 + $1 * 65536 + $2 * 256 + $3 }')
[ "$icon" = "$expected" ] || fail "_NET_WM_ICON is not the program's icon: ${icon:0:80}"
note "_NET_WM_ICON: the program's 32 x 32 icon"

# The busy pointer over the entry field and over the form; afterwards the I-beam comes back.
read -r cx cy cw ch <<<"$(reported combo)"
sx=$(absolute "$SERVICES" X) sy=$(absolute "$SERVICES" Y)
shape_at() { xdotool mousemove "$1" "$2"; sleep 0.2; "$probe" shape; }
entry=$(shape_at $((sx + cx + 8)) $((sy + cy + ch / 2)))
form=$(shape_at $((sx + 300)) $((sy + 200)))
[ "$entry" != "$form" ] || fail "the entry field shows the form's pointer ($entry)"
touch "$E2E_WORK/services/busy"
wait_for_line '^busy on'
busy_form=$(shape_at $((sx + 301)) $((sy + 200)))
busy_entry=$(shape_at $((sx + cx + 9)) $((sy + cy + ch / 2)))
[ "$busy_form" != "$form" ] && [ "$busy_entry" = "$busy_form" ] ||
  fail "busy pointer: form $busy_form (was $form), entry $busy_entry (was $entry)"
rm "$E2E_WORK/services/busy"
wait_for_line '^busy off'
after=$(shape_at $((sx + cx + 8)) $((sy + cy + ch / 2)))
[ "$after" = "$entry" ] || fail "the entry field shows $after after the busy pointer, not its $entry"
note "busy pointer ($busy_form) over the form and its entry field, the entry's own ($entry) again afterwards"
"$probe" close "$SERVICES"
wait_for_exit "$FORM" 10

# Under a window manager: the frame is known before the form is first shown, and the frame's
# corner lies where the form was placed.
openbox --sm-disable >"$E2E_WORK/openbox.log" 2>&1 &
E2E_PIDS+=("$!")
deadline=$((SECONDS + 10))
until xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_REQUEST_FRAME_EXTENTS; do
  [ $SECONDS -lt $deadline ] || fail "openbox did not start: $(cat "$E2E_WORK/openbox.log")"
  sleep 0.1
done
start_services
read -r fl ft fr fb <<<"$(reported frame)"
[ "$ft" -gt 0 ] || fail "no frame known before the first show under openbox: $(reported frame)"
[ "$(xprop -id "$SERVICES" _NET_FRAME_EXTENTS | sed 's/^[^=]*= *//')" = "$fl, $fr, $ft, $fb" ] ||
  fail "frame $fl $ft $fr $fb before the show, $(xprop -id "$SERVICES" _NET_FRAME_EXTENTS) after it"
check_placement
# The frame is the window manager's window on the root that holds the form.
root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
frame=$SERVICES
while parent=$(xwininfo -children -id "$frame" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p') &&
  [ -n "$parent" ] && [ "$parent" != "$root" ]; do
  frame=$parent
done
[ "$(absolute "$frame" X) $(absolute "$frame" Y)" = "$OUTER_X $OUTER_Y" ] ||
  fail "the frame lies at $(absolute "$frame" X),$(absolute "$frame" Y), expected $OUTER_X,$OUTER_Y"
[ "$("$check" rect "$SERVICES")" = "$OUTER_X $OUTER_Y $((OUTER_X + fl + 479 + fr)) $((OUTER_Y + ft + 252 + fb))" ] ||
  fail "WindowScreenRect gives $("$check" rect "$SERVICES")"
note "openbox: frame $fl $ft $fr $fb known before the show; the frame's corner at $OUTER_X,$OUTER_Y as placed"
"$probe" close "$SERVICES"
wait_for_exit "$FORM" 10

echo "PASS forms.gtk"
