#include "output/create_pface.h"

#include "arxapi.h"
#include "output/close_on_exit.h"
#include "output/writer_steps.h"

namespace {

AcGePoint3d ToPoint(const geom::CVertex& vertex) {
    return AcGePoint3d(vertex.x, vertex.y, vertex.z);
}

}  // namespace

int CreatePFace(const geom::CTriangle& triangle) {
    NewEntity<AcDbFace> face(ToPoint(triangle.p1), ToPoint(triangle.p2), ToPoint(triangle.p3), true,
                             true, true, true);
    AcDbBlockTableRecord* modelSpace = OpenModelSpaceForWrite(nullptr, nullptr);
    if (modelSpace == nullptr) {
        return RTERROR;
    }
    const CloseOnExit closeModelSpace(modelSpace);
    return face.AppendTo(*modelSpace, nullptr) ? RTNORM : RTERROR;
}
