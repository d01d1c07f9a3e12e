// Cut and fill: known answers (planes, a design with a hole, either way round), survey
// coordinates, and an independent integration on random surfaces that must agree ever better as
// it is refined. (A pyramid against planes and a datum, with known
// answers, is met through the volume functions in the module's tests.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "geom/surface/compute_datum_volume.h"
#include "geom/surface/compute_volume.h"
#include "surface_test_support.h"

namespace {

using geom::SurfaceStatus;
using geom::VolumeResult;

VolumeResult Volume(const geom::WeldedSurface& existing, const geom::WeldedSurface& design) {
    VolumeResult result;
    EXPECT_EQ(geom::ComputeVolume(existing, design, result), SurfaceStatus::Ok);
    return result;
}

void ExpectVolume(const VolumeResult& got, double cut, double fill, double area, double tolerance) {
    EXPECT_NEAR(got.cut, cut, tolerance);
    EXPECT_NEAR(got.fill, fill, tolerance);
    EXPECT_NEAR(got.net, cut - fill, tolerance);
    EXPECT_NEAR(got.area, area, tolerance);
}

geom::SurfaceMesh Moved(geom::SurfaceMesh mesh, double dx, double dy) {
    for (geom::CVertex& v : mesh.vertices) {
        v.x += dx;
        v.y += dy;
    }
    return mesh;
}

// Existing z = x + y on a unit grid over [0, 4] x [0, 3]; design z = y + 2 triangulated from
// scattered points over [1, 5] x [0, 3]. Over the overlap [1, 4] x [0, 3] the existing ground
// lies x - 2 above the design: cut 3 * 2^2 / 2 = 6 right of x = 2, fill 3 * 1^2 / 2 = 1.5 left.
TEST(Volumes, TwoPlanes) {
    const geom::WeldedSurface existing =
        surfacetest::Weld({surfacetest::Grid(4, 3, [](int i, int j) { return i + 1.0 * j; })});
    const geom::WeldedSurface design = surfacetest::Weld(
        {surfacetest::RandomSurface(5, 30, 1, 0, 5, 3, [](double, double y) { return y + 2; })});
    ExpectVolume(Volume(existing, design), 6.0, 1.5, 9.0, 1e-12);
    ExpectVolume(Volume(design, existing), 1.5, 6.0, 9.0, 1e-12);
}

// A design with a hole: only the ground around it is compared. Existing z = x over two large
// triangles, design z = 3 on a 6 x 6 grid without its middle 2 x 2 cells: over the full square
// cut and fill would be 6 * 3^2 / 2 = 27 each, less 2 * 1 / 2 = 1 each in the hole.
TEST(Volumes, DesignWithAHole) {
    geom::SurfaceMesh big;
    big.vertices = {{-1, -1, -1}, {7, -1, 7}, {7, 7, 7}, {-1, 7, -1}};
    big.faces = {{0, 1, 2}, {0, 2, 3}};
    geom::SurfaceMesh holed = surfacetest::Grid(6, 6, [](int, int) { return 3.0; });
    std::vector<geom::MeshFace> kept;
    for (std::size_t f = 0; f < holed.faces.size(); ++f) {
        const std::size_t cell = f / 2;
        const std::size_t i = cell % 6, j = cell / 6;
        if (!(i >= 2 && i < 4 && j >= 2 && j < 4)) {
            kept.push_back(holed.faces[f]);
        }
    }
    holed.faces = kept;
    const geom::WeldedSurface existing = surfacetest::Weld({big});
    const geom::WeldedSurface design = surfacetest::Weld({holed});
    ExpectVolume(Volume(existing, design), 26.0, 26.0, 32.0, 1e-12);
    ExpectVolume(Volume(design, existing), 26.0, 26.0, 32.0, 1e-12);
}

// The same surfaces moved to survey coordinates give the same volumes.
TEST(Volumes, SurveyCoordinatesKeepTheirPrecision) {
    const geom::SurfaceMesh a = surfacetest::RandomSurface(21, 300, 0, 0, 10, 10, {});
    const geom::SurfaceMesh b = surfacetest::RandomSurface(22, 300, 2, 1, 12, 11, {});
    const VolumeResult local = Volume(surfacetest::Weld({a}), surfacetest::Weld({b}));
    const VolumeResult far = Volume(surfacetest::Weld({Moved(a, 350000, 5800000)}),
                                    surfacetest::Weld({Moved(b, 350000, 5800000)}));
    EXPECT_NEAR(far.cut, local.cut, 1e-8 * local.cut);
    EXPECT_NEAR(far.fill, local.fill, 1e-8 * local.fill);
    EXPECT_NEAR(far.area, local.area, 1e-8 * local.area);
}

TEST(Volumes, DisjointSurfacesAndBadDatum) {
    const geom::WeldedSurface a =
        surfacetest::Weld({surfacetest::Grid(2, 2, [](int, int) { return 1.0; })});
    const geom::WeldedSurface b =
        surfacetest::Weld({Moved(surfacetest::Grid(2, 2, [](int, int) { return 0.0; }), 2, 0)});
    ExpectVolume(Volume(a, b), 0, 0, 0, 0);  // they only share an edge
    ExpectVolume(Volume(a, geom::WeldedSurface()), 0, 0, 0, 0);
    VolumeResult result;
    result.cut = 1;
    EXPECT_EQ(geom::ComputeDatumVolume(a, std::nan(""), result), SurfaceStatus::InvalidDatum);
    EXPECT_EQ(result.cut, 0.0);
}

// Independent integration: along each of `rows` horizontal lines (strip midpoints) each
// surface is piecewise linear, given by the stretches where the line runs through its
// triangles; between the ends of all stretches the difference is linear and is integrated
// exactly along the line; the strips are summed (midpoint rule).
struct Stretch {
    double x0, z0, x1, z1;  // x0 < x1

    double At(double x) const { return z0 + (x - x0) / (x1 - x0) * (z1 - z0); }
};

std::vector<Stretch> StretchesOfRow(const geom::WeldedSurface& s, double y) {
    std::vector<Stretch> stretches;
    for (const geom::SurfaceTriangle& t : s.triangles) {
        std::pair<double, double> ends[3];  // x, z where the line crosses an edge
        int count = 0;
        for (int k = 0; k < 3; ++k) {
            const geom::SurfacePoint& a = s.points[t.corner[k]];
            const geom::SurfacePoint& b = s.points[t.corner[(k + 1) % 3]];
            if ((a.y < y) != (b.y < y)) {
                const double f = (y - a.y) / (b.y - a.y);
                ends[count++] = {a.x + f * (b.x - a.x), a.z + f * (b.z - a.z)};
            }
        }
        if (count == 2 && ends[0].first != ends[1].first) {
            std::sort(ends, ends + 2);
            stretches.push_back({ends[0].first, ends[0].second, ends[1].first, ends[1].second});
        }
    }
    return stretches;
}

const Stretch* Holding(const std::vector<Stretch>& stretches, double x) {
    for (const Stretch& s : stretches) {
        if (s.x0 < x && x < s.x1) {
            return &s;
        }
    }
    return nullptr;
}

VolumeResult RowIntegration(const geom::WeldedSurface& a, const geom::WeldedSurface& b, double y0,
                            double y1, int rows) {
    double cut = 0, fill = 0, area = 0;
    const double h = (y1 - y0) / rows;
    for (int row = 0; row < rows; ++row) {
        const double y = y0 + (row + 0.5) * h;
        const std::vector<Stretch> first = StretchesOfRow(a, y);
        const std::vector<Stretch> second = StretchesOfRow(b, y);
        std::vector<double> xs;
        for (const std::vector<Stretch>* stretches : {&first, &second}) {
            for (const Stretch& s : *stretches) {
                xs.push_back(s.x0);
                xs.push_back(s.x1);
            }
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
            const double l = xs[i], r = xs[i + 1], w = r - l;
            const Stretch* sa = Holding(first, 0.5 * (l + r));
            const Stretch* sb = Holding(second, 0.5 * (l + r));
            if (!(w > 0) || sa == nullptr || sb == nullptr) {
                continue;
            }
            const double dl = sa->At(l) - sb->At(l), dr = sa->At(r) - sb->At(r);
            if (dl >= 0 && dr >= 0) {
                cut += 0.5 * (dl + dr) * w;
            } else if (dl <= 0 && dr <= 0) {
                fill -= 0.5 * (dl + dr) * w;
            } else {
                const double root = w * dl / (dl - dr);  // from l
                (dl > 0 ? cut : fill) += 0.5 * std::fabs(dl) * root;
                (dr > 0 ? cut : fill) += 0.5 * std::fabs(dr) * (w - root);
            }
            area += w;
        }
    }
    return {cut * h, fill * h, (cut - fill) * h, area * h};
}

double RelativeError(const VolumeResult& got, const VolumeResult& reference) {
    return std::max({std::fabs(got.cut - reference.cut) / reference.cut,
                     std::fabs(got.fill - reference.fill) / reference.fill,
                     std::fabs(got.area - reference.area) / reference.area});
}

TEST(Volumes, AgreeWithIndependentIntegrationOnRandomSurfaces) {
    for (std::uint64_t seed : {31u, 32u}) {
        const geom::WeldedSurface a =
            surfacetest::Weld({surfacetest::RandomSurface(seed, 40, 0, 0, 1, 1, {})});
        const geom::WeldedSurface b = surfacetest::Weld(
            {surfacetest::RandomSurface(seed + 100, 40, 0.2, -0.1, 1.3, 0.9, {})});
        const VolumeResult exact = Volume(a, b);
        ASSERT_GT(exact.cut, 0.01);
        ASSERT_GT(exact.fill, 0.01);
        EXPECT_NEAR(exact.area, 0.8 * 0.9, 1e-12);
        double previous = INFINITY;
        for (int rows : {250, 1000, 4000, 16000}) {
            const double error = RelativeError(exact, RowIntegration(a, b, 0.0, 0.9, rows));
            EXPECT_LT(error, previous) << "seed " << seed << ", " << rows << " rows";
            previous = error;
        }
        EXPECT_LT(previous, 1e-6) << "seed " << seed;
    }
}

}  // namespace
