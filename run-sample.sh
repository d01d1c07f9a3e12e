#!/usr/bin/env bash
# Builds everything and runs the main job on the bundled sample.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j 2
cmake --build build -j 2 --target bench
./build/bench/triangulation_bench
