#include "output/writer_steps.h"

namespace {

void ReportUnlessSilent(const wchar_t* step, Acad::ErrorStatus status) {
    if (step != nullptr) {
        ReportStepError(step, status);
    }
}

}  // namespace

AcDbBlockTableRecord* OpenModelSpaceForWrite(const wchar_t* blockTableStep,
                                             const wchar_t* modelSpaceStep) {
    AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    if (database == nullptr) {
        ReportUnlessSilent(blockTableStep, Acad::eNoDatabase);
        return nullptr;
    }
    AcDbBlockTable* blockTable = nullptr;
    Acad::ErrorStatus status = database->getSymbolTable(blockTable, AcDb::kForRead);
    if (status != Acad::eOk) {
        ReportUnlessSilent(blockTableStep, status);
        return nullptr;
    }
    AcDbBlockTableRecord* modelSpace = nullptr;
    status = blockTable->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite, false);
    blockTable->close();
    if (status != Acad::eOk) {
        ReportUnlessSilent(modelSpaceStep, status);
        return nullptr;
    }
    return modelSpace;
}

bool SetLayerReported(AcDbEntity& entity, const wchar_t* layer, const wchar_t* step) {
    if (layer == nullptr) {
        return true;
    }
    const Acad::ErrorStatus status = entity.setLayer(layer, true, false);
    if (status != Acad::eOk) {
        ReportStepError(step, status);
        return false;
    }
    return true;
}

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

bool FinishSubDMesh(NewEntity<AcDbSubDMesh>& mesh, const AcGePoint3dArray& points,
                    const AcArray<Adesk::Int32>& faces, AcDbBlockTableRecord& modelSpace,
                    std::vector<std::wstring>& handles) {
    if (!SetSubDMeshReported(*mesh, points, faces)) {
        return false;
    }
    if (!mesh.AppendTo(modelSpace, L"CreateSubDMesh:appendAcDbEntity")) {
        return false;
    }
    AppendHandleText(*mesh, handles);
    return true;
}

void AppendPFaceVertex(AcDbPolyFaceMesh& mesh, const geom::CVertex& vertex) {
    AcDbPolyFaceMeshVertex* meshVertex = new AcDbPolyFaceMeshVertex();
    meshVertex->setPosition(AcGePoint3d(vertex.x, vertex.y, vertex.z));
    if (mesh.appendVertex(meshVertex) == Acad::eOk) {
        meshVertex->close();
    } else {
        delete meshVertex;
    }
}

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

void AppendHandleText(const AcDbObject& object, std::vector<std::wstring>& handles) {
    AcDbHandle handle;
    object.getAcDbHandle(handle);
    ACHAR text[17] = {};
    handle.getIntoAsciiBuffer(text, sizeof text / sizeof text[0]);
    handles.emplace_back(text);
}
