#!/usr/bin/env bash
# kafcad.exe against kafcad: runs the terrain sample (a smaller point file) with the Windows build
# under Wine and with the Linux build, saving DXF, and requires the same drawing byte for byte and
# the same command-line text (timings aside) from both.
#   scripts/windows-smoke.sh LINUX_BUILD WINDOWS_BUILD [POINTS]
set -euo pipefail
linux_build=$(realpath "$1")
windows_build=$(realpath "$2")
points=${3:-20000}
source_dir=$(realpath "$(dirname "$0")/..")
work="$windows_build/smoke"
rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
python3 "$source_dir/samples/generate_terrain.py" "$work/terrain.csv" --points "$points" >/dev/null
for side in linux windows; do
    cp "$work/terrain.csv" "$source_dir/samples/terrain.lsp" "$work/$side/"
done

export WINEDEBUG=-all WINEPREFIX="$windows_build/wineprefix"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
run() {  # run SIDE PROGRAM...: kafcad in the side's folder; its output and status kept there
    local side=$1
    shift
    local status=0
    (cd "$work/$side" && "$@" --layer TERRAIN --layer CONTOUR=8,Continuous,0.18 \
        --layer CONTOUR-MAJOR=250,Continuous,0.5 --layer LABELS=250 --layer SPOTS=5 \
        --save terrain.dxf terrain.lsp \
        >stdout.txt 2>stderr.txt) || status=$?
    echo "$status" >"$work/$side/status.txt"
}
run linux "$linux_build/app/kafcad"
run windows "$wine" "$windows_build/bin/kafcad.exe"

# The time a step took is the one text that may differ.
same_text() {
    diff <(sed -E 's/after [0-9.]+ seconds/after N seconds/' "$work/linux/$1") \
        <(sed -E 's/after [0-9.]+ seconds/after N seconds/' "$work/windows/$1")
}
failed=0
for file in status.txt stdout.txt stderr.txt; do
    if ! same_text "$file"; then
        echo "windows-smoke: $file differs between the Linux and the Windows kafcad" >&2
        failed=1
    fi
done
if ! cmp "$work/linux/terrain.dxf" "$work/windows/terrain.dxf"; then
    echo "windows-smoke: the DXF drawings differ" >&2
    failed=1
fi
if [ "$(cat "$work/linux/status.txt")" != 0 ]; then
    echo "windows-smoke: kafcad failed (status $(cat "$work/linux/status.txt"))" >&2
    failed=1
fi
# Command-line texts kafcad writes itself: help, version and a refused option.
for args in "--help" "--version" "--no-such-option"; do
    linux_out=$("$linux_build/app/kafcad" $args 2>&1; echo "status $?")
    windows_out=$("$wine" "$windows_build/bin/kafcad.exe" $args 2>&1; echo "status $?")
    if [ "$linux_out" != "$windows_out" ]; then
        echo "windows-smoke: 'kafcad $args' differs between the Linux and the Windows kafcad" >&2
        diff <(echo "$linux_out") <(echo "$windows_out") >&2 || true
        failed=1
    fi
done
if [ "$failed" = 0 ]; then
    echo "windows-smoke: $points points; same status, command-line text and DXF" \
        "($(wc -c <"$work/linux/terrain.dxf") bytes) from both builds"
fi
exit "$failed"
