// TriangulatePointList<Triangulator>(args): reads the point list argument into a new
// triangulator (geom::CDCT or geom::CDelaunay) and gives its triangulation. A failure of the
// triangulator, while the points are added or during the run, is thrown on (geom::GeometryError)
// for RunWorkerGuarded to print.
#pragma once

#include <vector>

#include "geom/kernel/triangle.h"
#include "host/argument_readers.h"

template <typename Triangulator>
std::vector<geom::CTriangle> TriangulatePointList(const resbuf* args) {
    Triangulator triangulator;
    ReadPointList(args, triangulator);
    return triangulator.Triangulate();
}
