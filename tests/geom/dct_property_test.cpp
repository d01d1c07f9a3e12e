// CDCT on random, degenerate and hard point sets (hard_geometry_sets.h): it must give a Delaunay
// triangulation of the distinct positions (checked with exact predicates), the vertex list of the
// sort, and its triangle order; never a broken mesh, a crash or a hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "checks/dct_test_support.h"
#include "checks/exact_predicates.h"
#include "checks/hard_geometry_checks.h"
#include "hard_geometry_sets.h"

namespace {

using hardgeom::At;

// Counter-clockwise order of directions from `origin`, starting at the positive x axis.
bool DirectionBefore(exact::Point origin, exact::Point a, exact::Point b) {
    auto half = [&](exact::Point p) {
        return (p.y > origin.y || (p.y == origin.y && p.x > origin.x)) ? 0 : 1;
    };
    if (half(a) != half(b)) {
        return half(a) < half(b);
    }
    return exact::ExactOrient(origin, a, b) > 0;
}

// Each triangle's corner copies are the records of its corners in the vertex list.
void ExpectCornerCopies(const dcttest::Triangulation& run) {
    for (const geom::CTriangle& t : run.triangles) {
        ASSERT_EQ(dcttest::Records({t.p1, t.p2, t.p3}),
                  dcttest::Records({run.vertices[t.i1], run.vertices[t.i2], run.vertices[t.i3]}));
    }
}

// Within one lowest corner u the triangles follow the counter-clockwise order around u: the
// directions from u to each triangle's second corner turn once round at most.
void ExpectCounterClockwiseGroups(const dcttest::Triangulation& run) {
    for (std::size_t begin = 0; begin < run.triangles.size();) {
        std::size_t end = begin;
        while (end < run.triangles.size() && run.triangles[end].i1 == run.triangles[begin].i1) {
            ++end;
        }
        const exact::Point u = At(run.vertices[run.triangles[begin].i1]);
        int descents = 0;
        for (std::size_t k = begin; k < end; ++k) {
            const std::size_t next = k + 1 < end ? k + 1 : begin;
            if (!DirectionBefore(u, At(run.vertices[run.triangles[k].i2]),
                                 At(run.vertices[run.triangles[next].i2]))) {
                ++descents;
            }
        }
        if (end - begin > 1) {
            EXPECT_EQ(descents, 1) << "triangles at vertex " << run.triangles[begin].i1
                                   << " out of counter-clockwise order";
        }
        begin = end;
    }
}

void ExpectGoodTriangulation(const std::vector<geom::CVertex>& points) {
    const dcttest::Triangulation run = dcttest::TriangulateAll(points);
    ASSERT_EQ(run.failure, "");
    ASSERT_EQ(dcttest::Records(run.vertices), dcttest::Records(dcttest::ExpectedVertices(points)));
    if (hardgeom::AllOnOneLine(run.vertices)) {
        EXPECT_TRUE(run.triangles.empty());
        return;
    }
    // Triangles in the sorted order, counter-clockwise, every edge in one or two of them, the
    // outer ones exactly the hull, as many as a triangulation of the hull has, and no vertex
    // inside a triangle's circle.
    const hardgeom::MeshFaults faults =
        hardgeom::CheckTriangulation(run.vertices, dcttest::IndexTriples(run.triangles));
    ASSERT_TRUE(faults.Valid()) << faults;
    ExpectCornerCopies(run);
    ExpectCounterClockwiseGroups(run);
}

TEST(DctProperties, ExactPredicatesSeeTheKnownSides) {
    EXPECT_EQ(exact::ExactOrient({0, 0}, {1, 0}, {0, 1}), 1);
    EXPECT_EQ(exact::ExactOrient({0, 0}, {0, 1}, {1, 0}), -1);
    EXPECT_EQ(exact::ExactOrient({0.1, 0.1}, {0.2, 0.2}, {0.3, 0.3}), 0);
    // Plain floating point gives 0 here.
    EXPECT_EQ(exact::ExactOrient({0.5, 0.5000000000000001}, {12, 12}, {24, 24}), 1);
    EXPECT_EQ(exact::ExactOrient({1e-300, 0}, {1e300, 1}, {2e300, 2}), -1);
    EXPECT_EQ(exact::ExactInCircle({-5, 0}, {5, 0}, {3, 4}, {0, 0}), 1);
    EXPECT_EQ(exact::ExactInCircle({-5, 0}, {5, 0}, {3, 4}, {4, -3}), 0);
    EXPECT_EQ(exact::ExactInCircle({-5, 0}, {5, 0}, {3, 4}, {6, 0}), -1);
}

TEST(DctProperties, UniformPoints) {
    std::mt19937_64 random(1);
    std::uniform_real_distribution<double> coordinate(0.0, 1000.0);
    std::vector<geom::CVertex> points;
    for (int i = 0; i < 20000; ++i) {
        points.emplace_back(coordinate(random), coordinate(random), i);
    }
    ExpectGoodTriangulation(points);
}

TEST(DctProperties, ClusteredPoints) {
    std::mt19937_64 random(2);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::vector<geom::CVertex> points;
    for (int cluster = 0; cluster < 20; ++cluster) {
        const double cx = 1000 * unit(random);
        const double cy = 1000 * unit(random);
        const double spread = 0.01 + 20 * unit(random);
        for (int i = 0; i < 800; ++i) {
            points.emplace_back(cx + spread * gauss(random), cy + spread * gauss(random), i);
        }
    }
    ExpectGoodTriangulation(points);
}

TEST(DctProperties, ManyDuplicatePositions) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> coordinate(-50.0, 50.0);
    std::vector<geom::CVertex> positions;
    for (int i = 0; i < 1500; ++i) {
        positions.emplace_back(coordinate(random), coordinate(random), 0);
    }
    std::uniform_int_distribution<std::size_t> pick(0, positions.size() - 1);
    std::vector<geom::CVertex> points;
    for (int i = 0; i < 10000; ++i) {
        const geom::CVertex& p = positions[pick(random)];
        points.emplace_back(p.x, p.y, i);
    }
    ExpectGoodTriangulation(points);
}

TEST(DctProperties, SmallDegenerateSets) {
    std::mt19937_64 random(6);
    for (int round = 0; round < 400; ++round) {
        std::uniform_int_distribution<int> size(3, 40);
        std::uniform_int_distribution<int> coordinate(0, round % 2 == 0 ? 3 : 6);
        std::vector<geom::CVertex> points;
        const int n = size(random);
        for (int i = 0; i < n; ++i) {
            points.emplace_back(coordinate(random), coordinate(random), i);
        }
        if (dcttest::ExpectedVertices(points).size() < 3) {
            continue;
        }
        SCOPED_TRACE(testing::Message() << "round " << round);
        ExpectGoodTriangulation(points);
        if (HasFatalFailure()) {
            return;
        }
    }
}

class DctOnHardSets : public testing::TestWithParam<hardgeom::HardSet> {};

TEST_P(DctOnHardSets, GivesTheDelaunayTriangulation) {
    ExpectGoodTriangulation(GetParam().make());
}

INSTANTIATE_TEST_SUITE_P(HardSets, DctOnHardSets, testing::ValuesIn(hardgeom::HardSets()),
                         [](const testing::TestParamInfo<hardgeom::HardSet>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
