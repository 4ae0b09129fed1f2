#!/usr/bin/env bash
# The Windows build's preview mode under Wine: Vellora.scr /p HANDLE goes into a host window made
# by preview_host_win32.exe (a stand-in for the display settings' preview monitor), in hosts of
# 152x112, 300x200 and 100x80: it becomes a visible child window with WS_CHILD at the host's
# (0, 0) with the host's size, and it ends when the host window is destroyed; a handle that names
# no window, or none, ends it at once.
#
# The pixels are not compared here: Wine 8 shows nothing that a process draws into a child window
# of another process's window (a plain WS_CHILD window painted red by a second process stays
# invisible too), so the still's placement on screen is checked by the Linux end-to-end suite.
#
# Usage: preview_in_host.sh <dist/windows folder> <preview host build folder>
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 <dist/windows folder> <preview host build folder>" >&2
  exit 2
fi
readonly HOST_PROGRAM="$2/preview_host_win32.exe"
for file in "$1/Vellora.scr" "$HOST_PROGRAM"; do
  if [ ! -f "$file" ]; then
    echo "SKIP: no $file (cmake --preset windows && cmake --build --preset windows)"
    exit 77
  fi
done

# shellcheck source=wine_session.sh
source "$(dirname "$0")/wine_session.sh" "$1"

HOST_PID=""
end_host() {
  if [ -n "$HOST_PID" ] && kill -0 "$HOST_PID" 2>/dev/null; then
    kill "$HOST_PID" 2>/dev/null || true
    wait "$HOST_PID" 2>/dev/null || true
  fi
  HOST_PID=""
}

# The host's first line whose first word is $1, without that word; fails when there is none.
host_line() { tr -d '\r' <"$WORK_DIR/host.out" | grep -m 1 -E "^$1( |\$)" | sed "s/^$1 \{0,1\}//"; }

# Waits up to $2 seconds for the host to report a line starting with the word $1; prints the rest.
wait_for_host_line() {
  local deadline=$((SECONDS + $2)) value alive
  while :; do
    alive=yes
    kill -0 "$HOST_PID" 2>/dev/null || alive=no
    value="$(host_line "$1")" && { echo "$value"; return 0; }
    [ "$alive" = yes ] || fail "the host program ended before reporting \"$1\""
    [ $SECONDS -lt "$deadline" ] || fail "the host did not report \"$1\" within $2 s"
    sleep 0.1
  done
}

folder="$WORK_DIR/Vellora"
mkdir -p "$folder"
cp "$DIST_DIR/Vellora.scr" "$folder/Vellora.scr"
flag="$WORK_DIR/close.flag"

for size in "152 112" "300 200" "100 80"; do
  read -r width height <<<"$size"
  rm -f "$flag" "$WORK_DIR/host.out"
  timeout 90 wine "$HOST_PROGRAM" "$width" "$height" "Z:${flag//\//\\}" >"$WORK_DIR/host.out" 2>/dev/null 9>&- &
  HOST_PID=$!
  handle="$(wait_for_host_line host 30)"

  timeout 90 wine "$folder/Vellora.scr" /p "$handle" >"$WORK_DIR/program.out" 2>"$WORK_DIR/program.err" 9>&- &
  PROGRAM_PID=$!
  child="$(wait_for_host_line child 30)"
  [ "$child" = "${width}x${height} at 0,0 ws_child other_process" ] ||
    fail "in the ${width}x${height} host the preview is: $child; expected ${width}x${height} at 0,0 ws_child other_process"
  pass "${width}x${height} host: Preview Window is its visible child (WS_CHILD) at (0, 0) with its size"

  sleep 0.5
  program_running || fail "the preview ended while its host was up"
  touch "$flag"
  wait_for_host_line closed 15 >/dev/null
  wait_for_program_exit 15
  pass "host window destroyed: Vellora.scr ended (exit code $PROGRAM_EXIT_CODE)"
  end_host
done

# The last host's handle names no window now: the preview ends at once, as it does with no handle.
for arguments in "/p $handle" "/p"; do
  # shellcheck disable=SC2086
  timeout 90 wine "$folder/Vellora.scr" $arguments >"$WORK_DIR/program.out" 2>"$WORK_DIR/program.err" 9>&- &
  PROGRAM_PID=$!
  wait_for_program_exit 10
  pass "'$arguments' ended at once (exit code $PROGRAM_EXIT_CODE)"
done
