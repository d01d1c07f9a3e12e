#include "input/read_surface_meshes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "arxapi.h"
#include "host/error_lines.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "input/entity_lookup.h"
#include "output/close_on_exit.h"
#include "output/writer_steps.h"

namespace {

constexpr const wchar_t* kMeterLabel = L"Reading meshes ...";

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

// The polyface mesh's vertices and face records, read through the mesh's accessors for them.
void ReadPolyFaceMesh(const AcDbPolyFaceMesh& entity, geom::SurfaceMesh& mesh) {
    const std::size_t vertexCount = entity.vertexCount();
    mesh.vertices.reserve(vertexCount);
    for (std::size_t i = 0; i < vertexCount; ++i) {
        const AcGePoint3d position = entity.vertexPosition(i);
        mesh.vertices.emplace_back(position.x, position.y, position.z);
    }
    const std::size_t faceCount = entity.faceCount();
    for (std::size_t f = 0; f < faceCount; ++f) {
        Adesk::Int16 numbers[4];
        entity.faceVertices(f, numbers);
        std::int32_t corners[4];
        int count = 0;
        for (const Adesk::Int16 number : numbers) {
            if (number != 0) {
                corners[count++] = std::abs(static_cast<std::int32_t>(number)) - 1;
            }
        }
        AddFace(corners, count, mesh);
    }
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
            } else {
                ReadPolyFaceMesh(static_cast<const AcDbPolyFaceMesh&>(*entity), mesh);
            }
            AppendHandleText(*entity, names);
        }
        UpdateProgressMeter(meter, kMeterLabel, static_cast<double>(k + 1));
    }
    return true;
}
