// Point sets that are hard for plane triangulators: near-collinear and cocircular sets, survey
// coordinates with millimetre decimals, tiny and huge magnitudes, points a last bit apart,
// repeated points and point orders that stress a sweep or a divide and conquer.
//
// Every generator gives (x, y, z) points in the order they are to be added; z numbers them.
//
// HardSets(): the sets both triangulators are tested on, each with its name.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "geom/kernel/vertex.h"

namespace hardgeom {

using Points = std::vector<geom::CVertex>;

constexpr double kPi = 3.14159265358979323846;

inline void Add(Points& points, double x, double y) {
    points.emplace_back(x, y, static_cast<double>(points.size()));
}

// A value rounded to whole millimetres, as a surveyor's file gives it.
inline double Millimetres(double metres) {
    return std::round(metres * 1000.0) / 1000.0;
}

// Points on the line from (x0, y0) in the direction (dx, dy), each rounded to millimetres, so
// that they lie on the line only to within the rounding.
inline void AddSurveyedLine(Points& points, double x0, double y0, double dx, double dy, int count,
                            double step) {
    for (int k = 0; k < count; ++k) {
        Add(points, Millimetres(x0 + k * step * dx), Millimetres(y0 + k * step * dy));
    }
}

// Random survey points (eastings near 350000, northings near 5800000, millimetre decimals)
// with kerb lines, a building outline on a millimetre grid and arcs of a roundabout.
inline Points SurveyPoints(int count, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> metres(0.0, 400.0);
    Points points;
    for (int k = 0; k < count; ++k) {
        Add(points, Millimetres(350000.0 + metres(random)),
            Millimetres(5800000.0 + metres(random)));
    }
    AddSurveyedLine(points, 350010.123, 5800020.456, 0.6, 0.8, 200, 1.7);
    AddSurveyedLine(points, 350011.123, 5800021.456, 0.6, 0.8, 200, 1.3);
    AddSurveyedLine(points, 350300.001, 5800010.002, -0.28, 0.96, 150, 2.5);
    for (int i = 0; i < 20; ++i) {
        for (int j = 0; j < 20; ++j) {
            Add(points, 350200.125 + 0.25 * i, 5800300.375 + 0.25 * j);
        }
    }
    for (int k = 0; k < 300; ++k) {
        const double angle = 2.0 * kPi * k / 300.0;
        Add(points, Millimetres(350150.0 + 25.0 * std::cos(angle)),
            Millimetres(5800150.0 + 25.0 * std::sin(angle)));
    }
    return points;
}

// A seven-digit survey grid: every node of a 0.5 m grid, offset by a millimetre value that has
// no exact binary form, so each cell is cocircular only to within rounding.
inline Points SurveyGrid(int side) {
    Points points;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            Add(points, 350123.456 + 0.5 * i, 5800456.789 + 0.5 * j);
        }
    }
    return points;
}

// Points within a few units in the last place of the line y = x near 0.5, with two far points
// on the same line: the classic set on which plain orientation tests contradict each other.
inline Points NearlyCollinearUlpGrid(int side) {
    Points points;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            Add(points, 0.5 + i * std::ldexp(1.0, -53), 0.5 + j * std::ldexp(1.0, -53));
        }
    }
    Add(points, 12.0, 12.0);
    Add(points, 24.0, 24.0);
    return points;
}

// Points on lines with slopes that binary fractions cannot hold, at random positions along
// them, plus a few points off the lines.
inline Points NearlyCollinearLines(int perLine, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> along(0.0, 1000.0);
    Points points;
    const double slopes[] = {0.1, 1.0 / 3.0, 0.7, -2.3};
    for (const double slope : slopes) {
        for (int k = 0; k < perLine; ++k) {
            const double t = along(random);
            Add(points, t, 17.0 + slope * t);
        }
    }
    Add(points, 500.0, -1000.0);
    Add(points, 500.0, 3000.0);
    return points;
}

// All points of the integer lattice on the circle of the given squared radius, and its centre.
inline Points LatticeCircle(std::int64_t radiusSquared) {
    Points points;
    const std::int64_t r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(radiusSquared)));
    for (std::int64_t x = -r; x <= r; ++x) {
        const std::int64_t rest = radiusSquared - x * x;
        const std::int64_t y = static_cast<std::int64_t>(std::llround(std::sqrt(rest)));
        if (y * y == rest) {
            Add(points, static_cast<double>(x), static_cast<double>(y));
            if (y != 0) {
                Add(points, static_cast<double>(x), static_cast<double>(-y));
            }
        }
    }
    Add(points, 0.0, 0.0);
    return points;
}

// Points on a circle from cos and sin: cocircular only to within rounding.
inline Points RoundedCircle(int count, double radius, double cx, double cy) {
    Points points;
    for (int k = 0; k < count; ++k) {
        const double angle = 2.0 * kPi * k / count;
        Add(points, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    return points;
}

// A shuffled integer grid scaled by `scale` (a power of ten, so not exact in binary).
inline Points ScaledGrid(int side, double scale, std::uint64_t seed) {
    Points points;
    for (int k = 0; k < side * side; ++k) {
        Add(points, scale * (k % side), scale * (k / side));
    }
    std::shuffle(points.begin(), points.end(), std::mt19937_64(seed));
    return points;
}

// Uniform points scaled into [0, 1000 * scale).
inline Points ScaledUniform(int count, double scale, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> coordinate(0.0, 1000.0);
    Points points;
    for (int k = 0; k < count; ++k) {
        Add(points, scale * coordinate(random), scale * coordinate(random));
    }
    return points;
}

// A side x side block of neighbouring doubles (each a last bit from the next) around (x, y).
inline Points LastBitBlock(double x, double y, int side) {
    Points points;
    double px = x;
    for (int i = 0; i < side; ++i) {
        double py = y;
        for (int j = 0; j < side; ++j) {
            Add(points, px, py);
            py = std::nextafter(py, HUGE_VAL);
        }
        px = std::nextafter(px, HUGE_VAL);
    }
    return points;
}

// `copies` copies each of three points, interleaved.
inline Points CopiesOfThree(int copies) {
    Points points;
    points.reserve(3 * static_cast<std::size_t>(copies));
    for (int k = 0; k < copies; ++k) {
        Add(points, 350123.456, 5800456.789);
        Add(points, 350124.456, 5800456.789);
        Add(points, 350123.456, 5800457.789);
    }
    return points;
}

// Two vertical lines of points (all equal x on each): every split of the sorted order runs
// along a line.
inline Points TwoVerticalLines(int perLine) {
    Points points;
    for (int k = 0; k < perLine; ++k) {
        Add(points, 0.0, 0.1 * k);
        Add(points, 1.0, 0.1 * k + 0.05);
    }
    return points;
}

// Points on the parabola y = x^2: every point is on the hull.
inline Points Parabola(int count) {
    Points points;
    for (int k = 0; k < count; ++k) {
        const double x = (k - count / 2) * 0.01;
        Add(points, x, x * x);
    }
    return points;
}

// An Archimedean spiral, added from the outside in.
inline Points Spiral(int count) {
    Points points;
    for (int k = count - 1; k >= 0; --k) {
        const double angle = 0.1 * k;
        Add(points, angle * std::cos(angle), angle * std::sin(angle));
    }
    return points;
}

// Uniform points added in descending x order.
inline Points Descending(int count, std::uint64_t seed) {
    Points points = ScaledUniform(count, 1.0, seed);
    std::sort(points.begin(), points.end(), [](const geom::CVertex& a, const geom::CVertex& b) {
        return a.x > b.x || (a.x == b.x && a.y > b.y);
    });
    return points;
}

// One horizontal line of points with one point above it.
inline Points LineWithApex(int count) {
    Points points;
    for (int k = 0; k < count; ++k) {
        Add(points, 0.1 * k, 7.0);
    }
    Add(points, 0.05 * count, 7.000000001);
    return points;
}

struct HardSet {
    const char* name;
    Points (*make)();
};

inline void PrintTo(const HardSet& set, std::ostream* os) {
    *os << set.name;
}

inline const std::vector<HardSet>& HardSets() {
    static const std::vector<HardSet> sets = {
        {"UlpGridOnTheDiagonal", [] { return NearlyCollinearUlpGrid(16); }},
        {"LinesWithBinaryInexactSlopes", [] { return NearlyCollinearLines(500, 31); }},
        {"LineWithANearApex", [] { return LineWithApex(1000); }},
        {"LatticeCircle", [] { return LatticeCircle(5525LL * 5525); }},
        {"RoundedCircle", [] { return RoundedCircle(1000, 100.0, 0.0, 0.0); }},
        {"RoundedCircleFarOut", [] { return RoundedCircle(1000, 30.0, 350123.456, 5800456.789); }},
        {"IntegerGrid", [] { return ScaledGrid(60, 1.0, 4); }},
        {"DecimalGrid", [] { return ScaledGrid(60, 0.1, 32); }},
        {"SurveyGrid", [] { return SurveyGrid(60); }},
        {"SurveyPoints", [] { return SurveyPoints(4000, 33); }},
        {"TinyUniform", [] { return ScaledUniform(2000, 1e-300, 34); }},
        {"TinyGrid", [] { return ScaledGrid(30, 1e-300, 35); }},
        {"SubnormalGrid", [] { return ScaledGrid(20, 1e-320, 36); }},
        {"HugeUniform", [] { return ScaledUniform(2000, 1e300, 37); }},
        {"HugeGrid", [] { return ScaledGrid(30, 1e302, 38); }},
        {"UlpBlockAtOne", [] { return LastBitBlock(1.0, 1.0, 12); }},
        {"UlpBlockAtSurveyCoordinates", [] { return LastBitBlock(350123.456, 5800456.789, 12); }},
        {"UlpBlockWithFarPoints",
         [] {
             Points points = LastBitBlock(350123.456, 5800456.789, 6);
             Add(points, 350124.0, 5800456.0);
             Add(points, 350122.0, 5800458.0);
             return points;
         }},
        {"CopiesOfThree", [] { return CopiesOfThree(100000); }},
        {"TwoVerticalLines", [] { return TwoVerticalLines(300); }},
        {"Parabola", [] { return Parabola(1000); }},
        {"Spiral", [] { return Spiral(3000); }},
        {"Descending", [] { return Descending(5000, 39); }},
    };
    return sets;
}

}  // namespace hardgeom
