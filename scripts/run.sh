#!/usr/bin/env bash
# Builds Vellora for Linux and runs the screensaver (Vellora.scr /s: it snapshots the desktop,
# starts the renderer over it and plays the chosen music) on $DISPLAY or, when there is none,
# on a virtual Xvfb display showing a sample desktop. Leaves screenshots in out/ and ends the
# screensaver with a mouse move, as a user would; then opens the settings dialog (Vellora.scr /c)
# for a screenshot and closes it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux

out="$root/out"
app="$out/app"
rm -rf "$out"
mkdir -p "$app"
cp dist/linux/Vellora.data dist/linux/Vellora.scr "$app/"
probe="$root/build/linux/tests/e2e/x11_probe"

virtual=no
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  number=$((200 + RANDOM % 800))
  Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  export DISPLAY=":$number"
  for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  echo "run: no display, using virtual display $DISPLAY"
  virtual=yes
fi

if [ "$virtual" = yes ]; then
  # A sample desktop: a wallpaper gradient, a few windows and a task bar.
  read -r width height < <(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
  convert -size "${width}x${height}" gradient:'#2a6fb0-#7fc3e8' \
    -fill '#f4f4f4' -stroke '#404040' -draw "rectangle $((width/10)),$((height/8)) $((width/2)),$((height/2))" \
    -fill '#3c78d8' -stroke none -draw "rectangle $((width/10)),$((height/8)) $((width/2)),$((height/8+24))" \
    -fill '#fff2cc' -stroke '#404040' -draw "rectangle $((width/2+40)),$((height/4)) $((width*9/10)),$((height*3/4))" \
    -fill '#e06666' -stroke none -draw "rectangle $((width/2+40)),$((height/4)) $((width*9/10)),$((height/4+24))" \
    -fill '#202020' -draw "rectangle 0,$((height-40)) $width,$height" \
    -fill '#6aa84f' -draw "rectangle 8,$((height-34)) 90,$((height-6))" \
    "$out/desktop.png"
  # Shown as a plain window at (0, 0): a root background would vanish with its client.
  display -geometry +0+0 -borderwidth 0 -title "Sample desktop" "$out/desktop.png" &
  wallpaper=$!
  trap 'kill $wallpaper 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
  sleep 1
fi

"$app/Vellora.scr" /s &
shell=$!
for _ in $(seq 1 100); do xdotool search --name '^Vellora_Tessel$' >/dev/null 2>&1 && break; sleep 0.1; done
read -r x y < <("$probe" where)
for shot in 1 2 3 4; do
  sleep 0.8
  import -window root "$out/screenshot-$shot.png"
done
"$probe" move $((x + 100)) $((y + 100))
rc=0
wait "$shell" || rc=$?
sleep 0.5
if xdotool search --name '^Vellora_Tessel$' >/dev/null 2>&1; then
  echo "run: the renderer is still running" >&2
  rc=1
fi
echo "run: the screensaver ended with exit code $rc after a mouse move"

# The settings dialog as Vellora.scr /c shows it, closed again through its close box.
"$app/Vellora.scr" /c &
dialog_shell=$!
for _ in $(seq 1 100); do dialog=$(xdotool search --name '^<Vellora>$' 2>/dev/null | head -n 1) && [ -n "$dialog" ] && break; sleep 0.1; done
sleep 1
import -window root "$out/settings-dialog.png"
[ -n "${dialog:-}" ] && "$probe" close "$dialog"
wait "$dialog_shell" || rc=1
echo "run: snapshot it flew through: $app/Vellora.bmp"
echo "run: screenshots in $out:"
ls -1 "$out"/screenshot-*.png "$out/settings-dialog.png"
exit "$rc"
