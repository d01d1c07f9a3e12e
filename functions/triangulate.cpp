// triangulate: triangulates a point list with the incremental triangulator and returns the
// triangles as a list of point triples in the triangulator's corner order; nil when no triangle
// remains. Prints nothing, except when a point has a coordinate that is not finite: the call is
// then refused with that text and nil.
#include <vector>

#include "functions/triangulate_point_list.h"
#include "functions/workers.h"
#include "geom/incremental/delaunay.h"
#include "host/result_lists.h"

int RunTriangulate(const resbuf* args) {
    const std::vector<geom::CTriangle> triangles = TriangulatePointList<geom::CDelaunay>(args);
    return ReturnList(TrianglesToResultList(triangles));
}
