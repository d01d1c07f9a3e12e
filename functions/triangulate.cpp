// triangulate: triangulates a point list with the incremental triangulator and returns the
// triangles as a list of point triples in the triangulator's corner order; nil when no triangle
// remains. Prints nothing.
#include <vector>

#include "functions/workers.h"
#include "geom/delaunay.h"
#include "host/point_list_reader.h"
#include "host/result_lists.h"

int RunTriangulate(const resbuf* args) {
    std::vector<geom::CTriangle> triangles;
    {
        geom::CDelaunay delaunay;
        ReadPointList(args, delaunay);
        triangles = delaunay.Triangulate();
    }
    return ReturnList(TrianglesToResultList(triangles));
}
