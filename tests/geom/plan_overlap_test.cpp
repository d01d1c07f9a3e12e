// Faces that overlap seen from above are refused when meshes are joined into one surface, with
// the place of a face that overlaps; meshes that only touch along edges, at corners or where a
// corner lies on another mesh's edge are one surface. Random sets of faces are judged against a
// pairwise check of every two faces.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "geom/kernel/exact_predicates.h"
#include "surface_test_support.h"

namespace {

using geom::SurfaceStatus;

struct Corner {
    double x, y;
};

// One mesh of the given faces, each listing its corners (any turn), vertices not shared.
geom::SurfaceMesh Faces(const std::vector<std::vector<Corner>>& faces) {
    geom::SurfaceMesh mesh;
    for (const std::vector<Corner>& face : faces) {
        const std::int32_t first = static_cast<std::int32_t>(mesh.vertices.size());
        for (const Corner& c : face) {
            mesh.vertices.emplace_back(c.x, c.y, 10.0);
        }
        mesh.faces.push_back({first, first + 1, first + 2});
    }
    return mesh;
}

// A rectangle as two faces, the first holding the bottom edge.
geom::SurfaceMesh Rectangle(double x0, double y0, double x1, double y1) {
    return Faces({{{x0, y0}, {x1, y0}, {x1, y1}}, {{x0, y0}, {x1, y1}, {x0, y1}}});
}

struct Outcome {
    SurfaceStatus status;
    geom::MeshPosition where;
};

Outcome Join(const std::vector<geom::SurfaceMesh>& meshes) {
    geom::WeldedSurface surface;
    Outcome outcome{SurfaceStatus::Ok, {99, 99}};
    outcome.status = geom::WeldSurface(meshes, surface, &outcome.where);
    return outcome;
}

TEST(PlanOverlap, MeshesThatOnlyTouchAreOneSurface) {
    struct Case {
        const char* what;
        std::vector<geom::SurfaceMesh> meshes;
    };
    const std::vector<Case> cases = {
        {"side by side", {Rectangle(0, 0, 10, 10), Rectangle(10, 0, 20, 10)}},
        {"corner to corner", {Rectangle(0, 0, 10, 10), Rectangle(10, 10, 20, 20)}},
        {"a corner on the other's edge (split edge)",
         {Rectangle(0, 0, 10, 10), Faces({{{0, 10}, {5, 10}, {0, 20}},
                                          {{5, 10}, {10, 10}, {10, 20}},
                                          {{5, 10}, {10, 20}, {0, 20}}})}},
        {"a corner on the other's edge from outside",
         {Rectangle(0, 0, 10, 10), Faces({{{5, 10}, {9, 15}, {1, 15}}})}},
        {"a hole filled by another mesh",
         {Faces({{{0, 0}, {30, 0}, {10, 10}},
                 {{30, 0}, {20, 10}, {10, 10}},
                 {{30, 0}, {30, 30}, {20, 10}},
                 {{30, 30}, {20, 20}, {20, 10}},
                 {{30, 30}, {0, 30}, {20, 20}},
                 {{0, 30}, {10, 20}, {20, 20}},
                 {{0, 30}, {0, 0}, {10, 20}},
                 {{0, 0}, {10, 10}, {10, 20}}}),
          Rectangle(10, 10, 20, 20)}},
        {"vertical edges touching", {Rectangle(0, 0, 10, 10), Rectangle(10, 5, 20, 30)}},
        {"far apart", {Rectangle(0, 0, 1, 1), Rectangle(1e6, 1e6, 1e6 + 1, 1e6 + 1)}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Join(c.meshes).status, SurfaceStatus::Ok) << c.what;
    }
}

TEST(PlanOverlap, OverlapsAreRefusedWithAFaceThatOverlaps) {
    struct Case {
        const char* what;
        std::vector<geom::SurfaceMesh> meshes;
        std::size_t mesh;
        std::size_t face;
    };
    const std::vector<Case> cases = {
        // The two meshes: the second lies inside the first.
        {"a mesh inside another", {Rectangle(0, 0, 100, 100), Rectangle(30, 20, 70, 80)}, 1, 0},
        {"a face inside another mesh",
         {Rectangle(0, 0, 100, 100), Faces({{{40, 40}, {60, 40}, {50, 60}}})},
         1,
         0},
        {"crossing edges", {Rectangle(0, 0, 10, 10), Rectangle(5, 5, 15, 15)}, 1, 0},
        {"a star of two faces",
         {Faces({{{0, 0}, {12, 0}, {6, 9}}, {{0, 6}, {6, -3}, {12, 6}}})},
         0,
         1},
        {"sharing part of an edge on one side",
         {Rectangle(0, 0, 10, 10), Faces({{{2, 0}, {8, 0}, {5, 3}}})},
         1,
         0},
        {"a corner on the other's edge from inside",
         {Rectangle(0, 0, 10, 10), Faces({{{5, 10}, {1, 5}, {9, 5}}})},
         1,
         0},
        {"the same rectangle cut the other way",
         {Rectangle(0, 0, 10, 10),
          Faces({{{0, 0}, {10, 0}, {0, 10}}, {{10, 0}, {10, 10}, {0, 10}}})},
         1,
         0},
        {"a fan around a corner twice",
         {Faces({{{0, 0}, {4, 0}, {0, 4}},
                 {{0, 0}, {0, 4}, {-4, 0}},
                 {{0, 0}, {-4, 0}, {0, -4}},
                 {{0, 0}, {0, -4}, {8, 1}},
                 {{0, 0}, {8, 1}, {1, 8}}})},
         0,
         0},
    };
    for (const Case& c : cases) {
        const Outcome outcome = Join(c.meshes);
        EXPECT_EQ(outcome.status, SurfaceStatus::OverlappingFaces) << c.what;
        EXPECT_EQ(outcome.where.mesh, c.mesh) << c.what;
        EXPECT_EQ(outcome.where.index, c.face) << c.what;
    }
}

// Whether the interiors of two faces overlap: they do unless a line along an edge of one has
// each face on its own side (convex shapes are apart exactly when such a line exists).
bool InteriorsOverlap(const geom::PlanPoint (&a)[3], const geom::PlanPoint (&b)[3]) {
    auto apartAlongEdgeOf = [](const geom::PlanPoint(&p)[3], const geom::PlanPoint(&q)[3]) {
        const int turn = geom::ExactOrientSign(p[0], p[1], p[2]);
        for (int k = 0; k < 3; ++k) {
            bool apart = true;
            for (const geom::PlanPoint& v : q) {
                apart = apart && geom::ExactOrientSign(p[k], p[(k + 1) % 3], v) * turn <= 0;
            }
            if (apart) {
                return true;
            }
        }
        return false;
    };
    return !apartAlongEdgeOf(a, b) && !apartAlongEdgeOf(b, a);
}

// Faces of a small grid (corners on integer positions, many of them shared, on one line or on
// others' edges), some of a triangulated grid and some at random, spread over three meshes.
TEST(PlanOverlap, RandomFacesAgreeWithTheCheckOfEveryPair) {
    std::mt19937 random(2126);
    std::uniform_int_distribution<int> coordinate(0, 6);
    int refused = 0;
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::vector<Corner>> faces;
        for (int i = 0; i < 6; ++i) {
            for (int j = 0; j < 6; ++j) {
                if (random() % 4 == 0) {
                    const double x = i, y = j;
                    faces.push_back(random() % 2 == 0
                                        ? std::vector<Corner>{{x, y}, {x + 1, y}, {x + 1, y + 1}}
                                        : std::vector<Corner>{{x, y}, {x + 1, y + 1}, {x, y + 1}});
                }
            }
        }
        const int extra = static_cast<int>(random() % 3);
        for (int k = 0; k < extra; ++k) {
            std::vector<Corner> face;
            for (int c = 0; c < 3; ++c) {
                face.push_back({static_cast<double>(coordinate(random)),
                                static_cast<double>(coordinate(random))});
            }
            faces.push_back(face);
        }
        std::vector<std::vector<std::vector<Corner>>> parts(3);
        bool overlap = false;
        std::vector<std::array<geom::PlanPoint, 3>> flat;
        for (const std::vector<Corner>& face : faces) {
            parts[random() % 3].push_back(face);
            const geom::PlanPoint p[3] = {
                {face[0].x, face[0].y}, {face[1].x, face[1].y}, {face[2].x, face[2].y}};
            if (geom::ExactOrientSign(p[0], p[1], p[2]) == 0) {
                continue;  // a face on one line covers no plan
            }
            for (const std::array<geom::PlanPoint, 3>& other : flat) {
                const geom::PlanPoint q[3] = {other[0], other[1], other[2]};
                overlap = overlap || InteriorsOverlap(p, q);
            }
            flat.push_back({p[0], p[1], p[2]});
        }
        std::vector<geom::SurfaceMesh> meshes;
        for (const auto& part : parts) {
            meshes.push_back(Faces(part));
        }
        const SurfaceStatus status = Join(meshes).status;
        ASSERT_EQ(status, overlap ? SurfaceStatus::OverlappingFaces : SurfaceStatus::Ok)
            << "round " << round;
        (overlap ? refused : accepted) += 1;
    }
    // Both outcomes are met often.
    EXPECT_GT(refused, 500);
    EXPECT_GT(accepted, 500);
}

}  // namespace
