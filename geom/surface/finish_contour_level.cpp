#include "geom/surface/finish_contour_level.h"

#include <algorithm>
#include <utility>

namespace geom {

namespace {

bool SamePlace(const PlanPoint& a, const ContourNode& b) {
    return a.x == b.x && a.y == b.y;
}

void AddPoint(std::vector<PlanPoint>& points, const ContourNode& node) {
    if (points.empty() || !SamePlace(points.back(), node)) {
        points.push_back({node.x, node.y});
    }
}

// Appends a line of consecutive distinct points, closing it when it ends where it starts and
// dropping it when it encloses nothing.
void AppendLine(const ContourLevel& level, std::vector<PlanPoint> points, bool closed,
                std::vector<ContourLine>& lines) {
    if (points.size() >= 2 && points.front().x == points.back().x &&
        points.front().y == points.back().y) {
        points.pop_back();
        closed = true;
    }
    if (points.size() < (closed ? 3u : 2u)) {
        return;
    }
    ContourLine line;
    line.elevation = level.elevation;
    line.points = std::move(points);
    line.closed = closed;
    line.major = level.major;
    lines.push_back(std::move(line));
}

// A run of nodes between dropped segments (or a traced line's open ends).
struct Piece {
    std::size_t begin;
    std::size_t end;
    bool fromBoundary;
    bool toBoundary;
};

class CPieceJoiner {
public:
    explicit CPieceJoiner(const ContourLevel& level) : level_(level) {}

    void Run(std::vector<ContourLine>& lines) {
        for (const ContourTrace& trace : level_.traces) {
            Cut(trace, lines);
        }
        for (std::size_t p = 0; p < pieces_.size(); ++p) {
            if (!pieces_[p].fromBoundary) {
                starts_.push_back({nodes_[pieces_[p].begin].vertex, p});
            }
        }
        std::sort(starts_.begin(), starts_.end());
        used_.assign(pieces_.size(), false);
        for (std::size_t p = 0; p < pieces_.size(); ++p) {
            if (pieces_[p].fromBoundary) {
                Chain(p, lines);
            }
        }
        for (std::size_t p = 0; p < pieces_.size(); ++p) {
            if (!used_[p]) {
                Chain(p, lines);
            }
        }
    }

private:
    // Splits a traced line at its dropped segments; a closed line without any is complete.
    void Cut(const ContourTrace& trace, std::vector<ContourLine>& lines) {
        const std::size_t n = trace.end - trace.begin;
        std::size_t first = 0;  // position in the trace at which the pieces start
        if (trace.closed) {
            std::size_t bridge = 0;
            while (bridge < n && !level_.nodes[trace.begin + bridge].bridgeAfter) {
                ++bridge;
            }
            if (bridge == n) {
                std::vector<PlanPoint> points;
                for (std::size_t i = trace.begin; i < trace.end; ++i) {
                    AddPoint(points, level_.nodes[i]);
                }
                AppendLine(level_, std::move(points), true, lines);
                return;
            }
            first = bridge + 1;
        }
        Piece piece{nodes_.size(), 0, !trace.closed, false};
        for (std::size_t i = 0; i < n; ++i) {
            const ContourNode& node = level_.nodes[trace.begin + (first + i) % n];
            nodes_.push_back(node);
            const bool last = i + 1 == n;
            if (node.bridgeAfter && !(last && !trace.closed)) {
                piece.end = nodes_.size();
                pieces_.push_back(piece);
                piece = Piece{nodes_.size(), 0, false, false};
            }
        }
        if (!trace.closed) {
            piece.end = nodes_.size();
            piece.toBoundary = true;
            pieces_.push_back(piece);
        }
    }

    // An unused piece that starts at the vertex, or pieces_.size().
    std::size_t TakeStartingAt(std::int32_t vertex) {
        auto it = std::lower_bound(starts_.begin(), starts_.end(),
                                   std::pair<std::int32_t, std::size_t>(vertex, 0));
        for (; it != starts_.end() && it->first == vertex; ++it) {
            if (!used_[it->second]) {
                used_[it->second] = true;
                return it->second;
            }
        }
        return pieces_.size();
    }

    // Follows pieces from `p` on until the boundary, or until no piece goes on (back at the
    // start: closed).
    void Chain(std::size_t p, std::vector<ContourLine>& lines) {
        used_[p] = true;
        const std::int32_t startVertex = nodes_[pieces_[p].begin].vertex;
        const bool fromBoundary = pieces_[p].fromBoundary;
        std::vector<PlanPoint> points;
        bool closed = false;
        for (;;) {
            for (std::size_t i = pieces_[p].begin; i < pieces_[p].end; ++i) {
                AddPoint(points, nodes_[i]);
            }
            if (pieces_[p].toBoundary) {
                break;
            }
            const std::int32_t endVertex = nodes_[pieces_[p].end - 1].vertex;
            const std::size_t next = TakeStartingAt(endVertex);
            if (next == pieces_.size()) {
                closed = !fromBoundary && endVertex == startVertex;
                break;
            }
            p = next;
        }
        AppendLine(level_, std::move(points), closed, lines);
    }

    const ContourLevel& level_;
    std::vector<ContourNode> nodes_;
    std::vector<Piece> pieces_;
    std::vector<std::pair<std::int32_t, std::size_t>> starts_;  // start vertex, piece
    std::vector<bool> used_;
};

}  // namespace

void FinishContourLevel(const ContourLevel& level, std::vector<ContourLine>& lines) {
    if (level.anyBridge) {
        CPieceJoiner(level).Run(lines);
        return;
    }
    for (const ContourTrace& trace : level.traces) {
        std::vector<PlanPoint> points;
        for (std::size_t i = trace.begin; i < trace.end; ++i) {
            AddPoint(points, level.nodes[i]);
        }
        AppendLine(level, std::move(points), trace.closed, lines);
    }
}

}  // namespace geom
