#include "output/append_face_record.h"

void AppendFaceRecord(AcDbPolyFaceMesh& mesh, std::int32_t first, std::int32_t second,
                      std::int32_t third) {
    AcDbFaceRecord* face = new AcDbFaceRecord();
    face->setVertexAt(0, static_cast<Adesk::Int16>(first));
    face->setVertexAt(1, static_cast<Adesk::Int16>(second));
    face->setVertexAt(2, static_cast<Adesk::Int16>(third));
    face->setVertexAt(3, 0);
    if (mesh.appendFaceRecord(face) == Acad::eOk) {
        face->close();
    } else {
        delete face;
    }
}
