#include "output/append_pface_vertex.h"

void AppendPFaceVertex(AcDbPolyFaceMesh& mesh, const geom::CVertex& vertex) {
    AcDbPolyFaceMeshVertex* meshVertex = new AcDbPolyFaceMeshVertex();
    meshVertex->setPosition(AcGePoint3d(vertex.x, vertex.y, vertex.z));
    if (mesh.appendVertex(meshVertex) == Acad::eOk) {
        meshVertex->close();
    } else {
        delete meshVertex;
    }
}
