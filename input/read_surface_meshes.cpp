#include "input/read_surface_meshes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "arxapi.h"
#include "host/error_lines.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "input/entity_lookup.h"
#include "output/close_on_exit.h"
#include "output/writer_steps.h"

namespace {

constexpr const wchar_t* kMeterLabel = L"Reading meshes ...";
constexpr const wchar_t* kOpenSubentityStep = L"ReadPolyFaceMesh:acdbOpenObject";

// Adds the face with these corners (positions in the mesh's vertex list) as triangles fanning out
// from its first corner; fewer than three corners add nothing.
void AddFace(const std::int32_t* corners, int count, geom::SurfaceMesh& mesh) {
    for (int k = 1; k + 1 < count; ++k) {
        mesh.faces.push_back(geom::MeshFace{corners[0], corners[k], corners[k + 1]});
    }
}

void ReadSubDMesh(const AcDbSubDMesh& entity, geom::SurfaceMesh& mesh) {
    AcGePoint3dArray vertices;
    entity.getVertices(vertices);
    mesh.vertices.reserve(static_cast<std::size_t>(vertices.length()));
    for (int i = 0; i < vertices.length(); ++i) {
        mesh.vertices.emplace_back(vertices[i].x, vertices[i].y, vertices[i].z);
    }
    AcArray<Adesk::Int32> faces;
    entity.getFaceArray(faces);
    const int length = faces.length();
    for (int i = 0; i < length; i += faces[i] + 1) {
        const int count = faces[i];
        if (count < 0 || count > length - i - 1) {
            const std::int32_t missing[3] = {-1, -1, -1};
            AddFace(missing, 3, mesh);
            return;
        }
        AddFace(faces.asArrayPtr() + i + 1, count, mesh);
    }
}

// The polyface mesh's vertices and face records, each sub-entity opened for read through the
// mesh's vertex iterator. A sub-entity that cannot be opened ends the reading with a step error.
bool ReadPolyFaceMesh(const AcDbPolyFaceMesh& entity, geom::SurfaceMesh& mesh) {
    const std::unique_ptr<AcDbObjectIterator> iterator(entity.vertexIterator());
    for (iterator->start(); !iterator->done(); iterator->step()) {
        AcDbObject* subentity = nullptr;
        const Acad::ErrorStatus status =
            acdbOpenAcDbObject(subentity, iterator->objectId(), AcDb::kForRead);
        if (status != Acad::eOk) {
            ReportStepError(kOpenSubentityStep, status);
            return false;
        }
        const CloseOnExit closeSubentity(subentity);
        if (subentity->isKindOf(AcDbPolyFaceMeshVertex::desc())) {
            const AcGePoint3d position =
                static_cast<AcDbPolyFaceMeshVertex*>(subentity)->position();
            mesh.vertices.emplace_back(position.x, position.y, position.z);
        } else if (subentity->isKindOf(AcDbFaceRecord::desc())) {
            const auto* record = static_cast<AcDbFaceRecord*>(subentity);
            std::int32_t corners[4];
            int count = 0;
            for (Adesk::UInt16 i = 0; i < 4; ++i) {
                Adesk::Int16 number = 0;
                record->getVertexAt(i, number);
                if (number != 0) {
                    corners[count++] = std::abs(static_cast<std::int32_t>(number)) - 1;
                }
            }
            AddFace(corners, count, mesh);
        }
    }
    return true;
}

bool IsSubDMesh(const AcDbEntity& entity) {
    return entity.isA()->isDerivedFrom(AcDbSubDMesh::desc());
}

bool IsPolyFaceMesh(const AcDbEntity& entity) {
    return entity.isA()->isDerivedFrom(AcDbPolyFaceMesh::desc());
}

}  // namespace

bool ReadSurfaceMeshes(const std::vector<std::wstring>& handles, const wchar_t* label,
                       std::vector<geom::SurfaceMesh>& meshes, std::vector<std::wstring>& names) {
    ProgressMeterState meter;
    StartProgressMeter(meter, kMeterLabel, static_cast<double>(handles.size()));
    EndProgressMeterOnExit endMeter;
    std::vector<AcDbObjectId> read;
    for (std::size_t k = 0; k < handles.size(); ++k) {
        PumpMessagesThrottled();
        AcDbEntity* entity = nullptr;
        GetEntity(entity, handles[k].c_str());
        const CloseOnExit closeEntity(entity);
        if (entity == nullptr || !(IsSubDMesh(*entity) || IsPolyFaceMesh(*entity))) {
            endMeter.End();
            const std::wstring message =
                L"Object " + handles[k] + L" is not a SubDMesh or PolyFaceMesh!";
            ReportFunctionError(label, message.c_str());
            return false;
        }
        if (std::find(read.begin(), read.end(), entity->objectId()) == read.end()) {
            read.push_back(entity->objectId());
            geom::SurfaceMesh& mesh = meshes.emplace_back();
            if (IsSubDMesh(*entity)) {
                ReadSubDMesh(static_cast<const AcDbSubDMesh&>(*entity), mesh);
            } else if (!ReadPolyFaceMesh(static_cast<const AcDbPolyFaceMesh&>(*entity), mesh)) {
                endMeter.End();
                const std::wstring message = L"Mesh " + handles[k] + L" could not be read!";
                ReportFunctionError(label, message.c_str());
                return false;
            }
            AppendHandleText(*entity, names);
        }
        UpdateProgressMeter(meter, kMeterLabel, static_cast<double>(k + 1));
    }
    return true;
}
