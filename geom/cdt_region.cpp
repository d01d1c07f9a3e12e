#include "geom/cdt_region.h"

namespace geom {

namespace {

struct Winding {
    int outer;
    int hole;
};

// The winding steps for crossing the edge opposite corner i of t from its right to its left
// side, seen along (v[i+1] -> v[i+2]): into t.
Winding StepInto(const CdtMesh& mesh,
                 const std::unordered_map<std::uint64_t, CdtConstraint>& records,
                 std::uint32_t t, int i) {
    if (!mesh.IsFixed(CdtEdge{t, i})) {
        return {0, 0};
    }
    const CdtVertexPair ends = mesh.Ends(CdtEdge{t, i});
    const CdtConstraint& record = records.at(CdtEdgeKey(ends.first, ends.second));
    const int sign = ends.first < ends.second ? 1 : -1;
    return {sign * record.outer, sign * record.hole};
}

}  // namespace

std::vector<std::uint8_t> CdtClassifyRegion(
    const CdtMesh& mesh, const std::unordered_map<std::uint64_t, CdtConstraint>& records,
    bool hasOuter, bool hasHoles) {
    const std::size_t count = mesh.triangles.size();
    std::vector<std::uint8_t> state(count, kCdtKept);
    if (!hasOuter && !hasHoles) {
        return state;
    }
    std::vector<Winding> winding(count);
    std::vector<std::uint8_t> seen(count, 0);
    std::vector<std::uint32_t> queue;
    queue.reserve(count);
    // Outside the hull every winding number is zero: start at one hull edge.
    for (std::uint32_t t = 0; t < count && queue.empty(); ++t) {
        for (int i = 0; i < 3; ++i) {
            if (mesh.triangles[t].n[i] == kCdtNone) {
                winding[t] = StepInto(mesh, records, t, i);
                seen[t] = 1;
                queue.push_back(t);
                break;
            }
        }
    }
    for (std::size_t k = 0; k < queue.size(); ++k) {
        const std::uint32_t t = queue[k];
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t n = mesh.triangles[t].n[i];
            if (n == kCdtNone || seen[n >> 2]) {
                continue;
            }
            const std::uint32_t next = n >> 2;
            const Winding step = StepInto(mesh, records, next, static_cast<int>(n & 3u));
            winding[next] = {winding[t].outer + step.outer, winding[t].hole + step.hole};
            seen[next] = 1;
            queue.push_back(next);
        }
    }
    for (std::size_t t = 0; t < count; ++t) {
        if (hasOuter && winding[t].outer == 0) {
            state[t] = kCdtOutside;
        } else if (winding[t].hole != 0) {
            state[t] = kCdtHidden;
        }
    }
    return state;
}

void CdtTrimLongEdges(const CdtMesh& mesh, double maxLength, std::vector<std::uint8_t>& state) {
    const double limit = maxLength * maxLength;
    const auto exposedLong = [&](std::uint32_t t) {
        const CdtTriangle& tri = mesh.triangles[t];
        for (int i = 0; i < 3; ++i) {
            const bool outside = tri.n[i] == kCdtNone || state[tri.n[i] >> 2] == kCdtOutside;
            if (!outside || ((tri.fixed >> i) & 1u) != 0) {
                continue;
            }
            const CdtPoint& p = mesh.points[tri.v[CdtNext(i)]];
            const CdtPoint& q = mesh.points[tri.v[CdtPrev(i)]];
            const double dx = q.x - p.x;
            const double dy = q.y - p.y;
            if (dx * dx + dy * dy > limit) {
                return true;
            }
        }
        return false;
    };
    std::vector<std::uint32_t> queue;
    for (std::uint32_t t = 0; t < mesh.triangles.size(); ++t) {
        if (state[t] == kCdtKept && exposedLong(t)) {
            state[t] = kCdtOutside;
            queue.push_back(t);
        }
    }
    while (!queue.empty()) {
        const std::uint32_t t = queue.back();
        queue.pop_back();
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t n = mesh.triangles[t].n[i];
            if (n != kCdtNone && state[n >> 2] == kCdtKept && exposedLong(n >> 2)) {
                state[n >> 2] = kCdtOutside;
                queue.push_back(n >> 2);
            }
        }
    }
}

}  // namespace geom
