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
    return entity.type == L"AcDbSubDMesh" || entity.type == L"AcDbPolyFaceMesh" ||
           entity.type == L"AcDbFace";
}

std::vector<std::vector<kafhost::Point3>> SurfaceFaces(const kafhost::EntityInfo& entity) {
    std::vector<std::vector<int>> faces = entity.faces;
    const std::vector<kafhost::Point3>& vertices =
        entity.type == L"AcDbFace" ? entity.corners : entity.vertices;
    if (entity.type == L"AcDbFace") {
        faces = {{0, 1, 2, 3}};
    }
    std::vector<std::vector<kafhost::Point3>> cornerLists;
    for (const std::vector<int>& face : faces) {
        std::vector<kafhost::Point3> corners;
        for (const int number : face) {
            // Polyface face records number their vertices from 1, negative for a hidden edge, 0
            // for none.
            const bool polyface = entity.type == L"AcDbPolyFaceMesh";
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
                           kafhost::wideToUtf8(found->second->type) + ", not a mesh or 3D face");
        }
        AddEntity(*found->second, triangles);
    }
    return triangles;
}

}  // namespace kafcad
