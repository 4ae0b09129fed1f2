#!/usr/bin/env bash
# The Windows build's screensaver session under Wine: Vellora.scr /s over a known picture on the
# root window writes Vellora.bmp equal to that picture, starts the renderer ("Vellora_Tessel"
# appears), refuses a second /s while it runs (the snapshot stays as it is), and a mouse move
# of +31,+31 ends both programs.
# With end_session_win32.exe it then ends a second session the way a log-off does.
# With read_only, the programs lie in a folder of root's that the user nobody, who runs them,
# cannot write to (as System32 or Program Files are to a user): the snapshot then goes to
# nobody's %LOCALAPPDATA%\Vellora, made on first use, and the renderer flies it from there.
#
# Usage: session_smoke.sh <dist/windows folder> <root_picture program of the Linux build>
#                         [end_session_win32.exe | read_only]
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 <dist/windows folder> <root_picture program> [end_session_win32.exe | read_only]" >&2
  exit 2
fi
readonly ROOT_PICTURE="$2"
if [ "${3:-}" = read_only ]; then
  readonly MODE=read_only END_SESSION=""
else
  readonly MODE=portable END_SESSION="${3:-}"
fi
if [ ! -f "$1/Vellora.scr" ]; then
  echo "SKIP: no $1/Vellora.scr (cmake --preset windows && cmake --build --preset windows)"
  exit 77
fi
[ -x "$ROOT_PICTURE" ] || { echo "FAIL: no root_picture program at $ROOT_PICTURE" >&2; exit 1; }

# shellcheck source=wine_session.sh
source "$(dirname "$0")/wine_session.sh" "$1"

PICTURE_PID=""
NOBODY_HOME=""
# Wine as the user nobody, with a prefix of nobody's own under NOBODY_HOME.
as_nobody() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" \
    HOME="$NOBODY_HOME" WINEPREFIX="$NOBODY_HOME/prefix" WINEDEBUG=-all "$@"
}
# The picture's client and nobody's wineserver go before the display, keeping the exit status
# for session_cleanup.
end_picture() {
  local status=$?
  [ -n "$PICTURE_PID" ] && kill "$PICTURE_PID" 2>/dev/null
  [ -n "$NOBODY_HOME" ] && as_nobody timeout 15 "$WINESERVER_BIN" -k >/dev/null 2>&1 9>&-
  return $status
}
trap 'end_picture; session_cleanup' EXIT

folder="$(stage_program)"
cp "$DIST_DIR/Vellora.scr" "$folder/Vellora.scr"
snapshot="$folder/Vellora.bmp"

# The known picture, kept on the root window by root_picture, whose window also lets the pointer
# move on a display where no other client has one yet.
picture="$WORK_DIR/picture.png"
convert -size 1024x768 gradient:'#FF2000-#0030FF' \
  -fill '#FFFF00' -draw 'rectangle 100,100 299,199' \
  -fill '#00FF80' -draw 'rectangle 700,500 899,699' \
  -depth 8 -type TrueColor "$picture"
convert "$picture" -depth 8 "ppm:$WORK_DIR/picture.ppm"
"$ROOT_PICTURE" "$WORK_DIR/picture.ppm" >"$WORK_DIR/root_picture.out" 9>&- &
PICTURE_PID=$!
deadline=$((SECONDS + 10))
until grep -q ready "$WORK_DIR/root_picture.out"; do
  [ $SECONDS -lt $deadline ] || fail "root_picture did not put the picture up"
  sleep 0.1
done
xdotool mousemove 400 300
sleep 0.2
[ "$(xdotool getmouselocation --shell | head -n 2 | tr '\n' ' ')" = "X=400 Y=300 " ] ||
  fail "the pointer did not move to 400,300"

if [ "$MODE" = read_only ]; then
  chmod 711 "$WORK_DIR"
  chmod 555 "$folder"
  as_nobody test -w "$folder" && fail "nobody can write to the program folder"
  # Made on first use (about 10 s) and kept, like the prefix of the other cases.
  NOBODY_HOME="/tmp/vellora-wine-nobody"
  if [ ! -f "$NOBODY_HOME/prefix/.vellora-ready" ]; then
    echo "making nobody's Wine prefix $NOBODY_HOME/prefix"
    rm -rf "$NOBODY_HOME"
    install -d -o nobody -g nogroup -m 700 "$NOBODY_HOME"
    as_nobody WINEDLLOVERRIDES="mscoree,mshtml=" timeout 120 wine wineboot -i >"$WORK_DIR/wineboot.log" 2>&1 9>&- ||
      fail "wineboot -i failed for nobody: $(cat "$WORK_DIR/wineboot.log")"
    as_nobody timeout 60 "$WINESERVER_BIN" -w 9>&- || true
    as_nobody touch "$NOBODY_HOME/prefix/.vellora-ready"
  fi
  local_folder="$NOBODY_HOME/prefix/drive_c/users/nobody/AppData/Local/Vellora"
  rm -rf "$local_folder"
  snapshot="$local_folder/Vellora.bmp"

  as_nobody timeout 90 wine "$folder/Vellora.scr" /s >"$WORK_DIR/program.out" 2>"$WORK_DIR/program.err" 9>&- &
  PROGRAM_PID=$!
  wait_for_window Vellora_Tessel 60
  pass "window \"Vellora_Tessel\" appeared"
  [ -f "$snapshot" ] || fail "no snapshot in nobody's %LOCALAPPDATA%\\Vellora"
  differing=$(compare -metric AE "$picture" "$snapshot" null: 2>&1) || true
  [ "$differing" = 0 ] || fail "$differing pixels of the snapshot differ from the screen"
  [ "$(ls -A "$folder")" = "$(printf 'Vellora.data\nVellora.scr')" ] || fail "the program folder changed: $(ls -A "$folder")"
  pass "Vellora.bmp in %LOCALAPPDATA%\\Vellora, equal to the screen; the program folder untouched"
  # A renderer that found no snapshot would show "BMP Unit" boxes and end.
  sleep 1.5
  window_visible Vellora_Tessel || fail "the renderer's window went away"
  window_visible 'BMP Unit' && fail "the renderer shows a \"BMP Unit\" box"
  pass "the renderer flies it"
  xdotool mousemove 431 331
  wait_for_program_exit 15
  wait_for_window_gone Vellora_Tessel 15
  pass "a move of +31,+31 ended the shell (exit code $PROGRAM_EXIT_CODE) and the renderer"
  exit 0
fi

# An older snapshot is replaced by the new one.
convert -size 64x48 xc:red -type TrueColor "BMP3:$snapshot"

timeout 90 wine "$folder/Vellora.scr" /s >"$WORK_DIR/program.out" 2>"$WORK_DIR/program.err" 9>&- &
PROGRAM_PID=$!
wait_for_window Vellora_Tessel 30
pass "window \"Vellora_Tessel\" appeared"

field() { od -An -t"$1" -j"$2" -N"$3" "$snapshot" | tr -d ' '; }
[ "$(head -c 2 "$snapshot")" = BM ] || fail "the snapshot is no BMP"
[ "$(field d4 18 4) $(field d4 22 4)" = "1024 768" ] ||
  fail "the snapshot is $(field d4 18 4)x$(field d4 22 4), expected 1024x768 bottom-up"
[ "$(field u2 28 2)" = 24 ] || fail "the snapshot has $(field u2 28 2) bits per pixel"
[ "$(field u4 30 4)" = 0 ] || fail "the snapshot is compressed"
differing=$(compare -metric AE "$picture" "$snapshot" null: 2>&1) || true
[ "$differing" = 0 ] || fail "$differing pixels of the snapshot differ from the screen"
pass "Vellora.bmp: a 24-bit 1024x768 copy of the screen"

# Let both programs note where the pointer stands before anything moves it.
sleep 1
program_running || fail "the shell ended by itself"
before="$(stat -c '%s %y' "$snapshot") $(sha256sum <"$snapshot")"
first_pid=$PROGRAM_PID
timeout 60 wine "$folder/Vellora.scr" /s >"$WORK_DIR/second.out" 2>"$WORK_DIR/second.err" 9>&- &
PROGRAM_PID=$!
wait_for_program_exit 20
PROGRAM_PID=$first_pid
[ "$(xdotool search --name '^Vellora_Tessel$' 2>/dev/null | wc -l)" = 1 ] || fail "a second renderer window appeared"
[ "$(stat -c '%s %y' "$snapshot") $(sha256sum <"$snapshot")" = "$before" ] ||
  fail "the second start rewrote the snapshot"
program_running || fail "the second start ended the first session"
pass "a second /s ended by itself (exit code $PROGRAM_EXIT_CODE), the snapshot untouched"

xdotool mousemove 431 331
wait_for_program_exit 15
wait_for_window_gone Vellora_Tessel 15
pass "a move of +31,+31 ended the shell (exit code $PROGRAM_EXIT_CODE) and the renderer"

# The end of the Windows session, WM_QUERYENDSESSION and then WM_ENDSESSION to the hidden
# session form's window, unloads the form: the shell ends by itself with exit code 0.
if [ -n "$END_SESSION" ]; then
  timeout 90 wine "$folder/Vellora.scr" /s >"$WORK_DIR/program.out" 2>"$WORK_DIR/program.err" 9>&- &
  PROGRAM_PID=$!
  wait_for_window Vellora_Tessel 30
  timeout 30 wine "$END_SESSION" Vellora_Main >"$WORK_DIR/end_session.out" 2>&1 9>&- ||
    fail "the session form refused the session's end or is missing: $(tr -d '\r' <"$WORK_DIR/end_session.out")"
  wait_for_program_exit 15
  [ "$PROGRAM_EXIT_CODE" -eq 0 ] || fail "the session's end left the shell with exit code $PROGRAM_EXIT_CODE"
  pass "the end of the Windows session ended the shell with exit code 0"
fi
