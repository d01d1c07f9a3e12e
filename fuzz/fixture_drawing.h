// PrepareFixtureDrawing(host): fills the current drawing, which must be fresh (Host::reset), with
// the entities the fuzzed calls name by handle, and gives their handle texts:
//   mesh, secondMesh  subdivision meshes in model space (triangles and one quad, side by side)
//   polyFaceMesh      a polyface mesh over the same ground
//   outline           a closed polyline around part of both meshes
//   openPolyline      an open polyline of two points
//   face              a 3D face
//   erasedMesh        a subdivision mesh that is erased
//   paperMesh         a subdivision mesh in paper space
//   breakline         an open 3D polyline across both meshes
//   boundary3d        a closed 3D polyline around part of both meshes
//   crossingOutline   a closed polyline that crosses itself
// It also adds the layers "TIN" and "HIDDEN" (hidden) beside "0".
#pragma once

#include <string>

#include "kafhost/host.h"

struct FixtureDrawing {
    std::wstring mesh;
    std::wstring secondMesh;
    std::wstring polyFaceMesh;
    std::wstring outline;
    std::wstring openPolyline;
    std::wstring face;
    std::wstring erasedMesh;
    std::wstring paperMesh;
    std::wstring breakline;
    std::wstring boundary3d;
    std::wstring crossingOutline;
};

FixtureDrawing PrepareFixtureDrawing(kafhost::Host& host);
