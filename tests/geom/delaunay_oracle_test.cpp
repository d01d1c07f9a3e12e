// The engine against the plain list walk: same triangles, same order, same corner copies and the
// same working fields, on sets chosen to stress the circle tests (lattices with many cocircular
// points, collinear runs, flat slivers, duplicates, far-off coordinates).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "delaunay_oracle.h"
#include "geom/delaunay.h"

namespace {

using geom::CTriangle;
using geom::CVertex;
using Points = std::vector<CVertex>;

// Triangulates the points with the engine and compares with the reference on the same store.
testing::AssertionResult MatchesOracle(const Points& points) {
    geom::CDelaunay engine;
    for (const CVertex& p : points) {
        engine.AddPoint(p.x, p.y, p.z);
    }
    const std::vector<CTriangle> fast = engine.Triangulate();
    const std::vector<CTriangle> plain = delaunay_oracle::ReplayWithOracle(engine);
    if (fast.size() != plain.size()) {
        return testing::AssertionFailure() << fast.size() << " triangles, reference has "
                                           << plain.size() << " (" << points.size() << " points)";
    }
    for (std::size_t k = 0; k < fast.size(); ++k) {
        if (!delaunay_oracle::SameTriangle(fast[k], plain[k])) {
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

    // Runs `make` for many seeds and sizes up to maxSize and compares each set.
    void Compare(int sets, int maxSize, const std::function<Points(int)>& make) {
        for (int s = 0; s < sets; ++s) {
            const Points points = make(Pick(1, maxSize));
            ASSERT_TRUE(MatchesOracle(points)) << "set " << s;
        }
    }

    std::mt19937_64 rng_{20240611};
};

TEST_F(DelaunayOracle, UniformPoints) {
    Compare(300, 120, [&](int n) {
        Points points;
        for (int i = 0; i < n; ++i) {
            points.emplace_back(Uniform(-5, 5), Uniform(0, 3), Uniform(0, 100));
        }
        return points;
    });
}

TEST_F(DelaunayOracle, LatticesWithDuplicates) {
    Compare(300, 150, [&](int n) {
        Points points;
        const int side = Pick(1, 12);
        const double step = Pick(0, 1) ? 1.0 : 0.1;
        for (int i = 0; i < n; ++i) {
            points.emplace_back(Pick(0, side) * step, Pick(0, side) * step, i);
        }
        return points;
    });
}

TEST_F(DelaunayOracle, CollinearRunsAndFlatSlivers) {
    Compare(300, 100, [&](int n) {
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
    });
}

TEST_F(DelaunayOracle, FarOffSurveyCoordinates) {
    Compare(150, 120, [&](int n) {
        Points points;
        const double spread = Pick(0, 1) ? 500.0 : 1e-3;
        for (int i = 0; i < n; ++i) {
            points.emplace_back(612345.0 + Uniform(0, spread), 5412345.0 + Uniform(0, spread),
                                Uniform(200, 300));
        }
        return points;
    });
}

TEST_F(DelaunayOracle, TightClusters) {
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

TEST_F(DelaunayOracle, PointsOnOneCircle) {
    // Rounding makes the circle tests of such points disagree: the list fills with overlapping
    // triangles whose circles nearly coincide, and cavities take in most of the list.
    Compare(60, 70, [&](int n) {
        Points points;
        const double start = Uniform(0, 6.3), arc = Pick(0, 1) ? 3.2 : 6.3;
        for (int i = 0; i < n; ++i) {
            const double a = start + Uniform(0, arc);
            points.emplace_back(10 + 4 * std::cos(a), 20 + 4 * std::sin(a), i);
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
