#include "geom/cdt/cdt_touch_ways.h"

#include <vector>

#include "geom/kernel/keep_reads.h"
#include "geom/kernel/predicates.h"

namespace geom {

namespace {

constexpr int kAroundLimit = 16;
constexpr int kAcrossLimit = 256;

// The side of c from the line a -> b, in plain arithmetic: a hint may err on points near it.
int RoughSide(const PlanPoint& a, const PlanPoint& b, const PlanPoint& c) {
    const double det = PlanCross(a, b, c);
    return (det > 0.0) - (det < 0.0);
}

struct Walk {
    PlanPoint pa;
    PlanPoint pb;
    std::uint32_t a;
    std::uint32_t b;
    std::uint32_t t;
    int i;       // across: the corner of t opposite the edge the way leaves t through
    bool round;  // still turning round a
    int steps;
};

class Walks {
public:
    explicit Walks(const CdtMesh& mesh) : mesh_(mesh) {}

    // One triangle further; false when the walk ends.
    bool Step(Walk& w) { return w.round ? StepRound(w) : StepAcross(w); }

    std::uint32_t sum = 0;

private:
    bool StepRound(Walk& w) {
        const CdtTriangle& tri = mesh_.triangles[w.t];
        const int i = tri.v[0] == w.a ? 0 : (tri.v[1] == w.a ? 1 : (tri.v[2] == w.a ? 2 : -1));
        if (i < 0 || ++w.steps > kAroundLimit) {
            return false;
        }
        const std::uint32_t p = tri.v[CdtNext(i)];
        const std::uint32_t q = tri.v[CdtPrev(i)];
        if (p == w.b || q == w.b) {
            return false;
        }
        const int sideP = RoughSide(w.pa, w.pb, mesh_.points[p]);
        const int sideQ = RoughSide(w.pa, w.pb, mesh_.points[q]);
        if (sideP < 0 && sideQ > 0) {
            w.round = false;
            w.i = i;
            w.steps = 0;
            return true;
        }
        const std::uint32_t n = tri.n[CdtNext(i)];
        if (n == kCdtNone) {
            return false;
        }
        w.t = n >> 2;
        return true;
    }

    bool StepAcross(Walk& w) {
        const std::uint32_t n = mesh_.triangles[w.t].n[w.i];
        if (n == kCdtNone || ++w.steps > kAcrossLimit) {
            return false;
        }
        const std::uint32_t t2 = n >> 2;
        const int j = static_cast<int>(n & 3u);
        const CdtTriangle& tri = mesh_.triangles[t2];
        // The neighbours beyond the crossed triangle, which the flips relink and the Delaunay
        // tests read, and each corner's triangle entry, which the flips rewrite.
        for (const int k : {CdtNext(j), CdtPrev(j)}) {
            const std::uint32_t beyond = tri.n[k];
            if (beyond != kCdtNone) {
                sum += mesh_.triangles[beyond >> 2].v[beyond & 3u];
            }
            sum += mesh_.vertexTriangle[tri.v[k]];
        }
        const std::uint32_t s = tri.v[j];
        if (s == w.b) {
            return false;
        }
        const int side = RoughSide(w.pa, w.pb, mesh_.points[s]);
        if (side == 0) {
            return false;
        }
        w.t = t2;
        w.i = side > 0 ? CdtNext(j) : CdtPrev(j);
        return true;
    }

    const CdtMesh& mesh_;
};

}  // namespace

void CdtTouchWays(const CdtMesh& mesh, const std::uint32_t* ends, std::uint32_t count) {
    std::vector<Walk> walks;
    walks.reserve(count);
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint32_t a = ends[2 * k];
        const std::uint32_t b = ends[2 * k + 1];
        const std::uint32_t t = mesh.vertexTriangle[a];
        if (t != kCdtNone) {
            walks.push_back(Walk{mesh.points[a], mesh.points[b], a, b, t, 0, true, 0});
        }
    }
    Walks stepper(mesh);
    std::size_t active = walks.size();
    while (active > 0) {
        for (std::size_t k = 0; k < active;) {
            if (stepper.Step(walks[k])) {
                ++k;
            } else {
                walks[k] = walks[--active];
            }
        }
    }
    KeepReads(stepper.sum);
}

}  // namespace geom
