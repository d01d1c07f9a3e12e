// kaf-dct-pface: (kaf-dct-pface points) triangulates the points and writes one 3D face per
// triangle into model space; gives T, or nil when the points could not be triangulated.
#include <vector>

#include "functions/triangulate_point_list.h"
#include "functions/workers.h"
#include "geom/dct/dct.h"
#include "output/create_pface.h"

int RunKafDctPface(const resbuf* args) {
    const std::vector<geom::CTriangle> triangles = TriangulatePointList<geom::CDCT>(args);
    // A face that cannot be written is skipped; the others are still written.
    for (const geom::CTriangle& triangle : triangles) {
        CreatePFace(triangle);
    }
    acedRetT();
    return RSRSLT;
}
