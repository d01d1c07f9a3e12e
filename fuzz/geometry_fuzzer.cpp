// Fuzz target geometry: the constrained triangulator and CDCT on points, breaklines and
// boundaries decoded from the input, placed to be hard for the arithmetic: on a small lattice
// (collinear and cocircular in many ways), one unit in the last place off it, or off it by a
// fraction, at four placements (small numbers, survey coordinates, tiny ones, large steps).
//
// Layout: byte 0 picks the placement (bits 0-1), a maximum edge length (bit 2) and whether CDCT
// runs too (bit 3). Then records until the input ends: a kind byte (point, breakline, outer
// boundary or hole, by its value modulo 4; a line's vertex count is 1 + (kind / 4) % 8) and for
// each vertex three coordinate bytes x, y, z. A coordinate byte: the lattice position is its low
// four bits, and bits 4-5 say whether it is moved one unit up, one unit down or by 0.3 steps.
//
// Checked: the triangulators give a result or a GeometryError, nothing else; a result without
// triangles only for vertices all on one line; a result is a valid piece of a triangulation
// (corners in range, counter-clockwise, no edge twice, no overlap, first corner the lowest, in
// order); when no two input segments cross, it is also constrained Delaunay, with every segment
// a chain of edges wherever a triangle lies beside it; CDCT's is the Delaunay triangulation of
// its vertices.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <vector>

#include "fuzz/fuzz_failure.h"
#include "fuzz/fuzz_target.h"
#include "geom/kernel/geometry_error.h"
#include "tests/checks/cdt_test_support.h"

namespace {

using cdttest::CdtInput;
using cdttest::Polyline;

struct Placement {
    double base;
    double step;
};

constexpr Placement kPlacements[] = {{0.0, 1.0}, {350000.0, 0.001}, {-1e-3, 1e-9}, {5e5, 3.0}};

double Coordinate(std::uint8_t byte, const Placement& at) {
    const double v = at.base + (byte & 15) * at.step;
    switch ((byte >> 4) & 3) {
        case 1:
            return std::nextafter(v, HUGE_VAL);
        case 2:
            return std::nextafter(v, -HUGE_VAL);
        case 3:
            return v + 0.3 * at.step;
        default:
            return v;
    }
}

CdtInput Decode(const std::uint8_t* data, std::size_t size, const Placement& at) {
    CdtInput input;
    std::size_t k = 1;
    const auto vertex = [&]() {
        const geom::CVertex v(Coordinate(data[k], at), Coordinate(data[k + 1], at),
                              static_cast<double>(data[k + 2]));
        k += 3;
        return v;
    };
    while (k < size) {
        const std::uint8_t kind = data[k++];
        const std::size_t count = kind % 4 == 0 ? 1 : 1 + (kind / 4) % 8;
        Polyline line;
        while (line.size() < count && k + 3 <= size) {
            line.push_back(vertex());
        }
        if (line.size() < count) {
            break;
        }
        switch (kind % 4) {
            case 0:
                input.points.push_back(line.front());
                break;
            case 1:
                input.breaklines.push_back(line);
                break;
            case 2:
                input.outer = line;
                break;
            case 3:
                input.holes.push_back(line);
                break;
        }
    }
    return input;
}

// Whether two of the segments cross or overlap anywhere but at shared ends: the checker's
// constraint test expects every segment to be a chain of edges through the vertices exactly on
// it, which rounded crossing vertices are not.
bool SegmentsMeet(const std::vector<cdttest::Segment>& segments) {
    using exact::ExactOrient;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        for (std::size_t j = i + 1; j < segments.size(); ++j) {
            const exact::Point a = cdttest::At(segments[i].p), b = cdttest::At(segments[i].q);
            const exact::Point c = cdttest::At(segments[j].p), d = cdttest::At(segments[j].q);
            const int abc = ExactOrient(a, b, c), abd = ExactOrient(a, b, d);
            const int cda = ExactOrient(c, d, a), cdb = ExactOrient(c, d, b);
            if (abc * abd < 0 && cda * cdb < 0) {
                return true;
            }
            if (abc == 0 && abd == 0) {
                return true;  // on one line: they may overlap
            }
        }
    }
    return false;
}

template <typename Faults>
void Require(bool valid, const char* what, const Faults& faults) {
    if (!valid) {
        std::ostringstream text;
        text << what << ": " << faults;
        FuzzFailure(text.str());
    }
}

// Fails unless the vertices of a result without triangles all lie on one line, the one case in
// which no triangle can be made (and no line be a chain of edges).
void RequireOnOneLine(const std::vector<geom::CVertex>& vertices, const char* engine) {
    if (!hardgeom::AllOnOneLine(vertices)) {
        FuzzFailure(std::string(engine) + " gave no triangle for vertices not on one line");
    }
}

void CheckConstrained(const CdtInput& input) {
    cdttest::CdtRun run;
    try {
        run = cdttest::RunCdt(input);
    } catch (const std::exception& failure) {
        FuzzFailure(std::string("unexpected exception: ") + failure.what());
    }
    if (!run.failure.empty()) {
        return;  // refused with its own text
    }
    if (run.triangles.empty()) {
        RequireOnOneLine(run.vertices, "the constrained triangulator");
        return;
    }
    const std::vector<cdttest::Segment> segments = cdttest::SegmentsOf(input);
    if (!SegmentsMeet(segments)) {
        const hardgeom::MeshFaults faults = cdttest::CheckCdt(run, segments);
        Require(faults.Valid(), "constrained triangulation", faults);
        return;
    }
    const hardgeom::MeshFaults faults = cdttest::CheckCdt(run, {});
    Require(faults.badCorners + faults.notCounterClockwise + faults.badOrder +
                    faults.repeatedEdges + faults.overlaps ==
                0,
            "constrained triangulation with crossing lines", faults);
}

void CheckDct(const CdtInput& input) {
    std::vector<geom::CVertex> points = input.points;
    for (const Polyline& line : input.breaklines) {
        points.insert(points.end(), line.begin(), line.end());
    }
    const dcttest::Triangulation run = dcttest::TriangulateAll(points);
    if (!run.failure.empty()) {
        return;
    }
    if (run.triangles.empty()) {
        RequireOnOneLine(run.vertices, "CDCT");
        return;
    }
    const hardgeom::MeshFaults faults =
        hardgeom::CheckTriangulation(run.vertices, dcttest::IndexTriples(run.triangles));
    Require(faults.Valid(), "CDCT", faults);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Placement& at = kPlacements[data[0] & 3];
    CdtInput input = Decode(data, size, at);
    if ((data[0] & 4) != 0) {
        input.maxEdgeLength = 6 * at.step;
    }
    CheckConstrained(input);
    if ((data[0] & 8) != 0) {
        CheckDct(input);
    }
    return 0;
}
