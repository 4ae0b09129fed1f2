#!/usr/bin/env bash
# Builds the shell, the renderer and the soak helpers with the linux preset, then runs four soaks
# side by side, each --minutes long (default 20; extra arguments go to both session soaks, e.g.
# --minutes 30): a real session with a looping WAV from a fresh clock; the same with the
# renderer's clock starting one minute short of 2^31 ms (24.8 days); the music module polling a
# CD image with a one-second track repeated; and the module keeping a two-second MP3 playing.
# By hand only: it takes the whole time and two busy renderers. Reports land in build/linux/soak/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$root"
minutes=20
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  if [[ ${args[i]} == --minutes ]]; then minutes=${args[i + 1]}; fi
done
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target vellora_scr vellora_data vellora_bench_music_soak vellora_bench_mp3_writer
out="$root/build/linux/soak"
rm -rf "$out"
mkdir -p "$out/cd"
python3 -B bench/soak/soak.py --dist dist/linux --label fresh-clock --out "$out" "$@" >"$out/fresh-clock.log" 2>&1 &
pids=($!)
python3 -B bench/soak/soak.py --dist dist/linux --label clock-24.8-days --clock-ahead-ms $(((1 << 31) - 60000)) \
  --first-display 260 --out "$out" "$@" >"$out/clock-24.8-days.log" 2>&1 &
pids+=($!)
build/linux/bench/session/vellora_bench_mp3_writer "$out/short.mp3" 2
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null  # the pace of a device, written nowhere
build/linux/bench/soak/vellora_bench_music_soak cd "$out/cd" "$minutes" >"$out/music-cd.log" 2>/dev/null &
pids+=($!)
build/linux/bench/soak/vellora_bench_music_soak mp3 "$out/short.mp3" "$minutes" >"$out/music-mp3.log" 2>/dev/null &
pids+=($!)
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
cat "$out/soak-fresh-clock.md" "$out/soak-clock-24.8-days.md" 2>/dev/null || true
for kind in cd mp3; do
  echo "music module, $kind:"
  sed -n '2p;$p' "$out/music-$kind.log"  # minute 1 and the last minute
done
exit "$status"
