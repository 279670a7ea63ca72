#!/usr/bin/env bash
# Builds the program and starts it. Arguments are passed to the program
# (the window takes the road list path).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ -x build/trazmark ]; then
  exec build/trazmark "$@"
else
  exec build/src/cli/trazmark-cli "$@"
fi
