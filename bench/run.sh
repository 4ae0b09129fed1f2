#!/usr/bin/env bash
# Builds the renderer and the benchmark helpers with the linux preset, then runs the renderer
# benchmark (about 2 minutes). Extra arguments go to run_bench.py, e.g. --runs 3 --seconds 2.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target vellora_data vellora_bench_reference_loop vellora_bench_swap_probe
exec python3 bench/run_bench.py \
  --renderer dist/linux/Vellora.data \
  --reference build/linux/bench/vellora_bench_reference_loop \
  --probe build/linux/bench/swap_probe.so \
  "$@"
