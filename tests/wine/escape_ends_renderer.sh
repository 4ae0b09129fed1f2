#!/usr/bin/env bash
# With a valid 24-bit snapshot beside it, the renderer opens its window "Vellora_Tessel", shows no
# message box, keeps running, and ends with exit code 0 when Escape is pressed.
set -euo pipefail
# shellcheck source=wine_session.sh
source "$(dirname "$0")/wine_session.sh"

folder="$(stage_program)"
convert -size 640x480 gradient:navy-orange -type TrueColor BMP3:"$folder/Vellora.bmp"
bits_per_pixel="$(od -An -tu2 -j28 -N2 "$folder/Vellora.bmp" | tr -d ' ')"
[ "$bits_per_pixel" = 24 ] || fail "ImageMagick wrote a $bits_per_pixel-bit snapshot, not 24-bit"

start_program "$folder"
wait_for_window Vellora_Tessel 30
pass "window \"Vellora_Tessel\" appeared"

# Let it draw for a moment: it must neither end by itself nor complain about the snapshot.
sleep 1.5
program_running || fail "the renderer ended before Escape was pressed"
window_visible "BMP Unit" && fail "a \"BMP Unit\" message box appeared for a valid snapshot"
window_visible "Loading Textures" && fail "a \"Loading Textures\" message box appeared for a valid snapshot"
pass "still running after 1.5 s with no message box"

# A quick tap, as a person gives it: key-down and key-up a few milliseconds apart, both within
# one software-rendered frame. The X focus stays PointerRoot (no window manager) and the window
# covers the pointer, so the key reaches it without focusing anything.
xdotool key Escape
wait_for_program_exit 15
[ "$PROGRAM_EXIT_CODE" -eq 0 ] || fail "exit code $PROGRAM_EXIT_CODE after Escape, expected 0"
pass "Escape ended the renderer with exit code 0"

window_visible Vellora_Tessel && fail "window \"Vellora_Tessel\" is still there after the program ended"
pass "window \"Vellora_Tessel\" is gone"
