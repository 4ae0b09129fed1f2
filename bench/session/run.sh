#!/usr/bin/env bash
# Builds the shell, the renderer and the benchmark helpers with the linux preset, then runs the
# session benchmark (about 2 minutes). Extra arguments go to session_bench.py, e.g. --runs 3.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$root"
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target vellora_scr vellora_data vellora_bench_reference_loop \
  vellora_bench_session_probe vellora_bench_session_reference vellora_bench_gtk_poller \
  vellora_bench_sdl_player vellora_bench_mp3_writer
exec python3 -B bench/session/session_bench.py \
  --dist dist/linux \
  --probe build/linux/bench/session/session_probe.so \
  --reference build/linux/bench/session/vellora_bench_session_reference \
  --reference-loop build/linux/bench/vellora_bench_reference_loop \
  --gtk-poller build/linux/bench/session/vellora_bench_gtk_poller \
  --sdl-player build/linux/bench/session/vellora_bench_sdl_player \
  --mp3-writer build/linux/bench/session/vellora_bench_mp3_writer \
  "$@"
