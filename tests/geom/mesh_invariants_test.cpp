// The mesh structures' link checks: they pass on sound links and stop the program, naming the
// broken invariant, on each kind of corruption they are there to catch.
#include <gtest/gtest.h>

#include <cstdint>

#include "geom/cdt/cdt_check_links.h"
#include "geom/dct/dct_check_rings.h"

namespace {

using geom::kCdtNone;

// The unit square as two triangles, 0-1-2 and 0-2-3, joined across the diagonal 0-2 (opposite
// corner 1 of the first, corner 2 of the second).
geom::CdtMesh Square() {
    geom::CdtMesh mesh;
    mesh.points = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    mesh.triangles.push_back({{0, 1, 2}, {kCdtNone, 4 * 1 + 2, kCdtNone}, 0});
    mesh.triangles.push_back({{0, 2, 3}, {kCdtNone, kCdtNone, 4 * 0 + 1}, 0});
    mesh.vertexTriangle = {0, 0, 0, 1};
    return mesh;
}

TEST(MeshInvariants, ConstrainedMeshLinks) {
    geom::CdtCheckLinks(Square());  // sound: returns

    geom::CdtMesh oneSided = Square();
    oneSided.triangles[1].n[2] = kCdtNone;
    EXPECT_DEATH(geom::CdtCheckLinks(oneSided), "a neighbour link is not mirrored");

    geom::CdtMesh marked = Square();
    marked.triangles[0].fixed = 1u << 1;  // the diagonal a constraint on one side only
    EXPECT_DEATH(geom::CdtCheckLinks(marked), "a constraint mark differs on the two sides");

    geom::CdtMesh renamed = Square();
    renamed.triangles[1].v[1] = 1;  // the second triangle names the diagonal 0-1
    EXPECT_DEATH(geom::CdtCheckLinks(renamed), "neighbours name their shared edge differently");

    geom::CdtMesh lost = Square();
    lost.vertexTriangle[3] = 0;
    EXPECT_DEATH(geom::CdtCheckLinks(lost), "a vertex's triangle does not hold it");
}

// A triangle's three edges 0->1, 1->2, 2->0: ends 2e at the origin, 2e + 1 at the destination;
// each vertex's ring holds its two ends.
struct Rings {
    geom::DctEdgeEnd ends[6] = {{0, 5, 5}, {1, 2, 2}, {1, 1, 1}, {2, 4, 4}, {2, 3, 3}, {0, 0, 0}};
    std::uint32_t entries[3] = {0, 1, 3};
};

TEST(MeshInvariants, DctEdgeRings) {
    const Rings sound;
    geom::DctCheckRings(3, sound.entries, sound.ends);

    Rings unmirrored;
    unmirrored.ends[0].next = 0;
    EXPECT_DEATH(geom::DctCheckRings(3, unmirrored.entries, unmirrored.ends),
                 "next and prev do not mirror each other");

    Rings elsewhere;
    elsewhere.entries[2] = 1;  // vertex 2's entry is an end at vertex 1
    EXPECT_DEATH(geom::DctCheckRings(3, elsewhere.entries, elsewhere.ends),
                 "an end of a vertex's ring lies at another vertex");

    Rings loop;
    loop.ends[3].vertex = 1;  // edge 1 runs from vertex 1 to vertex 1
    loop.ends[4].vertex = 1;
    loop.entries[2] = geom::kDctNone;
    EXPECT_DEATH(geom::DctCheckRings(3, loop.entries, loop.ends),
                 "an edge runs from a vertex to itself");
}

}  // namespace
