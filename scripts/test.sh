#!/usr/bin/env bash
# Builds everything and runs every test: the full build with its tests, the core
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

passed=0
failed=0
# Runs ctest in a build folder and adds its counts to the totals.
run_ctest() {
  local log
  log=$(mktemp)
  local status=0
  ctest --test-dir "$1" --output-on-failure -j2 2>&1 | tee "$log" || status=$?
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  rm -f "$log"
  if [ -n "$line" ]; then
    local bad total
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  return $status
}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
run_ctest build

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRAZMARK_SANITIZE=ON \
  -DTRAZMARK_BUILD_UI=OFF -DTRAZMARK_BUILD_BENCH=OFF
cmake --build build-asan
run_ctest build-asan

bash scripts/fuzz.sh "${TRAZMARK_FUZZ_SECONDS:-30}"

echo "tests: ${passed} passed, ${failed} failed"
