#!/usr/bin/env bash
# Checks the sources' formatting, builds everything and runs the whole test suite twice: first the optimised build (build/), then a
# build with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer (build-asan/), where
# any sanitizer report ends the test program with a failure.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
jobs=2

phase() {
    echo "== $1 (${SECONDS}s so far)"
}

phase "Formatting check"
bash scripts/check-format.sh

phase "Release build (build/)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON
cmake --build build -j "$jobs"
phase "Release tests"
ctest --test-dir build --output-on-failure -j "$jobs"

# The module, kafhost, kafcad and the test programs are all built with the same sanitizer flags,
# so the module that the host dlopens runs under the same runtime. -O1 keeps the run quick and
# leaves assertions on.
phase "Sanitizer build (build-asan/)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DKAF_SANITIZE=ON
cmake --build build-asan -j "$jobs"
phase "Sanitizer tests"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
phase "Done"
