#!/usr/bin/env bash
# Builds every preset and the packages, and runs every test: unit, end-to-end on Xvfb (the
# Debian package among them), the Wine smoke suite, the package checks, the unit tests again
# under AddressSanitizer + UBSan, and a short run of each fuzz target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${VELLORA_JOBS:-$(nproc)}
fuzz_seconds=${VELLORA_FUZZ_SECONDS:-30}

bash scripts/setup.sh

for preset in linux windows; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== package $preset"
  cmake --build --preset "$preset" -j "$jobs" --target package
done
echo "== build linux-asan (unit tests)"
cmake --preset linux-asan >/dev/null
cmake --build --preset linux-asan -j "$jobs" --target unit_tests
echo "== build fuzz"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target fuzz_targets

echo "== tests (unit, e2e, wine, package)"
ctest --preset linux

echo "== unit tests under AddressSanitizer + UndefinedBehaviorSanitizer"
ctest --preset linux-asan

echo "== fuzz targets, ${fuzz_seconds}s each"
for target in build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$target" _fuzz)
  corpus=$(mktemp -d)
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
  "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" 2>&1 | tail -n 2
  rm -rf "$corpus"
done
echo "== all tests passed"
