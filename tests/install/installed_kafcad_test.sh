#!/bin/sh
# Installs the build into a fresh prefix and runs the installed kafcad from another folder, with
# nothing of the build tree on its paths: it must find its module, the host library and its GIS
# library (kafcad_gdal.so, loaded for the coordinate system) by itself.
# Arguments: the build folder and a scratch folder (emptied first).
set -eu
build=$1
prefix=$2/prefix
rm -rf "$2"
mkdir -p "$2"
cmake --install "$build" --prefix "$prefix" > "$2/install.log"
cd "$2"
# Only the sanitizers' settings of a sanitizer build pass through.
out=$(env -i PATH="$prefix/bin:/usr/bin:/bin" ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} \
    ${UBSAN_OPTIONS:+UBSAN_OPTIONS=$UBSAN_OPTIONS} \
    kafcad -e "(kaf-dct '((0 0 1) (1 0 2) (0 1 3)))" -e '(kafcad-crs "EPSG:25832")')
expected='(((0.0 0.0 1.0) (1.0 0.0 2.0) (0.0 1.0 3.0)))
"EPSG:25832"'
if [ "$out" != "$expected" ]; then
    echo "installed kafcad printed: $out"
    echo "expected:                 $expected"
    exit 1
fi
echo "installed kafcad in $prefix/bin runs the module and its GIS library"
