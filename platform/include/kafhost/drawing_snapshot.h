// A plain copy of a drawing's contents: its layers and the entities of model and paper space.
// Host::snapshot() gives one of the current drawing; Host::loadSnapshot rebuilds a drawing from
// one (drawing-file loaders use it); Host::addEntity adds one EntityInfo.
//
// EntityInfo fields by type (others stay empty):
//  kFace:         corners (4 points), edgeVisible (4 flags; empty means all visible).
//  kPolyFaceMesh: vertices; faces = one list per face record holding its four vertex numbers
//                 as stored (from 1 within the mesh, 0 for none).
//  kSubDMesh:     vertices; faces = one list of vertex indices (from 0) per face;
//                 vertexColours = one [r, g, b] per vertex or none; subDLevel. In a
//                 snapshot of Host::outputSnapshot() faces is empty and faceList holds them.
//  kPolyline:     points (2D), bulges (one per point; empty means all 0), elevation, closed.
//  kPolyline3d:   vertices (each with its own z), closed.
//  kPoint:        position.
//  kLine:         corners (2 points: start, end).
//  kText:         position (start of the baseline), alignmentPoint (where a text not
//                 left-aligned on its baseline sits), text, textStyle, height, rotation
//                 (radians, counter-clockwise), horizontalMode (0 left, 1 centre, 2 right,
//                 3 aligned, 4 middle, 5 fit), verticalMode (0 baseline, 1 bottom, 2 middle,
//                 3 top).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "kafhost/entity_kind.h"

namespace kafhost {

using Point2 = std::array<double, 2>;
using Point3 = std::array<double, 3>;
using Rgb = std::array<int, 3>;

// The largest handle a drawing holds or is given: larger ones are refused when a drawing is
// loaded, and a drawing that reaches it gives no further handles, so a handle near 2^64 can never
// make new handles wrap round to ones in use. Every drawing kafcad saves can be loaded again.
constexpr std::uint64_t kLargestHandle = 0xFFFFFFFF00000000;

// A DXF file's contents beyond what the drawing models (platform/files/dxf/origin.h), carried
// from loading to saving so that a save keeps them.
struct DxfOrigin;

struct LayerInfo {
    std::wstring name;
    bool hidden = false;
    // The layer's colour: an AutoCAD colour index, 1 ... 255 (7: black on a light ground, white
    // on a dark one), and a true colour 0xRRGGBB that stands in for it when not -1.
    int colorIndex = 7;
    std::int32_t trueColor = -1;
    std::wstring linetype = L"Continuous";
    // In hundredths of a millimetre (0 ... 211); -3: the drawing's default.
    int lineweight = -3;
};

struct EntityInfo {
    // Upper-case hexadecimal handle text. Empty when adding: the drawing gives the next handle.
    std::wstring handle;
    // What the entity is; entityKindName(type) is its class name ("AcDbFace" ...).
    EntityKind type = EntityKind::kFace;
    // "model" or "paper".
    std::wstring space = L"model";
    std::wstring layer = L"0";
    bool erased = false;
    // The entity's own colour: an AutoCAD colour index (0 by block, 1 ... 255, 256 by layer), and
    // a true colour 0xRRGGBB that stands in for it when not -1.
    int colorIndex = 256;
    std::int32_t trueColor = -1;

    std::vector<Point3> vertices;
    std::vector<std::vector<int>> faces;
    // The faces of a subdivision mesh as the drawing keeps them, read in place (no copy): per face
    // its vertex count, then that many vertex indices; faceListSize numbers in all. Set only by
    // Host::outputSnapshot(), and valid while the drawing is unchanged; null otherwise.
    const int* faceList = nullptr;
    std::size_t faceListSize = 0;
    std::vector<Rgb> vertexColours;
    int subDLevel = 0;

    std::vector<Point3> corners;
    std::vector<bool> edgeVisible;

    std::vector<Point2> points;
    std::vector<double> bulges;
    double elevation = 0.0;
    bool closed = false;

    Point3 position{0.0, 0.0, 0.0};
    Point3 alignmentPoint{0.0, 0.0, 0.0};
    std::wstring text;
    std::wstring textStyle = L"Standard";
    double height = 0.0;
    double rotation = 0.0;
    int horizontalMode = 0;
    int verticalMode = 0;
};

// Calls visit(indices, count) for each face of the entity in order, from faceList when it is set,
// from faces otherwise.
template <typename Visit>
void forEachFace(const EntityInfo& entity, Visit visit) {
    if (entity.faceList == nullptr) {
        for (const std::vector<int>& face : entity.faces) {
            visit(face.data(), face.size());
        }
        return;
    }
    for (std::size_t i = 0; i < entity.faceListSize;
         i += 1 + static_cast<std::size_t>(entity.faceList[i])) {
        visit(entity.faceList + i + 1, static_cast<std::size_t>(entity.faceList[i]));
    }
}

// The faces of the two entities are the same, whichever way each holds them.
inline bool sameFaces(const EntityInfo& a, const EntityInfo& b) {
    if (a.faceList == nullptr && b.faceList == nullptr) {
        return a.faces == b.faces;
    }
    const auto flatten = [](const EntityInfo& entity) {
        std::vector<int> list;
        forEachFace(entity, [&list](const int* indices, std::size_t count) {
            list.push_back(static_cast<int>(count));
            list.insert(list.end(), indices, indices + count);
        });
        return list;
    };
    const std::vector<int> listA = flatten(a);
    const std::vector<int> listB = flatten(b);
    return listA == listB;
}

// Every field of the two entities. A field added to EntityInfo goes here too: a save that finds
// an entity equal to the one it read writes back the file's own text for it.
inline bool operator==(const EntityInfo& a, const EntityInfo& b) {
    const auto fields = [](const EntityInfo& e) {
        return std::tie(e.handle, e.type, e.space, e.layer, e.erased, e.colorIndex, e.trueColor,
                        e.vertices, e.vertexColours, e.subDLevel, e.corners, e.edgeVisible,
                        e.points, e.bulges, e.elevation, e.closed, e.position, e.alignmentPoint,
                        e.text, e.textStyle, e.height, e.rotation, e.horizontalMode,
                        e.verticalMode);
    };
    return fields(a) == fields(b) && sameFaces(a, b);
}
inline bool operator!=(const EntityInfo& a, const EntityInfo& b) {
    return !(a == b);
}

struct DrawingSnapshot {
    // Layer "0" first, then the others in the order they were added.
    std::vector<LayerInfo> layers;
    // Model space in drawing order, then paper space in drawing order; erased ones included.
    std::vector<EntityInfo> entities;
    // The next handle the drawing gives (handles are never reused); 0 when not known.
    std::uint64_t nextHandle = 0;
    // The DXF file the drawing was read from; null for other drawings.
    std::shared_ptr<const DxfOrigin> dxfOrigin;
};

}  // namespace kafhost
