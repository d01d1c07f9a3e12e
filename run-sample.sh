#!/usr/bin/env bash
# Builds everything, writes the terrain survey sample (about 150,000 points) into out/sample/ and
# runs kafcad on it: the points become subdivision meshes coloured by elevation, with contour
# lines, statistics and a volume; the drawing is saved as DXF, its surface as LandXML, and a PNG
# picture shows the coloured terrain, its contours and the legend of the colours.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j 2

out=out/sample
mkdir -p "$out"
python3 samples/generate_terrain.py "$out/terrain.csv"
cp samples/terrain.lsp "$out/terrain.lsp"
# kafcad works in the output folder: the script reads terrain.csv there.
(cd "$out" && ../../build/app/kafcad --layer TERRAIN --layer CONTOUR --layer CONTOUR-MAJOR \
    --save terrain.dxf --png terrain.png --png-size 1000 terrain.lsp)
# The terrain surface for other civil software: the drawing's meshes as a LandXML TIN surface.
(cd "$out" && ../../build/app/kafcad --drawing terrain.dxf --save terrain.xml -e "(princ)")

# The road corridor: kerbs as breaklines, a site outline and a traffic island.
python3 samples/generate_road.py "$out"
cp samples/road.lsp "$out/road.lsp"
(cd "$out" && ../../build/app/kafcad --drawing road.json --save road_surface.dxf \
    --png road.png --png-size 1000x600 road.lsp)

echo
echo "Sample files in $out/:"
echo "  terrain.csv  the survey points (easting;northing;elevation)"
echo "  terrain.lsp  the script kafcad ran"
echo "  terrain.dxf  the drawing: the terrain meshes on layer TERRAIN, coloured by elevation, and"
echo "               contour lines every 5 m on CONTOUR (every 25 m on CONTOUR-MAJOR)"
echo "  terrain.xml  the terrain surface in LandXML 1.2 (a TIN surface named TERRAIN)"
echo "  terrain.png  a top view of the drawing with the legend of the elevation colours"
echo "  road.txt, road.json, road.lsp  the road corridor's survey, lines and script"
echo "  road_surface.dxf, road.png     its surface along the kerbs, and its top view"
echo "  road_profile.png, road_sections.png  the long-section and cross-sections of its centre line"
