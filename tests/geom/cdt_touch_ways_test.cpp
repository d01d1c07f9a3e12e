// Reading the ways of segments ahead of their insertion: the mesh is only read, and every walk
// ends, on sound meshes and on links that lead round in circles.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "geom/cdt/cdt_mesh.h"
#include "geom/cdt/cdt_touch_ways.h"
#include "geom/dct/dct.h"

namespace {

using geom::kCdtNone;

// The mesh's lists as bytes, to see that nothing changed.
std::vector<unsigned char> Bytes(const geom::CdtMesh& mesh) {
    std::vector<unsigned char> bytes;
    const auto add = [&bytes](const void* data, std::size_t size) {
        const auto* first = static_cast<const unsigned char*>(data);
        bytes.insert(bytes.end(), first, first + size);
    };
    for (const geom::CdtTriangle& t : mesh.triangles) {
        add(t.v, sizeof t.v);
        add(t.n, sizeof t.n);
        add(&t.fixed, sizeof t.fixed);
    }
    add(mesh.points.begin(), mesh.points.size() * sizeof(geom::PlanPoint));
    add(mesh.vertexTriangle.begin(), mesh.vertexTriangle.size() * sizeof(std::uint32_t));
    return bytes;
}

TEST(CdtTouchWays, ReadsWithoutChangingAnyLinkOnRandomWays) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 100.0);
    geom::CDCT dct;
    const std::uint32_t count = 500;
    for (std::uint32_t k = 0; k < count; ++k) {
        dct.AddPoint(unit(random), unit(random), 0.0);
    }
    geom::CdtMesh mesh;
    dct.SetRingReader([&mesh](const geom::DctRings& rings) { mesh.Build(rings, 6 * count, 0); });
    const std::vector<geom::CTriangle> room = dct.Triangulate();
    ASSERT_GT(mesh.triangles.size(), 900u);
    const std::vector<unsigned char> before = Bytes(mesh);

    // Ways across the whole cloud, to the hull, between neighbours and of zero length.
    std::uniform_int_distribution<std::uint32_t> vertex(0, count - 1);
    std::vector<std::uint32_t> ends;
    for (int k = 0; k < 300; ++k) {
        const std::uint32_t a = vertex(random);
        ends.push_back(a);
        ends.push_back(k % 10 == 0 ? a : vertex(random));
    }
    for (std::uint32_t first = 0; first < 300; first += 16) {
        geom::CdtTouchWays(mesh, ends.data() + 2 * first, std::min(16u, 300 - first));
    }
    EXPECT_EQ(Bytes(mesh), before);
}

TEST(CdtTouchWays, EndsWhereLinksLeadRoundInCircles) {
    // Two triangles that name each other across every edge, and a vertex without a triangle:
    // no walk may follow them for ever.
    geom::CdtMesh mesh;
    mesh.points = {{0, 0}, {4, 0}, {0, 4}, {4, 4}, {9, 9}};
    mesh.triangles.push_back({{0, 1, 2}, {4 * 1 + 0, 4 * 1 + 1, 4 * 1 + 2}, 0});
    mesh.triangles.push_back({{1, 3, 2}, {4 * 0 + 0, 4 * 0 + 1, 4 * 0 + 2}, 0});
    mesh.vertexTriangle = {0, 0, 0, 1, kCdtNone};
    const std::vector<unsigned char> before = Bytes(mesh);
    const std::uint32_t ends[] = {0, 3, 3, 0, 1, 2, 2, 4, 4, 0, 0, 0};
    geom::CdtTouchWays(mesh, ends, 6);
    EXPECT_EQ(Bytes(mesh), before);
}

}  // namespace
