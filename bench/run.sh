#!/usr/bin/env bash
# Builds the renderer and the benchmark helpers with the linux preset, then runs the renderer
# benchmark (about 2 minutes). Extra arguments go to run_bench.py, e.g. --runs 3 --seconds 2, or
# --monitors for a desktop of two monitors.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target vellora_data vellora_bench_reference_loop vellora_bench_swap_probe monitor_layout_shim
exec python3 bench/run_bench.py \
  --renderer dist/linux/Vellora.data \
  --reference build/linux/bench/vellora_bench_reference_loop \
  --probe build/linux/bench/swap_probe.so \
  --layout-shim build/linux/tests/e2e/monitor_layout_shim.so \
  "$@"
