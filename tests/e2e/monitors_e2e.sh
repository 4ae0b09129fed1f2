#!/usr/bin/env bash
# End-to-end checks of a desktop of several monitors: a screensaver session, the renderer on its
# own and the settings dialog, on a private Xvfb whose root window shows one colour per monitor.
# Usage: monitors_e2e.sh LAYOUT DIST_DIR X11_PROBE ROOT_PICTURE LAYOUT_SHIM
# With E2E_WINDOW_MANAGER=openbox the RandR layouts run under that window manager.
#   randr2    a 2304x1024 root: the primary 1280x1024 right of a 1024x768 monitor (RandR)
#   randr3    a 3328x1024 root: left 1024x768, primary 1280x1024, right 1024x1024 (RandR)
#   xinerama  Xvfb +xinerama with two screens (Xvfb lays them on top of another: one monitor),
#             then a 2560x1024 root as two Xinerama screens side by side
# The RandR layouts are the server's own monitors (`xrandr --setmonitor`). Xvfb places its
# Xinerama screens on top of another, so for screens side by side LAYOUT_SHIM, preloaded into
# both programs, answers the Xinerama query. The windows, the pointer, the keys and the screen
# copies stay the real server's.
set -euo pipefail
layout=$1 dist=$2 probe=$3 root_picture=$4 shim=$5
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"

for program in Vellora.scr Vellora.data; do
  [ -x "$dist/$program" ] || fail "no $program at $dist"
done

# Monitors as "WxH+X+Y", the primary first, and the colour of the desktop on each.
COLOURS=('#FF0000' '#00FF00' '#0000FF')
case "$layout" in
randr2) ROOT=2304x1024 MONITORS=(1280x1024+1024+0 1024x768+0+128) ;;
randr3) ROOT=3328x1024 MONITORS=(1280x1024+1024+0 1024x768+0+0 1024x1024+2304+0) ;;
xinerama) ROOT=1280x1024 MONITORS=(1280x1024+0+0) ;;
*) fail "unknown layout $layout" ;;
esac

geometry() { [[ $1 =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && echo "${BASH_REMATCH[*]:1}"; }

# Puts one colour on each monitor's part of the root window (black elsewhere).
paint_desktop() {
  local draw=() i w h x y
  for i in "${!MONITORS[@]}"; do
    read -r w h x y < <(geometry "${MONITORS[$i]}")
    draw+=(-fill "${COLOURS[$i]}" -draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))")
  done
  convert -size "$ROOT" xc:black "${draw[@]}" -depth 8 "ppm:$E2E_WORK/desktop.ppm"
  "$root_picture" "$E2E_WORK/desktop.ppm" >"$E2E_WORK/root_picture.out" &
  E2E_PIDS+=("$!")
  local deadline=$((SECONDS + 10))
  until grep -q ready "$E2E_WORK/root_picture.out" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "root_picture did not put the picture up"
    sleep 0.1
  done
}

# Gives the server the monitors as RandR 1.5 monitors: the primary takes the server's one output,
# so the server lists exactly these.
PROGRAM_ENV=()
set_up_monitors() {
  local i w h x y name output=screen
  for i in "${!MONITORS[@]}"; do
    read -r w h x y < <(geometry "${MONITORS[$i]}")
    name="vellora$i"
    [ "$i" = 0 ] && name="*$name"
    xrandr --setmonitor "$name" "$w/300x$h/200+$x+$y" "$output" >/dev/null || fail "xrandr --setmonitor $name"
    output=none
  done
  [ "$(xrandr --listmonitors | sed -n 's/^Monitors: //p')" = "${#MONITORS[@]}" ] ||
    fail "the server lists other monitors: $(xrandr --listmonitors)"
  note "the server lists the ${#MONITORS[@]} monitors"
}

app=""
start_programs_folder() {
  app="$E2E_WORK/app"
  mkdir -p "$app"
  cp "$dist/Vellora.scr" "$dist/Vellora.data" "$app/"
}

# The render window on each monitor, by title, and where it lies.
window_on() {  # INDEX -> window id
  local title=Vellora_Tessel
  [ "$1" -gt 0 ] && title="Vellora_Tessel_$(($1 + 1))"
  wait_for_window "$title" 20 || fail "no window titled $title"
}

check_windows() {
  local i id
  for i in "${!MONITORS[@]}"; do
    id=$(window_on "$i")
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "${WIDTH}x$HEIGHT+$X+$Y" = "${MONITORS[$i]}" ] ||
      fail "monitor $((i + 1)): window at ${WIDTH}x$HEIGHT+$X+$Y, expected ${MONITORS[$i]}"
  done
  note "one window on each monitor, covering it: ${MONITORS[*]}"
}

# Each monitor shows a tunnel over its own colour: every sampled pixel of its part is that
# colour mixed with the fog (0.9, 0.9, 1.0), and the colour is seen up close at least once.
check_tunnels() {
  local i w h x y shot r g b
  for i in "${!MONITORS[@]}"; do
    read -r w h x y < <(geometry "${MONITORS[$i]}")
    local clearest=0
    for shot in $(seq 1 12); do
      import -window root -crop "${w}x$h+$x+$y" +repage "$E2E_WORK/shot.png"
      while read -r r g b; do
        case "${COLOURS[$i]}" in
        '#FF0000') own=$((r - g)); [ $(( g - b * 9 / 10 )) -le 14 ] && [ $(( b * 9 / 10 - g )) -le 14 ] || own=-999 ;;
        '#00FF00') own=$((g - r)); [ $(( r - b * 9 / 10 )) -le 14 ] && [ $(( b * 9 / 10 - r )) -le 14 ] || own=-999 ;;
        '#0000FF') own=$((b - r)); [ $(( r - g )) -le 14 ] && [ $(( g - r )) -le 14 ] && [ "$b" -ge 240 ] || own=-999 ;;
        esac
        [ "$own" -ge -14 ] || fail "monitor $((i + 1)): pixel $r,$g,$b is not fog over ${COLOURS[$i]}"
        [ "$own" -gt "$clearest" ] && clearest=$own
      done < <(convert "$E2E_WORK/shot.png" -sample '16x12!' -depth 8 txt:- |
               sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p')
      [ "$clearest" -ge 60 ] && break
      sleep 0.1
    done
    [ "$clearest" -ge 60 ] || fail "monitor $((i + 1)): its colour ${COLOURS[$i]} never seen up close"
    note "monitor $((i + 1)) shows a tunnel over its own colour ${COLOURS[$i]}"
  done
}

# Until each monitor's centre shows neither its desktop nor the black of a window not yet drawn.
wait_until_drawn() {
  local i w h x y shown desktop deadline=$((SECONDS + 20))
  for i in "${!MONITORS[@]}"; do
    read -r w h x y < <(geometry "${MONITORS[$i]}")
    desktop=$(convert xc:"${COLOURS[$i]}" -depth 8 txt:- | sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p')
    until shown=$(pixel_at $((x + w / 2)) $((y + h / 2))) && [ "$shown" != "0 0 0" ] && [ "$shown" != "$desktop" ]; do
      [ $SECONDS -lt $deadline ] || fail "monitor $((i + 1)) never showed a tunnel"
      sleep 0.05
    done
  done
}

# A point on a monitor, away from its edges.
point_on() {  # INDEX DX DY
  read -r w h x y < <(geometry "${MONITORS[$1]}")
  echo $((x + w / 2 + $2)) $((y + h / 2 + $3))
}

session() {
  local last=$((${#MONITORS[@]} - 1)) i w h x y
  start_programs_folder
  # Left from a desktop with one more monitor: it goes with the next session.
  convert -size 8x8 xc:white -type TrueColor "BMP3:$app/Vellora_$((${#MONITORS[@]} + 1)).bmp"
  read -r px py < <(point_on 0 0 0)
  "$probe" move "$px" "$py"
  (cd "$E2E_WORK" && exec env "${PROGRAM_ENV[@]}" "$app/Vellora.scr" /s 2>>"$E2E_WORK/shell.err") &
  SHELL_PID=$!
  E2E_PIDS+=("$SHELL_PID")
  window_on 0 >/dev/null
  RENDERER_PID=$(pgrep -P "$SHELL_PID" -x Vellora.data) || fail "the renderer is not the shell's child"
  E2E_PIDS+=("$RENDERER_PID")
  wait_until_drawn
  for i in "${!MONITORS[@]}"; do
    read -r w h x y < <(geometry "${MONITORS[$i]}")
    local file="$app/Vellora.bmp"
    [ "$i" -gt 0 ] && file="$app/Vellora_$((i + 1)).bmp"
    [ "$(identify -format '%wx%h' "$file")" = "${w}x$h" ] || fail "$file is $(identify -format "%wx%h" "$file"), not ${w}x$h"
    [ "$(convert "$file" -format '%[pixel:p{1,1}] %[pixel:p{'$((w - 2))','$((h - 2))'}]' info:)" = \
      "$(convert xc:"${COLOURS[$i]}" -format '%[pixel:p{0,0}] %[pixel:p{0,0}]' info:)" ] ||
      fail "$file does not hold its monitor's colour ${COLOURS[$i]}"
  done
  [ ! -e "$app/Vellora_$((${#MONITORS[@]} + 1)).bmp" ] || fail "the snapshot of a monitor no longer there stayed"
  note "each monitor's own part of the desktop in its snapshot; the one of a monitor gone is removed"
  check_windows
  check_tunnels
  # A person at the last monitor moves the mouse there: both programs end.
  read -r px py < <(point_on "$last" 0 0)
  "$probe" move "$px" "$py"
  "$probe" move $((px + 40)) $((py + 40))
  wait_for_exit "$SHELL_PID" 10
  local deadline=$((SECONDS + 10))
  while [ -e "/proc/$RENDERER_PID" ] && [ "$(awk '{print $3}' "/proc/$RENDERER_PID/stat" 2>/dev/null)" != Z ]; do
    [ $SECONDS -lt $deadline ] || fail "the renderer still runs after the mouse moved on monitor $((last + 1))"
    sleep 0.1
  done
  note "a mouse move on monitor $((last + 1)) ends the session and the renderer"
}

renderer_alone() {
  local last=$((${#MONITORS[@]} - 1)) id
  read -r px py < <(point_on 0 0 0)
  "$probe" move "$px" "$py"
  (cd "$E2E_WORK" && exec env "${PROGRAM_ENV[@]}" "$app/Vellora.data" 2>"$E2E_WORK/renderer.err") &
  RENDERER_PID=$!
  E2E_PIDS+=("$RENDERER_PID")
  window_on 0 >/dev/null
  wait_until_drawn
  # Straight across to the last monitor: a move along one axis alone does not end it.
  read -r qx qy < <(point_on "$last" 0 0)
  "$probe" move "$qx" "$py"
  sleep 0.3
  [ "$("$probe" cursor)" = hidden ] || fail "cursor visible over monitor $((last + 1))"
  still_running_after "$RENDERER_PID" 0.3 || fail "a move along one axis ended the renderer"
  note "cursor hidden over monitor $((last + 1))"
  id=$(window_on "$last")
  xdotool windowfocus "$id" 2>/dev/null || true
  xdotool key --window "$id" Escape
  wait_for_exit "$RENDERER_PID" 10
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
  note "Escape on monitor $((last + 1)) ends the renderer"

  # A monitor without a snapshot of its own, as one added since the session copied the desktop:
  # its tunnel has plain walls in the fog, and nothing is reported.
  rm "$app/Vellora_$((last + 1)).bmp"
  (cd "$E2E_WORK" && exec env "${PROGRAM_ENV[@]}" "$app/Vellora.data" 2>"$E2E_WORK/renderer.err") &
  RENDERER_PID=$!
  E2E_PIDS+=("$RENDERER_PID")
  id=$(window_on "$last")
  wait_until_drawn
  sleep 0.5
  read -r w h x y < <(geometry "${MONITORS[$last]}")
  import -window root -crop "${w}x$h+$x+$y" +repage "$E2E_WORK/shot.png"
  while read -r r g b; do
    [ $((r - g)) -le 3 ] && [ $((g - r)) -le 3 ] && [ "$b" -ge 250 ] && [ "$r" -ge 225 ] ||
      fail "monitor $((last + 1)) without a snapshot: pixel $r,$g,$b is not a plain wall in the fog"
  done < <(convert "$E2E_WORK/shot.png" -sample '16x12!' -depth 8 txt:- |
           sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p')
  xdotool search --name '^BMP Unit$' >/dev/null 2>&1 && fail "a missing snapshot of another monitor was reported"
  [ ! -s "$E2E_WORK/renderer.err" ] || fail "the renderer wrote: $(cat "$E2E_WORK/renderer.err")"
  note "a monitor without a snapshot of its own shows plain walls in the fog, unreported"
  "$probe" close "$id"
  wait_for_exit "$RENDERER_PID" 10
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
  xdotool search --name '^Vellora_Tessel' >/dev/null 2>&1 && fail "a window was left behind"
  note "a close request to monitor $((last + 1))'s window ends the renderer, every window goes"

  # The primary's snapshot missing: the renderer's message boxes come up on the primary.
  rm "$app/Vellora.bmp"
  (cd "$E2E_WORK" && exec env "${PROGRAM_ENV[@]}" "$app/Vellora.data" 2>"$E2E_WORK/renderer.err") &
  RENDERER_PID=$!
  E2E_PIDS+=("$RENDERER_PID")
  local box
  box=$(wait_for_window "BMP Unit") || fail "no BMP Unit box"
  inside_primary "$box" "the message box"
  wait_for_focus "$box"
  xdotool key Return
  box=$(wait_for_window "Loading Textures") || fail "no Loading Textures box"
  inside_primary "$box" "the second message box"
  wait_for_focus "$box"
  xdotool key Return
  wait_for_exit "$RENDERER_PID" 10
  [ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE, expected 1"
  note "the renderer's message boxes come up on the primary monitor"
}

# Fails unless the window (once shown) lies wholly on the primary monitor.
inside_primary() {  # WINDOW WHAT
  local w h x y deadline=$((SECONDS + 10))
  until xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; do
    [ $SECONDS -lt $deadline ] || fail "$2 never came up"
    sleep 0.05
  done
  eval "$(xdotool getwindowgeometry --shell "$1")"
  read -r w h x y < <(geometry "${MONITORS[0]}")
  [ "$X" -ge "$x" ] && [ "$Y" -ge "$y" ] && [ $((X + WIDTH)) -le $((x + w)) ] && [ $((Y + HEIGHT)) -le $((y + h)) ] ||
    fail "$2 at ${WIDTH}x$HEIGHT+$X+$Y is not on the primary monitor ${MONITORS[0]}"
}

dialog() {
  local w h x y
  (cd "$E2E_WORK" && exec env "${PROGRAM_ENV[@]}" "$app/Vellora.scr" /c 2>>"$E2E_WORK/shell.err") &
  SHELL_PID=$!
  E2E_PIDS+=("$SHELL_PID")
  DIALOG=$(wait_for_window '<Vellora>' 20) || fail "no settings dialog"
  inside_primary "$DIALOG" "the dialog's client area"
  read -r w h x y < <(geometry "${MONITORS[0]}")
  # Centred across the primary, as on a screen of its own.
  [ $(( (X - x) - (x + w - X - WIDTH) )) -le 2 ] && [ $(( (x + w - X - WIDTH) - (X - x) )) -le 2 ] ||
    fail "the dialog ${WIDTH}x$HEIGHT+$X+$Y is not centred on the primary ${MONITORS[0]}"
  note "the dialog's client area ${WIDTH}x$HEIGHT+$X+$Y lies centred on the primary monitor"
  "$probe" close "$DIALOG"
  wait_for_exit "$SHELL_PID" 10
}

if [ "$layout" = xinerama ]; then
  # Two real Xinerama screens, which Xvfb lays on top of another: they show one part of the
  # desktop, so it is covered once.
  Xvfb() { exec Xvfb "$@" +xinerama -screen 1 1280x1024x24; }
  start_xvfb 1280x1024x24
  unset -f Xvfb
  [ "$(xdpyinfo -ext XINERAMA | grep -c 'head #')" = 2 ] || fail "Xvfb did not join two screens"
  paint_desktop
  session
  [ "$(xdotool search --name '^Vellora_Tessel' 2>/dev/null | wc -l)" = 0 ] || fail "windows left behind"
  note "two Xinerama screens on top of another: one tunnel"
  e2e_cleanup
  trap e2e_cleanup EXIT
  E2E_PIDS=()
  # Side by side, as a Xinerama server with a layout reports them.
  ROOT=2560x1024 MONITORS=(1280x1024+1280+0 1280x1024+0+0)
  start_xvfb "${ROOT}x24"
  PROGRAM_ENV=(LD_PRELOAD="$shim" E2E_XINERAMA_SCREENS="${MONITORS[0]},${MONITORS[1]}")
  note "Xinerama screens side by side, answered by the shim"
else
  start_xvfb "${ROOT}x24"
  set_up_monitors
  start_window_manager
fi
paint_desktop
session
renderer_alone
dialog
echo "PASS monitors.$layout"
