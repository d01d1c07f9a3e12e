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
#include "geom/cdt/cdt_snap.h"
#include "geom/cdt/cdt_surface_elevation.h"
#include "geom/cdt/cdt_touch_ways.h"
#include "geom/kernel/geometry_error.h"
#include "geom/kernel/invariants.h"

namespace geom {

namespace {

bool Finite(const CVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The indices of the vertices at the plan positions of line[0 .. n - 1] among the first `count`
// mesh points, which are sorted by x, then y and hold every line vertex: binary searches, a
// batch of them in step, so that their cache misses overlap.
void SortedIndicesOf(const CdtLentArray<PlanPoint>& points, std::uint32_t count,
                     const CVertex* line, std::size_t n, std::uint32_t* indices) {
    constexpr std::size_t kBatch = 16;
    const auto before = [](const PlanPoint& p, const CVertex& q) {
        return p.x < q.x || (p.x == q.x && p.y < q.y);
    };
    for (std::size_t first = 0; first < n; first += kBatch) {
        const std::size_t batch = std::min(kBatch, n - first);
        std::uint32_t base[kBatch] = {};
        // The position lies in [base, base + length] for every search of the batch alike.
        for (std::uint32_t length = count; length > 1;) {
            const std::uint32_t half = length / 2;
            for (std::size_t k = 0; k < batch; ++k) {
                base[k] += before(points[base[k] + half], line[first + k]) ? half : 0;
            }
            length -= half;
        }
        for (std::size_t k = 0; k < batch; ++k) {
            const bool after = count > 0 && before(points[base[k]], line[first + k]);
            indices[first + k] = base[k] + (after ? 1 : 0);
        }
    }
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
    if (snapTolerance_ > 0.0) {
        points_.emplace_back(x, y, z);
        return 1;
    }
    return dct_->AddPoint(x, y, z);
}

CVertex CConstrainedDCT::StoredPoint(std::size_t n) const {
    if (snapTolerance_ > 0.0) {
        return points_[n];
    }
    const DctStoredPoint& point = dct_->AddedPoint(static_cast<std::uint32_t>(n));
    return CVertex(point.x, point.y, point.z);
}

std::size_t CConstrainedDCT::DropRepeatedPoints() {
    if (!dct_) {
        throw GeometryError(GeometryFailure::kTriangulatedOnce);
    }
    if (snapTolerance_ <= 0.0) {
        std::size_t lineVertexCount = 0;
        for (const Line& line : lines_) {
            lineVertexCount += line.vertices.size();
        }
        const std::uint32_t more =
            static_cast<std::uint32_t>(std::min<std::size_t>(lineVertexCount, 0xFFFFFFFFu));
        const std::size_t dropped = dct_->DropRepeatedPositions(more);
        pointCount_ -= dropped;
        return dropped;
    }
    // The snap keeps the points together here: a CDCT of their own finds the repeats.
    GatherPoints();
    CDCT sorter;
    for (const CVertex& p : points_) {
        sorter.AddPoint(p.x, p.y, p.z);
    }
    const std::size_t dropped = sorter.DropRepeatedPositions(0);
    points_.resize(points_.size() - dropped);
    for (std::size_t k = 0; k < points_.size(); ++k) {
        const DctStoredPoint& point = sorter.AddedPoint(static_cast<std::uint32_t>(k));
        points_[k] = CVertex(point.x, point.y, point.z);
    }
    pointCount_ = points_.size();
    return dropped;
}

void CConstrainedDCT::AddBreakline(const std::vector<CVertex>& vertices) {
    lines_.push_back(Line{LineKind::Breakline, vertices});
}

void CConstrainedDCT::SetOuterBoundary(const std::vector<CVertex>& vertices,
                                       CdtBoundaryElevation elevation) {
    lines_.erase(std::remove_if(lines_.begin(), lines_.end(),
                                [](const Line& line) { return line.kind == LineKind::Outer; }),
                 lines_.end());
    lines_.push_back(
        Line{LineKind::Outer, vertices, elevation == CdtBoundaryElevation::FromSurface});
    hasOuter_ = true;
}

void CConstrainedDCT::AddHole(const std::vector<CVertex>& vertices,
                              CdtBoundaryElevation elevation) {
    lines_.push_back(
        Line{LineKind::Hole, vertices, elevation == CdtBoundaryElevation::FromSurface});
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
    if (!std::isfinite(snapTolerance_) || snapTolerance_ < 0) {
        throw GeometryError(GeometryFailure::kBadSnapTolerance);
    }
    try {
        if (lines_.empty() && maxEdgeLength_ == 0.0 && snapTolerance_ == 0.0) {
            return TriangulatePlain();
        }
        // The lines as given, or a copy that the snap and the surface's elevations change.
        std::vector<Line> adjusted;
        const bool fromSurface =
            std::any_of(lines_.begin(), lines_.end(), [](const Line& l) { return l.fromSurface; });
        const bool adjust = snapTolerance_ > 0.0 || fromSurface;
        if (adjust) {
            adjusted = lines_;
            GatherPoints();
            SnapInput(adjusted);
            TakeSurfaceElevations(adjusted);
            for (const CVertex& p : points_) {
                dct_->AddPoint(p.x, p.y, p.z);
            }
            pointCount_ = points_.size();
            std::vector<CVertex>().swap(points_);
        }
        bool hasHoles = false;
        std::vector<Line> closed;
        const LineOrder lines = LinesInOrder(adjust ? adjusted : lines_, closed, hasHoles);
        CdtMesh mesh;
        // CDCT's result room, whose workspace pages are in memory already, takes the result.
        std::vector<CTriangle> result;
        TriangulatePoints(lines, mesh, result);
        const std::uint32_t sortedCount = static_cast<std::uint32_t>(mesh.points.size());
        if (mesh.triangles.empty()) {
            for (std::uint32_t k = 0; k < sortedCount; ++k) {
                vertices_.emplace_back(mesh.points[k].x, mesh.points[k].y, mesh.z[k]);
            }
            return {};
        }
        const LineSegments split = SplitLines(lines, mesh.points, sortedCount);
        CdtConstraints constraints(mesh, split.segments);
        InsertLines(lines, split, mesh, constraints);
        if (kCheckInvariants) {
            CdtCheckLinks(mesh);
        }
        mesh.z.resize(mesh.points.size(), 0.0);
        CdtLineElevations(mesh, constraints.records, split.segments, split.ends, split.vertices,
                          mesh.z);
        std::vector<std::uint8_t> state =
            CdtClassifyRegion(mesh, constraints.records, hasOuter_, hasHoles);
        if (maxEdgeLength_ > 0) {
            CdtTrimLongEdges(mesh, maxEdgeLength_, state);
        }
        CdtExtract(mesh, sortedCount, state, mesh.z, result, vertices_);
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

// Nothing to constrain, trim or snap: CDCT's own lists are the result, which the way through the
// mesh would give identically.
std::vector<CTriangle> CConstrainedDCT::TriangulatePlain() {
    std::vector<CTriangle> triangles = dct_->Triangulate();
    vertices_ = dct_->GetVertices();
    dct_.reset();
    return triangles;
}

// The survey points together in points_, in the order they came, with a fresh CDCT for the run
// (those that went to CDCT before a snap tolerance was set: as CDCT stores them, first).
void CConstrainedDCT::GatherPoints() {
    if (points_.size() < pointCount_) {
        std::vector<CVertex> stored = dct_->GetVertices();
        stored.insert(stored.end(), points_.begin(), points_.end());
        points_.swap(stored);
        dct_.reset(new CDCT);
    }
}

void CConstrainedDCT::SnapInput(std::vector<Line>& lines) {
    if (snapTolerance_ <= 0.0) {
        return;
    }
    std::vector<CdtSnapLine> snapLines;
    for (Line& line : lines) {
        snapLines.push_back({&line.vertices, line.kind != LineKind::Breakline});
    }
    snapCounts_ = CdtSnap(points_, snapLines, snapTolerance_);
}

// The z of the FromSurface boundaries' vertices from the surface of the points and breaklines.
void CConstrainedDCT::TakeSurfaceElevations(std::vector<Line>& lines) const {
    std::vector<CVertex*> positions;
    for (Line& line : lines) {
        if (line.fromSurface) {
            for (CVertex& v : line.vertices) {
                positions.push_back(&v);
            }
        }
    }
    if (positions.empty()) {
        return;
    }
    CConstrainedDCT surface;
    for (const CVertex& p : points_) {
        surface.AddPoint(p.x, p.y, p.z);
    }
    for (const Line& line : lines) {
        if (line.kind == LineKind::Breakline) {
            surface.AddBreakline(line.vertices);
        }
    }
    std::vector<CTriangle> triangles;
    try {
        triangles = surface.Triangulate();
    } catch (const GeometryError& error) {
        // Fewer than three positions make no surface: the boundaries keep their z.
        if (error.Kind() != GeometryFailure::kTooFewVertices) {
            throw;
        }
        return;
    }
    if (!triangles.empty()) {
        CdtSurfaceElevations(triangles, surface.GetVertices(), positions);
    }
}

// The lines in the order they go in: boundaries first (closed and counter-clockwise), so that
// boundaries crossing each other meet before any breakline has split them.
// The boundaries, closed, go to `closed`; the breaklines are the source's own.
CConstrainedDCT::LineOrder CConstrainedDCT::LinesInOrder(const std::vector<Line>& source,
                                                         std::vector<Line>& closed,
                                                         bool& hasHoles) {
    for (const LineKind kind : {LineKind::Outer, LineKind::Hole}) {
        for (const Line& line : source) {
            if (line.kind == kind) {
                closed.push_back(Line{kind, CdtCloseBoundary(line.vertices), line.fromSurface});
                hasHoles = hasHoles || kind == LineKind::Hole;
            }
        }
    }
    LineOrder lines;
    for (const Line& line : closed) {
        lines.push_back(&line);
    }
    for (const Line& line : source) {
        if (line.kind == LineKind::Breakline) {
            lines.push_back(&line);
        }
    }
    return lines;
}

// CDCT over the survey points and the lines' vertices; its edge rings and elevations become the
// mesh. `room` gets CDCT's empty result list with the room it reserved.
void CConstrainedDCT::TriangulatePoints(const LineOrder& lines, CdtMesh& mesh,
                                        std::vector<CTriangle>& room) {
    std::size_t lineVertexCount = 0;
    for (const Line* line : lines) {
        for (const CVertex& v : line->vertices) {
            dct_->AddPoint(v.x, v.y, v.z);
        }
        lineVertexCount += line->vertices.size();
    }
    // CDCT's edge ends are numbered below 6 per stored point.
    const std::size_t endCount = 6 * (pointCount_ + lineVertexCount);
    dct_->SetRingReader([&](const DctRings& rings) {
        // Room for crossing vertices: as many as the lines have vertices, before anything grows.
        mesh.Build(rings, endCount, lineVertexCount + 1024);
    });
    room = dct_->Triangulate();
    dct_.reset();
}

// The lines' vertices as mesh vertices, and their segments of non-zero length.
CConstrainedDCT::LineSegments CConstrainedDCT::SplitLines(const LineOrder& lines,
                                                          const CdtLentArray<PlanPoint>& points,
                                                          std::uint32_t sortedCount) {
    LineSegments split;
    std::vector<std::uint32_t> indices;
    for (std::uint32_t l = 0; l < lines.size(); ++l) {
        const Line& line = *lines[l];
        const bool boundary = line.kind != LineKind::Breakline;
        const std::size_t n = line.vertices.size();
        const std::size_t first = split.vertices.size();
        indices.resize(n);
        SortedIndicesOf(points, sortedCount, line.vertices.data(), n, indices.data());
        for (std::size_t k = 0; k < n; ++k) {
            split.vertices.push_back({indices[k], l, line.vertices[k].z, boundary});
        }
        const std::size_t segmentCount = boundary ? n : (n > 0 ? n - 1 : 0);
        for (std::size_t k = 0; k < segmentCount; ++k) {
            const CVertex& p = line.vertices[k];
            const CVertex& q = line.vertices[(k + 1) % n];
            const std::uint32_t a = split.vertices[first + k].vertex;
            const std::uint32_t b = split.vertices[first + (k + 1) % n].vertex;
            if (a != b) {
                split.segments.push_back(
                    {{p.x, p.y}, {q.x, q.y}, p.z, q.z, l, boundary, line.fromSurface});
                split.ends.push_back(a);
                split.ends.push_back(b);
            }
        }
    }
    return split;
}

// The segments go in one after another; each batch's ways through the mesh are read all at once
// first, so that the insertion finds them in the cache (a line's walk across a mesh stored in x
// order misses at nearly every triangle).
void CConstrainedDCT::InsertLines(const LineOrder& lines, const LineSegments& split,
                                  const CdtMesh& mesh, CdtConstraints& constraints) {
    constexpr std::uint32_t kBatch = 16;
    const std::uint32_t count = static_cast<std::uint32_t>(split.segments.size());
    for (std::uint32_t s = 0; s < count; ++s) {
        if (s % kBatch == 0) {
            CdtTouchWays(mesh, split.ends.data() + 2 * s, std::min(kBatch, count - s));
        }
        const LineKind kind = lines[split.segments[s].line]->kind;
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
