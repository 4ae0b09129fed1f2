#!/usr/bin/env bash
# A screensaver session on a Wayland desktop: a headless sway (software rendering, XWayland on)
# with a native Wayland window of a known colour (foot with that background) covering the
# output, then Vellora.scr /s, whose renderer runs through XWayland. The snapshot and the
# tunnel's walls must carry the window's colour, which the X root window of XWayland never
# holds, and a pointer motion (a virtual pointer that stays plugged in, as a mouse does) ends
# the session.
# Usage: wayland_e2e.sh CASE DIST_DIR WAYLAND_POINTER
#   screencopy  the picture through the compositor's screen-copy protocol; then a second
#               session, ended by Escape on the tunnel
#   portal      the same with the screen copy turned off: through xdg-desktop-portal and its
#               wlroots back end on the session's private bus; then a second session while
#               the portal never answers, over a blank snapshot
#   no_xwayland sway without XWayland: Vellora says so in plain words and ends
# sway refuses to run as root: run as root, everything on the desktop runs as the user nobody.
set -euo pipefail
case_name=$1 dist=$2 pointer=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"

for program in Vellora.scr Vellora.data; do
  [ -x "$dist/$program" ] || fail "no $program at $dist"
done
[ -x "$pointer" ] || fail "no wayland_pointer at $pointer"
missing=()
need() { command -v "$1" >/dev/null || [ -x "$1" ] || missing+=("$1 ($2)"); }
need sway sway
need Xwayland xwayland
need foot foot
need grim grim
need dbus-run-session dbus-daemon
need dbus-update-activation-environment dbus-bin
need convert imagemagick
need xdotool xdotool
need jq jq
if [ "$case_name" = portal ]; then
  need /usr/libexec/xdg-desktop-portal xdg-desktop-portal
  need /usr/libexec/xdg-desktop-portal-wlr xdg-desktop-portal-wlr
  # xdg-desktop-portal offers its Screenshot call only beside an Access back end, which the
  # GTK back end provides.
  need /usr/libexec/xdg-desktop-portal-gtk xdg-desktop-portal-gtk
  need pipewire pipewire
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIP: missing ${missing[*]} (bash scripts/setup.sh)"
  exit 77
fi

E2E_WORK=$(mktemp -d)
chmod 711 "$E2E_WORK"
home="$E2E_WORK/home" runtime="$E2E_WORK/runtime" app="$E2E_WORK/app"
if [ "$(id -u)" -eq 0 ]; then
  user=nobody group=nogroup
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  user=$(id -un) group=$(id -gn)
  as_user=()
fi
install -d -o "$user" -g "$group" -m 700 "$home" "$runtime" "$app"
cp "$dist/Vellora.scr" "$dist/Vellora.data" "$app/"
chown "$user:$group" "$app/Vellora.scr" "$app/Vellora.data"
install -m 755 "$pointer" "$E2E_WORK/wayland_pointer"

# The output is 800x600; the snapshot is taken of it and is as big. The screen-copy case has a
# second output of 640x480 to its right, empty, where the tunnel must show too.
width=800 height=600
outputs=$([ "$case_name" = screencopy ] && echo 2 || echo 1)
cat >"$home/sway.config" <<EOF
xwayland $([ "$case_name" = no_xwayland ] && echo disable || echo enable)
output HEADLESS-1 resolution ${width}x${height} position 0 0
output HEADLESS-2 resolution 640x480 position $width 0
default_border none
focus_follows_mouse no
EOF

# The desktop session's environment, as a login would set it up.
desktop_env=(PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" LANG=C.UTF-8 XDG_CURRENT_DESKTOP=sway
             WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=$outputs)
# sway runs on the session's own bus, whose address it leaves for the other programs.
(cd "$home" && exec "${as_user[@]}" env -i "${desktop_env[@]}" dbus-run-session -- bash -c 'echo "$DBUS_SESSION_BUS_ADDRESS" >"$XDG_RUNTIME_DIR/bus-address"
     exec sway -c "$HOME/sway.config"' >"$E2E_WORK/sway.log" 2>&1) &
SESSION_PID=$!
E2E_PIDS+=("$SESSION_PID")
# The desktop ends as a person logs out: sway's own exit, which ends its programs, XWayland and
# then the bus with everything it started.
swaysock=""
wayland_cleanup() {
  if [ -n "$swaysock" ]; then
    in_session swaymsg -q exit 2>/dev/null || true
    local deadline=$((SECONDS + 5))
    while kill -0 "$SESSION_PID" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  fi
  # The document portal, started with the screenshot portal, mounts a file system in the
  # runtime folder and may not have taken it down yet; a logout takes it away, and so does this.
  if grep -qs " $runtime/doc " /proc/self/mounts; then  # the user's alone may look into it
    fusermount3 -uz "$runtime/doc" 2>/dev/null || umount -l "$runtime/doc" 2>/dev/null || true
  fi
  e2e_cleanup
}
trap wayland_cleanup EXIT
deadline=$((SECONDS + 20))
until wayland=$(cd "$runtime" && ls wayland-? 2>/dev/null | head -n 1) && [ -n "$wayland" ] &&
      swaysock=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -n 1) && [ -n "$swaysock" ] &&
      [ -s "$runtime/bus-address" ]; do
  [ $SECONDS -lt $deadline ] || fail "sway did not start: $(tail -5 "$E2E_WORK/sway.log")"
  sleep 0.1
done
session_env=("${desktop_env[@]}" WAYLAND_DISPLAY="$wayland" SWAYSOCK="$swaysock"
             DBUS_SESSION_BUS_ADDRESS="$(cat "$runtime/bus-address")")
in_session() { (cd "$home" && exec "${as_user[@]}" env -i "${session_env[@]}" "$@"); }
# Starts a program of the session in the background as the process that $! names, so that the
# clean-up ends that very process. Its input is /dev/null.
in_session_background() {
  (cd "$home" && exec "${as_user[@]}" env -i "${session_env[@]}" "$@") &
  E2E_PIDS+=("$!")
}

if [ "$case_name" = no_xwayland ]; then
  # A session started on idle has nobody in front of it: it tells on its error output and ends.
  (cd "$home" && exec "${as_user[@]}" env -i "${session_env[@]}" "$app/Vellora.scr" /s 2>"$E2E_WORK/shell.err") &
  wait_for_exit "$!" 5
  [ "$EXIT_CODE" = 1 ] || fail "/s without XWayland ended with exit code $EXIT_CODE"
  grep -q 'has no XWayland (DISPLAY is not set)' "$E2E_WORK/shell.err" || fail "/s said: $(cat "$E2E_WORK/shell.err")"
  [ ! -e "$app/Vellora.bmp" ] || fail "/s without XWayland wrote a snapshot"
  note "/s without XWayland: the reason on its error output, exit code 1, no snapshot"
  # The settings, opened by the user, say it in a box on the Wayland desktop.
  (cd "$home" && exec "${as_user[@]}" env -i "${session_env[@]}" "$app/Vellora.scr" /c 2>/dev/null) &
  SHELL_PID=$!
  E2E_PIDS+=("$SHELL_PID")
  deadline=$((SECONDS + 20))
  until in_session swaymsg -t get_tree | grep -q '"name": "Vellora"'; do
    [ $SECONDS -lt $deadline ] || fail "/c without XWayland showed no box titled Vellora"
    sleep 0.1
  done
  note "/c without XWayland: a box titled Vellora on the Wayland desktop"
  echo "PASS wayland.$case_name"
  exit 0
fi

# XWayland's display, as sway hands it to the programs it starts.
in_session swaymsg -q exec 'echo "$DISPLAY" >"$XDG_RUNTIME_DIR/x-display"'
deadline=$((SECONDS + 10))
until [ -s "$runtime/x-display" ]; do
  [ $SECONDS -lt $deadline ] || fail "sway gave no X display"
  sleep 0.1
done
display=$(cat "$runtime/x-display")
[ -n "$display" ] || fail "sway runs without XWayland"
session_env+=(DISPLAY="$display")
note "headless sway as $user: Wayland $wayland, XWayland $display"

# The mouse, plugged in for the whole session; it takes "move DX DY" lines.
mkfifo -m 600 "$E2E_WORK/pointer.in"
exec 3<>"$E2E_WORK/pointer.in"  # opened both ways, so that neither side waits for the other
(cd "$home" && exec "${as_user[@]}" env -i "${session_env[@]}" "$E2E_WORK/wayland_pointer") \
  <"$E2E_WORK/pointer.in" >"$E2E_WORK/pointer.out" 2>&1 &
E2E_PIDS+=("$!")
wait_for_pointer() {
  local deadline=$((SECONDS + 10))
  until [ "$(grep -c "^$1\$" "$E2E_WORK/pointer.out" 2>/dev/null)" -ge "$2" ] 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the virtual pointer did not answer: $(cat "$E2E_WORK/pointer.out")"
    sleep 0.05
  done
}
wait_for_pointer ready 1

# The window of a known colour: foot with that background, its text cursor the same colour,
# running a command that prints nothing. sway tiles it over the whole output.
colour=e04010
in_session swaymsg -q exec "foot -o colors.background=$colour -o 'cursor.color=$colour $colour' sleep 600"
# RGB of the Wayland screen at a point, through grim.
screen_pixel() {
  in_session grim -g "$1,$2 1x1" - 2>/dev/null | convert png:- -depth 8 txt:- 2>/dev/null |
    sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}
want="$((16#${colour:0:2})) $((16#${colour:2:2})) $((16#${colour:4:2}))"
deadline=$((SECONDS + 20))
until [ "$(screen_pixel 400 300)" = "$want" ]; do
  [ $SECONDS -lt $deadline ] || fail "foot's window never showed: the screen is $(screen_pixel 400 300)"
  sleep 0.1
done
note "foot's window of rgb $want covers the output"
[ "$outputs" = 1 ] || empty_output=$(screen_pixel 1120 240)

case "$case_name" in
screencopy) shell_env=() ;;
portal)
  shell_env=(VELLORA_SCREENCOPY=off)
  # xdg-desktop-portal-wlr needs PipeWire, and 0.7 writes each screenshot to /tmp/out.png,
  # which must be the user's to write.
  if [ -e /tmp/out.png ] && [ "$(stat -c %U /tmp/out.png)" != "$user" ]; then
    fail "/tmp/out.png belongs to $(stat -c %U /tmp/out.png): xdg-desktop-portal-wlr cannot write its screenshot"
  fi
  in_session_background pipewire >"$E2E_WORK/pipewire.log" 2>&1
  deadline=$((SECONDS + 10))
  until [ -S "$runtime/pipewire-0" ]; do
    [ $SECONDS -lt $deadline ] || fail "PipeWire did not start: $(cat "$E2E_WORK/pipewire.log")"
    sleep 0.1
  done
  # The bus starts the portals with the desktop's display, as the desktop's start-up tells it
  # (Debian's sway does so in /etc/sway/config.d).
  in_session dbus-update-activation-environment DISPLAY="$display" WAYLAND_DISPLAY="$wayland" \
    XDG_CURRENT_DESKTOP=sway || fail "the bus did not take the desktop's environment"
  # The user's answer, given once, to whether programs may take screenshots, as the permission
  # store keeps it; without it the portal asks in a dialog that nobody here answers.
  in_session gdbus call --session --dest org.freedesktop.impl.portal.PermissionStore \
    --object-path /org/freedesktop/impl/portal/PermissionStore \
    --method org.freedesktop.impl.portal.PermissionStore.SetPermission screenshot true screenshot "" "['yes']" \
    >/dev/null || fail "the permission store did not take the answer"
  # The portal is up, as on a desktop that has been running a while (its first start, with its
  # back ends, takes seconds on a loaded machine).
  # xdg-desktop-portal 1.16 leaves the call out for good when its GTK back end answers late,
  # as it may on a loaded machine: it is then started again, as a new login would.
  deadline=$((SECONDS + 40))
  until in_session gdbus introspect --session --dest org.freedesktop.portal.Desktop \
          --object-path /org/freedesktop/portal/desktop 2>/dev/null | grep -q org.freedesktop.portal.Screenshot; do
    [ $SECONDS -lt $deadline ] || fail "the portal offers no Screenshot call"
    portal_pid=$(in_session gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
                   --method org.freedesktop.DBus.GetConnectionUnixProcessID org.freedesktop.portal.Desktop 2>/dev/null |
                 sed -n 's/^(uint32 \([0-9]*\),)$/\1/p') || true  # none while it is still starting
    [ -z "$portal_pid" ] || kill "$portal_pid"
    while [ -n "$portal_pid" ] && kill -0 "$portal_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    sleep 1
  done
  note "portal on the session bus, screenshots allowed; screen copy turned off for Vellora"
  ;;
*) fail "unknown case $case_name" ;;
esac

# A session, as swayidle would start it: RGB is the colour its snapshot must have, STEPS the
# steps of 10,10 a person's hand moves the mouse by to end it, or 0 for a tap of Escape.
snapshot="$app/Vellora.bmp"
moves=0
tessel_node() { in_session swaymsg -t get_tree -r | jq -c '[.. | objects | select(.name? == "Vellora_Tessel")][0]'; }
run_session() {  # RGB STEPS
  local expected=$1 steps=$2 started=$SECONDS deadline shown got point shot tunnel_red step
  (cd "$home" && exec "${as_user[@]}" env -i "${session_env[@]}" "${shell_env[@]}" "$app/Vellora.scr" /s \
     2>>"$E2E_WORK/shell.err") &
  SHELL_PID=$!
  E2E_PIDS+=("$SHELL_PID")
  # XWayland lets in the session's own user alone. The picture comes first, in 20 s at most.
  deadline=$((SECONDS + 40))
  until in_session xdotool search --name '^Vellora_Tessel$' >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "no window titled Vellora_Tessel: $(cat "$E2E_WORK/shell.err")"
    sleep 0.1
  done
  RENDERER_PID=$(pgrep -P "$SHELL_PID" -x Vellora.data) || fail "the renderer is not the shell's child"
  E2E_PIDS+=("$RENDERER_PID")
  # A person acts once the tunnel is on the screen: its centre shows neither the window nor the
  # black of a window not yet drawn.
  deadline=$((SECONDS + 20))
  until shown=$(screen_pixel 400 300) && [ "$shown" != "$want" ] && [ "$shown" != "0 0 0" ] && [ -n "$shown" ]; do
    [ $SECONDS -lt $deadline ] || fail "the tunnel never showed: the screen's centre is rgb $shown"
    sleep 0.1
  done
  note "the tunnel is on the screen $((SECONDS - started))s after the start"
  if [ "$outputs" = 2 ]; then
    # The other monitor's window lies over its own output (its walls plain: the compositor
    # gives the primary output's picture alone), and takes nothing from the primary's.
    deadline=$((SECONDS + 10))
    until shown=$(screen_pixel 1120 240) && [ -n "$shown" ] && [ "$shown" != "$empty_output" ] && [ "$shown" != "0 0 0" ]; do
      [ $SECONDS -lt $deadline ] || fail "the second output shows rgb $shown, as when empty"
      sleep 0.1
    done
    note "the tunnel shows on the second output too"
  fi
  # Full screen as asked, not tiled beside the native window, nor left by the other output's.
  [ "$(tessel_node | jq .fullscreen_mode)" = 1 ] || fail "sway shows the tunnel's window as $(tessel_node | jq -c '{rect, fullscreen_mode}')"
  note "sway shows the tunnel's window full screen"

  # The snapshot is the output at its size, taken from the compositor (not from the X root,
  # black there), or blank where the compositor refused.
  [ -f "$snapshot" ] || fail "no snapshot at $snapshot"
  [ "$(identify -format '%w %h' "$snapshot")" = "$width $height" ] ||
    fail "snapshot is $(identify -format '%wx%h' "$snapshot"), expected ${width}x${height}"
  for point in 10,10 400,300 790,590; do
    got=$(convert "$snapshot" -crop "1x1+${point%,*}+${point#*,}" -depth 8 txt:- |
          sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p')
    [ "$got" = "$expected" ] || fail "snapshot pixel $point is rgb $got, expected $expected"
  done
  note "snapshot ${width}x${height}, rgb $expected at its corners and centre"

  # The tunnel flies it: among 16x12 samples of the screen one carries the window's red over
  # the fog, whose blue-white is never redder than it is blue.
  if [ "$expected" = "$want" ]; then
    tunnel_red=""
    for shot in $(seq 1 15); do
      in_session grim - >"$E2E_WORK/shot.png" || fail "grim took no screenshot"
      tunnel_red=$(sample_where "$E2E_WORK/shot.png" '$1 - $3 > 60 && $1 - $2 > 30')
      [ -n "$tunnel_red" ] && break
      sleep 0.15
    done
    [ -n "$tunnel_red" ] || fail "the tunnel never showed the window's colour"
    note "the tunnel's walls carry the window's colour (rgb $tunnel_red in shot $shot)"
  fi
  gone "$RENDERER_PID" && fail "the renderer ended: $(cat "$E2E_WORK/shell.err")"

  # A person's mouse moved by steps of 10,10, as a hand moves it.
  for step in $(seq 1 "$steps"); do
    echo "move 10 10" >&3
    wait_for_pointer moved $((moves += 1))
  done
  [ "$steps" != 0 ] || in_session xdotool key Escape
  # The motion goes from sway through XWayland to both programs' next looks at the pointer.
  wait_for_exit "$SHELL_PID" 10
  [ "$EXIT_CODE" = 0 ] || fail "the shell ended with exit code $EXIT_CODE"
  wait_gone "$RENDERER_PID" "the renderer"
  if [ "$steps" = 0 ]; then
    note "Escape ends the tunnel, and with it the session; the shell's exit code is 0"
  else
    note "a pointer motion of $((10 * steps)),$((10 * steps)) ends both; the shell's exit code is 0"
  fi
}

run_session "$want" 4
if [ "$case_name" = screencopy ]; then
  # Once the tunnel's window is gone XWayland sees no move of the mouse, which the shell would
  # wait for in vain: the tunnel's end ends the session.
  run_session "$want" 0
fi
if [ "$case_name" = portal ]; then
  # A portal that never answers (its back end stopped): the session gives up on the picture
  # after its 20 s and goes on over a blank snapshot. The pointer stands where the last
  # session's move left it, and XWayland knew it there: both programs start from where they
  # first see it move, and the show ends 30 pixels further on.
  pkill -STOP -f /usr/libexec/xdg-desktop-portal-wlr || fail "no xdg-desktop-portal-wlr to stop"
  run_session "255 255 255" 8
  pkill -CONT -f /usr/libexec/xdg-desktop-portal-wlr
  note "a portal that never answers gives a blank snapshot after the wait"
fi
# The portal's own copy of the desktop is not left lying in /tmp for everyone to read.
[ "$case_name" = screencopy ] || { [ "$(stat -c %U /tmp/out.png 2>/dev/null)" = "$user" ] && rm -f /tmp/out.png; }
echo "PASS wayland.$case_name"
