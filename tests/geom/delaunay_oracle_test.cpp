// The engine against the plain list walk: always a valid piece of the Delaunay triangulation;
// where the walk's triangles are one too, the same triangles, same order, same corner copies and
// the same working fields. On sets chosen to stress the circle tests (lattices with many cocircular
// points, collinear runs, flat slivers, duplicates, far-off coordinates).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "delaunay_oracle.h"
#include "delaunay_validity.h"
#include "geom/incremental/delaunay.h"

namespace {

using geom::CTriangle;
using geom::CVertex;
using Points = std::vector<CVertex>;

// Triangulates the points with the engine. Its triangles must always be a valid piece of a
// Delaunay triangulation, and for small sets cover what the Delaunay triangulation with the
// enclosing corners covers once the triangles at the corners are dropped. Where the plain walk's
// triangles are valid as well, the engine's are the same, triangle for triangle; `walkInvalid`
// counts the sets where they are not. Given `otherOrder`, the same triangles in another order
// are counted there instead of failing.
testing::AssertionResult MatchesOracle(const Points& points, int* walkInvalid = nullptr,
                                       int* otherOrder = nullptr) {
    geom::CDelaunay engine;
    for (const CVertex& p : points) {
        engine.AddPoint(p.x, p.y, p.z);
    }
    const std::vector<CTriangle> fast = engine.Triangulate();
    const std::size_t n = points.size();
    const Points sorted(engine.PointStore().begin(), engine.PointStore().begin() + n);
    const hardgeom::MeshFaults faults = delaunay_validity::IncrementalFaults(sorted, fast);
    if (!faults.Valid()) {
        return testing::AssertionFailure() << "invalid: " << faults;
    }
    // For small sets, the area the Delaunay triangulation with the enclosing corners covers.
    double covered = -1.0;
    if (n > 0 && n <= 40) {
        Points distinct;
        for (std::size_t k = 0; k < n; ++k) {
            if (k + 1 == n || !(sorted[k] == sorted[k + 1])) {
                distinct.push_back(sorted[k]);
            }
        }
        for (std::size_t k = n; k < n + 3; ++k) {
            distinct.push_back(engine.PointStore()[k]);
        }
        covered = delaunay_validity::DelaunayCoveredArea(distinct);
    }
    auto coversAll = [&](const std::vector<CTriangle>& triangles) {
        const double area = delaunay_validity::TriangleArea(triangles);
        return covered < 0 || std::fabs(area - covered) <= 1e-9 * std::fabs(covered) + 1e-300;
    };
    if (!coversAll(fast)) {
        return testing::AssertionFailure()
               << "covers " << delaunay_validity::TriangleArea(fast)
               << " where the Delaunay triangulation covers " << covered;
    }
    const std::vector<CTriangle> plain = delaunay_oracle::ReplayWithOracle(engine);
    if (!delaunay_validity::IncrementalFaults(sorted, plain).Valid() || !coversAll(plain)) {
        if (walkInvalid != nullptr) {
            ++*walkInvalid;
        }
        return testing::AssertionSuccess() << fast.size() << " valid triangles";
    }
    // The same triangles, and unless the walk took a detour through overlapping triangles that
    // later insertions mended, in the same order.
    auto key = [](const CTriangle& t) {
        std::array<int, 3> corners{t.i1, t.i2, t.i3};
        std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()),
                    corners.end());
        return corners;
    };
    std::vector<std::array<int, 3>> fastSet, plainSet;
    for (const CTriangle& t : fast) {
        fastSet.push_back(key(t));
    }
    for (const CTriangle& t : plain) {
        plainSet.push_back(key(t));
    }
    std::sort(fastSet.begin(), fastSet.end());
    std::sort(plainSet.begin(), plainSet.end());
    if (fastSet != plainSet) {
        return testing::AssertionFailure()
               << fast.size() << " triangles, reference has " << plain.size() << " ("
               << points.size() << " points), not the same set";
    }
    for (std::size_t k = 0; k < fast.size(); ++k) {
        if (!delaunay_oracle::SameTriangle(fast[k], plain[k])) {
            if (otherOrder != nullptr) {
                ++*otherOrder;
                return testing::AssertionSuccess() << "the same triangles in another order";
            }
            return testing::AssertionFailure()
                   << "triangle " << k << " is (" << fast[k].i1 << ", " << fast[k].i2 << ", "
                   << fast[k].i3 << "), reference (" << plain[k].i1 << ", " << plain[k].i2 << ", "
                   << plain[k].i3 << ") or differs in its fields";
        }
    }
    return testing::AssertionSuccess() << fast.size() << " triangles";
}

class DelaunayOracle : public testing::Test {
protected:
    double Uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng_); }
    int Pick(int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(rng_); }

    // Runs `make` for many seeds and sizes up to maxSize and checks each set; gives the number
    // of sets on which the plain walk's triangles are not valid. Given `otherOrder`, the sets with
    // the walk's triangles in another order are counted there instead of failing.
    int Compare(int sets, int maxSize, const std::function<Points(int)>& make,
                int* otherOrder = nullptr) {
        int walkInvalid = 0;
        for (int s = 0; s < sets; ++s) {
            const Points points = make(Pick(1, maxSize));
            EXPECT_TRUE(MatchesOracle(points, &walkInvalid, otherOrder)) << "set " << s;
        }
        return walkInvalid;
    }

    std::mt19937_64 rng_{20240611};
};

TEST_F(DelaunayOracle, UniformPoints) {
    EXPECT_EQ(0, Compare(300, 120, [&](int n) {
                  Points points;
                  for (int i = 0; i < n; ++i) {
                      points.emplace_back(Uniform(-5, 5), Uniform(0, 3), Uniform(0, 100));
                  }
                  return points;
              }));
}

// Lattices are full of points on one circle. On integer lattices the walk's decisions on them
// are kept wherever its triangles come out valid. Decimal lattices hold points a rounding step
// off a common circle, which the walk's test misjudges: its triangles then are not Delaunay, or
// come out right only after a detour through overlapping ones, and the order can differ.
TEST_F(DelaunayOracle, LatticesWithDuplicates) {
    for (const double step : {1.0, 0.1}) {
        int otherOrder = 0;
        const int walkInvalid = Compare(
            300, 150,
            [&](int n) {
                Points points;
                const int side = Pick(1, 12);
                for (int i = 0; i < n; ++i) {
                    points.emplace_back(Pick(0, side) * step, Pick(0, side) * step, i);
                }
                return points;
            },
            step == 1.0 ? nullptr : &otherOrder);
        EXPECT_GT(walkInvalid, 0);
        EXPECT_LT(walkInvalid + otherOrder, 150);
    }
}

// Full grids, as surveyed on a regular pattern: the walk's result, triangle for triangle.
TEST_F(DelaunayOracle, FullGrids) {
    for (const double step : {1.0, 0.5, 0.1, 0.001}) {
        for (const int side : {2, 3, 7, 20}) {
            Points points;
            for (int i = 0; i <= side; ++i) {
                for (int j = 0; j <= side + 3; ++j) {
                    points.emplace_back(i * step, j * step, i + j);
                }
            }
            EXPECT_TRUE(MatchesOracle(points)) << step << " " << side;
        }
    }
}

// Tall grids, where each point's cavity is the long fan of the point below it and the triangles'
// circles are cached across many insertions: one point nudged off the lattice (by less than the
// circle tolerance, by a rounding step of a far larger circle, or well off it) and repeated grid
// points must leave the walk's result triangle for triangle, fields included.
TEST_F(DelaunayOracle, TallGridsWithANudgedPointAndRepeats) {
    for (const double nudge : {0.0, 1e-12, 4e-7, 0.3}) {
        for (const int repeatEvery : {0, 7}) {
            Points points;
            for (int i = 0; i < 6; ++i) {
                for (int j = 0; j < 60; ++j) {
                    points.emplace_back(i, j + (i == 3 && j == 31 ? nudge : 0.0), i * j);
                    if (repeatEvery != 0 && (i * 60 + j) % repeatEvery == 0) {
                        points.emplace_back(i, j, -1.0);
                    }
                }
            }
            EXPECT_TRUE(MatchesOracle(points)) << nudge << " " << repeatEvery;
        }
    }
}

TEST_F(DelaunayOracle, CollinearRunsAndFlatSlivers) {
    EXPECT_EQ(0, Compare(300, 100, [&](int n) {
                  Points points;
                  for (int i = 0; i < n; ++i) {
                      switch (Pick(0, 4)) {
                          case 0:  // a horizontal run, some rows offset below the tolerance
                              points.emplace_back(Uniform(0, 4), Pick(0, 2) + Pick(0, 1) * 4e-7, i);
                              break;
                          case 1:  // a vertical run
                              points.emplace_back(Pick(0, 2), Uniform(0, 4), i);
                              break;
                          case 2: {  // a diagonal run
                              const double t = Pick(0, 20) * 0.2;
                              points.emplace_back(t, 0.5 * t, i);
                              break;
                          }
                          default:
                              points.emplace_back(Uniform(0, 4), Uniform(0, 4), i);
                      }
                  }
                  return points;
              }));
}

// Far-off survey coordinates, spread wide or within a millimetre, and tight clusters: the engine's
// triangles are valid, and the walk's where they are valid too.
TEST_F(DelaunayOracle, FarOffSurveyCoordinatesAndTightClusters) {
    Compare(150, 120, [&](int n) {
        Points points;
        const double spread = Pick(0, 1) ? 500.0 : 1e-3;
        for (int i = 0; i < n; ++i) {
            points.emplace_back(612345.0 + Uniform(0, spread), 5412345.0 + Uniform(0, spread),
                                Uniform(200, 300));
        }
        return points;
    });
    Compare(200, 120, [&](int n) {
        Points points;
        const int clusters = Pick(1, 4);
        for (int i = 0; i < n; ++i) {
            const int c = Pick(0, clusters - 1);
            points.emplace_back(c * 3.0 + Uniform(0, 1e-5), c * 1.0 + Uniform(0, 1e-5), i);
        }
        return points;
    });
}

TEST_F(DelaunayOracle, SetsPastTheFirstStoreStep) {
    Points uniform, lattice;
    for (int i = 0; i < 2500; ++i) {
        uniform.emplace_back(Uniform(0, 100), Uniform(0, 60), i);
        lattice.emplace_back(Pick(0, 40), Pick(0, 30), i);
    }
    EXPECT_TRUE(MatchesOracle(uniform));
    EXPECT_TRUE(MatchesOracle(lattice));
}

}  // namespace
