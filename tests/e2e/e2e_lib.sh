# Shared helpers for the end-to-end suites: a private Xvfb, waiting for windows, screenshots.
# Source it; every wait has a deadline so that no test can hang.

E2E_PIDS=()
e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ -n "${E2E_WORK:-}" ]; then rm -rf "$E2E_WORK"; fi
  return 0
}
trap e2e_cleanup EXIT

# A process counts as gone once it has been reaped or is a zombie (its parent reaps it).
gone() { [ ! -e "/proc/$1" ] || [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" = Z ]; }

wait_gone() {  # PID WHAT [SECONDS]
  local pid=$1 what=$2 deadline=$((SECONDS + ${3:-5}))
  until gone "$pid"; do
    [ $SECONDS -lt $deadline ] || fail "$what still running after ${3:-5}s"
    sleep 0.1
  done
}

fail() {
  echo "FAIL: $*" >&2
  # A server that died leaves every later step failing for that reason alone; say so.
  if [ -n "${E2E_XVFB:-}" ] && gone "$E2E_XVFB"; then
    echo "  the X server had ended: $(tail -n 3 "$E2E_WORK/xvfb.log" 2>/dev/null)" >&2
  fi
  exit 1
}
note() { echo "  - $*"; }

# Starts Xvfb on a free display number with the given screen size (WxHxD) and exports DISPLAY.
# Numbers are drawn from a high range so that other X servers on the machine are left alone,
# and the display counts as ours only once its lock file names our server: two runs that
# drew the same number at once must not end up talking to one server. The server keeps running
# as it is when its last client leaves, as a desktop's server does with the desktop's clients
# around it: a reset would also hide settings a program failed to put back.
start_xvfb() {
  local screen=${1:-1024x768x24} number pid _
  E2E_WORK=$(mktemp -d)
  for _ in 1 2 3 4 5 6 7 8; do
    number=$((200 + RANDOM % 800))
    [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
    Xvfb ":$number" -screen 0 "$screen" -nolisten tcp -noreset >"$E2E_WORK/xvfb.log" 2>&1 &
    pid=$!
    for _ in $(seq 1 100); do
      kill -0 "$pid" 2>/dev/null || break
      if [ "$(cat "/tmp/.X${number}-lock" 2>/dev/null | tr -d ' \n')" = "$pid" ] &&
        DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
        E2E_PIDS+=("$pid")
        E2E_XVFB=$pid
        export DISPLAY=":$number"
        return 0
      fi
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
  done
  fail "Xvfb did not start"
}

# With E2E_WINDOW_MANAGER=openbox, starts openbox on the display and waits until it manages
# the screen; without it the display stays bare, as before a desktop starts.
start_window_manager() {
  [ -n "${E2E_WINDOW_MANAGER:-}" ] || return 0
  command -v "$E2E_WINDOW_MANAGER" >/dev/null || fail "$E2E_WINDOW_MANAGER is not installed (bash scripts/setup.sh)"
  local tries pid deadline
  for tries in 1 2 3; do
    "$E2E_WINDOW_MANAGER" --sm-disable >"$E2E_WORK/window_manager.log" 2>&1 &
    pid=$!
    deadline=$((SECONDS + 10))
    while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
      if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        E2E_PIDS+=("$pid")
        note "under $E2E_WINDOW_MANAGER"
        return 0
      fi
      sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  fail "$E2E_WINDOW_MANAGER did not take the screen: $(cat "$E2E_WORK/window_manager.log")"
}

# Waits until a window with exactly this title exists; prints its id.
wait_for_window() {
  local title=$1 seconds=${2:-20} id deadline=$((SECONDS + ${2:-20}))
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits until the window holds the keyboard focus, as a person waits to see a box come up
# before pressing a key in it. Fails after the deadline.
wait_for_focus() {
  local window=$1 deadline=$((SECONDS + ${2:-10}))
  until [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]; do
    [ $SECONDS -lt $deadline ] || fail "window $window never took the keyboard focus"
    sleep 0.05
  done
}

# Waits for a child process of this shell to end and sets EXIT_CODE. Fails after the deadline.
wait_for_exit() {
  local pid=$1 seconds=${2:-15} deadline=$((SECONDS + ${2:-15}))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "process $pid still running after ${seconds}s"
    sleep 0.1
  done
  EXIT_CODE=0
  wait "$pid" || EXIT_CODE=$?
}

# True while the process is still running after the given number of seconds.
still_running_after() {
  sleep "$2"
  kill -0 "$1" 2>/dev/null
}

# RGB of one screen pixel as "r g b" (0-255).
pixel_at() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
    sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

# The first of 16x12 samples of a screenshot, as "r g b" (0-255), for which the awk condition
# on $1, $2, $3 (red, green, blue) holds; nothing when none does.
sample_where() {
  convert "$1" -sample '16x12!' -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
    awk "$2 { print; exit }"
}
