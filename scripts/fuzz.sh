#!/usr/bin/env bash
# Builds every fuzz/<name>_fuzz.cpp with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for SECONDS seconds. Fails when a
# target does not build or finds a crash. Adding a target needs nothing but the
# new file; optional seeds go in fuzz/corpus/<name>/, a dictionary in
# fuzz/<name>.dict.
#
#   bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
build=build-fuzz
jobs="${TRAZMARK_FUZZ_JOBS:-2}"
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g -O1"

shopt -s nullglob
targets=(fuzz/*_fuzz.cpp)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets"
  exit 0
fi

# The core libraries, built with clang and instrumented for the fuzzer.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$flags -fsanitize=fuzzer-no-link" \
  -DTRAZMARK_BUILD_UI=OFF -DTRAZMARK_BUILD_TESTS=OFF -DTRAZMARK_BUILD_BENCH=OFF >/dev/null
modules=$(cmake --build "$build" --target help | sed -n 's/^\(trazmark_[a-z_]*\): .*/\1/p' | sort -u)
if [ -n "$modules" ]; then
  # shellcheck disable=SC2086
  cmake --build "$build" -j"$jobs" --target $modules
fi
libs=$(find "$build" -maxdepth 1 -name 'libtrazmark_*.a' | sort)

root=$(pwd)
failed=()
for source in "${targets[@]}"; do
  name=$(basename "$source" .cpp)
  short=${name%_fuzz}
  out="$root/$build/fuzz"
  mkdir -p "$out" "$root/$build/corpus/$name"
  echo "fuzz: building $name"
  # shellcheck disable=SC2086
  clang++ -std=c++20 $flags -fsanitize=fuzzer -Isrc "$source" \
    -Wl,--start-group $libs -Wl,--end-group -lpugixml -lgmpxx -lmpfr -lgmp -o "$out/$name"
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$out/$name-")
  [ -f "fuzz/$short.dict" ] && args+=(-dict="$root/fuzz/$short.dict")
  corpora=("$root/$build/corpus/$name")
  [ -d "fuzz/corpus/$short" ] && corpora+=("$root/fuzz/corpus/$short")
  echo "fuzz: running $name for ${seconds}s"
  if ! "$out/$name" "${args[@]}" "${corpora[@]}"; then
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: FAILED: ${failed[*]} (crash inputs are in $build/fuzz/)"
  exit 1
fi
echo "fuzz: all ${#targets[@]} targets ran ${seconds}s without a crash"
