#!/usr/bin/env bash
# End-to-end checks of a screensaver session: Vellora.scr with Vellora.data beside it, on a
# private Xvfb whose root window shows a known picture.
# Usage: session_e2e.sh CASE DIST_DIR X11_PROBE ROOT_PICTURE [X_ERROR_INJECTOR]
# For the case "installed", DIST_DIR is the path (a glob) of the built Debian package instead.
set -euo pipefail
case_name=$1 dist=$2 probe=$3 root_picture=$4 injector=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"

if [ "$case_name" = installed ]; then
  deb=$(compgen -G "$dist" | head -n 1) ||
    { echo "SKIP: no package $dist (cmake --build --preset linux --target package)"; exit 77; }
else
  for program in Vellora.scr Vellora.data; do
    [ -x "$dist/$program" ] || fail "no $program at $dist"
  done
fi
# Xvfb draws the cursor into its framebuffer, which -fbdir keeps in a file: the only place
# where a cursor hidden with XFixes can be seen (its image as the server reports it does not
# change). -retro shows the cursor from the start. start_xvfb runs "Xvfb" with E2E_WORK set.
Xvfb() { exec Xvfb "$@" -retro -fbdir "$E2E_WORK"; }
start_xvfb 1024x768x24
unset -f Xvfb
start_window_manager
if [ "$case_name" = installed ]; then
  # Installed by dpkg into a scratch root with a database of its own, never the machine's own
  # /usr; the program folder belongs to root. The users nobody and daemon must reach it and
  # their own folders below.
  chmod 711 "$E2E_WORK"
  mkdir -p "$E2E_WORK/root/var/lib/dpkg/info" "$E2E_WORK/root/var/lib/dpkg/updates"
  touch "$E2E_WORK/root/var/lib/dpkg/status" "$E2E_WORK/root/var/lib/dpkg/available"
  dpkg_root() { dpkg --root="$E2E_WORK/root" --log=/dev/null --force-depends "$@" >>"$E2E_WORK/dpkg.out" 2>&1; }
  dpkg_root -i "$deb" || fail "dpkg -i: $(cat "$E2E_WORK/dpkg.out")"
  app="$E2E_WORK/root/usr/lib/vellora"
else
  app="$E2E_WORK/app"
  mkdir -p "$app"
  cp "$dist/Vellora.scr" "$dist/Vellora.data" "$app/"
fi

# The known picture: a gradient with coloured blocks, so that a shifted, flipped or
# channel-swapped copy differs from it. It stays on the root window while root_picture runs.
picture="$E2E_WORK/picture.png"
convert -size 1024x768 gradient:'#FF2000-#0030FF' \
  -fill '#FFFF00' -draw 'rectangle 100,100 299,199' \
  -fill '#00FF80' -draw 'rectangle 700,500 899,699' \
  -fill '#FFFFFF' -draw 'rectangle 0,0 9,9' \
  -depth 8 -type TrueColor "$picture"
convert "$picture" -depth 8 "ppm:$E2E_WORK/picture.ppm"
"$root_picture" "$E2E_WORK/picture.ppm" >"$E2E_WORK/root_picture.out" &
E2E_PIDS+=("$!")
deadline=$((SECONDS + 10))
until grep -q ready "$E2E_WORK/root_picture.out"; do
  [ $SECONDS -lt $deadline ] || fail "root_picture did not put the picture up"
  sleep 0.1
done

# The pointer's start point, away from the edges so that moves either way stay on screen.
X0=400 Y0=300
"$probe" move $X0 $Y0
[ "$("$probe" where)" = "$X0 $Y0" ] || fail "the pointer did not move to $X0,$Y0"

# Starts Vellora.scr with the given arguments (and any VAR=value words before them) from a
# working folder of its own; sets SHELL_PID.
start_shell() {
  mkdir -p "$E2E_WORK/cwd"
  local environment=()
  while [ $# -gt 0 ] && [[ $1 == *=* ]]; do environment+=("$1"); shift; done
  (cd "$E2E_WORK/cwd" && exec env "${environment[@]}" "$app/Vellora.scr" "$@" 2>>"$E2E_WORK/shell.err") &
  SHELL_PID=$!
  E2E_PIDS+=("$SHELL_PID")
}

# Starts a session and waits until the renderer's window is up; sets RENDERER_PID, the shell's
# child. A person acts once the tunnel is on the screen (the screen's centre shows neither the
# picture nor the black of a window not yet drawn); by then both programs have noted where the
# pointer stands and the renderer has hidden the cursor.
start_session() {
  start_shell "$@"
  wait_for_window Vellora_Tessel >/dev/null || fail "no window titled Vellora_Tessel"
  RENDERER_PID=$(pgrep -P "$SHELL_PID" -x Vellora.data) || fail "the renderer is not the shell's child"
  E2E_PIDS+=("$RENDERER_PID")
  wait_for_tunnel
}
wait_for_tunnel() {
  local centre shown deadline=$((SECONDS + 20))
  centre=$(convert "$picture" -crop 1x1+512+384 -depth 8 txt:- | sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p')
  # The render window is black until its first frame.
  until shown=$(pixel_at 512 384) && [ "$shown" != "$centre" ] && [ "$shown" != "0 0 0" ]; do
    [ $SECONDS -lt $deadline ] || fail "the tunnel never showed"
    sleep 0.05
  done
}

# True when the cursor is drawn near the pointer: the framebuffer there differs from the picture.
# Only meaningful while nothing but the root window covers that spot.
cursor_drawn() {
  local x y region differing
  read -r x y < <("$probe" where)
  region="40x40+$((x - 20))+$((y - 20))"
  convert "xwd:$E2E_WORK/Xvfb_screen0" -crop "$region" +repage "$E2E_WORK/shown.png"
  convert "$picture" -crop "$region" +repage "$E2E_WORK/known.png"
  differing=$(compare -metric AE "$E2E_WORK/shown.png" "$E2E_WORK/known.png" null: 2>&1) || true
  [ "$differing" != 0 ]
}

reaped() { [ ! -e "/proc/$1" ]; }

session_windows() { xdotool search --name '^Vellora_Main$' 2>/dev/null | wc -l; }
renderer_windows() { xdotool search --name '^Vellora_Tessel$' 2>/dev/null | wc -l; }

# Moves the pointer to the given offset from the start point.
move_by() { "$probe" move $((X0 + $1)) $((Y0 + $2)); }

# A quick tap, as a person gives it: key-down and key-up a few milliseconds apart.
press_escape() { xdotool key Escape; }

# Half a second of a 440 Hz tone, chosen in the settings; a session plays it in a loop, here
# through SDL's disk output into $out. Its folder's name holds characters whose second byte in
# code page 932 is 5C, the byte of a backslash, which must stay part of the name.
play_tone_in_sessions() {
  mkdir -p "$E2E_WORK/ソ表能"
  wav="$E2E_WORK/ソ表能/tone.wav" out="$E2E_WORK/audio.raw"
  python3 - "$wav" "$app/Vellora.ini" <<'EOF'
import math, struct, sys, wave
wav_path, ini_path = sys.argv[1], sys.argv[2]
with wave.open(wav_path, "wb") as w:
    w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
    w.writeframes(b"".join(struct.pack("<hh", s, s) for s in
                           (int(12000 * math.sin(2 * math.pi * 440 * i / 44100)) for i in range(22050))))
with open(ini_path, "wb") as ini:
    ini.write(("[Section]\r\nBGM区分= 2\r\nBGMﾘﾋﾟｰﾄ= 0\r\nBGMﾌｧｲﾙ=" + wav_path + "\r\n").encode("cp932"))
EOF
}
size() { stat -c %s "$out" 2>/dev/null || echo 0; }
# Waits until the output holds this many bytes more than at the given mark, as a listener waits
# to hear a while of it; it is written at the device's pace (176400 bytes a second).
wait_for_output() {
  local want=$(($1 + $2)) deadline=$((SECONDS + 10))
  until [ "$(size)" -ge "$want" ]; do
    [ $SECONDS -lt $deadline ] || fail "the output stopped growing at $(size) bytes (expected $want)"
    sleep 0.1
  done
}
# Share of the 16-bit samples from a byte offset on that are clearly not silence, in percent.
loud_percent() {
  python3 - "$out" "$1" <<'EOF'
import array, sys
with open(sys.argv[1], "rb") as f:
    f.seek(int(sys.argv[2]) // 2 * 2)
    samples = array.array("h", f.read())
print(100 * sum(1 for s in samples if abs(s) > 2000) // max(len(samples), 1))
EOF
}

# True when the screen shows the snapshot's colours through the fog: the picture's red, yellow
# and green, where the fog's blue-white (like untextured walls in it, or a grey saver) is never
# redder or greener than it is blue. Sets COLOUR and SHOT.
tunnel_shown() {
  COLOUR=""
  for SHOT in $(seq 1 15); do
    import -window root "$E2E_WORK/shot.png"
    COLOUR=$(sample_where "$E2E_WORK/shot.png" '($1 > $2 ? $1 : $2) - $3 > 40')
    [ -n "$COLOUR" ] && return 0
    sleep 0.15
  done
  return 1
}

snapshot="$app/Vellora.bmp"
# Size, mtime to the nanosecond and content of the snapshot, to see whether it was rewritten.
snapshot_state() { stat -c '%s %y' "$snapshot" && sha256sum <"$snapshot"; }

# Little-endian unsigned integer of the given width at a byte offset of the snapshot.
header_field() { od -An -tu"$2" -j"$1" -N"$2" "$snapshot" | tr -d ' '; }
header_int32() { od -An -td4 -j"$1" -N4 "$snapshot" | tr -d ' '; }

case "$case_name" in
snapshot)
  # An older snapshot, open to everyone, is replaced by the new one.
  convert -size 64x48 xc:red -type TrueColor "BMP3:$snapshot"
  chmod 644 "$snapshot"
  start_session /s
  [ "$(session_windows)" = 1 ] || fail "$(session_windows) windows titled Vellora_Main, expected 1"
  xwininfo -id "$(xdotool search --name '^Vellora_Main$')" | grep -q 'Map State: IsUnMapped' ||
    fail "Vellora_Main is shown"
  note "Vellora_Main exists, never shown; Vellora_Tessel is up"

  [ "$(head -c 2 "$snapshot")" = BM ] || fail "snapshot is no BMP"
  [ "$(header_field 2 4)" = "$(stat -c %s "$snapshot")" ] || fail "file size field differs from the file's size"
  [ "$(header_field 14 4)" = 40 ] || fail "info header of $(header_field 14 4) bytes"
  [ "$(header_int32 18) $(header_int32 22)" = "1024 768" ] ||
    fail "snapshot is $(header_int32 18)x$(header_int32 22), expected 1024x768 bottom-up"
  [ "$(header_field 28 2)" = 24 ] || fail "snapshot has $(header_field 28 2) bits per pixel"
  [ "$(header_field 30 4)" = 0 ] || fail "snapshot is compressed ($(header_field 30 4))"
  [ "$(stat -c %a "$snapshot")" = 600 ] || fail "snapshot mode $(stat -c %a "$snapshot"), expected 600"
  note "snapshot: uncompressed 24-bit 1024x768 bottom-up BMP, mode 0600"
  differing=$(compare -metric AE "$picture" "$snapshot" null: 2>&1) || true
  [ "$differing" = 0 ] || fail "$differing pixels of the snapshot differ from the screen"
  for point in 0,0 5,767 150,150 800,600 1023,0 512,384; do
    want=$(convert "$picture" -format "%[pixel:p{$point}]" info:)
    got=$(convert "$snapshot" -format "%[pixel:p{$point}]" info:)
    [ "$want" = "$got" ] || fail "pixel $point is $got, expected $want"
  done
  note "snapshot equals the picture on the screen"

  move_by 31 31
  wait_for_exit "$SHELL_PID" 5
  wait_gone "$RENDERER_PID" renderer
  note "a move of +31,+31 ends the shell (exit code $EXIT_CODE) and the renderer"
  [ "$(session_windows)$(renderer_windows)" = 00 ] || fail "windows left behind"
  [ -f "$snapshot" ] || fail "snapshot deleted at the end"
  note "the snapshot stays after the session"
  ;;

small_moves)
  start_session /s
  # More than 30 pixels on one axis only, or exactly 30 on both, is no move that ends anything.
  for offset in "40 0" "30 30" "0 -40" "-30 -30"; do
    read -r dx dy <<<"$offset"
    move_by "$dx" "$dy"
    sleep 1
    kill -0 "$SHELL_PID" 2>/dev/null || fail "a move of $dx,$dy ended the shell"
    gone "$RENDERER_PID" && fail "a move of $dx,$dy ended the renderer"
  done
  note "moves of +40,0 / +30,+30 / 0,-40 / -30,-30 end neither program"
  move_by 31 31
  wait_for_exit "$SHELL_PID" 5
  wait_gone "$RENDERER_PID" renderer
  note "a move of +31,+31 from the start point ends both"
  ;;

escape)
  start_session /s
  press_escape
  wait_gone "$RENDERER_PID" renderer
  [ "$(renderer_windows)" = 0 ] || fail "Vellora_Tessel still there"
  note "Escape ends the renderer"
  # The shell reaps its child: no zombie is left while it runs on.
  deadline=$((SECONDS + 5))
  until reaped "$RENDERER_PID"; do
    [ $SECONDS -lt $deadline ] || fail "the ended renderer is left as a zombie"
    sleep 0.1
  done
  still_running_after "$SHELL_PID" 1.5 || fail "Escape ended the shell too"
  [ "$(session_windows)" = 1 ] || fail "Vellora_Main gone while the shell runs"
  note "the shell runs on with Vellora_Main, its renderer reaped"
  move_by 31 31
  wait_for_exit "$SHELL_PID" 5
  [ "$(session_windows)" = 0 ] || fail "Vellora_Main left behind"
  note "the mouse move then ends the shell"
  ;;

second)
  start_session /s
  before=$(snapshot_state)
  # Each of the running session's two windows alone keeps a second start away: first both are
  # up, then only the hidden Vellora_Main once Escape has ended the renderer.
  for phase in "both windows" "Vellora_Main alone"; do
    if [ "$phase" = "Vellora_Main alone" ]; then
      press_escape
      wait_gone "$RENDERER_PID" renderer
    fi
    sleep 0.05  # a rewrite, were there one, must show in the modification time
    first=$SHELL_PID
    start_shell /s
    wait_for_exit "$SHELL_PID" 3
    SHELL_PID=$first
    [ "$(session_windows)" = 1 ] || fail "$(session_windows) windows titled Vellora_Main with $phase"
    [ "$(pgrep -c -f -x "$app/Vellora.data" || true)" = "$([ "$phase" = "both windows" ] && echo 1 || echo 0)" ] ||
      fail "a second renderer was started with $phase"
    [ "$(snapshot_state)" = "$before" ] || fail "the snapshot was rewritten with $phase"
    note "with $phase up a second /s ends at once, starts nothing and leaves the snapshot"
  done
  kill -0 "$SHELL_PID" 2>/dev/null || fail "the first session ended"
  move_by 31 31
  wait_for_exit "$SHELL_PID" 5
  ;;

missing_renderer)
  rm "$app/Vellora.data"
  start_shell /s
  box=$(wait_for_window 'Vellora\(ScreenSaver\)') || fail "no message box titled Vellora(ScreenSaver)"
  [ "$(session_windows)" = 0 ] || fail "a session started without its renderer"
  [ -e "$snapshot" ] && fail "a snapshot was written"
  cursor_drawn || fail "the cursor was hidden before the renderer check"
  note "message box shown; no session, no snapshot, cursor untouched"
  wait_for_focus "$box"
  xdotool key Return
  wait_for_exit "$SHELL_PID" 5
  [ "$(xdotool search --name '^Vellora\(ScreenSaver\)$' 2>/dev/null | wc -l)" = 0 ] || fail "message box left"
  note "Return closes it and the shell ends"
  ;;

music)
  play_tone_in_sessions
  start_session SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out" /s
  # Two seconds of output hold four rounds of the loop.
  wait_for_output 0 352800
  mark=$(size)
  percent=$(loud_percent 0)
  [ "$percent" -ge 40 ] || fail "only $percent% of the output is sound"
  note "the WAV plays while the session runs ($mark bytes, $percent% sound)"
  # Escape ends only the renderer: the music goes on, still in its loop.
  press_escape
  wait_gone "$RENDERER_PID" renderer
  wait_for_output "$mark" 264600
  percent=$(loud_percent "$mark")
  [ "$percent" -ge 40 ] || fail "only $percent% of the output after Escape is sound"
  note "after Escape the music plays on ($percent% sound)"
  move_by 31 31
  wait_for_exit "$SHELL_PID" 5
  ended=$(size)
  sleep 1
  [ "$(size)" = "$ended" ] || fail "the output still grows after the session ended"
  note "the session's end stops the output at $ended bytes"
  ;;

cursor)
  cursor_drawn || fail "no cursor drawn before the session"
  start_session /s
  [ "$("$probe" cursor)" = hidden ] || fail "the renderer's window shows a cursor"
  press_escape
  wait_gone "$RENDERER_PID" renderer
  sleep 0.3
  cursor_drawn && fail "cursor drawn once the renderer was gone"
  note "/s: hidden during the session, also after the renderer ended"
  move_by 31 31
  wait_for_exit "$SHELL_PID" 5
  sleep 0.3
  cursor_drawn || fail "cursor still hidden after the /s session"
  note "/s: shown again after the session"

  # The renderer hides the cursor by itself; without /s the shell leaves it alone.
  "$probe" move $X0 $Y0
  start_session
  press_escape
  wait_gone "$RENDERER_PID" renderer
  sleep 0.3
  kill -0 "$SHELL_PID" 2>/dev/null || fail "the session without arguments ended on Escape"
  cursor_drawn || fail "the shell hid the cursor with an empty command line"
  move_by 31 31
  wait_for_exit "$SHELL_PID" 5
  sleep 0.3
  cursor_drawn || fail "cursor hidden after the session without arguments"
  note "empty command line: the shell neither hides nor shows the cursor"
  ;;

os_end)
  # The end of the desktop session reaches the shell as SIGTERM, SIGHUP or SIGINT; another
  # program may also ask Vellora_Main to close (WM_DELETE_WINDOW), destroy it, or kill its X
  # client as xkill does. Each ends the session as a mouse move does: the music stops, the
  # cursor comes back, the shell ends with exit code 0, and no Vellora_Main is left to turn
  # later sessions away.
  play_tone_in_sessions
  for ending in SIGTERM SIGHUP SIGINT close destroy xkill; do
    rm -f "$out"
    start_session SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out" /s
    press_escape  # the renderer's window would cover the spot where the cursor is drawn
    wait_gone "$RENDERER_PID" renderer
    [ "$(size)" -gt 0 ] || fail "no music before $ending"
    main=$(xdotool search --name '^Vellora_Main$')
    case $ending in
    SIG*) kill -s "${ending#SIG}" "$SHELL_PID" ;;
    close) "$probe" close "$main" ;;
    destroy) xdotool windowclose "$main" ;;
    xkill) "$probe" kill "$main" ;;
    esac
    wait_for_exit "$SHELL_PID" 5
    [ "$EXIT_CODE" = 0 ] || fail "$ending ended the shell with exit code $EXIT_CODE"
    ended=$(size)
    sleep 0.5
    [ "$(size)" = "$ended" ] || fail "the music plays on after $ending"
    cursor_drawn || fail "the cursor is still hidden after $ending"
    [ "$(session_windows)" = 0 ] || fail "Vellora_Main left after $ending"
    note "$ending: music stopped, cursor shown, exit code 0"
  done
  ;;

early_end)
  # SIGTERM before the session form loads (the instance guard is slow) and while the screen is
  # copied (the copy is slow): the shell ends with exit code 0 and starts nothing after the
  # request: no snapshot, no renderer, no music, and the cursor shows.
  [ -n "$injector" ] || fail "no X error injector given"
  play_tone_in_sessions
  for moment in window_walk capture; do
    rm -f "$out" "$snapshot"
    : >"$E2E_WORK/shell.err"
    start_shell LD_PRELOAD="$injector" X_SLOW_AT=$moment SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out" /s
    deadline=$((SECONDS + 10))
    until grep -q "slow $moment" "$E2E_WORK/shell.err"; do
      [ $SECONDS -lt $deadline ] || fail "the shell never reached the slow $moment: $(cat "$E2E_WORK/shell.err")"
      sleep 0.05
    done
    kill -s TERM "$SHELL_PID"
    wait_for_exit "$SHELL_PID" 5
    [ "$EXIT_CODE" = 0 ] || fail "SIGTERM during the $moment: exit code $EXIT_CODE"
    [ -e "$snapshot" ] && fail "SIGTERM during the $moment: a snapshot was written"
    pgrep -f -x "$app/Vellora.data" >/dev/null && fail "SIGTERM during the $moment: the renderer was started"
    [ "$(size)" = 0 ] || fail "SIGTERM during the $moment: music played"
    [ "$(session_windows)" = 0 ] || fail "SIGTERM during the $moment: Vellora_Main left"
    cursor_drawn || fail "SIGTERM during the $moment: the cursor is hidden"
    note "SIGTERM during the slow $moment: exit code 0, nothing started, cursor shown"
  done
  ;;

server_saver)
  # A screen locker's set-up (xset s with xss-lock or xautolock): the server's own saver has a
  # 3 s timer and has just come on when the session starts. Xvfb's saver draws nothing, so its
  # state is read from the server as well as the screen.
  xset s 3
  xset s activate
  [ "$("$probe" saver)" = on ] || fail "the server's saver did not come on"
  start_session /s
  [ "$("$probe" saver)" = off ] || fail "the server's saver is $("$probe" saver) once the session is up"
  differing=$(compare -metric AE "$picture" "$snapshot" null: 2>&1) || true
  [ "$differing" = 0 ] || fail "$differing pixels of the snapshot differ from the desktop"
  note "the saver was taken down before the snapshot, which holds the desktop"
  sleep 5  # past the saver's 3 s without input
  [ "$("$probe" saver)" = off ] || fail "the server's saver came on during the session"
  tunnel_shown || fail "5 s into the session the tunnel is not on the screen"
  gone "$RENDERER_PID" && fail "the renderer ended"
  note "5 s into the session the saver is still off and the tunnel shows (rgb $COLOUR)"
  move_by 31 31
  wait_for_exit "$SHELL_PID" 5
  wait_gone "$RENDERER_PID" renderer
  # The hold went with the shell: 3 s without input bring the saver on again.
  deadline=$((SECONDS + 8))
  until [ "$("$probe" saver)" = on ]; do
    [ $SECONDS -lt $deadline ] || fail "the server's saver is still held off after the session"
    sleep 0.2
  done
  note "after the session the server's saver comes on by its timer again"
  ;;

installed)
  # `vellora /s` as the unprivileged user nobody, with a home and a runtime folder of its own.
  # The user daemon has planted folders of its own, open to everyone, where nobody's
  # XDG_CONFIG_HOME and XDG_CACHE_HOME point (a shared folder like /tmp), each with links to a
  # file of nobody's under the names Vellora writes.
  home="$E2E_WORK/home" runtime="$E2E_WORK/runtime" shared="$E2E_WORK/shared"
  install -d -o nobody -g nogroup -m 700 "$home" "$runtime"
  install -d -m 1777 "$shared"
  as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
  as_daemon() { setpriv --reuid=daemon --regid=daemon --clear-groups "$@"; }
  notes="$home/notes.txt"
  as_nobody sh -c 'echo "nobody'"'"'s notes" >"$1"' - "$notes"
  as_daemon mkdir -m 777 "$shared/vellora"
  for name in Vellora.bmp Vellora.ini Vellora.bmp.tmp Vellora.ini.tmp; do as_daemon ln -s "$notes" "$shared/vellora/$name"; done
  # What must never change: nobody's file and everything daemon planted.
  untouched() { sha256sum "$notes" && ls -ln --time-style=+%s.%N "$shared/vellora" && stat -c '%a %U' "$shared/vellora"; }
  before_attack=$(untouched)
  as_nobody test -w "$app" && fail "nobody can write to the program folder"
  # Runs the installed `vellora` with the given arguments as the given user (nobody or root),
  # with any VAR=value words before the arguments added to its environment; sets SHELL_PID.
  run_vellora() {
    local user=$1 environment=(); shift
    while [ $# -gt 0 ] && [[ $1 == *=* ]]; do environment+=("$1"); shift; done
    local as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    [ "$user" = root ] && as=()
    (cd / && exec "${as[@]}" env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" "${environment[@]}" \
       "$E2E_WORK/root/usr/bin/vellora" "$@" 2>>"$E2E_WORK/shell.err") &
    SHELL_PID=$!
    E2E_PIDS+=("$SHELL_PID")
  }
  nobody_env=(HOME="$home" XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$shared" XDG_CACHE_HOME="$shared")
  # Starts a session and waits until the renderer has been up a moment; sets RENDERER_PID.
  installed_session() {
    "$probe" move $X0 $Y0
    run_vellora "$@" /s
    wait_for_window Vellora_Tessel >/dev/null || fail "no window titled Vellora_Tessel"
    RENDERER_PID=$(pgrep -P "$SHELL_PID" -x Vellora.data) || fail "the renderer is not the shell's child"
    E2E_PIDS+=("$RENDERER_PID")
    sleep 0.5
  }
  end_installed_session() {
    move_by 31 31
    wait_for_exit "$SHELL_PID" 5
    wait_gone "$RENDERER_PID" renderer
  }
  # The renderer loaded the snapshot: it runs on, and shows none of its boxes.
  renderer_flies() {
    gone "$RENDERER_PID" && fail "the renderer ended: $(cat "$E2E_WORK/shell.err")"
    for title in 'BMP Unit' 'Loading Textures'; do
      [ "$(xdotool search --name "^$title\$" 2>/dev/null | wc -l)" = 0 ] || fail "a \"$title\" box is shown"
    done
  }
  # Opens `vellora /c`, optionally clicks "無し", and presses "設定".
  save_settings() {
    local none=$1; shift
    run_vellora "$@" /c
    dialog=$(wait_for_window '<Vellora>' 20) || fail "vellora /c opened no window titled <Vellora>"
    sleep 0.5  # the zoom and the first paint
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    [ "$none" = none ] && xdotool mousemove $((X + (180 + 390) / 15)) $((Y + (240 + 1230) / 15)) click 1  # 無し
    xdotool mousemove $((X + 4800 / 15 + 20)) $((Y + 3000 / 15 + 10)) click 1  # 設定
    wait_for_exit "$SHELL_PID" 10
  }
  installed_session nobody "${nobody_env[@]}"
  note "vellora /s started the session from the installed package"

  snapshot="$runtime/vellora/Vellora.bmp"
  [ -f "$snapshot" ] || fail "no snapshot in the runtime folder: $(ls -A "$runtime")"
  [ "$(stat -c '%U %a' "$runtime/vellora")" = "nobody 700" ] ||
    fail "runtime folder vellora is $(stat -c '%U %a' "$runtime/vellora"), expected nobody 700"
  [ "$(stat -c '%U %a' "$snapshot")" = "nobody 600" ] ||
    fail "snapshot is $(stat -c '%U %a' "$snapshot"), expected nobody 600"
  differing=$(compare -metric AE "$picture" "$snapshot" null: 2>&1) || true
  [ "$differing" = 0 ] || fail "$differing pixels of the snapshot differ from the screen"
  [ "$(ls -A "$app")" = "$(printf 'Vellora.data\nVellora.scr')" ] || fail "the program folder changed: $(ls -A "$app")"
  [ -e "$home/.config/vellora" ] && fail "reading the settings made a settings folder"
  note "snapshot in \$XDG_RUNTIME_DIR/vellora (folder 0700, file 0600), equal to the screen"

  # The renderer found it there: it runs on without a message box and flies the snapshot.
  tunnel_shown || fail "the tunnel never showed the snapshot's colours"
  renderer_flies
  note "the renderer flies the snapshot (rgb $COLOUR in shot $SHOT)"
  end_installed_session
  note "a move of +31,+31 ends both"

  # --help and --version answer on standard output with exit code 0, even with no display.
  as_user() { (cd "$home" && exec setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin \
                 HOME="$home" "$@"); }
  help=$(as_user "$E2E_WORK/root/usr/bin/vellora" --help 2>"$E2E_WORK/help.err") || fail "--help: exit code $?"
  [[ $help == "Usage: vellora /s | /c | /p WINDOW_ID"$'\n'* ]] || fail "--help printed: $help"
  version=$(as_user "$E2E_WORK/root/usr/bin/vellora" --version 2>>"$E2E_WORK/help.err") || fail "--version: exit code $?"
  [ "$version" = "Vellora $(dpkg-deb -f "$deb" Version)" ] || fail "--version printed: $version"
  [ ! -s "$E2E_WORK/help.err" ] || fail "--help or --version wrote to stderr: $(cat "$E2E_WORK/help.err")"
  note "vellora --help prints the usage and --version \"$version\", without a display"

  # Idle activation through the package's autostart example, its command run as a desktop runs
  # it with the package's bin on the PATH; `xautolock -locknow` stands in for ten idle minutes.
  autostart="$E2E_WORK/root/usr/share/doc/vellora/examples/vellora-xautolock.desktop"
  command=$(sed -n 's/^Exec=//p' "$autostart")
  (cd "$home" && exec setpriv --reuid=nobody --regid=nogroup --clear-groups env -i \
     PATH="$E2E_WORK/root/usr/bin:/usr/bin:/bin" DISPLAY="$DISPLAY" HOME="$home" XDG_RUNTIME_DIR="$runtime" \
     sh -c "exec $command" 2>>"$E2E_WORK/shell.err") &
  WATCHER_PID=$!
  E2E_PIDS+=("$WATCHER_PID")
  # A -locknow that reaches xautolock while it is still starting can be lost, so the request is
  # sent again until the session shows (a second start meets the running session's guard).
  deadline=$((SECONDS + 30))
  until xautolock -locknow 2>/dev/null && wait_for_window Vellora_Tessel 5 >/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "xautolock started no session: $command"
    sleep 0.2
  done
  RENDERER_PID=$(pgrep -u nobody -f -x "$app/Vellora.data") || fail "no renderer of the user's"
  SHELL_PID=$(ps -o ppid= -p "$RENDERER_PID" | tr -d ' ')
  E2E_PIDS+=("$RENDERER_PID" "$SHELL_PID")
  [ "$(session_windows)" = 1 ] || fail "the idle session has no Vellora_Main"
  wait_for_tunnel
  read -r x y < <("$probe" where)
  "$probe" move $((x + 31)) $((y + 31))
  wait_gone "$SHELL_PID" "the idle session's shell"
  wait_gone "$RENDERER_PID" "the idle session's renderer"
  kill -0 "$WATCHER_PID" 2>/dev/null || fail "xautolock ended with the session"
  note "the autostart example's \"$command\" started vellora /s; a mouse move ended it"

  # An administrator's Vellora.ini beside the programs is the default that `vellora /c` shows,
  # and "設定" saves it as the user's own in ~/.config/vellora, made then: daemon's folder in
  # XDG_CONFIG_HOME is passed over.
  printf '[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\nBGM\xD8\xCB\xDF\xB0\xC4= 5\r\nBGM\xCC\xA7\xB2\xD9=\r\n' >"$app/Vellora.ini"
  save_settings keep nobody "${nobody_env[@]}"
  saved="$home/.config/vellora/Vellora.ini"
  cmp -s "$saved" "$app/Vellora.ini" || fail "saved $saved: $(od -c "$saved" 2>&1 | head -5)"
  [ "$(stat -c '%U %a' "$home/.config") $(stat -c '%U %a' "$home/.config/vellora")" = "nobody 700 nobody 700" ] ||
    fail "settings folders: $(stat -c '%n %U %a' "$home/.config" "$home/.config/vellora")"
  note "vellora /c showed the program folder's settings and saved them in ~/.config/vellora (0700)"

  # Settings kept as a link into a folder others can write to (managed dotfiles), where daemon
  # plants a link under the name of the old temporary file: the save goes through the link to
  # a new file beside its target, and nothing daemon planted leads it anywhere else.
  as_nobody mkdir -m 777 "$shared/dotfiles"
  as_nobody mv "$saved" "$shared/dotfiles/Vellora.ini"
  as_nobody ln -s "$shared/dotfiles/Vellora.ini" "$saved"
  as_daemon ln -s "$notes" "$shared/dotfiles/Vellora.ini.tmp"
  save_settings none nobody "${nobody_env[@]}"
  [ -L "$saved" ] || fail "the settings link was replaced"
  grep -qa $'BGM\x8B\xE6\x95\xAA= 0\r' "$shared/dotfiles/Vellora.ini" ||
    fail "the linked settings were not saved: $(od -c "$shared/dotfiles/Vellora.ini" | head -3)"
  [ "$(ls -A "$shared/dotfiles")" = "$(printf 'Vellora.ini\nVellora.ini.tmp')" ] ||
    fail "beside the linked settings: $(ls -A "$shared/dotfiles")"
  note "a save through a link replaced its target, past the planted Vellora.ini.tmp"

  # A runtime folder that others can write to is no runtime folder: the snapshot goes to the
  # cache folder, again past daemon's.
  installed_session nobody HOME="$home" XDG_RUNTIME_DIR="$shared" XDG_CONFIG_HOME="$shared" XDG_CACHE_HOME="$shared"
  snapshot="$home/.cache/vellora/Vellora.bmp"
  [ "$(stat -c '%U %a' "$home/.cache/vellora") $(stat -c '%U %a' "$snapshot" 2>&1)" = "nobody 700 nobody 600" ] ||
    fail "cache snapshot: $(ls -lAR "$home/.cache" 2>&1)"
  renderer_flies
  end_installed_session
  [ "$(untouched)" = "$before_attack" ] || fail "daemon's links led a write: $(untouched)"
  # Mesa keeps its shader cache in $XDG_CACHE_HOME: the driver's, not Vellora's.
  [ "$(ls -A "$shared" | grep -vx mesa_shader_cache)" = "$(printf 'dotfiles\nvellora')" ] ||
    fail "written to the shared folder: $(ls -A "$shared")"
  note "with a shared runtime folder the snapshot went to ~/.cache/vellora; nobody's file and daemon's links are as they were"

  # root, with the runtime folder of the user it came from (as after su), saves and takes
  # snapshots in its own folders: nothing in the program folder, nothing in nobody's.
  roothome="$E2E_WORK/roothome"
  install -d -m 700 "$roothome"
  installed_session root HOME="$roothome" XDG_RUNTIME_DIR="$runtime"
  renderer_flies
  end_installed_session
  save_settings none root HOME="$roothome" XDG_RUNTIME_DIR="$runtime"
  [ "$(ls -A "$app")" = "$(printf 'Vellora.data\nVellora.ini\nVellora.scr')" ] ||
    fail "root wrote into the program folder: $(ls -A "$app")"
  [ "$(ls -A "$runtime")" = vellora ] && [ "$(ls -A "$runtime/vellora")" = Vellora.bmp ] ||
    fail "root wrote into nobody's runtime folder: $(ls -AR "$runtime")"
  [ -f "$roothome/.cache/vellora/Vellora.bmp" ] && [ -f "$roothome/.config/vellora/Vellora.ini" ] ||
    fail "root's own files: $(ls -AR "$roothome")"
  note "root's snapshot and settings went to its own ~/.cache and ~/.config, the program folder stayed as it was"

  # The administrator's own file goes with the administrator; then removing the package
  # removes its folder.
  rm "$app/Vellora.ini"
  dpkg_root -r vellora || fail "dpkg -r: $(cat "$E2E_WORK/dpkg.out")"
  [ ! -e "$app" ] || fail "dpkg -r left $app: $(ls -A "$app")"
  note "dpkg -r removed /usr/lib/vellora"
  ;;

x_error)
  # A window that vanishes while the instance guard walks the window tree answers with an X
  # error; the session starts all the same, as if the window had never been there.
  [ -n "$injector" ] || fail "no X error injector given"
  start_session LD_PRELOAD="$injector" X_ERROR_INJECTOR_AT=window_walk /s
  [ "$(session_windows)" = 1 ] || fail "$(session_windows) windows titled Vellora_Main, expected 1"
  note "an X error during the guard's walk: the session and its renderer are up"
  move_by 31 31
  wait_for_exit "$SHELL_PID" 5
  [ "$EXIT_CODE" = 0 ] || fail "the shell ended with exit code $EXIT_CODE"
  wait_gone "$RENDERER_PID" renderer
  note "a mouse move ends both; the shell's exit code is 0"
  ;;

*) fail "unknown case $case_name" ;;
esac
echo "PASS session.$case_name"
