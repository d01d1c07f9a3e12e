#!/usr/bin/env bash
# Checks the sources' formatting, builds everything and runs the whole test suite twice: first the optimised build (build/), then a
# build with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer (build-asan/), where
# any sanitizer report ends the test program with a failure. Between the two, the Windows build
# (build-win/, MinGW-w64) runs its tests under Wine, and kafcad.exe must write the same drawing
# and command-line text as the Linux kafcad. Each phase's time is printed when it ends.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
jobs=2

phase_name=""
phase_start=0
phase() {
    if [ -n "$phase_name" ]; then
        echo "== $phase_name took $((SECONDS - phase_start))s"
    fi
    phase_name=$1
    phase_start=$SECONDS
    echo "== $1 (${SECONDS}s so far)"
}

phase "Formatting check"
bash scripts/check-format.sh

phase "Release build (build/)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON
cmake --build build -j "$jobs"
phase "Release tests"
ctest --test-dir build --output-on-failure -j "$jobs"
phase "Benchmarks build (built, not run)"
cmake --build build -j "$jobs" --target bench

phase "Windows build (build-win/, MinGW-w64)"
cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
cmake --build build-win -j "$jobs"
phase "Windows tests under Wine"
# The Wine prefix is made once before the tests share it.
WINEDEBUG=-all WINEPREFIX="$PWD/build-win/wineprefix" /usr/lib/wine/wine64 wineboot --init
ctest --test-dir build-win --output-on-failure -j "$jobs"
phase "Windows kafcad.exe against the Linux kafcad"
bash scripts/windows-smoke.sh build build-win 20000

# The module, kafhost, kafcad and the test programs are all built with the same sanitizer flags,
# so the module that the host dlopens runs under the same runtime. -O1 keeps the run quick and
# leaves assertions on.
phase "Sanitizer build (build-asan/)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DKAF_SANITIZE=ON
cmake --build build-asan -j "$jobs"
phase "Sanitizer tests"
# Leaks of system libraries that kafcad cannot free are suppressed (scripts/lsan-suppressions.txt),
# without the summary that would change what the tests compare on standard error.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0" \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
phase "Done"
