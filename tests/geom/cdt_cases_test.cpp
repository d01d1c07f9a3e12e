// The constrained triangulator's decisions on the cases surveyors meet: what becomes a vertex,
// which elevation it takes, what is refused and with which text, what the boundaries and the
// maximum edge length leave of the surface; and that it is CDCT's triangulation without lines.
// (Where a crossing boundary fails, a hole that leaves nothing, a point that is not finite, a
// hole outside the boundary and a line reaching outside the points are met through the
// constrained functions in the module's tests, the last also against CGAL.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>

#include "checks/cdt_test_support.h"
#include "checks/dct_test_support.h"
#include "delaunay_validity.h"

namespace {

using namespace cdttest;

int VertexAt(const CdtRun& run, double x, double y) {
    for (std::size_t k = 0; k < run.vertices.size(); ++k) {
        if (run.vertices[k].x == x && run.vertices[k].y == y) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

bool HasEdge(const CdtRun& run, double ax, double ay, double bx, double by) {
    const int a = VertexAt(run, ax, ay);
    const int b = VertexAt(run, bx, by);
    for (const geom::CTriangle& t : run.triangles) {
        const int c[3] = {t.i1, t.i2, t.i3};
        for (int i = 0; i < 3; ++i) {
            if ((c[i] == a && c[(i + 1) % 3] == b) || (c[i] == b && c[(i + 1) % 3] == a)) {
                return a >= 0 && b >= 0;
            }
        }
    }
    return false;
}

double Area(const CdtRun& run) {
    return delaunay_validity::TriangleArea(run.triangles);
}

// Survey points on a jittered grid over [0, 10] x [0, 10], apart from every line used below.
std::vector<CVertex> Cloud(unsigned seed, int side = 11) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<CVertex> points;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            const double step = 10.0 / (side - 1);
            points.emplace_back(i * step + jitter(random) * step, j * step + jitter(random) * step,
                                1.0);
        }
    }
    return points;
}

TEST(CdtCases, WithoutLinesTheResultIsCdctsTriangleForTriangle) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coordinate(0.0, 50.0);
    std::vector<std::vector<CVertex>> sets;
    sets.push_back({});
    for (int k = 0; k < 3000; ++k) {
        sets.back().emplace_back(coordinate(random), coordinate(random), coordinate(random));
    }
    sets.push_back({});  // a grid with repeated positions at other elevations
    for (int k = 0; k < 400; ++k) {
        sets.back().emplace_back(k % 20, (k / 20) % 20, k);
        sets.back().emplace_back(k % 20, (k / 20) % 20, -k);
    }
    sets.push_back({CVertex(0, 0, 1), CVertex(1, 1, 2), CVertex(2, 2, 3)});  // one line
    // Without anything to constrain the run is CDCT's own; with a maximum edge length that
    // trims nothing it goes through the constrained mesh, which must give the same lists.
    for (const double maxEdgeLength : {0.0, 1e6}) {
        for (const auto& points : sets) {
            const dcttest::Triangulation dct = dcttest::TriangulateAll(points);
            CdtInput input;
            input.points = points;
            input.maxEdgeLength = maxEdgeLength;
            const CdtRun cdt = RunCdt(input);
            ASSERT_EQ(cdt.failure, dct.failure);
            EXPECT_EQ(dcttest::IndexTriples(cdt.triangles), dcttest::IndexTriples(dct.triangles));
            ASSERT_EQ(dcttest::Records(cdt.vertices), dcttest::Records(dct.vertices));
            for (std::size_t k = 0; k < dct.triangles.size(); ++k) {
                ASSERT_EQ(cdt.triangles[k].p2.z, dct.triangles[k].p2.z);
            }
        }
    }
    CdtInput two;
    two.points = {CVertex(0, 0, 0), CVertex(1, 1, 0)};
    EXPECT_EQ(RunCdt(two).failure, "A minimum of 3 vertices are required!\n");
}

TEST(CdtCases, CrossingBreaklinesMeetAtAVertexWithTheMeanElevation) {
    CdtInput input;
    input.points = Cloud(1);
    input.breaklines = {{CVertex(0.5, 0.5, 0), CVertex(9.5, 9.5, 9)},
                        {CVertex(0.5, 9.5, 4), CVertex(9.5, 0.5, 8)}};
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "");
    const int x = VertexAt(run, 5.0, 5.0);
    ASSERT_GE(x, 0) << "no vertex at the crossing";
    EXPECT_DOUBLE_EQ(run.vertices[x].z, (4.5 + 6.0) / 2);  // 4.5 on the first line, 6 on the second
    EXPECT_TRUE(HasEdge(run, 0.5, 0.5, 5, 5) && HasEdge(run, 5, 5, 9.5, 9.5));
    EXPECT_TRUE(HasEdge(run, 0.5, 9.5, 5, 5) && HasEdge(run, 5, 5, 9.5, 0.5));
    EXPECT_EQ(CheckCdt(run, SegmentsOf(input)), MeshFaults{});
    // The order of the lines does not matter.
    std::swap(input.breaklines[0], input.breaklines[1]);
    EXPECT_DOUBLE_EQ(RunCdt(input).vertices[x].z, 5.25);
}

TEST(CdtCases, LineElevationsWinWhereVerticesMeet) {
    CdtInput input;
    input.points = Cloud(2);
    input.points.emplace_back(2, 2, 100.0);    // a survey point under a breakline vertex
    input.points.emplace_back(3.5, 8, 100.0);  // a survey point on a breakline
    input.breaklines = {
        {CVertex(2, 2, 3), CVertex(2, 8, 3), CVertex(5, 8, 6)},
        {CVertex(1, 5, 7), CVertex(2, 5, 11)},  // ends on the first line (there z = 3)
        {CVertex(6, 1, 0), CVertex(9, 1, 6)},   // overlapped by the next one
        {CVertex(7, 1, 8), CVertex(10, 1, 8)},
        {CVertex(4, 4, 2), CVertex(4, 4, 2), CVertex(4, 4, 4),
         CVertex(6, 6, 4)},  // repeats, a wall
    };
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(CheckCdt(run, SegmentsOf(input)), MeshFaults{});
    const auto z = [&](double x, double y) { return run.vertices[VertexAt(run, x, y)].z; };
    EXPECT_EQ(z(2, 2), 3.0);               // the breakline's z, not the survey point's
    EXPECT_EQ(z(3.5, 8), 4.5);             // interpolated along the breakline
    EXPECT_EQ(z(2, 5), (11.0 + 3.0) / 2);  // own z and the other line's, averaged
    EXPECT_EQ(z(7, 1), (2.0 + 8.0) / 2);   // overlap: each line's elevation there, averaged
    EXPECT_EQ(z(9, 1), (6.0 + 8.0) / 2);
    EXPECT_EQ(z(4, 4), 3.0);  // the wall's two elevations, averaged
    EXPECT_TRUE(HasEdge(run, 6, 1, 7, 1) && HasEdge(run, 7, 1, 9, 1) && HasEdge(run, 9, 1, 10, 1));
    EXPECT_TRUE(HasEdge(run, 2, 2, 2, 5) && HasEdge(run, 2, 5, 2, 8));
    EXPECT_TRUE(HasEdge(run, 2, 8, 3.5, 8) && HasEdge(run, 3.5, 8, 5, 8));
    // One vertex per plan position: the survey points and the ten line vertices not under one.
    EXPECT_EQ(run.vertices.size(), input.points.size() + 10);
}

// Breaklines on a small integer grid, several of them nearly concurrent: the rounded crossings
// must not keep making new crossings ever closer to each other.
TEST(CdtCases, NearlyConcurrentBreaklinesSettle) {
    CdtInput input;
    for (const auto& xy : std::vector<std::pair<double, double>>{{2, 1},
                                                                 {1, 6},
                                                                 {0, 2},
                                                                 {3, 0},
                                                                 {4, 5},
                                                                 {5, 0},
                                                                 {1, 5},
                                                                 {0, 3},
                                                                 {-1, -1},
                                                                 {7, -1},
                                                                 {-1, 7},
                                                                 {7, 7}}) {
        input.points.emplace_back(xy.first, xy.second, 0);
    }
    const auto line = [](std::initializer_list<std::pair<double, double>> corners) {
        Polyline polyline;
        for (const auto& xy : corners) {
            polyline.emplace_back(xy.first, xy.second, 1);
        }
        return polyline;
    };
    input.breaklines = {line({{5, 1}, {5, 5}, {0, 1}}),
                        line({{1, 6}, {0, 6}, {2, 4}}),
                        line({{4, 3}, {4, 5}, {6, 1}, {3, 3}, {0, 4}}),
                        line({{6, 2}, {2, 5}, {6, 5}}),
                        line({{1, 3}, {0, 2}, {0, 3}, {4, 3}}),
                        line({{1, 3}, {6, 0}, {1, 2}, {5, 0}, {3, 3}}),
                        line({{0, 0}, {6, 4}, {3, 1}}),
                        line({{6, 1}, {4, 5}, {6, 5}, {0, 0}, {6, 5}})};
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "");
    const MeshFaults faults = CheckCdt(run, {});
    EXPECT_EQ(faults.notCounterClockwise + faults.repeatedEdges + faults.badOrder, 0u) << faults;
    EXPECT_NEAR(Area(run), 8.0 * 8.0, 1e-9);  // the hull of the four corner points, covered once
}

// A breakline nearly along an outer boundary whose corners lie one unit in the last place off
// one line: the rounded crossing of the two falls exactly on a third constraint edge, which the
// new vertex splits. The halves keep that edge's record, so inside and outside are told apart;
// here the boundary is a sliver narrower than the crossings' snap, so nothing is left inside and
// the run is refused with the triangulator's own text (it failed on a missing record before).
TEST(CdtCases, ARoundedCrossingThatSplitsAThirdLineKeepsItsRecord) {
    const auto at = [](double lattice) { return 350000.0 + lattice * 0.001; };
    const double below10 = std::nextafter(at(10), -HUGE_VAL);
    CdtInput input;
    input.breaklines = {
        {{at(0), at(0), 255}, {at(14), at(14), 78}, {at(2), at(14), 15}, {at(15), below10, 170}}};
    const double off15 = at(15) + 0.3 * 0.001;
    input.outer = {{below10, at(10), 15}, {off15, off15, 78}, {at(15), at(15), 15}};
    EXPECT_EQ(RunCdt(input).failure, "No triangle is left inside the boundaries!\n");
}

TEST(CdtCases, BoundariesKeepTheSurfaceInsideAndOutOfHoles) {
    CdtInput input;
    input.points = Cloud(4);
    // An L: the notch (6..10) x (6..10) is cut off; a square hole at (2..4) x (2..4).
    input.outer = {CVertex(0.1, 0.1, 1), CVertex(9.9, 0.1, 1), CVertex(9.9, 6, 1),
                   CVertex(6, 6, 1),     CVertex(6, 9.9, 1),   CVertex(0.1, 9.9, 1)};
    input.holes = {{CVertex(2, 2, 1), CVertex(2, 4, 1), CVertex(4, 4, 1), CVertex(4, 2, 1)}};
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(CheckCdt(run, SegmentsOf(input)), MeshFaults{});
    const double area = 9.8 * 9.8 - 3.9 * 3.9 - 4.0;
    EXPECT_NEAR(Area(run), area, 1e-9);
    for (const geom::CTriangle& t : run.triangles) {
        const double cx = (t.p1.x + t.p2.x + t.p3.x) / 3;
        const double cy = (t.p1.y + t.p2.y + t.p3.y) / 3;
        EXPECT_FALSE(cx > 6 && cy > 6) << "a triangle in the notch";
        EXPECT_FALSE(cx > 2 && cx < 4 && cy > 2 && cy < 4) << "a triangle in the hole";
    }
    // The boundaries' orientation does not matter, nor does a closing vertex.
    CdtInput turned = input;
    std::reverse(turned.outer.begin(), turned.outer.end());
    turned.outer.push_back(turned.outer.front());
    std::reverse(turned.holes[0].begin(), turned.holes[0].end());
    EXPECT_EQ(dcttest::IndexTriples(RunCdt(turned).triangles),
              dcttest::IndexTriples(run.triangles));
    // Holes without an outer boundary cut the hull's triangulation.
    CdtInput holesOnly = input;
    holesOnly.outer.clear();
    const CdtRun withHolesOnly = RunCdt(holesOnly);
    ASSERT_EQ(withHolesOnly.failure, "");
    EXPECT_EQ(CheckCdt(withHolesOnly, SegmentsOf(holesOnly)), MeshFaults{});
    EXPECT_NEAR(Area(withHolesOnly), Area(RunCdt(CdtInput{input.points, {}, {}, {}, 0.0})) - 4.0,
                1e-9);
    // A hole touching the outer boundary at a vertex is accepted.
    CdtInput touching = input;
    touching.holes.push_back({CVertex(9.9, 0.1, 1), CVertex(9.9, 2, 1), CVertex(8, 2, 1)});
    const CdtRun withTouchingHole = RunCdt(touching);
    ASSERT_EQ(withTouchingHole.failure, "");
    EXPECT_NEAR(Area(withTouchingHole), area - 1.9 * 1.9 / 2, 1e-9);
}

TEST(CdtCases, ABreaklineCrossingTheBoundaryGivesItsElevation) {
    CdtInput input;
    input.points = Cloud(5);
    input.outer = {CVertex(1, 1, 50), CVertex(9, 1, 50), CVertex(9, 9, 50), CVertex(1, 9, 50)};
    input.breaklines = {{CVertex(0.5, 5, 0), CVertex(9.5, 5, 9)}};
    input.points.emplace_back(9, 9, 1.0);  // under a boundary vertex, whose z wins
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.vertices[VertexAt(run, 9, 9)].z, 50.0);
    const int left = VertexAt(run, 1, 5);
    ASSERT_GE(left, 0);
    EXPECT_DOUBLE_EQ(run.vertices[left].z, 0.5);
    EXPECT_EQ(VertexAt(run, 0.5, 5), -1) << "the breakline's end outside the boundary stays out";
    EXPECT_TRUE(HasEdge(run, 1, 5, 9, 5) || HasEdge(run, 1, 5, 5.0, 5));
}

TEST(CdtCases, BadBoundariesAndValuesAreRefused) {
    CdtInput base;
    base.points = Cloud(6);
    CdtInput bowTie = base;
    bowTie.outer = {CVertex(1, 1, 0), CVertex(9, 9, 0), CVertex(9, 1, 0), CVertex(1, 9, 0)};
    EXPECT_EQ(RunCdt(bowTie).failure, "Boundaries must not cross themselves or each other!\n");
    CdtInput crossingHole = base;
    crossingHole.outer = {CVertex(1, 1, 0), CVertex(9, 1, 0), CVertex(9, 9, 0), CVertex(1, 9, 0)};
    crossingHole.holes = {{CVertex(8, 4, 0), CVertex(9.5, 4, 0), CVertex(9.5, 6, 0)}};
    EXPECT_EQ(RunCdt(crossingHole).failure,
              "Boundaries must not cross themselves or each other!\n");
    CdtInput flat = base;
    flat.outer = {CVertex(1, 1, 0), CVertex(5, 5, 0), CVertex(9, 9, 0), CVertex(1, 1, 0)};
    EXPECT_EQ(RunCdt(flat).failure,
              "A boundary needs at least 3 vertices that are not all on one line!\n");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CdtInput badLine = base;
    badLine.breaklines = {{CVertex(1, 1, 0), CVertex(2, 2, inf)}};
    EXPECT_EQ(RunCdt(badLine).failure, "Coordinates must be finite numbers!\n");
    for (const double length : {nan, inf, -1.0}) {
        CdtInput badLength = base;
        badLength.maxEdgeLength = length;
        EXPECT_EQ(RunCdt(badLength).failure,
                  "The maximum edge length must be a finite number not below 0!\n");
    }
}

// Points filling a C: the unconstrained hull bridges the opening with long triangles, which the
// maximum edge length trims from the outside; the empty middle of a ring of points that is
// closed all round stays filled, since it is not reached from the outside.
TEST(CdtCases, MaximumEdgeLengthTrimsFromTheOutsideOnly) {
    CdtInput input;
    for (const CVertex& p : Cloud(7, 21)) {
        const bool opening = p.x > 3 && p.y > 3 && p.y < 7;
        const bool middle = p.x > 23 && p.x < 27 && p.y > 3 && p.y < 7;
        if (!opening) {
            input.points.push_back(p);
        }
        if (!middle) {
            input.points.emplace_back(p.x + 20, p.y, p.z);  // a closed ring, at x 20..30
        }
    }
    input.maxEdgeLength = 1.5;
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(CheckCdt(run, {}).notCounterClockwise, 0u);
    bool middleFilled = false;
    for (const geom::CTriangle& t : run.triangles) {
        const double cx = (t.p1.x + t.p2.x + t.p3.x) / 3;
        const double cy = (t.p1.y + t.p2.y + t.p3.y) / 3;
        EXPECT_FALSE(cx > 4 && cx < 18 && cy > 4 && cy < 6) << "a triangle across the opening";
        middleFilled = middleFilled || (cx > 24 && cx < 26 && cy > 4 && cy < 6);
    }
    EXPECT_TRUE(middleFilled);
    EXPECT_EQ(run.vertices.size(), input.points.size());
    input.maxEdgeLength = 0.01;
    EXPECT_EQ(RunCdt(input).failure, "No triangle is left within the maximum edge length!\n");
}

// A tilted plane as the survey: z = 100 + 0.1 x + 0.05 y.
double Plane(double x, double y) {
    return 100.0 + 0.1 * x + 0.05 * y;
}

std::vector<CVertex> PlanePoints() {
    std::vector<CVertex> points;
    for (int i = 0; i <= 10; ++i) {
        for (int j = 0; j <= 10; ++j) {
            points.emplace_back(i, j, Plane(i, j));
        }
    }
    return points;
}

TEST(CdtCases, BoundariesFromTheSurfaceClipAndTakeItsElevations) {
    CdtInput input;
    input.points = PlanePoints();
    // Drawn at elevation 0: vertices inside the points, on one (5, 0) and outside them.
    input.outer = {{0.5, 0.5, 0}, {5, 0, 0}, {9.5, 0.5, 0}, {12, 5, 0}, {9.5, 9, 0}, {0.5, 9, 0}};
    input.holes = {{{3.25, 4, 0}, {6.5, 4, 0}, {6.5, 6.75, 0}, {3.25, 6.75, 0}}};
    input.boundaryElevation = geom::CdtBoundaryElevation::FromSurface;
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "");
    for (const Polyline& line : {input.outer, input.holes[0]}) {
        for (const CVertex& v : line) {
            const int k = VertexAt(run, v.x, v.y);
            ASSERT_GE(k, 0);
            // Beyond the points (x 12) the nearest outer edge's elevation, at (10, 5).
            const double expected = v.x > 10 ? Plane(10, 5) : Plane(v.x, v.y);
            EXPECT_NEAR(run.vertices[k].z, expected, 1e-9) << v.x << ", " << v.y;
        }
    }
    // Survey points on the boundary's edges keep their own elevations.
    EXPECT_EQ(run.vertices[VertexAt(run, 5, 9)].z, Plane(5, 9));
    EXPECT_EQ(run.vertices[VertexAt(run, 4, 4)].z, Plane(4, 4));
    for (const CVertex& v : run.vertices) {
        EXPECT_GE(v.z, Plane(0, 0) - 1e-9);
    }
    // The outline's 89.375 m² less the hole's 3.25 by 2.75.
    EXPECT_NEAR(Area(run), 89.375 - 3.25 * 2.75, 1e-9);

    // Boundaries that keep their own z, as before; without a surface to take elevations from,
    // a FromSurface boundary keeps its own as well.
    input.boundaryElevation = geom::CdtBoundaryElevation::Own;
    const CdtRun own = RunCdt(input);
    EXPECT_EQ(own.vertices[VertexAt(own, 12, 5)].z, 0.0);
    EXPECT_EQ(own.vertices[VertexAt(own, 5, 9)].z, 0.0);
    CdtInput alone;
    alone.outer = {{0, 0, 7}, {4, 0, 7}, {4, 3, 7}};
    alone.boundaryElevation = geom::CdtBoundaryElevation::FromSurface;
    const CdtRun lone = RunCdt(alone);
    ASSERT_EQ(lone.triangles.size(), 1u);
    EXPECT_EQ(lone.vertices[0].z, 7.0);
}

TEST(CdtCases, BoundariesFromTheSurfaceFollowTheBreaklines) {
    CdtInput input;
    input.points = {{0, 0, 10}, {10, 0, 10}, {10, 10, 10}, {0, 10, 10}};
    // A ridge at z 20 along y = 5: the boundary vertex on it takes 20, one beside it the plane
    // between the ridge and the corners.
    input.breaklines = {{{0, 5, 20}, {10, 5, 20}}};
    input.outer = {{1, 1, 0}, {9, 1, 0}, {9, 5, 0}, {9, 9, 0}, {1, 7.5, 0}};
    input.boundaryElevation = geom::CdtBoundaryElevation::FromSurface;
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "");
    EXPECT_NEAR(run.vertices[VertexAt(run, 9, 5)].z, 20.0, 1e-12);
    EXPECT_NEAR(run.vertices[VertexAt(run, 1, 7.5)].z, 15.0, 1e-12);
    EXPECT_NEAR(run.vertices[VertexAt(run, 1, 1)].z, 12.0, 1e-12);
}

// The points stored are the points in the order added, whether a snap keeps them aside or they
// go straight to the triangulation, the first of two at one position as well as the second.
TEST(CdtCases, StoredPointsAreThePointsInTheOrderAdded) {
    for (const double tolerance : {0.0, 0.001}) {
        geom::CConstrainedDCT cdt;
        cdt.SetSnapTolerance(tolerance);
        const std::vector<CVertex> points = {{3, 4, 1}, {-0.5, 7.25, 2}, {3, 4, 3}, {1e6, -2e6, 4}};
        for (const CVertex& p : points) {
            cdt.AddPoint(p.x, p.y, p.z);
        }
        ASSERT_EQ(cdt.StoredCount(), points.size());
        for (std::size_t n = 0; n < points.size(); ++n) {
            EXPECT_EQ(dcttest::RecordOf(cdt.StoredPoint(n)), dcttest::RecordOf(points[n]))
                << tolerance << " " << n;
        }
    }
}

// A reader hands on every row, repeats included, and then has them dropped: the first point at
// each position stays, and the run is that of the first points alone, with crossing breaklines
// through points, a boundary taking the surface's elevations, a maximum edge length or a snap
// tolerance alike.
TEST(CdtCases, DroppedRepeatsLeaveTheRunOfTheFirstPointAtEachPosition) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(0, 60);
    CdtInput all;
    CdtInput firsts;
    std::set<std::pair<double, double>> seen;
    for (int i = 0; i < 6000; ++i) {
        const CVertex p(coordinate(random) * 0.5, coordinate(random) * 0.5, i % 13);
        all.points.push_back(p);
        if (seen.insert({p.x, p.y}).second) {
            firsts.points.push_back(p);
        }
    }
    const std::size_t repeats = all.points.size() - firsts.points.size();
    ASSERT_GT(repeats, 2000u);
    all.dropRepeats = true;
    for (int variant = 0; variant < 5; ++variant) {
        for (CdtInput* input : {&all, &firsts}) {
            input->breaklines.clear();
            if (variant == 1 || variant == 2) {
                // Through survey points' positions, crossing each other.
                input->breaklines = {{{1, 1, 50}, {29, 20, 90}, {3, 28, 40}},
                                     {{0.5, 29, 20}, {29.5, 0.5, 30}}};
            }
            input->outer.clear();
            if (variant == 2) {
                input->outer = {{0.25, 0.25, 0}, {29, 1, 0}, {28, 29.5, 0}, {2, 27, 0}};
                input->boundaryElevation = geom::CdtBoundaryElevation::FromSurface;
            }
            input->maxEdgeLength = variant == 3 ? 1.2 : 0.0;
            input->snapTolerance = variant == 4 ? 0.3 : 0.0;
        }
        const CdtRun dropped = RunCdt(all);
        const CdtRun expected = RunCdt(firsts);
        ASSERT_EQ(dropped.failure, "") << variant;
        ASSERT_EQ(expected.failure, "") << variant;
        EXPECT_EQ(dropped.dropped, repeats) << variant;
        EXPECT_EQ(dcttest::IndexTriples(dropped.triangles),
                  dcttest::IndexTriples(expected.triangles))
            << variant;
        EXPECT_EQ(dcttest::Records(dropped.vertices), dcttest::Records(expected.vertices))
            << variant;
        EXPECT_EQ(dropped.snapped.pointsDropped, expected.snapped.pointsDropped) << variant;
        EXPECT_EQ(dropped.snapped.pointsToLines, expected.snapped.pointsToLines) << variant;
    }
}

TEST(CdtCases, TheSnapToleranceJoinsNearDuplicatesByItsRules) {
    CdtInput input;
    input.breaklines = {{{1, 1, 5}, {9, 5, 9}}, {{9.0004, 5.0003, 7}, {9, 9, 7}}};
    input.points = {{0, 0, 1},           {10, 0, 1},          {10, 10, 1},
                    {0, 10, 1},          {1.0002, 0.9995, 3},  // near a line vertex
                    {5.0003, 2.9995, 4},                       // near the first line, at (5, 3)
                    {2, 8, 2},           {2.0006, 8.0002, 6}, {2.003, 8, 2.5}};
    input.snapTolerance = 0.001;
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.snapped.lineVerticesJoined, 1u);
    EXPECT_EQ(run.snapped.pointsToLines, 2u);
    EXPECT_EQ(run.snapped.pointsDropped, 1u);
    // The second line starts where the first ends; the lines' elevations meet there.
    EXPECT_EQ(VertexAt(run, 9.0004, 5.0003), -1);
    EXPECT_EQ(run.vertices[VertexAt(run, 9, 5)].z, 8.0);
    EXPECT_TRUE(HasEdge(run, 9, 5, 9, 9));
    // The point near the vertex is the vertex, with the line's z.
    EXPECT_EQ(VertexAt(run, 1.0002, 0.9995), -1);
    EXPECT_EQ(run.vertices[VertexAt(run, 1, 1)].z, 5.0);
    // The point near the line lies on it, at the line's z there, and the line runs through it.
    const double t = ((5.0003 - 1) * 8 + (2.9995 - 1) * 4) / 80;
    const double x = 1 + t * 8;
    const double y = 1 + t * 4;
    ASSERT_GE(VertexAt(run, x, y), 0);
    EXPECT_NEAR(run.vertices[VertexAt(run, x, y)].z, 5 + t * 4, 1e-12);
    EXPECT_TRUE(HasEdge(run, 1, 1, x, y));
    EXPECT_TRUE(HasEdge(run, x, y, 9, 5));
    // Of two points within the tolerance the first stays; one further away stays too.
    EXPECT_EQ(run.vertices[VertexAt(run, 2, 8)].z, 2.0);
    EXPECT_EQ(VertexAt(run, 2.0006, 8.0002), -1);
    EXPECT_GE(VertexAt(run, 2.003, 8), 0);
    EXPECT_EQ(run.vertices.size(), 10u);

    // Where nothing lies within the tolerance, the result is the one without it.
    input.snapTolerance = 0.0001;
    const CdtRun fine = RunCdt(input);
    input.snapTolerance = 0.0;
    const CdtRun plain = RunCdt(input);
    EXPECT_EQ(fine.snapped.pointsToLines + fine.snapped.pointsDropped, 0u);
    ASSERT_EQ(fine.vertices.size(), plain.vertices.size());
    for (std::size_t k = 0; k < plain.vertices.size(); ++k) {
        EXPECT_EQ(fine.vertices[k].x, plain.vertices[k].x);
        EXPECT_EQ(fine.vertices[k].y, plain.vertices[k].y);
        EXPECT_EQ(fine.vertices[k].z, plain.vertices[k].z);
    }
    ASSERT_EQ(fine.triangles.size(), plain.triangles.size());
    for (std::size_t k = 0; k < plain.triangles.size(); ++k) {
        EXPECT_EQ(fine.triangles[k].i1, plain.triangles[k].i1);
        EXPECT_EQ(fine.triangles[k].i2, plain.triangles[k].i2);
        EXPECT_EQ(fine.triangles[k].i3, plain.triangles[k].i3);
    }
    input.snapTolerance = -1.0;
    EXPECT_EQ(RunCdt(input).failure, "The snap tolerance must be a finite number not below 0!\n");

    // A tolerance set after some points were added snaps those as well.
    geom::CConstrainedDCT late;
    late.AddPoint(0, 0, 1);
    late.AddPoint(4, 0, 1);
    late.SetSnapTolerance(0.01);
    late.AddPoint(0, 3, 1);
    late.AddPoint(0.005, 3, 2);
    ASSERT_EQ(late.Triangulate().size(), 1u);
    EXPECT_EQ(late.SnapCounts().pointsDropped, 1u);
    EXPECT_EQ(late.GetVertices().size(), 3u);
}

// The survey: points rounded to the millimetre, kerbs drawn at full precision a fraction
// of a millimetre to a few millimetres beside them.
TEST(CdtCases, ASnapToleranceLeavesNoSliversBetweenMillimetrePointsAndLines) {
    std::mt19937 random(21);
    std::uniform_real_distribution<double> off(-0.004, 0.004);
    CdtInput input;
    for (int i = 0; i <= 30; ++i) {
        for (int j = 0; j <= 30; ++j) {
            input.points.emplace_back(i, j, 100 + 0.01 * i);
        }
    }
    for (int kerb = 0; kerb < 3; ++kerb) {
        Polyline line;
        for (int i = 1; i < 30; i += 2) {
            line.emplace_back(i + off(random), 5 + 10 * kerb + off(random), 100.2 + 0.01 * i);
        }
        input.breaklines.push_back(line);
    }
    const auto smallest = [](const CdtRun& run) {
        double area = HUGE_VAL;
        for (const geom::CTriangle& t : run.triangles) {
            const CVertex& a = run.vertices[t.i1];
            const CVertex& b = run.vertices[t.i2];
            const CVertex& c = run.vertices[t.i3];
            area = std::min(area, ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2);
        }
        return area;
    };
    const CdtRun plain = RunCdt(input);
    ASSERT_EQ(plain.failure, "");
    EXPECT_LT(smallest(plain), 1e-3);
    const std::size_t close = geom::CdtCountCloseVertices(plain.vertices, 0.0057);
    EXPECT_GT(close, 0u);
    input.snapTolerance = 0.0057;  // the offsets reach 0.004 in x and in y
    const CdtRun snapped = RunCdt(input);
    ASSERT_EQ(snapped.failure, "");
    EXPECT_GT(snapped.snapped.pointsToLines, 0u);
    EXPECT_GT(smallest(snapped), 2e-3);
    EXPECT_EQ(geom::CdtCountCloseVertices(snapped.vertices, 0.0057), 0u);
    // Each kerb vertex took a point in; the points between them went onto the kerbs.
    EXPECT_EQ(snapped.snapped.pointsToLines, 3u * 29u);
    EXPECT_EQ(plain.vertices.size() - snapped.vertices.size(), 3u * 15u);
}

TEST(CdtCases, CloseVerticesAreCountedInColumnsAndAcross) {
    const std::vector<CVertex> column = {{0, 0, 0},       {0, 1, 0},   {0, 1.05, 0}, {0, 3, 0},
                                         {0.05, 3.05, 0}, {0.2, 0, 0}, {0.2, 5, 0}};
    EXPECT_EQ(geom::CdtCountCloseVertices(column, 0.1), 4u);
    EXPECT_EQ(geom::CdtCountCloseVertices(column, 0.05), 0u);
    EXPECT_EQ(geom::CdtCountCloseVertices(column, 0.3), 6u);
    EXPECT_EQ(geom::CdtCountCloseVertices({}, 1.0), 0u);
}

// Lone x positions whose gaps to the next lie on both sides of the distance, among columns of
// shared x: the count is that of a check of every pair.
TEST(CdtCases, CloseVerticesCountedAsEveryPairShows) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> gap(0.0, 0.004);
    std::uniform_real_distribution<double> unit(0.0, 0.02);
    std::vector<CVertex> vertices;
    double x = 0.0;
    for (int k = 0; k < 1500; ++k) {
        x += gap(random);
        const int column = k % 7 == 0 ? 3 : 1;
        std::vector<double> ys;
        for (int c = 0; c < column; ++c) {
            ys.push_back(unit(random));
        }
        std::sort(ys.begin(), ys.end());
        for (const double y : ys) {
            vertices.emplace_back(x, y, 0.0);
        }
    }
    for (const double distance : {0.0005, 0.001, 0.002, 0.004}) {
        std::vector<bool> close(vertices.size(), false);
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            for (std::size_t j = i + 1; j < vertices.size(); ++j) {
                const double dx = vertices[j].x - vertices[i].x;
                const double dy = vertices[j].y - vertices[i].y;
                if (dx * dx + dy * dy < distance * distance) {
                    close[i] = close[j] = true;
                }
            }
        }
        const std::size_t expected =
            static_cast<std::size_t>(std::count(close.begin(), close.end(), true));
        EXPECT_GT(expected, 0u);
        EXPECT_EQ(geom::CdtCountCloseVertices(vertices, distance), expected) << distance;
    }
}

}  // namespace
