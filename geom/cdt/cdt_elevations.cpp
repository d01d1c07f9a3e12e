#include "geom/cdt/cdt_elevations.h"

#include <algorithm>
#include <tuple>

namespace geom {

namespace {

struct Contribution {
    std::uint32_t vertex;
    int rank;  // 2 breakline, 1 boundary
    std::uint32_t line;
    double z;
};

double ElevationOn(const CdtLineSegment& segment, const PlanPoint& at) {
    if (at == segment.p) {
        return segment.zp;
    }
    if (at == segment.q) {
        return segment.zq;
    }
    const double dx = segment.q.x - segment.p.x;
    const double dy = segment.q.y - segment.p.y;
    double t = ((at.x - segment.p.x) * dx + (at.y - segment.p.y) * dy) / (dx * dx + dy * dy);
    t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    return segment.zp + t * (segment.zq - segment.zp);
}

}  // namespace

void CdtLineElevations(const CdtMesh& mesh, const CdtConstraintTable& records,
                       const std::vector<CdtLineSegment>& segments,
                       const std::vector<std::uint32_t>& segmentEnds,
                       const std::vector<CdtLineVertex>& lineVertices, CdtLentArray<double>& z) {
    std::vector<Contribution> all;
    all.reserve(lineVertices.size() + 4 * records.size());
    for (const CdtLineVertex& v : lineVertices) {
        all.push_back({v.vertex, v.boundary ? 1 : 2, v.line, v.z});
    }
    records.ForEach([&](std::uint64_t key, const CdtConstraint& record) {
        const std::uint32_t ends[2] = {static_cast<std::uint32_t>(key >> 32),
                                       static_cast<std::uint32_t>(key & 0xFFFFFFFFu)};
        for (const std::uint32_t owner : record.owners) {
            const CdtLineSegment& segment = segments[owner];
            if (segment.clipOnly) {
                continue;
            }
            for (const std::uint32_t v : ends) {
                // At its own ends a segment gives its line vertex's z, which that vertex's own
                // contribution gives already.
                if (v == segmentEnds[2 * owner] || v == segmentEnds[2 * owner + 1]) {
                    continue;
                }
                all.push_back({v, segment.boundary ? 1 : 2, segment.line,
                               ElevationOn(segment, mesh.points[v])});
            }
        }
    });
    // By vertex, the highest rank first; the same line giving the same z counts once.
    const auto key = [](const Contribution& c) {
        return std::make_tuple(c.vertex, -c.rank, c.line, c.z);
    };
    std::sort(all.begin(), all.end(),
              [&](const Contribution& l, const Contribution& r) { return key(l) < key(r); });
    all.erase(
        std::unique(all.begin(), all.end(),
                    [&](const Contribution& l, const Contribution& r) { return key(l) == key(r); }),
        all.end());
    for (std::size_t k = 0; k < all.size();) {
        const std::uint32_t vertex = all[k].vertex;
        const int rank = all[k].rank;
        double sum = 0.0;
        std::size_t count = 0;
        for (; k < all.size() && all[k].vertex == vertex; ++k) {
            if (all[k].rank == rank) {
                sum += all[k].z;
                ++count;
            }
        }
        z[vertex] = sum / static_cast<double>(count);
    }
}

}  // namespace geom
