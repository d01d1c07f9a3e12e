#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, if any is missing.
set -euo pipefail
packages=(
    build-essential cmake ninja-build      # compiler and build
    libgtest-dev                           # unit tests
    nlohmann-json3-dev                     # JSON drawings in the stand-in host
    libcgal-dev                            # reference triangulator for the benchmark
    python3-ezdxf                          # independent DXF reader for the drawing-file tests
    librecad                               # second DXF reader: draws saved drawings (dxf2pdf)
    pkg-config libcairo2-dev libedit-dev   # kafcad: PNG pictures; the prompt's line editing
    libpugixml-dev                         # kafcad: LandXML surface files
    libpng-dev zlib1g-dev                  # kafcad: PNG encoding of the pictures
    libgdal-dev                            # kafcad: DEM rasters, GeoTIFF, GeoPackage, coordinate systems
    gdal-bin                               # gdalinfo, gdallocationinfo, ogrinfo: the tests read kafcad's GIS files
    r-base-core                            # R's volcano DEM, which a test goes round trip with
    python3                                # the terrain sample's generator
    clang-format-16                        # the formatting check (braces on every if)
    g++-mingw-w64-x86-64-posix googletest  # the Windows build (kaf20x64.arx, kafcad.exe, tests)
    wine64                                 # runs the Windows build's tests
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
