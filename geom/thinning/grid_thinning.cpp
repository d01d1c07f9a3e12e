#include "geom/thinning/grid_thinning.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "geom/kernel/keep_reads.h"
#include "geom/thinning/grid_circle.h"
#include "geom/thinning/grid_diagonal.h"
#include "geom/thinning/grid_scan.h"
#include "geom/thinning/thin_queue.h"

namespace geom {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;
// Insertions for a distance up to this factor of the tolerance are tried for removal at the end.
// On the benchmark's DEM (pointcloud_bench) a quarter keeps 0.6 to 1.6 % fewer triangles than a
// sixteenth, for about 4 % more instructions at 0.1 m.
constexpr double kNearTie = 1.0 + 1.0 / 4;

class GridTin {
public:
    GridTin(const GridLattice& grid, double tolerance)
        : grid_(grid),
          tolerance_(tolerance),
          // The steps are exact differences of the first two columns and rows (GridLattice).
          square_(grid.xs[1] - grid.xs[0] == grid.ys[1] - grid.ys[0]),
          scan_(grid, tolerance),
          queue_(tolerance) {}

    ThinSurface Run(const std::function<void()>& tick);

private:
    // A vertex: its node's place and elevation (its plan position is the grid's: GridNode); what
    // the removal of near ties needs lies apart (distances_, stars_).
    struct Vertex {
        GridPlace place;
        double z;
    };
    // Corners counter-clockwise; n[k] the neighbour across the edge opposite v[k]; its farthest
    // node beyond the tolerance, if any (its distance is in the queue's entry). 32 bytes, aligned:
    // a record never straddles two cache lines.
    struct alignas(32) Triangle {
        std::uint32_t v[3];
        std::uint32_t n[3];
        std::uint32_t node;
    };

    std::uint32_t AddVertex(std::uint32_t i, std::uint32_t j) {
        vertices_.push_back(Vertex{GridPlace{i, j}, grid_.z[grid_.At(i, j)]});
        distances_.push_back(0.0);
        return static_cast<std::uint32_t>(vertices_.size() - 1);
    }
    GridNode Node(std::uint32_t v) const {
        const Vertex& vertex = vertices_[v];
        GridNode node;
        node.i = vertex.place.i;
        node.j = vertex.place.j;
        node.p = ThinPoint{grid_.xs[vertex.place.i], grid_.ys[vertex.place.j], vertex.z};
        return node;
    }
    std::uint32_t AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        Triangle t;
        t.v[0] = a, t.v[1] = b, t.v[2] = c;
        t.n[0] = t.n[1] = t.n[2] = kNone;
        t.node = kNone;
        triangles_.push_back(t);
        Touch(static_cast<std::uint32_t>(triangles_.size() - 1));
        return static_cast<std::uint32_t>(triangles_.size() - 1);
    }
    void Touch(std::uint32_t t) {
        if (stamps_.size() <= t) {
            stamps_.resize(t + 1, 0);
        }
        if (stamps_[t] != round_) {
            stamps_[t] = round_;
            touched_.push_back(t);
        }
    }
    // Turns t so that its corner `vertex` comes first.
    void Rotate(Triangle& t, std::uint32_t vertex) {
        while (t.v[0] != vertex) {
            const std::uint32_t v0 = t.v[0], n0 = t.n[0];
            t.v[0] = t.v[1], t.v[1] = t.v[2], t.v[2] = v0;
            t.n[0] = t.n[1], t.n[1] = t.n[2], t.n[2] = n0;
        }
    }
    // Reads t's record and, unless recordOnly, its corners' places ahead of their use, so that
    // their cache misses overlap with others' (KeepReads keeps what is read from the optimiser).
    std::uint32_t ReadAhead(std::uint32_t t, bool recordOnly = false) const {
        if (t == kNone) {
            return 0;
        }
        const Triangle& r = triangles_[t];
        return recordOnly ? r.n[0]
                          : vertices_[r.v[0]].place.i + vertices_[r.v[1]].place.i +
                                vertices_[r.v[2]].place.i;
    }
    // t's neighbour `from` becomes `to` (nothing for no triangle).
    void Relink(std::uint32_t t, std::uint32_t from, std::uint32_t to) {
        if (t != kNone) {
            std::uint32_t* n = triangles_[t].n;
            n[n[0] == from ? 0 : (n[1] == from ? 1 : 2)] = to;
        }
    }
    // Twice the signed area of vertices a, b and node (i, j) in index units.
    std::int64_t Orient(std::uint32_t a, std::uint32_t b, std::int64_t i, std::int64_t j) const {
        const GridPlace pa = vertices_[a].place, pb = vertices_[b].place;
        const std::int64_t ai = pa.i, aj = pa.j;
        return (pb.i - ai) * (j - aj) - (pb.j - aj) * (i - ai);
    }
    std::int64_t Orient(std::uint32_t a, std::uint32_t b, std::uint32_t c) const {
        return Orient(a, b, vertices_[c].place.i, vertices_[c].place.j);
    }
    // The node of the closed triangle v (corners left out) farthest from its plane when it lies
    // beyond the tolerance (GridScan::Farthest).
    GridFarthest Farthest(const std::uint32_t (&v)[3]) const {
        return scan_.Farthest(Node(v[0]), Node(v[1]), Node(v[2]));
    }
    void Scan(std::uint32_t t);
    bool Remove(std::uint32_t v);
    void RemoveNearTies();
    void Insert(std::uint32_t t, double distance);
    void SplitEdge(std::uint32_t t, std::uint32_t corner, std::uint32_t q);
    void Legalize(std::uint32_t t, std::uint32_t q);

    // In-circle decisions of vertices' nodes (GridInCircle).
    int InCircle(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) const {
        return GridInCircle(grid_, vertices_[a].place, vertices_[b].place, vertices_[c].place,
                            vertices_[d].place, square_);
    }

    const GridLattice& grid_;
    double tolerance_;
    bool square_;  // the lattice's column and row steps are equal
    GridScan scan_;
    ThinQueue queue_;
    std::vector<Vertex> vertices_;
    std::vector<double> distances_;     // per vertex: its node's distance when it was inserted
    std::vector<std::uint32_t> stars_;  // per vertex: one of its triangles (RemoveNearTies)
    std::vector<Triangle> triangles_;
    std::vector<std::uint32_t> touched_;
    std::vector<std::uint32_t> stamps_;
    std::uint32_t round_ = 1;
    std::vector<std::uint32_t> flips_;
    std::vector<std::uint32_t> polygon_, star_, beyond_;
    std::vector<std::array<std::uint32_t, 3>> made_;
    std::vector<char> removed_;  // per vertex
    std::vector<char> dead_;     // per triangle
};

void GridTin::Scan(std::uint32_t t) {
    const GridFarthest farthest = Farthest(triangles_[t].v);
    triangles_[t].node = farthest.node;
    if (farthest.node != kNone) {
        queue_.Push(farthest.distance, t, round_);
    }
}

// Flips the edge of t opposite its corner q while the triangle beyond has its far corner inside
// t's circumcircle; the triangles changed are touched.
void GridTin::Legalize(std::uint32_t start, std::uint32_t q) {
    flips_.assign(1, start);
    while (!flips_.empty()) {
        const std::uint32_t t = flips_.back();
        flips_.pop_back();
        Rotate(triangles_[t], q);
        const std::uint32_t u = triangles_[t].n[0];
        if (u == kNone) {
            continue;
        }
        // t = (q, a, b); u = (d, b, a).
        const std::uint32_t a = triangles_[t].v[1], b = triangles_[t].v[2];
        Triangle& ut = triangles_[u];
        for (int k = 0; k < 3; ++k) {
            if (ut.v[k] != a && ut.v[k] != b) {
                Rotate(ut, ut.v[k]);
                break;
            }
        }
        const std::uint32_t d = ut.v[0];
        // On one circle either diagonal is Delaunay: the one that fits the ground better.
        const int inCircle = InCircle(q, a, b, d);
        if (inCircle < 0 ||
            (inCircle == 0 && !GridCrossingFitsBetter(grid_, Node(q), Node(a), Node(d), Node(b)))) {
            continue;
        }
        Triangle& tt = triangles_[t];
        const std::uint32_t ta = tt.n[2], tb = tt.n[1];
        const std::uint32_t ua = ut.n[1], ub = ut.n[2];
        // ua and tb are relinked now, the edges to ua and ub checked next: read together.
        KeepReads(ReadAhead(ua) + ReadAhead(ub) + ReadAhead(tb, true));
        tt.v[0] = q, tt.v[1] = a, tt.v[2] = d;
        tt.n[0] = ua, tt.n[1] = u, tt.n[2] = ta;
        ut.v[0] = q, ut.v[1] = d, ut.v[2] = b;
        ut.n[0] = ub, ut.n[1] = tb, ut.n[2] = t;
        Relink(ua, u, t);
        Relink(tb, t, u);
        Touch(t);
        Touch(u);
        flips_.push_back(t);
        flips_.push_back(u);
    }
}

// Splits t and its neighbour across the edge opposite t's corner `corner` at node vertex q.
void GridTin::SplitEdge(std::uint32_t t, std::uint32_t corner, std::uint32_t q) {
    Rotate(triangles_[t], corner);
    // t = (a, b, c), q on b-c; u beyond it = (d, c, b).
    const std::uint32_t a = triangles_[t].v[0], b = triangles_[t].v[1], c = triangles_[t].v[2];
    const std::uint32_t u = triangles_[t].n[0];
    const std::uint32_t tc = triangles_[t].n[1];
    const std::uint32_t t2 = AddTriangle(a, q, c);
    Touch(t);
    triangles_[t].v[2] = q;  // (a, b, q)
    triangles_[t].n[1] = t2;
    triangles_[t2].n[0] = kNone, triangles_[t2].n[1] = tc, triangles_[t2].n[2] = t;
    Relink(tc, t, t2);
    if (u != kNone) {
        Rotate(triangles_[u], [&] {
            for (const std::uint32_t v : triangles_[u].v) {
                if (v != b && v != c) {
                    return v;
                }
            }
            return kNone;
        }());
        const std::uint32_t d = triangles_[u].v[0];
        const std::uint32_t ub = triangles_[u].n[1];
        const std::uint32_t u2 = AddTriangle(d, q, b);
        Touch(u);
        triangles_[u].v[2] = q;  // (d, c, q)
        triangles_[u].n[0] = t2, triangles_[u].n[1] = u2;
        triangles_[u2].n[0] = t, triangles_[u2].n[1] = ub, triangles_[u2].n[2] = u;
        Relink(ub, u, u2);
        triangles_[t].n[0] = u2;
        triangles_[t2].n[0] = u;
        Legalize(u, q);
        Legalize(u2, q);
    }
    Legalize(t, q);
    Legalize(t2, q);
}

// Inserts t's farthest node: splits t (or, on an edge, t and its neighbour there) and restores
// the Delaunay property by flips.
void GridTin::Insert(std::uint32_t t, double distance) {
    const std::uint32_t node = triangles_[t].node;
    const std::uint32_t q = AddVertex(node % grid_.columns, node / grid_.columns);
    distances_[q] = distance;
    // The edges to t's neighbours are checked first (Legalize): their records read together.
    KeepReads(ReadAhead(triangles_[t].n[0]) + ReadAhead(triangles_[t].n[1]) +
              ReadAhead(triangles_[t].n[2]));
    for (std::uint32_t k = 0; k < 3; ++k) {
        if (Orient(triangles_[t].v[(k + 1) % 3], triangles_[t].v[(k + 2) % 3], q) == 0) {
            SplitEdge(t, triangles_[t].v[k], q);
            return;
        }
    }
    // t = (a, b, c) -> (a, b, q), (b, c, q), (c, a, q).
    const Triangle old = triangles_[t];
    const std::uint32_t t1 = AddTriangle(old.v[1], old.v[2], q);
    const std::uint32_t t2 = AddTriangle(old.v[2], old.v[0], q);
    Touch(t);
    triangles_[t].v[2] = q;
    triangles_[t].n[0] = t1, triangles_[t].n[1] = t2, triangles_[t].n[2] = old.n[2];
    triangles_[t1].n[0] = t2, triangles_[t1].n[1] = t, triangles_[t1].n[2] = old.n[0];
    triangles_[t2].n[0] = t, triangles_[t2].n[1] = t1, triangles_[t2].n[2] = old.n[1];
    Relink(old.n[0], t, t1);
    Relink(old.n[1], t, t2);
    Legalize(t, q);
    Legalize(t1, q);
    Legalize(t2, q);
}

// Tries to take vertex v out again: its star's polygon is triangulated anew by Delaunay ears
// (a convex corner whose circle holds no other corner of the polygon: the triangulation stays
// Delaunay), and v is dropped when every node of the new triangles, v's own among them, lies
// within the tolerance. False (nothing changed) otherwise, and for a vertex on the grid's edge.
bool GridTin::Remove(std::uint32_t v) {
    // The star counter-clockwise: polygon corners, the star's triangles, the triangles beyond.
    std::vector<std::uint32_t>& corners = polygon_;
    std::vector<std::uint32_t>& star = star_;
    std::vector<std::uint32_t>& beyond = beyond_;
    corners.clear();
    star.clear();
    beyond.clear();
    std::uint32_t t = stars_[v];
    do {
        Rotate(triangles_[t], v);
        const Triangle& tri = triangles_[t];
        if (tri.n[0] == kNone || tri.n[1] == kNone || star.size() > 64) {
            return false;
        }
        corners.push_back(tri.v[1]);
        star.push_back(t);
        beyond.push_back(tri.n[0]);
        t = tri.n[1];
    } while (t != star[0]);
    // Ears cut one by one; each remembers, for the edge it leaves open, nothing: the
    // neighbours are matched by their edges at the end.
    std::vector<std::array<std::uint32_t, 3>>& made = made_;
    made.clear();
    std::vector<std::uint32_t> open(corners);
    while (open.size() > 3) {
        const std::size_t n = open.size();
        bool cut = false;
        for (std::size_t m = 0; m < n && !cut; ++m) {
            const std::uint32_t a = open[(m + n - 1) % n], b = open[m], c = open[(m + 1) % n];
            if (Orient(a, b, c) <= 0) {
                continue;
            }
            bool empty = true;
            for (std::size_t k = 0; k < n && empty; ++k) {
                const std::uint32_t d = open[k];
                empty = d == a || d == b || d == c || InCircle(a, b, c, d) <= 0;
            }
            if (empty) {
                made.push_back({a, b, c});
                open.erase(open.begin() + static_cast<std::ptrdiff_t>(m));
                cut = true;
            }
        }
        if (!cut) {
            return false;
        }
    }
    if (Orient(open[0], open[1], open[2]) <= 0) {
        return false;
    }
    made.push_back({open[0], open[1], open[2]});
    for (const auto& tri : made) {
        const std::uint32_t corner[3] = {tri[0], tri[1], tri[2]};
        if (Farthest(corner).node != GridFarthest::kNoNode) {
            return false;
        }
    }
    // Commit: the new triangles take the first star places, the last two die.
    for (std::size_t k = 0; k < made.size(); ++k) {
        Triangle& tri = triangles_[star[k]];
        for (int e = 0; e < 3; ++e) {
            tri.v[e] = made[k][static_cast<std::size_t>(e)];
            tri.n[e] = kNone;
        }
        triangles_[star[k]].node = kNone;
    }
    const std::size_t n = corners.size();
    for (std::size_t k = 0; k < made.size(); ++k) {
        Triangle& tri = triangles_[star[k]];
        for (int e = 0; e < 3; ++e) {
            const std::uint32_t p = tri.v[(e + 1) % 3], q = tri.v[(e + 2) % 3];
            // A polygon edge p -> q: its triangle beyond; else the other new triangle on q -> p.
            for (std::size_t m = 0; m < n && tri.n[e] == kNone; ++m) {
                if (corners[m] == p && corners[(m + 1) % n] == q) {
                    tri.n[e] = beyond[m];
                    Relink(beyond[m], star[m], star[k]);
                }
            }
            for (std::size_t o = 0; o < made.size() && tri.n[e] == kNone; ++o) {
                const Triangle& other = triangles_[star[o]];
                for (int f = 0; f < 3; ++f) {
                    if (o != k && other.v[(f + 1) % 3] == q && other.v[(f + 2) % 3] == p) {
                        tri.n[e] = star[o];
                    }
                }
            }
            stars_[p] = star[k];
        }
    }
    dead_[star[n - 1]] = 1;
    dead_[star[n - 2]] = 1;
    removed_[v] = 1;
    return true;
}

// Vertices inserted for a distance not far beyond the tolerance are tried for removal, the latest
// first: where the surface around them has changed since, it may now pass within the tolerance
// of them.
void GridTin::RemoveNearTies() {
    removed_.assign(vertices_.size(), 0);
    stars_.assign(vertices_.size(), kNone);
    dead_.assign(triangles_.size(), 0);
    for (std::uint32_t t = 0; t < triangles_.size(); ++t) {
        for (const std::uint32_t v : triangles_[t].v) {
            stars_[v] = t;
        }
    }
    for (std::uint32_t v = static_cast<std::uint32_t>(vertices_.size()); v-- > 4;) {
        if (distances_[v] <= tolerance_ * kNearTie) {
            Remove(v);
        }
    }
}

ThinSurface GridTin::Run(const std::function<void()>& tick) {
    const std::uint32_t right = grid_.columns - 1, top = grid_.rows - 1;
    const std::uint32_t a = AddVertex(0, 0), b = AddVertex(right, 0);
    const std::uint32_t c = AddVertex(right, top), d = AddVertex(0, top);
    const std::uint32_t first = AddTriangle(a, b, c);
    const std::uint32_t second = AddTriangle(a, c, d);
    triangles_[first].n[1] = second;
    triangles_[second].n[2] = first;
    Scan(first);
    Scan(second);
    ThinQueue::Entry entry;
    std::uint64_t inserted = 0;
    while (queue_.Pop(entry)) {
        if (stamps_[entry.t] != entry.tag) {
            continue;  // changed since it was queued
        }
        ++round_;
        touched_.clear();
        Insert(entry.t, entry.distance);
        for (const std::uint32_t changed : touched_) {
            Scan(changed);
        }
        if (++inserted % 4096 == 0 && tick) {
            tick();
        }
    }
    RemoveNearTies();
    ThinSurface surface;
    surface.vertices.reserve(vertices_.size());
    surface.ids.reserve(vertices_.size());
    std::vector<std::uint32_t> number(vertices_.size(), kNone);
    for (std::uint32_t k = 0; k < vertices_.size(); ++k) {
        if (removed_[k] == 0) {
            const GridPlace v = vertices_[k].place;
            number[k] = static_cast<std::uint32_t>(surface.vertices.size());
            surface.vertices.push_back(Node(k).p);
            surface.ids.push_back(grid_.ids[static_cast<std::size_t>(v.j) * grid_.columns + v.i]);
        }
    }
    surface.triangles.reserve(triangles_.size());
    for (std::uint32_t k = 0; k < triangles_.size(); ++k) {
        if (dead_[k] == 0) {
            const Triangle& t = triangles_[k];
            surface.triangles.push_back({number[t.v[0]], number[t.v[1]], number[t.v[2]]});
        }
    }
    return surface;
}

}  // namespace

ThinSurface ThinGridLattice(const GridLattice& grid, double tolerance,
                            const std::function<void()>& tick) {
    return GridTin(grid, tolerance).Run(tick);
}

}  // namespace geom
