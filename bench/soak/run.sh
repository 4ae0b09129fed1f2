#!/usr/bin/env bash
# Builds the shell and the renderer with the linux preset, then runs two soaks side by side: a
# session from a fresh clock, and one whose renderer clock starts one minute short of 2^31 ms
# (24.8 days). Each runs --minutes (default 20) on an Xvfb of its own. Extra arguments go to
# both soak.py runs, e.g. --minutes 30. Reports land in build/linux/soak/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$root"
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target vellora_scr vellora_data
out=build/linux/soak
mkdir -p "$out"
python3 -B bench/soak/soak.py --dist dist/linux --label fresh-clock --out "$out" "$@" > "$out/fresh-clock.log" 2>&1 &
fresh=$!
python3 -B bench/soak/soak.py --dist dist/linux --label clock-24.8-days --clock-ahead-ms $(( (1 << 31) - 60000 )) \
  --first-display 260 --out "$out" "$@" > "$out/clock-24.8-days.log" 2>&1 &
ahead=$!
status=0
wait "$fresh" || status=1
wait "$ahead" || status=1
cat "$out/soak-fresh-clock.md" "$out/soak-clock-24.8-days.md" 2>/dev/null || true
exit "$status"
