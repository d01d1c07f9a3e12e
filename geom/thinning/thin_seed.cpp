#include "geom/thinning/thin_seed.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "geom/cdt/cdt.h"
#include "geom/kernel/predicates.h"

namespace geom {

namespace {

PlanPoint Plan(const ThinPoint& p) {
    return PlanPoint{p.x, p.y};
}

std::vector<CVertex> Vertices(const ThinLine& line) {
    std::vector<CVertex> vertices;
    for (const ThinPoint& p : line.vertices) {
        vertices.emplace_back(p.x, p.y, p.z);
    }
    return vertices;
}

// The boundaries as the constrained triangulator checks them: it throws what it refuses.
void CheckBoundaries(const std::vector<ThinRecord>& hull, const ThinLines& lines) {
    if (lines.boundary.vertices.empty() && lines.holes.empty()) {
        return;
    }
    CConstrainedDCT check;
    for (const ThinRecord& corner : hull) {
        check.AddPoint(corner.p.x, corner.p.y, corner.p.z);
    }
    if (!lines.boundary.vertices.empty()) {
        check.SetOuterBoundary(Vertices(lines.boundary));
    }
    for (const ThinLine& hole : lines.holes) {
        check.AddHole(Vertices(hole));
    }
    check.Triangulate();
}

// How often the closed polygon winds around p (p on none of its edges).
int Winding(const std::vector<ThinPoint>& polygon, const ThinPoint& p) {
    int winding = 0;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const ThinPoint& a = polygon[i];
        const ThinPoint& b = polygon[(i + 1) % n];
        if (a.y <= p.y) {
            if (b.y > p.y && Orient(Plan(a), Plan(b), Plan(p)) > 0) {
                ++winding;
            }
        } else if (b.y <= p.y && Orient(Plan(a), Plan(b), Plan(p)) < 0) {
            --winding;
        }
    }
    return winding;
}

// Where breaklines pass through v (the boundaries went in as lines too, and met them), the mean
// of their elevations there wins, as the constrained triangulator gives it at a breakline crossing
// a boundary; elsewhere v's own.
double BreaklineElevation(const ThinLines& lines, const CVertex& v) {
    double sum = 0.0;
    int count = 0;
    for (const ThinLine& line : lines.breaklines) {
        for (std::size_t i = 0; i + 1 < line.vertices.size(); ++i) {
            const ThinPoint& a = line.vertices[i];
            const ThinPoint& b = line.vertices[i + 1];
            if (!OnSegment(Plan(a), Plan(b), {v.x, v.y})) {
                continue;
            }
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double length = dx * dx + dy * dy;
            const double t = length > 0.0 ? ((v.x - a.x) * dx + (v.y - a.y) * dy) / length : 0.0;
            sum += v.x == b.x && v.y == b.y ? b.z : a.z + t * (b.z - a.z);
            ++count;
            break;
        }
    }
    return count > 0 ? sum / count : v.z;
}

class SeedBuilder {
public:
    SeedBuilder(const std::vector<CVertex>& vertices, const std::vector<CTriangle>& triangles)
        : vertices_(vertices), around_(vertices.size()) {
        for (const CTriangle& t : triangles) {
            const std::uint32_t v[3] = {static_cast<std::uint32_t>(t.i1),
                                        static_cast<std::uint32_t>(t.i2),
                                        static_cast<std::uint32_t>(t.i3)};
            triangles_.push_back({v[0], v[1], v[2]});
            for (int k = 0; k < 3; ++k) {
                around_[v[k]].push_back(v[(k + 1) % 3]);
                around_[v[k]].push_back(v[(k + 2) % 3]);
            }
        }
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            index_[{vertices[i].x, vertices[i].y}] = static_cast<std::uint32_t>(i);
        }
    }

    // Marks the chain of edges along the segment from a to b: from a's vertex, the neighbour
    // that advances towards b and lies nearest the segment, until b's vertex.
    void MarkSegment(const ThinPoint& a, const ThinPoint& b, unsigned mark) {
        const auto from = index_.find({a.x, a.y});
        const auto to = index_.find({b.x, b.y});
        if (from == index_.end() || to == index_.end() || from->second == to->second) {
            return;
        }
        const double dx = b.x - a.x, dy = b.y - a.y;
        std::uint32_t current = from->second;
        for (std::size_t step = 0; step < vertices_.size() && current != to->second; ++step) {
            std::uint32_t best = ThinningTin::kNone;
            double bestOff = HUGE_VAL;
            const CVertex& c = vertices_[current];
            for (const std::uint32_t w : around_[current]) {
                const CVertex& v = vertices_[w];
                if ((v.x - c.x) * dx + (v.y - c.y) * dy <= 0.0) {
                    continue;
                }
                const double off = std::fabs(PlanCross({a.x, a.y}, {b.x, b.y}, {v.x, v.y}));
                if (off < bestOff || (off == bestOff && w == to->second)) {
                    bestOff = off;
                    best = w;
                }
            }
            if (best == ThinningTin::kNone) {
                return;
            }
            constrained_.push_back({current, best, mark});
            current = best;
        }
    }

    // Breaklines and boundaries with their own elevations are lines; flat boundaries clip.
    void MarkLine(const ThinLine& line, bool boundary) {
        const unsigned mark =
            boundary && line.flat ? ThinningTin::kClip : static_cast<unsigned>(ThinningTin::kLine);
        const std::size_t n = line.vertices.size();
        for (std::size_t i = 0; i + 1 < n; ++i) {
            MarkSegment(line.vertices[i], line.vertices[i + 1], mark);
        }
        if (boundary && n > 2) {
            MarkSegment(line.vertices[n - 1], line.vertices[0], mark);
        }
    }

    // Outside flags from a point inside each triangle; a triangle whose centre rounds onto or
    // beyond its edges takes the flag of a neighbour across an edge that is no line.
    std::vector<char> Outside(const ThinLines& lines) const {
        std::vector<char> outside(triangles_.size(), 0);
        if (lines.boundary.vertices.empty() && lines.holes.empty()) {
            return outside;
        }
        std::vector<char> known(triangles_.size(), 0);
        std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> edgeOwner;
        for (std::uint32_t t = 0; t < triangles_.size(); ++t) {
            const auto& v = triangles_[t];
            for (int k = 0; k < 3; ++k) {
                edgeOwner[{v[k], v[(k + 1) % 3]}] = t;
            }
            const ThinPoint a{vertices_[v[0]].x, vertices_[v[0]].y, 0.0};
            const ThinPoint b{vertices_[v[1]].x, vertices_[v[1]].y, 0.0};
            const ThinPoint c{vertices_[v[2]].x, vertices_[v[2]].y, 0.0};
            const ThinPoint centre{(a.x + b.x + c.x) / 3.0, (a.y + b.y + c.y) / 3.0, 0.0};
            if (Orient(Plan(a), Plan(b), Plan(centre)) <= 0 ||
                Orient(Plan(b), Plan(c), Plan(centre)) <= 0 ||
                Orient(Plan(c), Plan(a), Plan(centre)) <= 0) {
                continue;
            }
            bool out =
                !lines.boundary.vertices.empty() && Winding(lines.boundary.vertices, centre) == 0;
            for (const ThinLine& hole : lines.holes) {
                out = out || Winding(hole.vertices, centre) != 0;
            }
            outside[t] = out ? 1 : 0;
            known[t] = 1;
        }
        std::map<std::pair<std::uint32_t, std::uint32_t>, bool> isLine;
        for (const auto& edge : constrained_) {
            isLine[{edge[0], edge[1]}] = true;
            isLine[{edge[1], edge[0]}] = true;
        }
        for (bool changed = true; changed;) {
            changed = false;
            for (std::uint32_t t = 0; t < triangles_.size(); ++t) {
                if (known[t]) {
                    continue;
                }
                const auto& v = triangles_[t];
                for (int k = 0; k < 3 && !known[t]; ++k) {
                    const auto other = edgeOwner.find({v[(k + 1) % 3], v[k]});
                    if (other != edgeOwner.end() && known[other->second] &&
                        !isLine.count({v[k], v[(k + 1) % 3]})) {
                        outside[t] = outside[other->second];
                        known[t] = 1;
                        changed = true;
                    }
                }
            }
        }
        return outside;
    }

    const std::vector<std::array<std::uint32_t, 3>>& Triangles() const { return triangles_; }
    const std::vector<std::array<std::uint32_t, 3>>& Constrained() const { return constrained_; }

private:
    const std::vector<CVertex>& vertices_;
    std::vector<std::vector<std::uint32_t>> around_;
    std::map<std::pair<double, double>, std::uint32_t> index_;
    std::vector<std::array<std::uint32_t, 3>> triangles_;
    std::vector<std::array<std::uint32_t, 3>> constrained_;
};

}  // namespace

void SeedThinning(const std::vector<ThinRecord>& hull, const ThinLines& lines, ThinningTin& tin) {
    CheckBoundaries(hull, lines);
    CConstrainedDCT cdt;
    for (const ThinRecord& corner : hull) {
        cdt.AddPoint(corner.p.x, corner.p.y, corner.p.z);
    }
    for (const ThinLine& line : lines.breaklines) {
        cdt.AddBreakline(Vertices(line));
    }
    const auto closedLine = [&cdt](const ThinLine& line) {
        std::vector<CVertex> vertices = Vertices(line);
        if (!vertices.empty()) {
            vertices.push_back(vertices.front());
        }
        cdt.AddBreakline(vertices);
    };
    if (!lines.boundary.vertices.empty()) {
        closedLine(lines.boundary);
    }
    for (const ThinLine& hole : lines.holes) {
        closedLine(hole);
    }
    const std::vector<CTriangle> triangles = cdt.Triangulate();
    const std::vector<CVertex> sorted = cdt.GetVertices();
    SeedBuilder builder(sorted, triangles);
    for (const ThinLine& line : lines.breaklines) {
        builder.MarkLine(line, false);
    }
    builder.MarkLine(lines.boundary, true);
    for (const ThinLine& hole : lines.holes) {
        builder.MarkLine(hole, true);
    }
    // A vertex at a corner's position keeps the corner's number.
    std::map<std::pair<double, double>, std::uint32_t> cornerIds;
    for (const ThinRecord& corner : hull) {
        cornerIds.insert({{corner.p.x, corner.p.y}, corner.id});
    }
    std::vector<ThinPoint> vertices;
    std::vector<std::uint32_t> ids;
    for (const CVertex& v : sorted) {
        vertices.push_back({v.x, v.y, BreaklineElevation(lines, v)});
        const auto corner = cornerIds.find({v.x, v.y});
        ids.push_back(corner != cornerIds.end() ? corner->second : ThinningTin::kLineVertex);
    }
    tin.Seed(vertices, ids, builder.Triangles(), builder.Constrained(), builder.Outside(lines));
}

}  // namespace geom
