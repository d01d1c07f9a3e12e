#include "reference_dct.h"

#include <cstring>

#include "checks/exact_predicates.h"
#include "geom/kernel/sort_points.h"

namespace reference_dct {

namespace {

using geom::CTriangle;
using geom::CVertex;

struct Edge;

struct Vertex {
    double x;
    double y;
    double z;
    Edge* entry;
};

struct Edge {
    Vertex* origin;
    Vertex* destination;
    Edge* nextAroundOrigin;
    Edge* prevAroundOrigin;
    Edge* nextAroundDestination;
    Edge* prevAroundDestination;
};

enum Side { Right, Left };

int Orient(const Vertex* a, const Vertex* b, const Vertex* c) {
    return exact::ExactOrient({a->x, a->y}, {b->x, b->y}, {c->x, c->y});
}

class Triangulator {
public:
    explicit Triangulator(std::vector<Vertex>& vertices)
        : vertices_(vertices), edges_(3 * vertices.size()) {
        for (Edge& e : edges_) {
            free_.push_back(&e);
        }
    }

    void Run() {
        refs_.clear();
        for (Vertex& v : vertices_) {
            refs_.push_back(&v);
        }
        DivideRange(0, static_cast<std::uint32_t>(refs_.size()) - 1);
    }

    void Extract(std::vector<CTriangle>& result) const {
        for (std::size_t i = 0; i < vertices_.size(); ++i) {
            Vertex* u = &vertices_[i];
            Edge* const start = u->entry;
            Edge* e = start;
            do {
                Vertex* v = OtherEnd(e, u);
                Edge* n = Next(e, u);
                Vertex* w = OtherEnd(n, u);
                if (u < v && u < w && Next(n, w) == Prev(e, v) && Orient(u, v, w) > 0) {
                    CTriangle t;
                    t.i1 = static_cast<std::int32_t>(u - vertices_.data());
                    t.i2 = static_cast<std::int32_t>(v - vertices_.data());
                    t.i3 = static_cast<std::int32_t>(w - vertices_.data());
                    t.p1 = CVertex(u->x, u->y, u->z);
                    t.p2 = CVertex(v->x, v->y, v->z);
                    t.p3 = CVertex(w->x, w->y, w->z);
                    result.push_back(t);
                }
                e = n;
            } while (e != start);
        }
    }

private:
    struct Hull {
        Edge* left;
        Edge* right;
    };

    static Vertex* OtherEnd(Edge* e, Vertex* v) {
        return e->origin == v ? e->destination : e->origin;
    }
    static Edge* Next(Edge* e, Vertex* v) {
        return e->origin == v ? e->nextAroundOrigin : e->nextAroundDestination;
    }
    static Edge* Prev(Edge* e, Vertex* v) {
        return e->origin == v ? e->prevAroundOrigin : e->prevAroundDestination;
    }
    static void SetNext(Edge* e, Vertex* v, Edge* to) {
        (e->origin == v ? e->nextAroundOrigin : e->nextAroundDestination) = to;
    }
    static void SetPrev(Edge* e, Vertex* v, Edge* to) {
        (e->origin == v ? e->prevAroundOrigin : e->prevAroundDestination) = to;
    }

    Edge* MakeEdge(Vertex* u, Vertex* v) {
        Edge* e = free_.back();
        free_.pop_back();
        *e = Edge{u, v, e, e, e, e};
        if (u->entry == nullptr) {
            u->entry = e;
        }
        if (v->entry == nullptr) {
            v->entry = e;
        }
        return e;
    }

    static void Splice(Edge* a, Edge* b, Vertex* v) {
        Edge* n = Next(a, v);
        SetNext(a, v, b);
        SetPrev(n, v, b);
        SetNext(b, v, n);
        SetPrev(b, v, a);
    }

    Edge* Connect(Edge* a, Vertex* u, Edge* b, Vertex* v, Side side) {
        Edge* e = MakeEdge(u, v);
        if (side == Left) {
            Splice(Prev(a, u), e, u);
            Splice(b, e, v);
        } else {
            Splice(a, e, u);
            Splice(Prev(b, v), e, v);
        }
        return e;
    }

    void Delete(Edge* e) {
        Vertex* ends[2] = {e->origin, e->destination};
        for (Vertex* v : ends) {
            if (v->entry == e) {
                v->entry = Next(e, v);
            }
        }
        for (Vertex* v : ends) {
            Edge* before = Prev(e, v);
            Edge* after = Next(e, v);
            SetPrev(after, v, before);
            SetNext(before, v, after);
        }
        free_.push_back(e);
    }

    // p sees the base o -> d under a strictly smaller angle than q: p lies strictly outside the
    // circle through o, d and q.
    static bool SmallerAngle(Vertex* p, Vertex* q, Vertex* o, Vertex* d) {
        return exact::ExactInCircle({o->x, o->y}, {d->x, d->y}, {q->x, q->y}, {p->x, p->y}) < 0;
    }

    Hull DivideRange(std::uint32_t l, std::uint32_t r) {
        if (r - l == 1) {
            Edge* e = MakeEdge(refs_[l], refs_[r]);
            return {e, e};
        }
        if (r - l == 2) {
            Vertex* p0 = refs_[l];
            Vertex* p1 = refs_[l + 1];
            Vertex* p2 = refs_[r];
            Edge* a = MakeEdge(p0, p1);
            Edge* b = MakeEdge(p1, p2);
            Splice(a, b, p1);
            const int c = Orient(p0, p1, p2);
            if (c > 0) {
                Connect(a, p0, b, p2, Right);
            } else if (c < 0) {
                Edge* e = Connect(a, p0, b, p2, Left);
                return {e, e};
            }
            return {a, b};
        }
        const std::uint32_t mid = (l + r) / 2;
        Hull left = DivideRange(l, mid);
        const Hull right = DivideRange(mid + 1, r);
        Edge* t = Merge(left.right, refs_[mid], right.left, refs_[mid + 1]);
        Hull hull{left.left, right.right};
        if (t->origin == refs_[l]) {
            hull.left = t;
        }
        if (t->destination == refs_[r]) {
            hull.right = t;
        }
        return hull;
    }

    Edge* Merge(Edge* l, Vertex* lo, Edge* r, Vertex* ro) {
        Vertex* ld = OtherEnd(l, lo);
        Vertex* rd = OtherEnd(r, ro);
        for (;;) {
            if (Orient(lo, ld, ro) > 0) {
                l = Prev(l, ld);
                lo = ld;
                ld = OtherEnd(l, lo);
            } else if (Orient(ro, rd, lo) < 0) {
                r = Next(r, rd);
                ro = rd;
                rd = OtherEnd(r, ro);
            } else {
                break;
            }
        }
        Vertex* o = lo;
        Vertex* d = ro;
        Edge* base = Connect(l, o, r, d, Right);
        Edge* const first = base;
        for (;;) {
            Edge* lc = Next(base, o);
            Edge* rc = Prev(base, d);
            Vertex* dl = OtherEnd(lc, o);
            Vertex* dr = OtherEnd(rc, d);
            const bool aboveL = Orient(dl, o, d) > 0;
            const bool aboveR = Orient(dr, o, d) > 0;
            if (!aboveL && !aboveR) {
                return first;
            }
            if (aboveL) {
                for (;;) {
                    Edge* n = Next(lc, o);
                    Vertex* c = OtherEnd(n, o);
                    if (Orient(c, o, d) <= 0 || SmallerAngle(c, dl, o, d)) {
                        break;
                    }
                    Delete(lc);
                    lc = n;
                    dl = c;
                }
            }
            if (aboveR) {
                for (;;) {
                    Edge* n = Prev(rc, d);
                    Vertex* c = OtherEnd(n, d);
                    if (Orient(c, o, d) <= 0 || SmallerAngle(c, dr, o, d)) {
                        break;
                    }
                    Delete(rc);
                    rc = n;
                    dr = c;
                }
            }
            if (aboveL && !(aboveR && SmallerAngle(dl, dr, o, d))) {
                base = Connect(lc, dl, base, d, Right);
                o = dl;
            } else {
                base = Connect(base, o, rc, dr, Right);
                d = dr;
            }
        }
    }

    std::vector<Vertex>& vertices_;
    std::vector<Edge> edges_;
    std::vector<Edge*> free_;
    std::vector<Vertex*> refs_;
};

template <typename T>
void HashValue(std::uint64_t& hash, const T& value) {
    static_assert(sizeof(T) <= 8, "one word at a time");
    std::uint64_t word = 0;
    std::memcpy(&word, &value, sizeof value);
    hash = (hash ^ word) * 0x100000001b3ull;
    hash ^= hash >> 29;
}

void HashVertex(std::uint64_t& hash, const CVertex& v) {
    HashValue(hash, v.x);
    HashValue(hash, v.y);
    HashValue(hash, v.z);
    HashValue(hash, v.w);
}

}  // namespace

Output Triangulate(const std::vector<CVertex>& points) {
    std::vector<CVertex> sorted(points.begin(), points.end());
    std::vector<CVertex> scratch(sorted.size());
    geom::SortPoints(sorted.data(), scratch.data(), 0,
                     static_cast<std::int32_t>(sorted.size()) - 1);
    Output output;
    std::vector<Vertex> vertices;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (i + 1 < sorted.size() && sorted[i] == sorted[i + 1]) {
            continue;
        }
        vertices.push_back(Vertex{sorted[i].x, sorted[i].y, sorted[i].z, nullptr});
        output.vertices.emplace_back(sorted[i].x, sorted[i].y, sorted[i].z);
    }
    if (vertices.size() < 3) {
        return output;
    }
    Triangulator triangulator(vertices);
    triangulator.Run();
    triangulator.Extract(output.triangles);
    return output;
}

std::uint64_t ResultHash(const std::vector<CTriangle>& triangles,
                         const std::vector<CVertex>& vertices) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const CTriangle& t : triangles) {
        HashValue(hash, t.i1);
        HashValue(hash, t.i2);
        HashValue(hash, t.i3);
        HashVertex(hash, t.p1);
        HashVertex(hash, t.p2);
        HashVertex(hash, t.p3);
        HashValue(hash, t.circleKnown);
        HashValue(hash, t.complete);
        HashValue(hash, t.xc);
        HashValue(hash, t.yc);
        HashValue(hash, t.r);
    }
    HashValue(hash, triangles.size());
    for (const CVertex& v : vertices) {
        HashVertex(hash, v);
    }
    HashValue(hash, vertices.size());
    return hash;
}

}  // namespace reference_dct
