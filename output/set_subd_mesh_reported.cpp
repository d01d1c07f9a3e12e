#include "output/set_subd_mesh_reported.h"

#include "host/error_lines.h"

bool SetSubDMeshReported(AcDbSubDMesh& mesh, const AcGePoint3dArray& points,
                         const AcArray<Adesk::Int32>& faces) {
    try {
        mesh.setSubDMesh(points, faces, 0);
    } catch (const ACHAR*) {
        ReportStepError(L"CreateSubDMesh:setSubDMesh", Acad::eOk);
        return false;
    }
    return true;
}
