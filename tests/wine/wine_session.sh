# shellcheck shell=bash
# Shared setup for the Wine smoke cases; sourced, not run.
#
# Usage from a case:  source wine_session.sh "$@"   (first argument: the dist/windows folder)
#
# Gives the case a private virtual display on a display number that no other X server holds, a
# reusable 64-bit Wine prefix, a scratch folder for a copy of Vellora.data, and helpers that wait
# for windows and for the program's exit, each with a deadline. Exits 77 when the Windows build is absent; any missing tool is a failure.
# The exit trap ends the program, the wineserver of the prefix and the display again.

# A case that needs a prefix of its own sets this before it sources this file.
USER_ID="$(id -u)"
readonly USER_ID
readonly WINE_PREFIX_DIR="${WINE_PREFIX_DIR:-${VELLORA_WINEPREFIX:-/tmp/vellora-wine-prefix-$USER_ID}}"

if [ $# -lt 1 ]; then
  echo "usage: $0 <dist/windows folder>" >&2
  exit 2
fi
readonly DIST_DIR="$1"

if [ ! -f "$DIST_DIR/Vellora.data" ]; then
  echo "SKIP: no Windows build at $DIST_DIR/Vellora.data (cmake --preset windows && cmake --build --preset windows)"
  exit 77
fi

for tool in wine Xvfb xdotool xdpyinfo convert flock timeout; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (bash scripts/setup.sh)" >&2; exit 1; }
done

# wine64 alone is installed; the loader is started through the wine wrapper, the server is called directly.
WINESERVER_BIN="$(command -v wineserver || true)"
for candidate in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver; do
  [ -z "$WINESERVER_BIN" ] && [ -x "$candidate" ] && WINESERVER_BIN="$candidate"
done
[ -n "$WINESERVER_BIN" ] || { echo "FAIL: wineserver not found" >&2; exit 1; }
readonly WINESERVER_BIN

export WINEPREFIX="$WINE_PREFIX_DIR"
export WINEDEBUG=-all

# One case at a time uses a prefix (its wineserver is shared). Children are started with
# descriptor 9 closed, so that none of them (the wineserver lingers a few seconds) keeps the lock
# after we end.
PREFIX_KEY="$(printf '%s' "$WINE_PREFIX_DIR" | cksum | cut -d' ' -f1)"
readonly LOCK_FILE="/tmp/vellora-wine-$USER_ID-$PREFIX_KEY.lock"
readonly XVFB_PID_FILE="/tmp/vellora-wine-$USER_ID-$PREFIX_KEY.xvfb-pid"
exec 9>"$LOCK_FILE"
flock -w 120 9 || { echo "FAIL: the Wine prefix $WINE_PREFIX_DIR stays locked by another run" >&2; exit 1; }

XVFB_PID=""
PROGRAM_PID=""
WORK_DIR="$(mktemp -d "${TMPDIR:-/tmp}/vellora-wine-case.XXXXXX")"
readonly WORK_DIR

session_cleanup() {
  local status=$?
  if [ -n "$PROGRAM_PID" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; then
    kill "$PROGRAM_PID" 2>/dev/null || true
    wait "$PROGRAM_PID" 2>/dev/null || true
  fi
  timeout 15 "$WINESERVER_BIN" -k >/dev/null 2>&1 9>&- || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    rm -f "$XVFB_PID_FILE"
  fi
  rm -rf "$WORK_DIR"
  exit "$status"
}
trap session_cleanup EXIT
trap 'exit 130' INT TERM

# A run killed without its trap (ctest timeout) leaves its Xvfb behind; holding the lock, we end it
# when the recorded process is still that Xvfb.
end_stale_display() {
  local pid
  pid="$(cat "$XVFB_PID_FILE" 2>/dev/null || true)"
  [ -n "$pid" ] || return 0
  if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q "^Xvfb -displayfd "; then
    echo "ending Xvfb $pid left by an earlier run"
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$XVFB_PID_FILE"
}

# Xvfb takes the first display number that no X server holds and writes it to a pipe once it
# listens, so the case never meets another server on a fixed number.
start_display() {
  end_stale_display
  timeout 15 "$WINESERVER_BIN" -k >/dev/null 2>&1 9>&- || true
  local number_pipe="$WORK_DIR/display-number" number=""
  mkfifo "$number_pipe"
  Xvfb -displayfd 8 -screen 0 1024x768x24 -nolisten tcp -noreset 8>"$number_pipe" >"$WORK_DIR/xvfb.log" 2>&1 9>&- &
  XVFB_PID=$!
  echo "$XVFB_PID" >"$XVFB_PID_FILE"
  read -r -t 15 number <"$number_pipe" || true
  if [ -n "$number" ]; then
    export DISPLAY=":$number"
    for _ in $(seq 100); do
      xdpyinfo >/dev/null 2>&1 && return 0
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  fi
  echo "FAIL: Xvfb did not come up${number:+ on :$number}" >&2
  cat "$WORK_DIR/xvfb.log" >&2
  exit 1
}

# Makes the prefix on first use (about 12 s) and reuses it afterwards; the marker is written only
# after wineboot has finished, so an interrupted first run is redone.
prepare_prefix() {
  if [ -f "$WINEPREFIX/.vellora-ready" ]; then
    return 0
  fi
  echo "making Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # No Mono or Gecko installer prompts while the prefix is being made.
  WINEDLLOVERRIDES="mscoree,mshtml=" timeout 120 wine wineboot -i >"$WORK_DIR/wineboot.log" 2>&1 9>&- || {
    echo "FAIL: wineboot -i failed" >&2
    cat "$WORK_DIR/wineboot.log" >&2
    exit 1
  }
  timeout 60 "$WINESERVER_BIN" -w 9>&- || true
  touch "$WINEPREFIX/.vellora-ready"
}

# A failed check ends the case, showing what the program wrote to stderr.
fail() {
  echo "FAIL: $*" >&2
  if [ -s "$WORK_DIR/program.err" ]; then
    echo "--- program stderr ---" >&2
    cat "$WORK_DIR/program.err" >&2
  fi
  exit 1
}

pass() { echo "ok: $*"; }

# Copies the program under its real name into a folder of its own and returns that folder.
stage_program() {
  local folder="$WORK_DIR/Vellora"
  mkdir -p "$folder"
  cp "$DIST_DIR/Vellora.data" "$folder/Vellora.data"
  echo "$folder"
}

# The program is started by its unix path; Wine's loader runs a PE image whatever its extension, as
# CreateProcess does on Windows, and the loader's exit status is the program's exit code.
# The outer timeout turns a hung program into exit code 124.
start_program() {
  local folder="$1"
  timeout 90 wine "$folder/Vellora.data" >"$WORK_DIR/program.out" 2>"$WORK_DIR/program.err" 9>&- &
  PROGRAM_PID=$!
}

program_running() { [ -n "$PROGRAM_PID" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; }

# Waits up to $1 seconds for the program to end; sets PROGRAM_EXIT_CODE. Fails on the deadline.
# shellcheck disable=SC2034  # PROGRAM_EXIT_CODE is read by the cases
wait_for_program_exit() {
  local deadline=$((SECONDS + $1))
  while program_running && [ $SECONDS -lt "$deadline" ]; do sleep 0.1; done
  program_running && fail "the program is still running after $1 s"
  PROGRAM_EXIT_CODE=0
  wait "$PROGRAM_PID" || PROGRAM_EXIT_CODE=$?
  PROGRAM_PID=""
}

# True when a mapped top-level window carries exactly this title.
window_visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Waits up to $2 seconds for a window titled $1; fails on the deadline or if the program ends first.
wait_for_window() {
  local title="$1" deadline=$((SECONDS + $2))
  until window_visible "$title"; do
    program_running || fail "the program ended before a window \"$title\" appeared"
    [ $SECONDS -lt "$deadline" ] || fail "no window \"$title\" within $2 s"
    sleep 0.1
  done
}

# Waits up to $2 seconds for the window titled $1 to go away.
wait_for_window_gone() {
  local title="$1" deadline=$((SECONDS + $2))
  while window_visible "$title"; do
    [ $SECONDS -lt "$deadline" ] || fail "window \"$title\" still there after $2 s"
    sleep 0.1
  done
}

start_display
prepare_prefix
