#include "geom/surface/weld_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <new>
#include <utility>

#include "geom/kernel/large_allocation.h"
#include "geom/surface/find_plan_overlap.h"
#include "geom/surface/link_mesh_neighbours.h"
#include "geom/surface/plan_orient_sign.h"

namespace geom {

namespace {

struct Fault {
    SurfaceStatus status;
    std::size_t global;  // vertex or face position over all meshes
};

class CWelder {
public:
    CWelder(const std::vector<SurfaceMesh>& meshes, WeldedSurface& surface,
            const SurfaceProgress& progress)
        : meshes_(meshes), surface_(surface) {
        if (progress) {
            // Linking may start again the other way (Run); the count heard never falls.
            progress_ = [this, &progress](std::size_t done, std::size_t total) {
                if (done >= reported_) {
                    reported_ = done;
                    progress(done, total);
                }
            };
        }
    }

    Fault Run() {
        if (Fault f = CheckInput(); f.status != SurfaceStatus::Ok) {
            return f;
        }
        if (Fault f = WeldPoints(); f.status != SurfaceStatus::Ok) {
            return f;
        }
        MakeTriangles();
        if (repeatedInMesh_ || !LinkByMeshes()) {
            for (SurfaceTriangle& t : surface_.triangles) {
                t.across[0] = t.across[1] = t.across[2] = -1;
            }
            if (Fault f = LinkNeighbours(); f.status != SurfaceStatus::Ok) {
                return f;
            }
        }
        welded_.reset();
        shared_.reset();
        const std::int32_t overlapping = FindPlanOverlap(surface_);
        if (overlapping >= 0) {
            return {SurfaceStatus::OverlappingFaces,
                    triangleFace_[static_cast<std::size_t>(overlapping)]};
        }
        return {SurfaceStatus::Ok, 0};
    }

    // Mesh and position within it of a vertex (or face) counted over all meshes.
    MeshPosition Locate(std::size_t global, bool face) const {
        const std::vector<std::size_t>& starts = face ? faceStarts_ : vertexStarts_;
        const std::size_t mesh =
            static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), global) -
                                     starts.begin()) -
            1;
        return {mesh, global - starts[mesh]};
    }

private:
    Fault CheckInput() {
        std::size_t vertexCount = 0;
        std::size_t faceCount = 0;
        for (const SurfaceMesh& mesh : meshes_) {
            vertexStarts_.push_back(vertexCount);
            faceStarts_.push_back(faceCount);
            for (std::size_t v = 0; v < mesh.vertices.size(); ++v) {
                const CVertex& p = mesh.vertices[v];
                if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
                    return {SurfaceStatus::NonFiniteCoordinate, vertexCount + v};
                }
            }
            const std::int64_t size = static_cast<std::int64_t>(mesh.vertices.size());
            for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
                const MeshFace& face = mesh.faces[f];
                for (std::int32_t i : {face.i1, face.i2, face.i3}) {
                    if (i < 0 || i >= size) {
                        return {SurfaceStatus::FaceIndexOutOfRange, faceCount + f};
                    }
                }
            }
            vertexCount += mesh.vertices.size();
            faceCount += mesh.faces.size();
        }
        vertexCount_ = vertexCount;
        faceCount_ = faceCount;
        // Points are numbered in 32-bit signed integers; triangles times four in 32 bits.
        if (vertexCount > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
            faceCount >= (std::size_t{1} << 30)) {
            return {SurfaceStatus::TooManyElements, 0};
        }
        return {SurfaceStatus::Ok, 0};
    }

    // Sorts all vertices by plan position and numbers each distinct position once; notes the
    // positions that more than one vertex holds, and whether one mesh holds a position twice.
    Fault WeldPoints() {
        struct Key {
            double x;
            double y;
            double z;
            std::uint32_t global;
            std::uint32_t mesh;
        };
        std::vector<Key> keys;
        PrepareVectorForWriting(keys, vertexCount_);
        // At most: repeated vertices become one.
        PrepareVectorForWriting(surface_.points, vertexCount_);
        for (std::size_t m = 0; m < meshes_.size(); ++m) {
            for (const CVertex& p : meshes_[m].vertices) {
                keys.push_back({p.x, p.y, p.z, static_cast<std::uint32_t>(keys.size()),
                                static_cast<std::uint32_t>(m)});
            }
        }
        std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
            if (a.x != b.x) {
                return a.x < b.x;
            }
            if (a.y != b.y) {
                return a.y < b.y;
            }
            return a.global < b.global;
        });
        welded_.reset(new std::int32_t[keys.size()]);
        shared_.reset(new std::uint8_t[keys.size()]);
        for (std::size_t k = 0; k < keys.size();) {
            const Key& first = keys[k];
            std::size_t end = k + 1;
            for (; end < keys.size() && keys[end].x == first.x && keys[end].y == first.y; ++end) {
                if (keys[end].z != first.z) {
                    return {SurfaceStatus::ConflictingElevation, keys[end].global};
                }
                // One mesh's vertices are numbered together, so its repeats come one after another.
                repeatedInMesh_ = repeatedInMesh_ || keys[end].mesh == keys[end - 1].mesh;
            }
            const std::int32_t point = static_cast<std::int32_t>(surface_.points.size());
            surface_.points.push_back({first.x, first.y, first.z});
            const std::uint8_t shared = end - k > 1 ? 1 : 0;
            for (; k < end; ++k) {
                welded_[keys[k].global] = point;
                shared_[keys[k].global] = shared;
            }
        }
        return {SurfaceStatus::Ok, 0};
    }

    void MakeTriangles() {
        // At most: some become walls or collapse.
        PrepareVectorForWriting(surface_.triangles, faceCount_);
        PrepareVectorForWriting(triangleFace_, faceCount_);
        std::size_t faceGlobal = 0;
        for (std::size_t m = 0; m < meshes_.size(); ++m) {
            triangleStarts_.push_back(surface_.triangles.size());
            const std::int32_t offset = static_cast<std::int32_t>(vertexStarts_[m]);
            for (const MeshFace& face : meshes_[m].faces) {
                std::int32_t c[3] = {welded_[offset + face.i1], welded_[offset + face.i2],
                                     welded_[offset + face.i3]};
                const std::size_t global = faceGlobal++;
                if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2]) {
                    ++surface_.collapsedFaces;
                    continue;
                }
                // The mesh's own vertices lie at their points' positions, and close together.
                const std::vector<CVertex>& p = meshes_[m].vertices;
                const int orientation = Orient(PlanOf(p[static_cast<std::size_t>(face.i1)]),
                                               PlanOf(p[static_cast<std::size_t>(face.i2)]),
                                               PlanOf(p[static_cast<std::size_t>(face.i3)]));
                if (orientation == 0) {
                    surface_.walls.push_back({{c[0], c[1], c[2]}});
                    continue;
                }
                if (orientation < 0) {
                    std::swap(c[1], c[2]);
                }
                surface_.triangles.push_back({{c[0], c[1], c[2]}, {-1, -1, -1}});
                triangleFace_.push_back(global);
            }
        }
        triangleStarts_.push_back(surface_.triangles.size());
    }

    // Links neighbours within each mesh by its own vertex numbers, then across the seams
    // (link_mesh_neighbours.h), for meshes that hold each point once. False when faces overlap:
    // then LinkNeighbours finds the first fault.
    bool LinkByMeshes() {
        MeshLinkWork work;
        std::vector<std::int32_t> local;
        std::vector<SeamEdge> seams;
        for (std::size_t m = 0; m < meshes_.size(); ++m) {
            const std::size_t first = triangleStarts_[m];
            const std::size_t count = triangleStarts_[m + 1] - first;
            const std::size_t offset = vertexStarts_[m];
            local.resize(3 * count);
            for (std::size_t i = 0; i < count; ++i) {
                const MeshFace& face = meshes_[m].faces[triangleFace_[first + i] - faceStarts_[m]];
                const bool turned =  // as MakeTriangles turned it
                    welded_[offset + static_cast<std::size_t>(face.i2)] !=
                    surface_.triangles[first + i].corner[1];
                local[3 * i] = face.i1;
                local[3 * i + 1] = turned ? face.i3 : face.i2;
                local[3 * i + 2] = turned ? face.i2 : face.i3;
            }
            const MeshTriangles mesh{first, count, local.data(), shared_.get() + offset,
                                     meshes_[m].vertices.size()};
            if (!LinkWithinMesh(mesh, surface_.triangles, work, seams, progress_)) {
                return false;
            }
        }
        if (!JoinSeams(seams, surface_.triangles)) {
            return false;
        }
        if (progress_) {
            progress_(surface_.triangles.size(), surface_.triangles.size());
        }
        return true;
    }

    // Finds, for every triangle edge a -> b, the triangle holding b -> a among the triangles
    // at a. A second triangle holding a -> b, or two holding b -> a, overlap.
    Fault LinkNeighbours() {
        std::vector<SurfaceTriangle>& triangles = surface_.triangles;
        std::vector<std::uint32_t> start(surface_.points.size() + 1, 0);
        for (const SurfaceTriangle& t : triangles) {
            for (std::int32_t c : t.corner) {
                ++start[c + 1];
            }
        }
        for (std::size_t v = 1; v < start.size(); ++v) {
            start[v] += start[v - 1];
        }
        // Per point, the triangles at it with the corner it is: triangle * 4 + corner.
        std::vector<std::uint32_t> incident(start.back());
        {
            std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
            for (std::size_t t = 0; t < triangles.size(); ++t) {
                for (std::uint32_t k = 0; k < 3; ++k) {
                    incident[fill[triangles[t].corner[k]]++] =
                        static_cast<std::uint32_t>(t) * 4 + k;
                }
            }
        }
        for (std::size_t t = 0; t < triangles.size(); ++t) {
            if (progress_ && t % kProgressStride == 0) {
                progress_(t, triangles.size());
            }
            for (int k = 0; k < 3; ++k) {
                if (triangles[t].across[k] >= 0) {
                    continue;
                }
                const std::int32_t a = triangles[t].corner[k];
                const std::int32_t b = triangles[t].corner[(k + 1) % 3];
                std::int32_t found = -1;
                int foundEdge = 0;
                for (std::uint32_t i = start[a]; i < start[a + 1]; ++i) {
                    const std::int32_t g = static_cast<std::int32_t>(incident[i] / 4);
                    const int j = static_cast<int>(incident[i] % 4);  // a is corner j of g
                    if (static_cast<std::size_t>(g) == t) {
                        continue;
                    }
                    if (triangles[g].corner[(j + 1) % 3] == b) {
                        return {SurfaceStatus::OverlappingFaces,
                                triangleFace_[std::max<std::size_t>(t, g)]};
                    }
                    if (triangles[g].corner[(j + 2) % 3] == b) {
                        if (found >= 0) {
                            return {SurfaceStatus::OverlappingFaces,
                                    triangleFace_[std::max(found, g)]};
                        }
                        found = g;
                        foundEdge = (j + 2) % 3;  // the edge from b to a
                    }
                }
                if (found >= 0) {
                    triangles[t].across[k] = found;
                    triangles[found].across[foundEdge] = static_cast<std::int32_t>(t);
                }
            }
        }
        if (progress_) {
            progress_(triangles.size(), triangles.size());
        }
        return {SurfaceStatus::Ok, 0};
    }

    const std::vector<SurfaceMesh>& meshes_;
    WeldedSurface& surface_;
    SurfaceProgress progress_;
    std::size_t reported_ = 0;
    std::vector<std::size_t> vertexStarts_;
    std::vector<std::size_t> faceStarts_;
    std::size_t vertexCount_ = 0;  // over all meshes
    std::size_t faceCount_ = 0;
    std::unique_ptr<std::int32_t[]> welded_;   // welded point of each vertex over all meshes
    std::unique_ptr<std::uint8_t[]> shared_;   // per vertex: its point is held by other vertices
    bool repeatedInMesh_ = false;              // a mesh holds a point twice
    std::vector<std::size_t> triangleStarts_;  // per mesh, and the end
    std::vector<std::size_t> triangleFace_;    // face over all meshes of each triangle
};

}  // namespace

SurfaceStatus WeldSurface(const std::vector<SurfaceMesh>& meshes, WeldedSurface& surface,
                          MeshPosition* where, const SurfaceProgress& progress) {
    surface = WeldedSurface();
    Fault fault{SurfaceStatus::Ok, 0};
    bool face = false;
    try {
        CWelder welder(meshes, surface, progress);
        fault = welder.Run();
        face = fault.status == SurfaceStatus::FaceIndexOutOfRange ||
               fault.status == SurfaceStatus::OverlappingFaces;
        if (fault.status != SurfaceStatus::Ok && where != nullptr) {
            *where = welder.Locate(fault.global, face);
        }
    } catch (const std::bad_alloc&) {
        fault.status = SurfaceStatus::OutOfMemory;
    }
    if (fault.status != SurfaceStatus::Ok) {
        surface = WeldedSurface();
    }
    return fault.status;
}

}  // namespace geom
