// SplitLikeWriter(mesh, maxPoints): the mesh cut into meshes the way the splitting mesh writer
// cuts a triangulation: faces taken in order, a new mesh begun before a face once the current one
// holds maxPoints - 2 vertices, each mesh with its own numbering (shared vertices repeated).
#pragma once

#include <unordered_map>
#include <vector>

#include "geom/surface/surface_mesh.h"

namespace surfacetest {

inline std::vector<geom::SurfaceMesh> SplitLikeWriter(const geom::SurfaceMesh& mesh,
                                                      std::size_t maxPoints) {
    std::vector<geom::SurfaceMesh> parts;
    std::unordered_map<int, int> local;
    for (const geom::MeshFace& face : mesh.faces) {
        if (parts.empty() || local.size() >= maxPoints - 2) {
            parts.emplace_back();
            local.clear();
        }
        geom::SurfaceMesh& part = parts.back();
        auto number = [&](int global) {
            auto it = local.find(global);
            if (it != local.end()) {
                return it->second;
            }
            const int k = static_cast<int>(part.vertices.size());
            local.emplace(global, k);
            part.vertices.push_back(mesh.vertices[global]);
            return k;
        };
        const int a = number(face.i1);
        const int b = number(face.i2);
        const int c = number(face.i3);
        part.faces.push_back({a, b, c});
    }
    return parts;
}

}  // namespace surfacetest
