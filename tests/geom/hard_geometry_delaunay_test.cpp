// CDelaunay on hard point sets. It loses hull triangles and uses a tolerance by design, so what
// must hold is: nothing thrown, no crash or hang, every triangle three distinct input points, and
// no two triangles overlapping (checked exactly).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "delaunay_oracle.h"
#include "geom/delaunay.h"
#include "hard_geometry_checks.h"
#include "hard_geometry_sets.h"

namespace {

void ExpectNoOverlap(const std::string& name, const hardgeom::Points& points) {
    SCOPED_TRACE(name);
    geom::CDelaunay engine;
    for (const geom::CVertex& p : points) {
        engine.AddPoint(p.x, p.y, p.z);
    }
    std::vector<geom::CTriangle> triangles;
    ASSERT_NO_THROW(triangles = engine.Triangulate());
    const int n = static_cast<int>(points.size());
    std::vector<hardgeom::Corners> corners;
    for (const geom::CTriangle& t : triangles) {
        ASSERT_TRUE(t.i1 >= 0 && t.i1 < n && t.i2 >= 0 && t.i2 < n && t.i3 >= 0 && t.i3 < n)
            << t.i1 << " " << t.i2 << " " << t.i3;
        ASSERT_TRUE(t.i1 != t.i2 && t.i2 != t.i3 && t.i1 != t.i3);
        corners.push_back({t.i1, t.i2, t.i3});
    }
    const std::vector<geom::CVertex> sorted(engine.PointStore().begin(),
                                            engine.PointStore().begin() + n);
    EXPECT_EQ(hardgeom::CountOverlaps(sorted, corners), 0u)
        << "overlapping pairs among " << triangles.size() << " triangles";
}

TEST(HardGeometryDelaunay, NearlyCollinearPoints) {
    ExpectNoOverlap("lines with binary-inexact slopes", hardgeom::NearlyCollinearLines(250, 41));
    ExpectNoOverlap("line with a near apex", hardgeom::LineWithApex(500));
}

TEST(HardGeometryDelaunay, CocircularPoints) {
    ExpectNoOverlap("lattice circle", hardgeom::LatticeCircle(5525LL * 5525));
    ExpectNoOverlap("decimal grid", hardgeom::ScaledGrid(40, 0.1, 42));
    ExpectNoOverlap("survey grid", hardgeom::SurveyGrid(40));
}

TEST(HardGeometryDelaunay, SurveyCoordinates) {
    ExpectNoOverlap("survey points", hardgeom::SurveyPoints(2000, 43));
}

TEST(HardGeometryDelaunay, TinyAndHugeMagnitudes) {
    ExpectNoOverlap("tiny uniform", hardgeom::ScaledUniform(1000, 1e-300, 44));
    ExpectNoOverlap("subnormal grid", hardgeom::ScaledGrid(20, 1e-320, 45));
    ExpectNoOverlap("huge uniform", hardgeom::ScaledUniform(1000, 1e300, 46));
    ExpectNoOverlap("huge grid", hardgeom::ScaledGrid(20, 1e302, 47));
}

TEST(HardGeometryDelaunay, PointsALastBitApart) {
    ExpectNoOverlap("ulp block at 1", hardgeom::LastBitBlock(1.0, 1.0, 12));
    ExpectNoOverlap("ulp block at survey coordinates",
                    hardgeom::LastBitBlock(350123.456, 5800456.789, 12));
}

TEST(HardGeometryDelaunay, ManyCopiesOfThreePoints) {
    ExpectNoOverlap("copies of three", hardgeom::CopiesOfThree(100000));
}

TEST(HardGeometryDelaunay, AdversarialOrders) {
    ExpectNoOverlap("two vertical lines", hardgeom::TwoVerticalLines(200));
    ExpectNoOverlap("parabola", hardgeom::Parabola(500));
    ExpectNoOverlap("spiral", hardgeom::Spiral(2000));
    ExpectNoOverlap("descending", hardgeom::Descending(3000, 48));
}

// On points within a few units in the last place of one line, and on points of a circle rounded
// from cos and sin, the cavities that the tolerance-based circle test carves are not star-shaped
// and the fans overlap: that is how this insertion method behaves, and its result must stay the
// plain list walk's, triangle for triangle. What must hold is no failure and that same list.
TEST(HardGeometryDelaunay, NearlyCollinearAndRoundedCocircularPointsKeepThePlainWalksResult) {
    for (const auto& [name, points] :
         {std::pair<std::string, hardgeom::Points>{"ulp grid on y = x",
                                                   hardgeom::NearlyCollinearUlpGrid(16)},
          {"rounded circle", hardgeom::RoundedCircle(200, 100.0, 0.0, 0.0)},
          {"rounded circle far out",
           hardgeom::RoundedCircle(200, 30.0, 350123.456, 5800456.789)}}) {
        SCOPED_TRACE(name);
        geom::CDelaunay engine;
        for (const geom::CVertex& p : points) {
            engine.AddPoint(p.x, p.y, p.z);
        }
        std::vector<geom::CTriangle> triangles;
        ASSERT_NO_THROW(triangles = engine.Triangulate());
        const std::vector<geom::CTriangle> plain = delaunay_oracle::ReplayWithOracle(engine);
        ASSERT_EQ(triangles.size(), plain.size());
        for (std::size_t k = 0; k < plain.size(); ++k) {
            ASSERT_TRUE(delaunay_oracle::SameTriangle(triangles[k], plain[k])) << "triangle " << k;
        }
    }
}

}  // namespace
