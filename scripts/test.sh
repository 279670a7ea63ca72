#!/usr/bin/env bash
# Builds everything and runs every test: the full build with its tests, the core
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure -j2

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRAZMARK_SANITIZE=ON \
  -DTRAZMARK_BUILD_UI=OFF -DTRAZMARK_BUILD_BENCH=OFF
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2

if [ -x scripts/fuzz.sh ] || [ -f scripts/fuzz.sh ]; then
  bash scripts/fuzz.sh "${TRAZMARK_FUZZ_SECONDS:-30}"
fi
