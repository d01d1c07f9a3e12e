// TriangulatePointList<Triangulator>(args, triangles): reads the point list argument into a new
// triangulator (geom::CDCT or geom::CDelaunay) and sets triangles to its triangulation. A failure
// of the triangulator, while the points are added or during the run, prints the triangulator's
// own text and returns nil to LISP; the result is then false and the worker ends with RSERR.
#pragma once

#include <vector>

#include "geom/kernel/triangle.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"

template <typename Triangulator>
bool TriangulatePointList(const resbuf* args, std::vector<geom::CTriangle>& triangles) {
    try {
        Triangulator triangulator;
        ReadPointList(args, triangulator);
        triangles = triangulator.Triangulate();
    } catch (const char* failure) {
        PrintTriangulatorFailure(failure);
        acedRetNil();
        return false;
    }
    return true;
}
