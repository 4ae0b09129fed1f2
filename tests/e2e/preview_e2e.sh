#!/usr/bin/env bash
# End-to-end checks of the preview mode of Vellora.scr (/p WINDOW) on a private Xvfb: the still
# inside host windows of three sizes, the end with the host, bad window ids, and a running
# preview beside a session and beside the settings dialog (skipped while /c opens none).
# Usage: preview_e2e.sh CASE DIST_DIR HOST_WINDOW X11_PROBE STILL_PNG [X_ERROR_INJECTOR]
set -euo pipefail
case_name=$1 dist=$2 host_window=$3 probe=$4 still=$5 injector=${6:-}
here=$(cd "$(dirname "$0")" && pwd)
# Exit code 77 (skipped) while the shell program is not built.
[ -x "$dist/Vellora.scr" ] || { echo "SKIP: no shell at $dist/Vellora.scr"; exit 77; }
. "$here/e2e_lib.sh"

[ -x "$dist/Vellora.data" ] || fail "no renderer at $dist/Vellora.data"
start_xvfb 1024x768x24
start_window_manager
app="$E2E_WORK/app"
mkdir -p "$app"
cp "$dist/Vellora.scr" "$dist/Vellora.data" "$app/"

HOST_X=100 HOST_Y=100

# Starts a host window of the given size at (HOST_X, HOST_Y); sets HOST (its id) and HOST_IN
# (a descriptor that takes its commands; closing it ends the host program).
start_host() {
  local fifo="$E2E_WORK/host-$1x$2.in" out="$E2E_WORK/host-$1x$2.out"
  rm -f "$fifo" "$out"  # an earlier round's output must not be read as this host's
  mkfifo "$fifo"
  "$host_window" "$1" "$2" "$HOST_X" "$HOST_Y" <"$fifo" >"$out" &
  E2E_PIDS+=("$!")
  HOST_PID=$!
  exec {HOST_IN}>"$fifo"
  local deadline=$((SECONDS + 10))
  until [ -s "$out" ]; do
    [ $SECONDS -lt $deadline ] || fail "the host window did not come up"
    sleep 0.05
  done
  HOST=$(head -n 1 "$out")
  [ -n "$HOST" ] || fail "the host window gave no id"
  # A window manager places the host where it likes, inside a frame of its own.
  read -r HOST_X HOST_Y < <(absolute_position "$HOST")
}

# Screen position of a window's top-left corner as "X Y".
absolute_position() {
  xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *\(-*[0-9]*\).*/\1/p; s/.*Absolute upper-left Y: *\(-*[0-9]*\).*/\1/p' | paste -sd ' '
}

destroy_host() { echo destroy >&"$HOST_IN"; }
end_host_program() {
  exec {HOST_IN}>&-
  wait "$HOST_PID" 2>/dev/null || true
}

# Starts Vellora.scr with the given command line (and any VAR=value words before it); sets
# SHELL_PID. It does not keep the host's command pipe open, so that closing it still ends the
# host program.
start_shell() {
  local environment=()
  while [ $# -gt 0 ] && [[ $1 == *=* ]]; do environment+=("$1"); shift; done
  (
    if [ -n "${HOST_IN:-}" ]; then exec {HOST_IN}>&-; fi
    cd "$E2E_WORK" && exec env "${environment[@]}" "$app/Vellora.scr" "$@" 2>>"$E2E_WORK/stderr"
  ) &
  SHELL_PID=$!
  E2E_PIDS+=("$SHELL_PID")
}

# Waits until the preview window lies inside the host; prints its id.
wait_for_preview_in_host() {
  local id deadline=$((SECONDS + 15))
  while [ $SECONDS -lt $deadline ]; do
    kill -0 "$SHELL_PID" 2>/dev/null || fail "Vellora.scr /p ended instead of showing the preview"
    id=$(xwininfo -id "$HOST" -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "Preview Window".*/\1/p' | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window titled Preview Window inside the host"
}

# Compares the host's area on screen with the expected picture; waits for the first paint.
expect_host_shows() {
  local expected=$1 width=$2 height=$3 differing deadline=$((SECONDS + 10))
  while :; do
    import -window root -crop "${width}x${height}+${HOST_X}+${HOST_Y}" +repage "$E2E_WORK/shot.png"
    differing=$(compare -metric AE -fuzz 1% "$E2E_WORK/shot.png" "$expected" null: 2>&1 || true)
    [ "$differing" = 0 ] && return 0
    [ $SECONDS -lt $deadline ] || {
      cp "$E2E_WORK/shot.png" "${TMPDIR:-/tmp}/preview-e2e-${width}x${height}-actual.png"
      fail "host of ${width}x${height}: $differing pixels differ from the expected picture"
    }
    sleep 0.2
  done
}

expect_shell_ends() {
  wait_for_exit "$SHELL_PID" "${1:-5}"
}

case "$case_name" in
still)
  # The still exactly in a host of its size, with black around it in a larger one, and clipped
  # by a smaller one.
  convert "$still" "$E2E_WORK/exact.png"
  convert -size 300x200 xc:black "$still" -composite "$E2E_WORK/larger.png"
  convert "$still" -crop 100x80+0+0 +repage "$E2E_WORK/smaller.png"
  for size in "152 112 exact" "300 200 larger" "100 80 smaller"; do
    read -r width height expected <<<"$size"
    start_host "$width" "$height"
    start_shell /p "$HOST"
    preview=$(wait_for_preview_in_host)
    read -r X Y < <(absolute_position "$preview")
    WIDTH=$(xwininfo -id "$preview" | sed -n 's/.*Width: *//p')
    HEIGHT=$(xwininfo -id "$preview" | sed -n 's/.*Height: *//p')
    [ "$X $Y $WIDTH $HEIGHT" = "$HOST_X $HOST_Y $width $height" ] ||
      fail "preview at $X,$Y size ${WIDTH}x$HEIGHT, expected the host's $HOST_X,$HOST_Y ${width}x$height"
    expect_host_shows "$E2E_WORK/$expected.png" "$width" "$height"
    note "${width}x${height} host: preview covers it and shows the $expected still"
    still_running_after "$SHELL_PID" 0.5 || fail "the preview ended by itself"
    destroy_host
    expect_shell_ends
    end_host_program
  done
  ;;

host_gone)
  # The host window destroyed, the host program ending (its windows go with it), and the host
  # destroyed just after the preview moved in, before the preview was placed and shown: each
  # ends the preview with exit code 0.
  start_host 152 112
  start_shell /p "$HOST"
  wait_for_preview_in_host >/dev/null
  destroy_host
  expect_shell_ends
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after the host window was destroyed"
  note "host window destroyed: Vellora.scr ended (exit code 0)"
  end_host_program
  start_host 152 112
  start_shell /p "$HOST"
  wait_for_preview_in_host >/dev/null
  end_host_program
  expect_shell_ends
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after the host program ended"
  note "host program ended: Vellora.scr ended (exit code 0)"
  [ -n "$injector" ] || fail "no X error injector given"
  start_host 152 112
  start_shell LD_PRELOAD="$injector" X_ERROR_INJECTOR_AT=adoption /p "$HOST"
  expect_shell_ends
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE with the host gone right after the adoption: $(cat "$E2E_WORK/stderr")"
  xdotool search --name '^Preview Window$' >/dev/null 2>&1 && fail "a preview window is left"
  note "host destroyed right after the adoption: Vellora.scr ended (exit code 0)"
  end_host_program
  ;;

bad_id)
  # A window that existed once, no number, no handle at all, and 0. The host program stays
  # connected, so that the server hands its destroyed window's id to no other client.
  start_host 152 112
  gone=$HOST
  destroy_host
  for arguments in "/p $gone" "/P:$gone" "/p window" "/p" "/p 0"; do
    # shellcheck disable=SC2086
    start_shell $arguments
    expect_shell_ends 3
    xdotool search --name '^Preview Window$' >/dev/null 2>&1 && fail "'$arguments' left a preview window"
    note "'$arguments': ended at once with no window"
  done
  end_host_program
  ;;

beside_session)
  # A preview is up; a session still starts, and ends with a mouse move while the preview stays.
  start_host 152 112
  start_shell /p "$HOST"
  preview_pid=$SHELL_PID
  wait_for_preview_in_host >/dev/null
  "$probe" move 500 400
  start_shell /s
  wait_for_window Vellora_Tessel 20 >/dev/null || fail "/s did not start the renderer beside the preview"
  note "/s started a session and the renderer beside the preview"
  sleep 1
  "$probe" move 700 650
  expect_shell_ends 10
  note "the session ended with a mouse move"
  kill -0 "$preview_pid" 2>/dev/null || fail "the preview ended with the session"
  SHELL_PID=$preview_pid
  destroy_host
  expect_shell_ends
  note "the preview ran on until its host went"
  ;;

beside_dialog)
  # The settings dialog opens with a preview up, as it does without one.
  start_host 152 112
  start_shell /p "$HOST"
  preview_pid=$SHELL_PID
  wait_for_preview_in_host >/dev/null
  start_shell /c
  dialog=$(wait_for_window '<Vellora>' 20) || fail "/c did not open the settings dialog beside the preview"
  note "/c opened the settings dialog beside the preview"
  "$probe" close "$dialog"
  expect_shell_ends 10
  kill -0 "$preview_pid" 2>/dev/null || fail "the preview ended with the dialog"
  SHELL_PID=$preview_pid
  destroy_host
  expect_shell_ends
  note "the preview ran on until its host went"
  ;;

*) fail "unknown case $case_name" ;;
esac
echo "PASS: preview $case_name"
