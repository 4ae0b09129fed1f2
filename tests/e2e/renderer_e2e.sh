#!/usr/bin/env bash
# End-to-end checks of Vellora.data on a private Xvfb, driven with xdotool.
# Usage: renderer_e2e.sh CASE DIST_DIR X11_PROBE X_ERROR_INJECTOR
set -euo pipefail
case_name=$1 dist=$2 probe=$3 injector=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"

[ -x "$dist/Vellora.data" ] || fail "no renderer at $dist/Vellora.data"
start_xvfb 1024x768x24
start_window_manager
app="$E2E_WORK/app"
mkdir -p "$app"
cp "$dist/Vellora.data" "$app/"

# A snapshot of one pure colour: every pixel on screen must then be that colour mixed with fog.
make_snapshot() { convert -size "${2:-640x480}" "xc:${1:-#FF0000}" -type TrueColor "BMP3:$app/Vellora.bmp"; }

start_renderer() {
  (cd "${1:-$E2E_WORK}" && exec "$app/Vellora.data" 2>"$E2E_WORK/stderr") &
  RENDERER=$!
  E2E_PIDS+=("$RENDERER")
  WINDOW=$(wait_for_window Vellora_Tessel) || fail "no window titled Vellora_Tessel: $(cat "$E2E_WORK/stderr"; kill -0 "$RENDERER" 2>/dev/null && echo "(still running)")"
  # The window exists before it is shown; a person acts once the tunnel is on the screen, and
  # by then the renderer has noted where the pointer stands.
  local deadline=$((SECONDS + 20))
  until [ "$(pixel_at 512 384)" != "0 0 0" ]; do
    kill -0 "$RENDERER" 2>/dev/null || fail "the renderer ended before it drew: $(cat "$E2E_WORK/stderr")"
    [ $SECONDS -lt $deadline ] || fail "the tunnel never showed"
    sleep 0.05
  done
}

# A quick tap, as a person gives it: key-down and key-up a few milliseconds apart.
press_escape() { xdotool key Escape; }

expect_exit() {
  wait_for_exit "$RENDERER" "${2:-10}"
  [ "$EXIT_CODE" = "$1" ] || fail "exit code $EXIT_CODE, expected $1"
  note "exit code $EXIT_CODE"
}

case "$case_name" in
window)
  make_snapshot
  start_renderer
  eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
  [ "$X $Y $WIDTH $HEIGHT" = "0 0 1024 768" ] || fail "window at $X,$Y size ${WIDTH}x$HEIGHT, expected 0,0 1024x768"
  note "window at 0,0 covering the 1024x768 screen"
  xprop -id "$WINDOW" WM_NAME | grep -q '"Vellora_Tessel"' || fail "WM_NAME"
  xprop -id "$WINDOW" _NET_WM_NAME | grep -q '"Vellora_Tessel"' || fail "_NET_WM_NAME"
  note "WM_NAME and _NET_WM_NAME are Vellora_Tessel"
  sleep 0.5
  [ "$("$probe" cursor)" = hidden ] || fail "cursor visible while running"
  note "cursor hidden while running"
  xdotool key a
  still_running_after "$RENDERER" 0.5 || fail "another key ended the renderer"
  press_escape
  expect_exit 0
  xdotool search --name '^Vellora_Tessel$' >/dev/null 2>&1 && fail "window still there"
  note "a tap of Escape ends it and the window goes"
  ;;

picture)
  make_snapshot '#FF0000'
  start_renderer
  sleep 1  # the clock needs a moment to bring the tunnel into view
  # Red snapshot in fog of (0.9, 0.9, 1.0): a pixel with fog factor f has blue 255(1-f),
  # green 0.9 * blue and red 255 - 0.1 * blue. The camera nears an end wall every 1.6 s, so
  # a few shots over two seconds see the snapshot close by and the fog far away.
  nearest=255 farthest=0
  for shot in $(seq 1 12); do
    import -window root "$E2E_WORK/shot.png"
    while read -r r g b; do
      [ $(( g - b * 9 / 10 )) -le 12 ] && [ $(( b * 9 / 10 - g )) -le 12 ] || fail "green $g does not fit fog over red (r=$r b=$b)"
      [ $(( r - (255 - b / 10) )) -le 12 ] && [ $(( (255 - b / 10) - r )) -le 12 ] || fail "red $r does not fit fog over red (g=$g b=$b)"
      [ "$b" -lt "$nearest" ] && nearest=$b
      [ "$b" -gt "$farthest" ] && farthest=$b
    done < <(convert "$E2E_WORK/shot.png" -sample '16x12!' -depth 8 txt:- |
             sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p')
    [ "$nearest" -le 178 ] && [ "$farthest" -ge 200 ] && break
    sleep 0.1
  done
  note "every sampled pixel is the snapshot's red mixed with the fog colour ($shot shots)"
  [ "$nearest" -le 178 ] || fail "snapshot never seen clearly (least blue $nearest)"
  [ "$farthest" -ge 200 ] || fail "no thick fog seen (most blue $farthest)"
  note "snapshot seen near (blue $nearest), fog far away (blue $farthest)"
  press_escape
  expect_exit 0
  ;;

close)
  make_snapshot
  start_renderer
  "$probe" close "$WINDOW"
  expect_exit 0
  note "close request ends it"
  start_renderer
  "$probe" kill "$WINDOW"  # as xkill does
  expect_exit 0
  note "a kill of its X client ends it with exit code 0"
  ;;

mouse)
  make_snapshot
  start_renderer
  # Nothing moves the pointer before this, so where it stands now is where it stood at start.
  read -r x0 y0 < <("$probe" where)
  for offset in "31 0" "30 30" "-30 -30" "0 -31"; do
    read -r dx dy <<<"$offset"
    "$probe" move $((x0 + dx)) $((y0 + dy))
    if ! still_running_after "$RENDERER" 0.7; then
      wait_for_exit "$RENDERER" 1
      fail "a move of $dx,$dy ended the renderer with exit code $EXIT_CODE: $(cat "$E2E_WORK/stderr")"
    fi
  done
  note "moves of +31,0 / +30,+30 / -30,-30 / 0,-31 from the start point keep it running"
  "$probe" move $((x0 + 31)) $((y0 + 31))
  expect_exit 0 5
  note "a move of +31,+31 ends it"
  ;;

missing)
  # A snapshot in the working directory must not be used: only the one beside the program.
  mkdir -p "$E2E_WORK/cwd"
  convert -size 64x64 xc:red -type TrueColor "BMP3:$E2E_WORK/cwd/Vellora.bmp"
  (cd "$E2E_WORK/cwd" && exec "$app/Vellora.data" 2>"$E2E_WORK/stderr") &
  RENDERER=$!
  E2E_PIDS+=("$RENDERER")
  box=$(wait_for_window "BMP Unit") || fail "no BMP Unit box"
  xdotool search --name '^Loading Textures$' >/dev/null 2>&1 && fail "second box shown too early"
  # The box belongs to the full-screen window, so that a window manager keeps it on top.
  owner=$(xprop -id "$box" WM_TRANSIENT_FOR | sed -n 's/.*window id # \(0x[0-9a-f]*\).*/\1/p')
  render_window=$(xdotool search --name '^Vellora_Tessel$' | head -n 1)
  [ -n "$owner" ] && [ $((owner)) = "$render_window" ] || fail "BMP Unit is transient for '$owner', not the render window"
  wait_for_focus "$box"
  xdotool key Return
  box=$(wait_for_window "Loading Textures") || fail "no Loading Textures box after the first"
  note "BMP Unit, then Loading Textures"
  wait_for_focus "$box"
  # Another program (or a window manager killing it) destroys the box: that ends it as OK does.
  xdotool windowclose "$box"
  expect_exit 1
  xdotool search --name '^Vellora_Tessel$' >/dev/null 2>&1 && fail "Vellora_Tessel left behind"
  note "the second box destroyed from outside ends the renderer as OK would"
  path="$app/Vellora.bmp"
  printf 'BMP Unit: Error opening "%s\nLoading Textures: Unable to load %s\n' "$path" "$path" >"$E2E_WORK/want"
  diff "$E2E_WORK/want" "$E2E_WORK/stderr" || fail "messages differ"
  note "texts: Error opening \"$path / Unable to load $path"
  ;;

x_errors)
  make_snapshot
  # A window manager that maps the frame after the window: the focus request fails with
  # BadMatch, which must not end the renderer.
  "$probe" late_frame_wm >"$E2E_WORK/wm.out" &
  E2E_PIDS+=("$!")
  wm=$!
  deadline=$((SECONDS + 10))
  until grep -q ready "$E2E_WORK/wm.out"; do [ $SECONDS -lt $deadline ] || fail "late_frame_wm did not start"; sleep 0.05; done
  start_renderer
  still_running_after "$RENDERER" 1 || fail "a failed focus request ended the renderer: $(cat "$E2E_WORK/stderr")"
  press_escape
  expect_exit 0
  [ ! -s "$E2E_WORK/stderr" ] || fail "the renderer wrote: $(cat "$E2E_WORK/stderr")"
  note "under a window manager that maps its frame late, the failed focus is harmless"
  kill "$wm"
  # An error while the GL context is made: the start fails quietly, as any failed start does.
  (cd "$E2E_WORK" && LD_PRELOAD="$injector" X_ERROR_INJECTOR_AT=gl_context exec "$app/Vellora.data" 2>"$E2E_WORK/stderr") &
  RENDERER=$!
  E2E_PIDS+=("$RENDERER")
  expect_exit 0
  [ ! -s "$E2E_WORK/stderr" ] || fail "the renderer wrote: $(cat "$E2E_WORK/stderr")"
  xdotool search --name '^Vellora_Tessel$' >/dev/null 2>&1 && fail "a window was left behind"
  note "an X error while the context is made ends it with exit code 0 and nothing shown"
  ;;

*) fail "unknown case $case_name" ;;
esac
echo "PASS renderer.$case_name"
