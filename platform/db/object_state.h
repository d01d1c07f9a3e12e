// The host's bookkeeping for every drawing object (AcDbObject::State) and the privileged access
// the host's internals have to objects' private data (kafhostObjectAccess).
//
// An object is in one of these places:
//  kNew       made with new (or on the stack), not in a drawing, not closed: counted as open;
//  kOrphan    not in a drawing and closed: not open; the host deletes it after the current
//             AutoLISP call unless its owner deletes it first;
//  kResident  in a drawing (owned by it), open while it has readers or a writer;
//  kSubentity a vertex or face record of a polyface mesh, alive as an object only while open;
//             closing it for the last time folds it into the mesh's storage and deletes it;
//  kDestroying being deleted by its drawing or mesh.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arxapi.h"

namespace kafhost {
class Database;
}

enum class Residence : std::uint8_t { kNew, kOrphan, kResident, kSubentity, kDestroying };

struct AcDbObject::State {
    kafhost::Database* db = nullptr;
    std::uint64_t handle = 0;
    std::uint64_t owner = 0;
    const wchar_t* layer = nullptr;
    std::int32_t trueColor = -1;  // the entity's own colour (EntityInfo)
    std::int16_t colorIndex = 256;
    AcDbPolyFaceMesh* mesh = nullptr;  // the mesh of a sub-entity
    std::int32_t openSlot = -1;        // place in the host's list of open objects
    std::int32_t orphanSlot = -1;      // place in the host's list of orphans
    std::uint32_t index = 0;  // place in its block (entities) or in its mesh (sub-entities)
    std::uint16_t readers = 0;
    bool writer = false;
    bool erased = false;
    bool isFaceRecord = false;  // sub-entity kind
    Residence where = Residence::kNew;
};

class kafhostObjectAccess {
public:
    using State = AcDbObject::State;
    static State& state(const AcDbObject& object) { return *object.state_; }

    static AcGePoint3d* faceCorners(AcDbFace& face) { return face.corners_; }
    static bool* faceEdgeVisibility(AcDbFace& face) { return face.visible_; }
    static AcGePoint3d& pointPosition(AcDbPoint& point) { return point.position_; }
    static AcGePoint3d* lineEnds(AcDbLine& line) { return line.ends_; }
    static std::wstring& textString(AcDbText& text) { return text.text_; }
    static std::wstring& textStyle(AcDbText& text) { return text.style_; }
    static AcGePoint3d& textPosition(AcDbText& text) { return text.position_; }
    static AcGePoint3d& textAlignment(AcDbText& text) { return text.alignment_; }
    static double& textHeight(AcDbText& text) { return text.height_; }
    static double& textRotation(AcDbText& text) { return text.rotation_; }
    static AcDb::TextHorzMode& textHorizontal(AcDbText& text) { return text.horizontal_; }
    static AcDb::TextVertMode& textVertical(AcDbText& text) { return text.vertical_; }
    static AcGePoint3d& vertexPosition(AcDbPolyFaceMeshVertex& vertex) { return vertex.position_; }
    static Adesk::Int16* faceRecordNumbers(AcDbFaceRecord& face) { return face.vertices_; }
    static AcDbPolyFaceMesh::Storage& storage(const AcDbPolyFaceMesh& mesh) {
        return *mesh.storage_;
    }
    static AcGePoint3dArray& subDVertices(AcDbSubDMesh& mesh) { return mesh.vertices_; }
    static AcArray<Adesk::Int32>& subDFaces(AcDbSubDMesh& mesh) { return mesh.faces_; }
    static AcArray<AcCmEntityColor>& subDColours(AcDbSubDMesh& mesh) { return mesh.colours_; }
    static int& subDLevel(AcDbSubDMesh& mesh) { return mesh.level_; }
    static std::vector<AcGePoint2d>& polylinePoints(AcDbPolyline& line) { return line.points_; }
    static std::vector<double>& polylineBulges(AcDbPolyline& line) { return line.bulges_; }
    static double& polylineElevation(AcDbPolyline& line) { return line.elevation_; }
    static bool& polylineClosed(AcDbPolyline& line) { return line.closed_; }
    static std::vector<AcGePoint3d>& polyline3dVertices(AcDb3dPolyline& line) {
        return line.vertices_;
    }
    static bool& polyline3dClosed(AcDb3dPolyline& line) { return line.closed_; }
};

using ObjectState = kafhostObjectAccess::State;

inline ObjectState& stateOf(const AcDbObject& object) {
    return kafhostObjectAccess::state(object);
}

namespace kafhost {

// Open for read or write in the host's sense (objects not in a drawing always are).
inline bool isReadable(const AcDbObject& object) {
    const ObjectState& state = stateOf(object);
    return state.where == Residence::kNew || state.where == Residence::kOrphan || state.writer ||
           state.readers > 0;
}

inline bool isWritable(const AcDbObject& object) {
    const ObjectState& state = stateOf(object);
    return state.where == Residence::kNew || state.where == Residence::kOrphan || state.writer;
}

// Whether the host counts the object as open.
inline bool isOpenNow(const ObjectState& state) {
    switch (state.where) {
        case Residence::kNew:
            return true;
        case Residence::kResident:
        case Residence::kSubentity:
            return state.writer || state.readers > 0;
        default:
            return false;
    }
}

void addOpenObject(AcDbObject& object);
void removeOpenObject(AcDbObject& object);

// Adds the object to, or removes it from, the list of open objects as its state now asks.
inline void syncOpenRegistration(AcDbObject& object) {
    const ObjectState& state = stateOf(object);
    const bool open = isOpenNow(state);
    if (open && state.openSlot < 0) {
        addOpenObject(object);
    } else if (!open && state.openSlot >= 0) {
        removeOpenObject(object);
    }
}
void addOrphan(AcDbObject& object);
void removeOrphan(AcDbObject& object);
// Opens a drawing object (one more reader, or the writer) following the host's rules.
Acad::ErrorStatus openObject(AcDbObject& object, AcDb::OpenMode mode, bool openErased);
// The interned copy of a name (stable for the process).
const wchar_t* internName(const std::wstring& name);
const wchar_t* defaultLayerName();

}  // namespace kafhost
