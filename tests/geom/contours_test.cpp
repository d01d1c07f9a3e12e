// Contour lines: against per-triangle segments computed separately, on the surface at their
// level, closed and open where the ground says so, exact at vertices and flats that lie at a
// level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include "geom/surface/trace_contours.h"
#include "surface_test_support.h"

namespace {

using geom::ContourLine;
using geom::ContourOptions;
using geom::PlanPoint;
using geom::SurfaceStatus;

std::vector<ContourLine> Contours(const geom::WeldedSurface& surface, double base, double interval,
                                  int majorEvery = 0) {
    std::vector<ContourLine> lines;
    EXPECT_EQ(geom::TraceContours(surface, {base, interval, majorEvery}, lines), SurfaceStatus::Ok);
    return lines;
}

double Distance(PlanPoint a, PlanPoint b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

double Length(const ContourLine& line) {
    double length = 0;
    for (std::size_t i = 1; i < line.points.size(); ++i) {
        length += Distance(line.points[i - 1], line.points[i]);
    }
    if (line.closed) {
        length += Distance(line.points.back(), line.points.front());
    }
    return length;
}

struct Segment {
    PlanPoint from;
    PlanPoint to;
};

// Each face's own piece of the level line, worked out from its corners alone: a corner at the
// level counts as above it; the crossing of an edge is interpolated from its lower end.
std::vector<Segment> FaceSegments(const geom::SurfaceMesh& mesh, double level) {
    std::vector<Segment> segments;
    for (const geom::MeshFace& f : mesh.faces) {
        const geom::CVertex* c[3] = {&mesh.vertices[f.i1], &mesh.vertices[f.i2],
                                     &mesh.vertices[f.i3]};
        std::vector<PlanPoint> crossings;
        for (int k = 0; k < 3; ++k) {
            const geom::CVertex* a = c[k];
            const geom::CVertex* b = c[(k + 1) % 3];
            if ((a->z >= level) == (b->z >= level)) {
                continue;
            }
            if (a->z >= level) {
                std::swap(a, b);
            }
            const double s = (level - a->z) / (b->z - a->z);
            crossings.push_back({a->x + s * (b->x - a->x), a->y + s * (b->y - a->y)});
        }
        if (crossings.size() == 2) {
            segments.push_back({crossings[0], crossings[1]});
        }
    }
    return segments;
}

double TotalLength(const std::vector<Segment>& segments) {
    double length = 0;
    for (const Segment& s : segments) {
        length += Distance(s.from, s.to);
    }
    return length;
}

std::map<double, std::vector<const ContourLine*>> ByLevel(const std::vector<ContourLine>& lines) {
    std::map<double, std::vector<const ContourLine*>> levels;
    for (const ContourLine& line : lines) {
        levels[line.elevation].push_back(&line);
    }
    return levels;
}

// No point repeated next to itself, no segment walked back at once (a spike), and closed
// lines with at least three points.
void ExpectCleanLine(const ContourLine& line) {
    const std::size_t n = line.points.size();
    ASSERT_GE(n, line.closed ? 3u : 2u);
    const std::size_t segments = line.closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const PlanPoint a = line.points[i];
        const PlanPoint b = line.points[(i + 1) % n];
        EXPECT_FALSE(a.x == b.x && a.y == b.y) << "repeated point at level " << line.elevation;
        if (line.closed || i + 2 < n) {
            const PlanPoint c = line.points[(i + 2) % n];
            EXPECT_FALSE(a.x == c.x && a.y == c.y) << "spike at level " << line.elevation;
        }
    }
}

void ExpectOnSurfaceAtLevel(const geom::WeldedSurface& surface, const ContourLine& line) {
    for (const PlanPoint& p : line.points) {
        double z = 0;
        ASSERT_TRUE(surfacetest::HeightAt(surface, p.x, p.y, z)) << p.x << " " << p.y;
        EXPECT_NEAR(z, line.elevation, 1e-9 * (1 + std::fabs(line.elevation)));
    }
}

std::vector<geom::CVertex> RandomPoints(std::size_t n, std::uint64_t seed, bool integerHeights) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<geom::CVertex> points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    for (std::size_t i = 0; i < n; ++i) {
        points.emplace_back(unit(random), unit(random), 0.0);
    }
    for (geom::CVertex& p : points) {
        const double z = 20 * std::sin(3 * p.x) * std::cos(4 * p.y) + 5 * unit(random);
        p.z = integerHeights ? std::round(z) : z;
    }
    return points;
}

TEST(Contours, LengthPerLevelIsTheSumOfTheFacesPieces) {
    const geom::SurfaceMesh mesh = surfacetest::Triangulated(RandomPoints(1200, 1, false));
    const geom::WeldedSurface surface = surfacetest::Weld({mesh});
    const std::vector<ContourLine> lines = Contours(surface, 0.25, 1.5);
    const auto levels = ByLevel(lines);
    ASSERT_GT(levels.size(), 20u);
    std::size_t open = 0;
    for (const auto& [level, onLevel] : levels) {
        double length = 0;
        std::size_t segments = 0;
        for (const ContourLine* line : onLevel) {
            ExpectCleanLine(*line);
            ExpectOnSurfaceAtLevel(surface, *line);
            length += Length(*line);
            segments += line->points.size() - (line->closed ? 0 : 1);
            if (!line->closed) {
                ++open;
                // Open lines end on the boundary of the unit square.
                for (const PlanPoint& end : {line->points.front(), line->points.back()}) {
                    const double edge =
                        std::min(std::min(end.x, 1 - end.x), std::min(end.y, 1 - end.y));
                    EXPECT_LT(std::fabs(edge), 1e-12) << end.x << " " << end.y;
                }
            }
        }
        const std::vector<Segment> pieces = FaceSegments(mesh, level);
        EXPECT_EQ(segments, pieces.size()) << "level " << level;
        EXPECT_NEAR(length, TotalLength(pieces), 1e-12 * length) << "level " << level;
    }
    EXPECT_GT(open, 0u);
    EXPECT_LT(open, lines.size());
}

// A cone of rings at whole-number heights: every level between the foot and the summit is one
// closed line; at whole-number levels it runs exactly through the ring's vertices.
TEST(Contours, ConeGivesOneClosedLinePerLevel) {
    const int rings = 10;
    const int perRing = 48;
    std::vector<geom::CVertex> points = {{0, 0, rings}};
    for (int r = 1; r <= rings; ++r) {
        for (int k = 0; k < perRing; ++k) {
            const double angle = 2 * M_PI * k / perRing;
            points.emplace_back(r * std::cos(angle), r * std::sin(angle), rings - r);
        }
    }
    const geom::SurfaceMesh mesh = surfacetest::Triangulated(points);
    const geom::WeldedSurface surface = surfacetest::Weld({mesh});

    const std::vector<ContourLine> through = Contours(surface, 0, 1, 5);
    ASSERT_EQ(through.size(), 9u);  // the foot (0) and the summit (10) give none
    for (std::size_t i = 0; i < through.size(); ++i) {
        const ContourLine& line = through[i];
        EXPECT_EQ(line.elevation, i + 1.0);
        EXPECT_TRUE(line.closed);
        EXPECT_EQ(line.major, line.elevation == 5.0);
        ExpectCleanLine(line);
        ASSERT_EQ(line.points.size(), static_cast<std::size_t>(perRing));
        const double radius = rings - line.elevation;
        std::set<std::pair<double, double>> distinct;
        for (const PlanPoint& p : line.points) {
            EXPECT_NEAR(std::hypot(p.x, p.y), radius, 1e-12);
            distinct.insert({p.x, p.y});
        }
        EXPECT_EQ(distinct.size(), line.points.size());
    }

    const std::vector<ContourLine> between = Contours(surface, 0.5, 1);
    ASSERT_EQ(between.size(), 10u);
    for (const ContourLine& line : between) {
        EXPECT_TRUE(line.closed);
        ExpectOnSurfaceAtLevel(surface, line);
    }
}

// The plane z = x + 2y on a whole-number grid: every level is one straight open line across
// the square, also where it runs through vertices and along diagonals.
TEST(Contours, PlaneGivesStraightOpenLines) {
    const geom::WeldedSurface surface =
        surfacetest::Weld({surfacetest::Grid(10, 10, [](int i, int j) { return i + 2.0 * j; })});
    for (double base : {0.0, 0.5}) {
        const std::vector<ContourLine> lines = Contours(surface, base, 1);
        ASSERT_EQ(lines.size(), base == 0.0 ? 29u : 30u);  // the corner at 30 gives none
        for (const ContourLine& line : lines) {
            EXPECT_FALSE(line.closed);
            ExpectCleanLine(line);
            const PlanPoint first = line.points.front();
            const PlanPoint last = line.points.back();
            for (std::size_t i = 0; i < line.points.size(); ++i) {
                const PlanPoint p = line.points[i];
                EXPECT_NEAR(p.x + 2 * p.y, line.elevation, 1e-13 * line.elevation);
                if (i > 0) {
                    // Forward along the line, never back.
                    const PlanPoint q = line.points[i - 1];
                    EXPECT_GT((p.x - q.x) * (last.x - first.x) + (p.y - q.y) * (last.y - first.y),
                              0.0);
                }
            }
            for (const PlanPoint& end : {first, last}) {
                EXPECT_TRUE(end.x == 0 || end.x == 10 || end.y == 0 || end.y == 10);
            }
        }
    }
}

std::set<std::pair<double, double>> PointSet(const ContourLine& line) {
    std::set<std::pair<double, double>> set;
    for (const PlanPoint& p : line.points) {
        set.insert({p.x, p.y});
    }
    return set;
}

double SignedArea(const ContourLine& line) {
    double twice = 0;
    for (std::size_t i = 0; i < line.points.size(); ++i) {
        const PlanPoint a = line.points[i];
        const PlanPoint b = line.points[(i + 1) % line.points.size()];
        twice += a.x * b.y - a.y * b.x;
    }
    return twice / 2;
}

// Flats at a level: a plateau is outlined where it meets lower ground, a pit floor or the
// surface's lowest boundary gives nothing, a terrace gives the line along its lower edge.
TEST(Contours, FlatsAtALevelAreOutlinedAgainstLowerGround) {
    auto chebyshev = [](int i, int j) { return std::max(std::abs(i - 4), std::abs(j - 4)); };
    const geom::WeldedSurface plateau = surfacetest::Weld(
        {surfacetest::Grid(8, 8, [&](int i, int j) { return std::min(3, 4 - chebyshev(i, j)); })});
    const std::vector<ContourLine> hill = Contours(plateau, 0, 1);
    ASSERT_EQ(hill.size(), 3u);
    for (const ContourLine& line : hill) {
        EXPECT_TRUE(line.closed);
        ExpectCleanLine(line);
        const double half = 4 - line.elevation;  // a square of side 2 * half around (4, 4)
        EXPECT_EQ(line.points.size(), static_cast<std::size_t>(8 * half));
        EXPECT_DOUBLE_EQ(SignedArea(line), 4 * half * half);  // counter-clockwise: uphill left
    }

    const geom::WeldedSurface pit = surfacetest::Weld(
        {surfacetest::Grid(8, 8, [&](int i, int j) { return std::max(1, chebyshev(i, j)); })});
    const std::vector<ContourLine> rings = Contours(pit, 0, 1);
    // Levels 2 and 3, and 4 along the rim; the floor at 1 is the lowest ground.
    ASSERT_EQ(rings.size(), 3u);
    for (const ContourLine& line : rings) {
        EXPECT_TRUE(line.closed);
        // The square of side 2 * half around (4, 4), with the two corners whose cells' diagonals
        // miss them cut off; clockwise, the higher ground outside.
        const double half = line.elevation;
        EXPECT_EQ(line.points.size(), static_cast<std::size_t>(8 * half - 2));
        EXPECT_DOUBLE_EQ(-SignedArea(line), 4 * half * half - 1);
    }

    const geom::WeldedSurface terrace = surfacetest::Weld({surfacetest::Grid(
        6, 6, [](int i, int) { return i <= 2 ? i : (i <= 4 ? 2.0 : i - 2.0); })});
    const std::vector<ContourLine> steps = Contours(terrace, 0, 1);
    ASSERT_EQ(steps.size(), 4u);
    const double expectedX[] = {1, 2, 5, 6};  // level 2 at the terrace's foot; 4 along the edge
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_FALSE(steps[i].closed);
        EXPECT_EQ(steps[i].points.size(), 7u);
        for (const PlanPoint& p : steps[i].points) {
            EXPECT_EQ(p.x, expectedX[i]) << "level " << steps[i].elevation;
        }
    }
}

// Ground that reaches a level only along edges: a ridge exactly at the level gives no line,
// and two hills joined by such a ridge give a line around each, not one along the ridge.
TEST(Contours, RidgesExactlyAtALevelEncloseNothing) {
    const geom::WeldedSurface tent = surfacetest::Weld(
        {surfacetest::Grid(6, 6, [](int i, int) { return 3.0 - std::abs(i - 3); })});
    const std::vector<ContourLine> lines = Contours(tent, 0, 1);
    ASSERT_EQ(lines.size(), 4u);
    for (const ContourLine& line : lines) {
        EXPECT_NE(line.elevation, 3.0);
        EXPECT_FALSE(line.closed);
    }

    const geom::SurfaceMesh hills = surfacetest::Grid(7, 3, [](int i, int j) {
        if ((i == 1 || i == 2 || i == 5 || i == 6) && (j == 1 || j == 2)) {
            return 2.0;
        }
        return (j == 2 && (i == 3 || i == 4)) ? 1.0 : 0.0;
    });
    const geom::WeldedSurface surface = surfacetest::Weld({hills});
    std::vector<ContourLine> atOne;
    for (const ContourLine& line : Contours(surface, 0, 1)) {
        if (line.elevation == 1.0) {
            atOne.push_back(line);
        }
    }
    ASSERT_EQ(atOne.size(), 2u);
    double length = 0;
    for (const ContourLine& line : atOne) {
        EXPECT_TRUE(line.closed);
        ExpectCleanLine(line);
        ExpectOnSurfaceAtLevel(surface, line);
        EXPECT_EQ(PointSet(line).size(), line.points.size());
        EXPECT_NE(PointSet(line).count({3, 2}), PointSet(line).count({4, 2}));
        length += Length(line);
    }
    // The faces' pieces include the ridge edge (3, 2)-(4, 2) once from each side.
    EXPECT_NEAR(length, TotalLength(FaceSegments(hills, 1.0)) - 2.0, 1e-12);
}

// Whole-number heights on whole-number levels: the lines run through vertices, and no segment is
// traced twice, in either direction. (A surface split into meshes is met by the surface function
// tests, through the writers.)
TEST(Contours, LinesThroughVerticesAreTracedOnce) {
    const geom::WeldedSurface surface =
        surfacetest::Weld({surfacetest::Triangulated(RandomPoints(1500, 7, true))});
    std::set<std::tuple<double, double, double, double, double>> undirected;
    for (const ContourLine& line : Contours(surface, 0, 1)) {
        ExpectCleanLine(line);
        ExpectOnSurfaceAtLevel(surface, line);
        const std::size_t n = line.points.size();
        for (std::size_t i = 0; i + (line.closed ? 0 : 1) < n; ++i) {
            std::pair<double, double> a(line.points[i].x, line.points[i].y);
            std::pair<double, double> b(line.points[(i + 1) % n].x, line.points[(i + 1) % n].y);
            if (b < a) {
                std::swap(a, b);
            }
            EXPECT_TRUE(
                undirected.insert({line.elevation, a.first, a.second, b.first, b.second}).second);
        }
    }
    EXPECT_GT(undirected.size(), 20u);
}

TEST(Contours, MajorLinesAreEveryNthFromTheBase) {
    const geom::WeldedSurface surface = surfacetest::Weld(
        {surfacetest::Grid(4, 4, [](int i, int j) { return 90.5 + 2.0 * i + 0.25 * j; })});
    const std::vector<ContourLine> lines = Contours(surface, 100, 1, 4);
    ASSERT_EQ(lines.size(), 9u);  // 91 ... 99
    for (const ContourLine& line : lines) {
        EXPECT_EQ(line.major, line.elevation == 92.0 || line.elevation == 96.0);
    }
    for (const ContourLine& line : Contours(surface, 100, 1, 0)) {
        EXPECT_FALSE(line.major);
    }
}

TEST(Contours, BadLevelsAreRefused) {
    const geom::WeldedSurface surface =
        surfacetest::Weld({surfacetest::Grid(2, 2, [](int i, int j) { return i + j; })});
    const double nan = std::nan("");
    const double inf = INFINITY;
    const std::vector<std::pair<ContourOptions, SurfaceStatus>> cases = {
        {{0, 0, 0}, SurfaceStatus::InvalidLevels},
        {{0, -1, 0}, SurfaceStatus::InvalidLevels},
        {{0, nan, 0}, SurfaceStatus::InvalidLevels},
        {{inf, 1, 0}, SurfaceStatus::InvalidLevels},
        {{0, inf, 0}, SurfaceStatus::InvalidLevels},
        {{1e30, 1e-3, 0}, SurfaceStatus::InvalidLevels},
        {{0, 1e-6, 0}, SurfaceStatus::TooManyLevels},
    };
    for (const auto& [options, status] : cases) {
        std::vector<ContourLine> lines(1);
        EXPECT_EQ(geom::TraceContours(surface, options, lines), status)
            << options.base << " " << options.interval;
        EXPECT_TRUE(lines.empty());
    }
    std::vector<ContourLine> lines(1);
    EXPECT_EQ(geom::TraceContours(geom::WeldedSurface(), {0, 1, 0}, lines), SurfaceStatus::Ok);
    EXPECT_TRUE(lines.empty());
}

}  // namespace
