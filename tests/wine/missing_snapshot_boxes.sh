#!/usr/bin/env bash
# Without a snapshot beside it, the renderer shows its window, then the message box "BMP Unit",
# and only after that one is dismissed the box "Loading Textures"; dismissing that ends the
# program with exit code 1.
set -euo pipefail
# shellcheck source=wine_session.sh
source "$(dirname "$0")/wine_session.sh"

folder="$(stage_program)"
start_program "$folder"

deadline=$((SECONDS + 30))
until window_visible "BMP Unit"; do
  window_visible "Loading Textures" && fail "\"Loading Textures\" appeared before \"BMP Unit\""
  program_running || fail "the program ended before any message box appeared"
  [ $SECONDS -lt $deadline ] || fail "no \"BMP Unit\" message box within 30 s"
  sleep 0.1
done
window_visible "Loading Textures" && fail "\"Loading Textures\" is up together with \"BMP Unit\""
pass "\"BMP Unit\" appeared first, alone"
window_visible Vellora_Tessel || fail "the render window is not on screen behind the message box"
pass "window \"Vellora_Tessel\" is on screen behind it"

# Without a window manager Wine waits up to 2 s for a closed box to be withdrawn, hence the margins.
xdotool key Return
wait_for_window_gone "BMP Unit" 15
wait_for_window "Loading Textures" 15
pass "Return dismissed \"BMP Unit\", then \"Loading Textures\" appeared"
program_running || fail "the program ended while \"Loading Textures\" was up"

xdotool key Return
wait_for_program_exit 15
[ "$PROGRAM_EXIT_CODE" -eq 1 ] || fail "exit code $PROGRAM_EXIT_CODE, expected 1"
pass "dismissing \"Loading Textures\" ended the program with exit code 1"
for title in Vellora_Tessel "BMP Unit" "Loading Textures"; do
  window_visible "$title" && fail "window \"$title\" is still there after the program ended"
done
pass "no window is left"

# The Win32 backend echoes each message box as "caption: text" on stderr (in text mode, so lines
# end in CR LF); the boxes' own text is drawn by Wine and cannot be read back from X.
snapshot_path="Z:${folder//\//\\}\\Vellora.bmp"
expected="$(printf 'BMP Unit: Error opening "%s\nLoading Textures: Unable to load %s' "$snapshot_path" "$snapshot_path")"
actual="$(tr -d '\r' <"$WORK_DIR/program.err" | grep -E '^(BMP Unit|Loading Textures): ' || true)"
[ "$actual" = "$expected" ] || fail "message box texts were
$actual
expected
$expected"
pass "box texts name the snapshot path: $snapshot_path"
