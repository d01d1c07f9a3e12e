#include "geom/cdt/cdt.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "geom/cdt/cdt_boundary.h"
#include "geom/cdt/cdt_check_links.h"
#include "geom/cdt/cdt_constraints.h"
#include "geom/cdt/cdt_elevations.h"
#include "geom/cdt/cdt_mesh.h"
#include "geom/cdt/cdt_output.h"
#include "geom/cdt/cdt_region.h"
#include "geom/kernel/geometry_error.h"
#include "geom/kernel/invariants.h"

namespace geom {

namespace {

bool Finite(const CVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The index of the vertex at v's plan position among the first `count` mesh points, which are
// sorted by x, then y and hold every line vertex.
std::uint32_t SortedIndexOf(const std::vector<PlanPoint>& points, std::uint32_t count,
                            const CVertex& v) {
    const auto end = points.begin() + count;
    const auto at =
        std::lower_bound(points.begin(), end, v, [](const PlanPoint& p, const CVertex& q) {
            return p.x < q.x || (p.x == q.x && p.y < q.y);
        });
    return static_cast<std::uint32_t>(at - points.begin());
}

}  // namespace

CConstrainedDCT::CConstrainedDCT() : dct_(new CDCT) {}

CConstrainedDCT::~CConstrainedDCT() = default;

int CConstrainedDCT::AddPoint(double x, double y, double z) {
    if (!dct_) {
        throw GeometryError(GeometryFailure::kTriangulatedOnce);
    }
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        notFinite_ = true;
        return 1;
    }
    ++pointCount_;
    return dct_->AddPoint(x, y, z);
}

void CConstrainedDCT::AddBreakline(const std::vector<CVertex>& vertices) {
    lines_.push_back(Line{LineKind::Breakline, vertices});
}

void CConstrainedDCT::SetOuterBoundary(const std::vector<CVertex>& vertices) {
    lines_.erase(std::remove_if(lines_.begin(), lines_.end(),
                                [](const Line& line) { return line.kind == LineKind::Outer; }),
                 lines_.end());
    lines_.push_back(Line{LineKind::Outer, vertices});
    hasOuter_ = true;
}

void CConstrainedDCT::AddHole(const std::vector<CVertex>& vertices) {
    lines_.push_back(Line{LineKind::Hole, vertices});
}

void CConstrainedDCT::SetMaxEdgeLength(double length) {
    maxEdgeLength_ = length;
}

bool CConstrainedDCT::FailurePosition(double& x, double& y) const {
    x = failureX_;
    y = failureY_;
    return failed_;
}

std::vector<CTriangle> CConstrainedDCT::Triangulate() {
    vertices_.clear();
    failed_ = false;
    if (!dct_) {
        throw GeometryError(GeometryFailure::kTriangulatedOnce);
    }
    if (notFinite_) {
        throw GeometryError(GeometryFailure::kNotFinite);
    }
    for (const Line& line : lines_) {
        if (!std::all_of(line.vertices.begin(), line.vertices.end(), Finite)) {
            throw GeometryError(GeometryFailure::kNotFinite);
        }
    }
    if (!std::isfinite(maxEdgeLength_) || maxEdgeLength_ < 0) {
        throw GeometryError(GeometryFailure::kBadEdgeLength);
    }
    try {
        bool hasHoles = false;
        const std::vector<Line> lines = LinesInOrder(hasHoles);
        CdtMesh mesh;
        std::vector<double> z;
        TriangulatePoints(lines, mesh, z);
        const std::uint32_t sortedCount = static_cast<std::uint32_t>(mesh.points.size());
        if (mesh.triangles.empty()) {
            for (std::uint32_t k = 0; k < sortedCount; ++k) {
                vertices_.emplace_back(mesh.points[k].x, mesh.points[k].y, z[k]);
            }
            return {};
        }
        const LineSegments split = SplitLines(lines, mesh.points, sortedCount);
        CdtConstraints constraints(mesh, split.segments);
        InsertLines(lines, split, constraints);
        if (kCheckInvariants) {
            CdtCheckLinks(mesh);
        }
        z.resize(mesh.points.size(), 0.0);
        CdtLineElevations(mesh, constraints.records, split.segments, split.vertices, z);
        std::vector<std::uint8_t> state =
            CdtClassifyRegion(mesh, constraints.records, hasOuter_, hasHoles);
        if (maxEdgeLength_ > 0) {
            CdtTrimLongEdges(mesh, maxEdgeLength_, state);
        }
        std::vector<CTriangle> result;
        CdtExtract(mesh, sortedCount, state, z, result, vertices_);
        if (result.empty()) {
            vertices_.clear();
            throw GeometryError(hasOuter_ || hasHoles ? GeometryFailure::kNothingLeft
                                                      : GeometryFailure::kAllTrimmed);
        }
        return result;
    } catch (const std::bad_alloc&) {
        vertices_.clear();
        throw GeometryError(GeometryFailure::kWorkspaceShort);
    }
}

// The lines in the order they go in: boundaries first (closed and counter-clockwise), so that
// boundaries crossing each other meet before any breakline has split them.
std::vector<CConstrainedDCT::Line> CConstrainedDCT::LinesInOrder(bool& hasHoles) const {
    std::vector<Line> lines;
    for (const LineKind kind : {LineKind::Outer, LineKind::Hole, LineKind::Breakline}) {
        for (const Line& line : lines_) {
            if (line.kind == kind) {
                lines.push_back(kind == LineKind::Breakline
                                    ? line
                                    : Line{kind, CdtCloseBoundary(line.vertices)});
                hasHoles = hasHoles || kind == LineKind::Hole;
            }
        }
    }
    return lines;
}

// CDCT over the survey points and the lines' vertices; its edge rings become the mesh, and the
// vertices' elevations z.
void CConstrainedDCT::TriangulatePoints(const std::vector<Line>& lines, CdtMesh& mesh,
                                        std::vector<double>& z) {
    std::size_t lineVertexCount = 0;
    for (const Line& line : lines) {
        for (const CVertex& v : line.vertices) {
            dct_->AddPoint(v.x, v.y, v.z);
        }
        lineVertexCount += line.vertices.size();
    }
    // CDCT's edge ends are numbered below 6 per stored point.
    const std::size_t endCount = 6 * (pointCount_ + lineVertexCount);
    dct_->SetRingReader([&](std::uint32_t m, const DctVertex* corners, const DctEdgeEnd* ends) {
        // Room for crossing vertices: as many as the lines have vertices, before anything grows.
        mesh.Build(m, corners, ends, endCount, lineVertexCount + 1024);
        z.resize(m);
        for (std::uint32_t k = 0; k < m; ++k) {
            z[k] = corners[k].z;
        }
    });
    dct_->Triangulate();
    dct_.reset();
}

// The lines' vertices as mesh vertices, and their segments of non-zero length.
CConstrainedDCT::LineSegments CConstrainedDCT::SplitLines(const std::vector<Line>& lines,
                                                          const std::vector<PlanPoint>& points,
                                                          std::uint32_t sortedCount) {
    LineSegments split;
    for (std::uint32_t l = 0; l < lines.size(); ++l) {
        const Line& line = lines[l];
        const bool boundary = line.kind != LineKind::Breakline;
        const std::size_t n = line.vertices.size();
        const std::size_t first = split.vertices.size();
        for (const CVertex& v : line.vertices) {
            split.vertices.push_back({SortedIndexOf(points, sortedCount, v), l, v.z, boundary});
        }
        const std::size_t segmentCount = boundary ? n : (n > 0 ? n - 1 : 0);
        for (std::size_t k = 0; k < segmentCount; ++k) {
            const CVertex& p = line.vertices[k];
            const CVertex& q = line.vertices[(k + 1) % n];
            const std::uint32_t a = split.vertices[first + k].vertex;
            const std::uint32_t b = split.vertices[first + (k + 1) % n].vertex;
            if (a != b) {
                split.segments.push_back({{p.x, p.y}, {q.x, q.y}, p.z, q.z, l, boundary});
                split.ends.push_back(a);
                split.ends.push_back(b);
            }
        }
    }
    return split;
}

void CConstrainedDCT::InsertLines(const std::vector<Line>& lines, const LineSegments& split,
                                  CdtConstraints& constraints) {
    for (std::uint32_t s = 0; s < split.segments.size(); ++s) {
        const LineKind kind = lines[split.segments[s].line].kind;
        try {
            constraints.Insert(split.ends[2 * s], split.ends[2 * s + 1], s,
                               kind == LineKind::Outer ? 1 : 0, kind == LineKind::Hole ? 1 : 0);
        } catch (const GeometryError& error) {
            if (error.HasPosition()) {
                failed_ = true;
                failureX_ = error.Position().x;
                failureY_ = error.Position().y;
            }
            throw;
        }
    }
}

}  // namespace geom
