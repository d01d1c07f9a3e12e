#include "app/gis/surface_triangles.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <map>

#include "app/gis/coordinate_system.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

void AddFan(const std::vector<kafhost::Point3>& corners, std::vector<PlanTriangle>& triangles) {
    for (std::size_t i = 2; i < corners.size(); ++i) {
        triangles.push_back({corners[0], corners[i - 1], corners[i]});
    }
}

void AddEntity(const kafhost::EntityInfo& entity, std::vector<PlanTriangle>& triangles) {
    for (const std::vector<kafhost::Point3>& corners : SurfaceFaces(entity)) {
        AddFan(corners, triangles);
    }
}

std::wstring Upper(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    return text;
}

}  // namespace

bool IsSurface(const kafhost::EntityInfo& entity) {
    return entity.type == kafhost::EntityKind::kSubDMesh ||
           entity.type == kafhost::EntityKind::kPolyFaceMesh ||
           entity.type == kafhost::EntityKind::kFace;
}

std::vector<std::vector<kafhost::Point3>> SurfaceFaces(const kafhost::EntityInfo& entity) {
    const bool face = entity.type == kafhost::EntityKind::kFace;
    const std::vector<kafhost::Point3>& vertices = face ? entity.corners : entity.vertices;
    // Polyface face records number their vertices from 1, negative for a hidden edge, 0 for none.
    const bool polyface = entity.type == kafhost::EntityKind::kPolyFaceMesh;
    std::vector<std::vector<kafhost::Point3>> cornerLists;
    const auto addFace = [&](const int* numbers, std::size_t count) {
        std::vector<kafhost::Point3> corners;
        for (std::size_t k = 0; k < count; ++k) {
            const int number = numbers[k];
            if (polyface && number == 0) {
                continue;
            }
            const int index = polyface ? std::abs(number) - 1 : number;
            if (index < 0 || index >= static_cast<int>(vertices.size())) {
                throw GisError("mesh " + kafhost::wideToUtf8(entity.handle) +
                               ": a face names a vertex the mesh lacks");
            }
            const kafhost::Point3& corner = vertices[static_cast<std::size_t>(index)];
            if (corners.empty() || (corner != corners.back() && corner != corners.front())) {
                corners.push_back(corner);
            }
        }
        cornerLists.push_back(corners);
    };
    if (face) {
        const int quad[] = {0, 1, 2, 3};
        addFace(quad, 4);
    } else {
        kafhost::forEachFace(entity, addFace);
    }
    return cornerLists;
}

std::vector<PlanTriangle> DrawingTriangles(const kafhost::DrawingSnapshot& drawing,
                                           const std::vector<std::wstring>& handles) {
    std::vector<PlanTriangle> triangles;
    if (handles.empty()) {
        for (const kafhost::EntityInfo& entity : drawing.entities) {
            if (IsSurface(entity) && !entity.erased && entity.space == L"model") {
                AddEntity(entity, triangles);
            }
        }
        return triangles;
    }
    std::map<std::wstring, const kafhost::EntityInfo*> byHandle;
    for (const kafhost::EntityInfo& entity : drawing.entities) {
        if (!entity.erased) {
            byHandle[entity.handle] = &entity;
        }
    }
    for (const std::wstring& handle : handles) {
        const auto found = byHandle.find(Upper(handle));
        if (found == byHandle.end()) {
            throw GisError("the drawing has no entity with the handle " +
                           kafhost::wideToUtf8(handle));
        }
        if (!IsSurface(*found->second)) {
            throw GisError("the entity " + kafhost::wideToUtf8(handle) + " is a " +
                           kafhost::wideToUtf8(kafhost::entityKindName(found->second->type)) +
                           ", not a mesh or 3D face");
        }
        AddEntity(*found->second, triangles);
    }
    return triangles;
}

}  // namespace kafcad
