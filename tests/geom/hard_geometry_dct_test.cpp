// CDCT on hard point sets: it must give a valid Delaunay triangulation of the distinct plan
// positions (checked exactly), never a broken mesh, a crash or a hang.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dct_test_support.h"
#include "hard_geometry_checks.h"
#include "hard_geometry_sets.h"

namespace {

using hardgeom::Points;

std::vector<hardgeom::Corners> CornersOf(const std::vector<geom::CTriangle>& triangles) {
    std::vector<hardgeom::Corners> corners;
    for (const geom::CTriangle& t : triangles) {
        corners.push_back({t.i1, t.i2, t.i3});
    }
    return corners;
}

// The run's vertex list is that of the sort, its corner copies match it, and the triangles are
// a Delaunay triangulation of the vertices (none when they are all on one line).
void ExpectDelaunay(const std::string& name, const Points& points) {
    SCOPED_TRACE(name);
    const dcttest::Triangulation run = dcttest::TriangulateAll(points);
    ASSERT_EQ(run.failure, "");
    const std::vector<geom::CVertex> expected = dcttest::ExpectedVertices(points);
    ASSERT_EQ(run.vertices.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        ASSERT_TRUE(run.vertices[k].x == expected[k].x && run.vertices[k].y == expected[k].y);
    }
    if (hardgeom::AllOnOneLine(run.vertices)) {
        EXPECT_TRUE(run.triangles.empty());
        return;
    }
    for (const geom::CTriangle& t : run.triangles) {
        ASSERT_TRUE(t.p1.x == run.vertices[t.i1].x && t.p2.y == run.vertices[t.i2].y &&
                    t.p3.x == run.vertices[t.i3].x);
    }
    const hardgeom::MeshFaults faults =
        hardgeom::CheckTriangulation(run.vertices, CornersOf(run.triangles));
    EXPECT_TRUE(faults.Valid()) << "bad corners " << faults.badCorners << ", clockwise or flat "
                                << faults.notCounterClockwise << ", repeated edges "
                                << faults.repeatedEdges << ", boundary off the hull "
                                << faults.boundaryOffHull << ", count off by "
                                << faults.countMismatch << ", overlapping pairs " << faults.overlaps
                                << " (of " << run.triangles.size() << ")";
    EXPECT_EQ(faults.notDelaunay, 0u) << "edges not locally Delaunay";
}

TEST(HardGeometryDct, NearlyCollinearPoints) {
    ExpectDelaunay("ulp grid on y = x", hardgeom::NearlyCollinearUlpGrid(16));
    ExpectDelaunay("lines with binary-inexact slopes", hardgeom::NearlyCollinearLines(500, 31));
    ExpectDelaunay("line with a near apex", hardgeom::LineWithApex(1000));
}

TEST(HardGeometryDct, CocircularPoints) {
    ExpectDelaunay("lattice circle", hardgeom::LatticeCircle(5525LL * 5525));
    ExpectDelaunay("rounded circle", hardgeom::RoundedCircle(1000, 100.0, 0.0, 0.0));
    ExpectDelaunay("rounded circle far out",
                   hardgeom::RoundedCircle(1000, 30.0, 350123.456, 5800456.789));
    ExpectDelaunay("decimal grid", hardgeom::ScaledGrid(60, 0.1, 32));
    ExpectDelaunay("survey grid", hardgeom::SurveyGrid(60));
}

TEST(HardGeometryDct, SurveyCoordinates) {
    ExpectDelaunay("survey points", hardgeom::SurveyPoints(4000, 33));
}

TEST(HardGeometryDct, TinyAndHugeMagnitudes) {
    ExpectDelaunay("tiny uniform", hardgeom::ScaledUniform(2000, 1e-300, 34));
    ExpectDelaunay("tiny grid", hardgeom::ScaledGrid(30, 1e-300, 35));
    ExpectDelaunay("subnormal grid", hardgeom::ScaledGrid(20, 1e-320, 36));
    ExpectDelaunay("huge uniform", hardgeom::ScaledUniform(2000, 1e300, 37));
    ExpectDelaunay("huge grid", hardgeom::ScaledGrid(30, 1e302, 38));
}

TEST(HardGeometryDct, PointsALastBitApart) {
    ExpectDelaunay("ulp block at 1", hardgeom::LastBitBlock(1.0, 1.0, 12));
    ExpectDelaunay("ulp block at survey coordinates",
                   hardgeom::LastBitBlock(350123.456, 5800456.789, 12));
    Points mixed = hardgeom::LastBitBlock(350123.456, 5800456.789, 6);
    hardgeom::Add(mixed, 350124.0, 5800456.0);
    hardgeom::Add(mixed, 350122.0, 5800458.0);
    ExpectDelaunay("ulp block with far points", mixed);
}

TEST(HardGeometryDct, ManyCopiesOfThreePoints) {
    const dcttest::Triangulation run = dcttest::TriangulateAll(hardgeom::CopiesOfThree(1000000));
    ASSERT_EQ(run.failure, "");
    ASSERT_EQ(run.vertices.size(), 3u);
    EXPECT_EQ(dcttest::IndexTriples(run.triangles), (std::vector<dcttest::Corners>{{0, 2, 1}}));
}

TEST(HardGeometryDct, AdversarialOrders) {
    ExpectDelaunay("two vertical lines", hardgeom::TwoVerticalLines(300));
    ExpectDelaunay("parabola", hardgeom::Parabola(1000));
    ExpectDelaunay("spiral", hardgeom::Spiral(3000));
    ExpectDelaunay("descending", hardgeom::Descending(5000, 39));
}

}  // namespace
