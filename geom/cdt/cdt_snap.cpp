#include "geom/cdt/cdt_snap.h"

#include "geom/cdt/cdt_cell_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace geom {

namespace {

constexpr std::uint32_t kNoId = 0xFFFFFFFFu;

double SquaredDistance(double ax, double ay, double bx, double by) {
    return (ax - bx) * (ax - bx) + (ay - by) * (ay - by);
}

// A grid over every input position for the lines' vertices and segments: cells of at least the
// tolerance, about one line vertex per cell.
CdtCellGrid GridFor(const std::vector<CVertex>& points, const std::vector<CdtSnapLine>& lines,
                    double tolerance) {
    CdtBox box;
    std::size_t count = 0;
    for (const CVertex& p : points) {
        box.Extend(p);
    }
    for (const CdtSnapLine& line : lines) {
        for (const CVertex& v : *line.vertices) {
            box.Extend(v);
        }
        count += line.vertices->size();
    }
    return CdtGridOver(box, count, tolerance);
}

struct Segment {
    std::uint32_t line;
    std::uint32_t first;  // the segment runs from vertex first to the next one
};

// A vertex put into a segment, at parameter t along it.
struct Insertion {
    std::uint32_t segment;
    double t;
    CVertex vertex;
};

class Snapper {
public:
    Snapper(const std::vector<CdtSnapLine>& lines, double tolerance, CdtCellGrid vertexGrid)
        : lines_(lines),
          tolerance_(tolerance),
          vertices_(std::move(vertexGrid)),
          segments_(vertices_) {}

    // Step 1; files the line vertices kept and the segments.
    std::size_t JoinLineVertices();
    // Step 2 for one point: whether it was moved onto a line.
    bool SnapToLine(CVertex& point);
    // Puts the vertices made by step 2 into their lines.
    void InsertIntoLines();

private:
    const CVertex& LineVertex(std::uint32_t id) const {
        return id < kept_.size() ? *kept_[id] : insertions_[id - kept_.size()].vertex;
    }
    void FileSegment(std::uint32_t id);

    const std::vector<CdtSnapLine>& lines_;
    double tolerance_;
    CdtCellGrid vertices_;
    CdtCellGrid segments_;
    std::vector<const CVertex*> kept_;
    std::vector<Segment> segmentList_;
    std::vector<Insertion> insertions_;
};

std::size_t Snapper::JoinLineVertices() {
    const double limit = tolerance_ * tolerance_;
    std::size_t joined = 0;
    for (std::uint32_t l = 0; l < lines_.size(); ++l) {
        std::vector<CVertex>& vertices = *lines_[l].vertices;
        for (CVertex& v : vertices) {
            std::uint32_t earliest = kNoId;
            vertices_.ForEachNear(v.x, v.y, tolerance_, [&](std::uint32_t id) {
                if (id < earliest &&
                    SquaredDistance(v.x, v.y, kept_[id]->x, kept_[id]->y) <= limit) {
                    earliest = id;
                }
            });
            if (earliest == kNoId) {
                vertices_.Add(v, static_cast<std::uint32_t>(kept_.size()));
                kept_.push_back(&v);
            } else if (!(v == *kept_[earliest])) {
                v.x = kept_[earliest]->x;
                v.y = kept_[earliest]->y;
                ++joined;
            }
        }
        const std::size_t n = vertices.size();
        const std::size_t segmentCount = lines_[l].closed ? n : (n > 0 ? n - 1 : 0);
        for (std::size_t k = 0; k < segmentCount; ++k) {
            segmentList_.push_back({l, static_cast<std::uint32_t>(k)});
        }
    }
    // The kept vertices no longer move: the segments can be filed.
    for (std::uint32_t s = 0; s < segmentList_.size(); ++s) {
        FileSegment(s);
    }
    return joined;
}

// Files the segment in every cell that holds a position within the tolerance of it (with room
// to spare): column by column, the rows its stretch over the column spans.
void Snapper::FileSegment(std::uint32_t id) {
    const std::vector<CVertex>& vertices = *lines_[segmentList_[id].line].vertices;
    const CVertex& p = vertices[segmentList_[id].first];
    const CVertex& q = vertices[(segmentList_[id].first + 1) % vertices.size()];
    const double reach = 2 * tolerance_;
    const double left = std::min(p.x, q.x);
    const double right = std::max(p.x, q.x);
    const auto yAt = [&](double x) {
        if (p.x == q.x) {
            return p.y;
        }
        const double t = std::min(1.0, std::max(0.0, (x - p.x) / (q.x - p.x)));
        return p.y + t * (q.y - p.y);
    };
    for (std::int64_t c = segments_.Column(left - reach); c <= segments_.Column(right + reach);
         ++c) {
        const double from = std::max(left, segments_.ColumnX(c) - reach);
        const double to = std::min(right, segments_.ColumnX(c + 1) + reach);
        double low = std::min(yAt(from), yAt(to));
        double high = std::max(yAt(from), yAt(to));
        if (p.x == q.x) {
            low = std::min(p.y, q.y);
            high = std::max(p.y, q.y);
        }
        for (std::int64_t w = segments_.Row(low - reach); w <= segments_.Row(high + reach); ++w) {
            segments_.Add(c, w, id);
        }
    }
}

bool Snapper::SnapToLine(CVertex& point) {
    const double limit = tolerance_ * tolerance_;
    std::uint32_t nearest = kNoId;
    double best = HUGE_VAL;
    vertices_.ForEachNear(point.x, point.y, tolerance_, [&](std::uint32_t id) {
        const CVertex& v = LineVertex(id);
        const double d = SquaredDistance(point.x, point.y, v.x, v.y);
        if (d <= limit && (d < best || (d == best && id < nearest))) {
            best = d;
            nearest = id;
        }
    });
    if (nearest != kNoId) {
        const CVertex& v = LineVertex(nearest);
        const bool moved = !(point == v);
        point.x = v.x;
        point.y = v.y;
        return moved;
    }
    Insertion found{kNoId, 0.0, CVertex()};
    segments_.ForEachNear(point.x, point.y, 0.0, [&](std::uint32_t id) {
        const std::vector<CVertex>& vertices = *lines_[segmentList_[id].line].vertices;
        const CVertex& p = vertices[segmentList_[id].first];
        const CVertex& q = vertices[(segmentList_[id].first + 1) % vertices.size()];
        const double dx = q.x - p.x;
        const double dy = q.y - p.y;
        const double length = dx * dx + dy * dy;
        if (length == 0.0) {
            return;
        }
        const double t = ((point.x - p.x) * dx + (point.y - p.y) * dy) / length;
        const double x = p.x + t * dx;
        const double y = p.y + t * dy;
        const double d = SquaredDistance(point.x, point.y, x, y);
        if (t > 0.0 && t < 1.0 && d <= limit && (d < best || (d == best && id < found.segment))) {
            best = d;
            found = {id, t, CVertex(x, y, p.z + t * (q.z - p.z))};
        }
    });
    if (found.segment == kNoId) {
        return false;
    }
    vertices_.Add(found.vertex, static_cast<std::uint32_t>(kept_.size() + insertions_.size()));
    insertions_.push_back(found);
    point.x = found.vertex.x;
    point.y = found.vertex.y;
    return true;
}

void Snapper::InsertIntoLines() {
    // From the last segment of the last line backwards, so that the positions still hold.
    std::sort(insertions_.begin(), insertions_.end(), [](const Insertion& a, const Insertion& b) {
        return a.segment != b.segment ? a.segment > b.segment : a.t > b.t;
    });
    for (const Insertion& insertion : insertions_) {
        const Segment& segment = segmentList_[insertion.segment];
        std::vector<CVertex>& vertices = *lines_[segment.line].vertices;
        vertices.insert(vertices.begin() + segment.first + 1, insertion.vertex);
    }
}

// Calls visit(i, j), i < j, for the pairs of vertices closer than distance (inclusive: or at
// it), the vertices sorted by x, then y: along x, run by run of one x, each run searched in y.
// A run's end is found by a scan when first needed and kept while i stays in its own run (the
// runs after it are then the same), so that nothing is stored per vertex.
template <typename Visit>
void ForEachClosePair(const std::vector<CVertex>& vertices, double distance, bool inclusive,
                      Visit visit) {
    const std::size_t n = vertices.size();
    const auto within = [inclusive, distance](double gap) {
        return inclusive ? gap <= distance : gap < distance;
    };
    const double limit = distance * distance;
    const auto endOfRun = [&](std::size_t k) {
        std::size_t end = k + 1;
        while (end < n && vertices[end].x == vertices[k].x) {
            ++end;
        }
        return end;
    };
    const auto visitWithin = [&](std::size_t i, std::size_t j, std::size_t end) {
        const CVertex& a = vertices[i];
        for (; j < end && within(vertices[j].y - a.y); ++j) {
            const double d = SquaredDistance(a.x, a.y, vertices[j].x, vertices[j].y);
            if (inclusive ? d <= limit : d < limit) {
                visit(i, j);
            }
        }
    };
    std::size_t ownEnd = 0;              // the end of the run holding i
    std::vector<std::size_t> laterEnds;  // the ends of the runs after it, as far as needed
    for (std::size_t i = 0; i < n; ++i) {
        const CVertex& a = vertices[i];
        // A vertex alone at its x, whose later vertices within reach in x are alone at theirs as
        // well (mostly none): each is tested as the search below would, in the same order.
        if (i >= ownEnd && (i + 1 == n || vertices[i + 1].x != a.x)) {
            std::size_t reach = i + 1;
            while (reach < n && within(vertices[reach].x - a.x) &&
                   (reach + 1 == n || vertices[reach + 1].x != vertices[reach].x)) {
                ++reach;
            }
            if (reach == n || !within(vertices[reach].x - a.x)) {
                for (std::size_t j = i + 1; j < reach; ++j) {
                    if (vertices[j].y >= a.y - distance) {
                        visitWithin(i, j, j + 1);
                    }
                }
                continue;
            }
        }
        if (i >= ownEnd) {
            ownEnd = endOfRun(i);
            laterEnds.clear();
        }
        if (within(0.0)) {
            visitWithin(i, i + 1, ownEnd);
        }
        std::size_t run = ownEnd;
        for (std::size_t r = 0; run < n && within(vertices[run].x - a.x); ++r) {
            if (r == laterEnds.size()) {
                laterEnds.push_back(endOfRun(run));
            }
            const std::size_t end = laterEnds[r];
            // Within the run, from the first vertex at or above a.y - distance.
            const auto first = std::lower_bound(vertices.begin() + static_cast<std::ptrdiff_t>(run),
                                                vertices.begin() + static_cast<std::ptrdiff_t>(end),
                                                a.y - distance,
                                                [](const CVertex& v, double y) { return v.y < y; });
            visitWithin(i, static_cast<std::size_t>(first - vertices.begin()), end);
            run = end;
        }
    }
}

bool ByPlanPosition(const CVertex& a, const CVertex& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

// Step 3: the points not on a line that lie within the tolerance of an earlier point kept are
// dropped.
std::size_t DropPointsNearEarlierOnes(std::vector<CVertex>& points, const std::vector<bool>& onLine,
                                      double tolerance) {
    // The points by plan position, each carrying its input index in w.
    std::vector<CVertex> sorted(points);
    for (std::size_t k = 0; k < sorted.size(); ++k) {
        sorted[k].w = k;
    }
    std::sort(sorted.begin(), sorted.end(), [](const CVertex& a, const CVertex& b) {
        return ByPlanPosition(a, b) || (!ByPlanPosition(b, a) && a.w < b.w);
    });
    // Each close pair as (later point, earlier point), in input order.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> pairs;
    ForEachClosePair(sorted, tolerance, true, [&](std::size_t i, std::size_t j) {
        pairs.emplace_back(std::max(sorted[i].w, sorted[j].w), std::min(sorted[i].w, sorted[j].w));
    });
    std::sort(pairs.begin(), pairs.end());
    std::vector<bool> dropped(points.size(), false);
    for (const auto& pair : pairs) {
        dropped[pair.first] = dropped[pair.first] || (!onLine[pair.first] && !dropped[pair.second]);
    }
    std::vector<CVertex> kept;
    kept.reserve(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (!dropped[k]) {
            kept.push_back(points[k]);
        }
    }
    const std::size_t count = points.size() - kept.size();
    points.swap(kept);
    return count;
}

}  // namespace

CdtSnapCounts CdtSnap(std::vector<CVertex>& points, const std::vector<CdtSnapLine>& lines,
                      double tolerance) {
    CdtSnapCounts counts;
    Snapper snapper(lines, tolerance, GridFor(points, lines, tolerance));
    counts.lineVerticesJoined = snapper.JoinLineVertices();
    std::vector<bool> onLine(points.size(), false);
    for (std::size_t k = 0; k < points.size(); ++k) {
        onLine[k] = snapper.SnapToLine(points[k]);
        counts.pointsToLines += onLine[k] ? 1 : 0;
    }
    snapper.InsertIntoLines();
    counts.pointsDropped = DropPointsNearEarlierOnes(points, onLine, tolerance);
    return counts;
}

std::size_t CdtCountCloseVertices(const std::vector<CVertex>& vertices, double distance) {
    // Counted as they are first marked.
    std::vector<std::uint8_t> close(vertices.size(), 0);
    std::size_t count = 0;
    const auto mark = [&](std::size_t k) {
        if (close[k] == 0) {
            close[k] = 1;
            ++count;
        }
    };
    ForEachClosePair(vertices, distance, false, [&](std::size_t i, std::size_t j) {
        mark(i);
        mark(j);
    });
    return count;
}

}  // namespace geom
