#include "geom/surface/trace_contours.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

#include "geom/surface/finish_contour_level.h"
#include "geom/surface/measurable_surface.h"

namespace geom {

namespace {

// By which corners lie at or above the level (bit k for corner k, 1 to 6): the edge through
// which the line enters a triangle (running from above to below), the edge through which it
// leaves (from below to above), so that the higher ground lies on its left, and the edge with
// both ends above (two corners above only). Edge k runs from corner k to corner k + 1.
constexpr int kEntryEdge[8] = {-1, 0, 1, 1, 2, 0, 2, -1};
constexpr int kExitEdge[8] = {-1, 2, 0, 2, 1, 1, 0, -1};
constexpr int kUpperEdge[8] = {-1, -1, -1, 0, -1, 2, 1, -1};

// The levels base + k * interval above zmin and not above zmax, with their k.
SurfaceStatus ListLevels(const ContourOptions& options, double zmin, double zmax,
                         std::vector<double>& levels, std::vector<std::int64_t>& numbers) {
    if (!std::isfinite(options.base) || !std::isfinite(options.interval) ||
        !(options.interval > 0)) {
        return SurfaceStatus::InvalidLevels;
    }
    const double first = std::floor((zmin - options.base) / options.interval) - 1;
    const double last = std::floor((zmax - options.base) / options.interval) + 1;
    const double limit = 9007199254740992.0;  // 2^53
    if (!(std::fabs(first) <= limit && std::fabs(last) <= limit)) {
        return SurfaceStatus::InvalidLevels;
    }
    if (last - first + 1 > static_cast<double>(kMaxContourLevels + 2)) {
        return SurfaceStatus::TooManyLevels;
    }
    for (std::int64_t k = static_cast<std::int64_t>(first); k <= static_cast<std::int64_t>(last);
         ++k) {
        const double level = options.base + static_cast<double>(k) * options.interval;
        if (level > zmin && level <= zmax && (levels.empty() || level > levels.back())) {
            levels.push_back(level);
            numbers.push_back(k);
        }
    }
    if (levels.size() > static_cast<std::size_t>(kMaxContourLevels)) {
        return SurfaceStatus::TooManyLevels;
    }
    return SurfaceStatus::Ok;
}

// Traces the lines of one level through the triangles it crosses.
class CLevelTracer {
public:
    CLevelTracer(const WeldedSurface& surface, std::vector<std::int32_t>& stamp)
        : points_(surface.points), triangles_(surface.triangles), stamp_(stamp) {}

    void Trace(const std::vector<std::int32_t>& crossed, std::int32_t number, double elevation,
               ContourLevel& level) {
        number_ = number;
        elevation_ = elevation;
        level_ = &level;
        level.elevation = elevation;
        level.anyBridge = false;
        level.nodes.clear();
        level.traces.clear();
        // Open lines first, from the triangles the line enters over the boundary; all that
        // remains forms closed lines.
        for (std::int32_t t : crossed) {
            if (stamp_[t] != number && triangles_[t].across[kEntryEdge[Mask(t)]] < 0) {
                Follow(t);
            }
        }
        for (std::int32_t t : crossed) {
            if (stamp_[t] != number) {
                Follow(t);
            }
        }
    }

private:
    int Mask(std::int32_t t) const {
        const std::int32_t* c = triangles_[t].corner;
        return (points_[c[0]].z >= elevation_ ? 1 : 0) | (points_[c[1]].z >= elevation_ ? 2 : 0) |
               (points_[c[2]].z >= elevation_ ? 4 : 0);
    }

    // Where the level crosses edge k of triangle t: exactly at the upper end when that lies at
    // the level, else interpolated from the lower end. Both triangles at the edge get the same
    // point.
    ContourNode EdgeNode(std::int32_t t, int k) const {
        std::int32_t low = triangles_[t].corner[k];
        std::int32_t high = triangles_[t].corner[(k + 1) % 3];
        if (points_[low].z >= elevation_) {
            std::swap(low, high);
        }
        const SurfacePoint& a = points_[low];
        const SurfacePoint& b = points_[high];
        if (b.z == elevation_) {
            return {b.x, b.y, high, false};
        }
        const double s = (elevation_ - a.z) / (b.z - a.z);
        return {a.x + s * (b.x - a.x), a.y + s * (b.y - a.y), -1, false};
    }

    // Whether the line runs along the upper edge of t, exactly at the level, with lower ground
    // beyond that edge too: the neighbour traces the same edge the other way.
    bool AlongBridge(std::int32_t t, int mask) const {
        const int e = kUpperEdge[mask];
        if (e < 0) {
            return false;
        }
        const SurfaceTriangle& triangle = triangles_[t];
        const std::int32_t p = triangle.corner[e];
        const std::int32_t q = triangle.corner[(e + 1) % 3];
        const std::int32_t n = triangle.across[e];
        if (n < 0 || points_[p].z != elevation_ || points_[q].z != elevation_) {
            return false;
        }
        for (std::int32_t c : triangles_[n].corner) {
            if (c != p && c != q) {
                return points_[c].z < elevation_;
            }
        }
        return false;
    }

    void Push(const ContourNode& node, bool bridge) {
        std::vector<ContourNode>& nodes = level_->nodes;
        if (nodes.size() > begin_) {
            ContourNode& previous = nodes.back();
            if (previous.x == node.x && previous.y == node.y) {
                if (node.vertex >= 0) {
                    previous.vertex = node.vertex;
                }
                return;
            }
            previous.bridgeAfter = bridge;
            level_->anyBridge = level_->anyBridge || bridge;
        }
        nodes.push_back(node);
    }

    void Follow(std::int32_t start) {
        std::vector<ContourNode>& nodes = level_->nodes;
        begin_ = nodes.size();
        int mask = Mask(start);
        Push(EdgeNode(start, kEntryEdge[mask]), false);
        bool closed = false;
        std::int32_t t = start;
        for (;;) {
            stamp_[t] = number_;
            const int exit = kExitEdge[mask];
            Push(EdgeNode(t, exit), AlongBridge(t, mask));
            const std::int32_t next = triangles_[t].across[exit];
            if (next == start) {
                closed = true;
                break;
            }
            if (next < 0 || stamp_[next] == number_) {
                break;
            }
            t = next;
            mask = Mask(t);
        }
        if (closed) {
            // The last point is the first one again; the segment into it becomes the closing
            // segment.
            while (nodes.size() > begin_ + 1 && nodes.back().x == nodes[begin_].x &&
                   nodes.back().y == nodes[begin_].y) {
                nodes.pop_back();
            }
        }
        level_->traces.push_back({begin_, nodes.size(), closed});
    }

    const std::vector<SurfacePoint>& points_;
    const std::vector<SurfaceTriangle>& triangles_;
    std::vector<std::int32_t>& stamp_;  // the number of the level that last passed a triangle
    std::int32_t number_ = 0;
    double elevation_ = 0.0;
    ContourLevel* level_ = nullptr;
    std::size_t begin_ = 0;
};

}  // namespace

SurfaceStatus TraceContours(const WeldedSurface& surface, const ContourOptions& options,
                            std::vector<ContourLine>& lines, const SurfaceProgress& progress) {
    lines.clear();
    if (!IsMeasurable(surface)) {
        return SurfaceStatus::CoordinatesTooLarge;
    }
    try {
        double zmin = 0.0;
        double zmax = 0.0;
        if (!surface.points.empty()) {
            zmin = zmax = surface.points[0].z;
            for (const SurfacePoint& p : surface.points) {
                zmin = std::min(zmin, p.z);
                zmax = std::max(zmax, p.z);
            }
        }
        std::vector<double> levels;
        std::vector<std::int64_t> numbers;
        const SurfaceStatus status = ListLevels(options, zmin, zmax, levels, numbers);
        if (status != SurfaceStatus::Ok || surface.triangles.empty() || levels.empty()) {
            return status;
        }

        // Each triangle is crossed by the levels above its lowest and not above its highest
        // corner; the triangles are listed by the first level that crosses them.
        const std::size_t triangleCount = surface.triangles.size();
        std::vector<std::int32_t> lastLevel(triangleCount, -1);
        std::vector<std::size_t> firstAt(levels.size() + 1, 0);
        std::vector<std::int32_t> firstLevel(triangleCount, -1);
        for (std::size_t t = 0; t < triangleCount; ++t) {
            const std::int32_t* c = surface.triangles[t].corner;
            const double z0 = surface.points[c[0]].z;
            const double z1 = surface.points[c[1]].z;
            const double z2 = surface.points[c[2]].z;
            const double low = std::min(z0, std::min(z1, z2));
            const double high = std::max(z0, std::max(z1, z2));
            const auto first = std::upper_bound(levels.begin(), levels.end(), low);
            const auto last = std::upper_bound(first, levels.end(), high);
            if (first != last) {
                firstLevel[t] = static_cast<std::int32_t>(first - levels.begin());
                lastLevel[t] = static_cast<std::int32_t>(last - levels.begin()) - 1;
                ++firstAt[firstLevel[t] + 1];
            }
        }
        for (std::size_t i = 1; i < firstAt.size(); ++i) {
            firstAt[i] += firstAt[i - 1];
        }
        std::vector<std::int32_t> byFirstLevel(firstAt.back());
        {
            std::vector<std::size_t> fill(firstAt.begin(), firstAt.end() - 1);
            for (std::size_t t = 0; t < triangleCount; ++t) {
                if (firstLevel[t] >= 0) {
                    byFirstLevel[fill[firstLevel[t]]++] = static_cast<std::int32_t>(t);
                }
            }
        }
        std::vector<std::int32_t>().swap(firstLevel);

        std::vector<std::int32_t> stamp(triangleCount, -1);
        CLevelTracer tracer(surface, stamp);
        ContourLevel level;
        std::vector<std::int32_t> crossed;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            const std::int32_t number = static_cast<std::int32_t>(i);
            crossed.erase(std::remove_if(crossed.begin(), crossed.end(),
                                         [&](std::int32_t t) { return lastLevel[t] < number; }),
                          crossed.end());
            crossed.insert(crossed.end(), byFirstLevel.begin() + firstAt[i],
                           byFirstLevel.begin() + firstAt[i + 1]);
            tracer.Trace(crossed, number, levels[i], level);
            level.major = options.majorEvery > 0 && numbers[i] % options.majorEvery == 0;
            FinishContourLevel(level, lines);
            if (progress) {
                progress(i + 1, levels.size());
            }
        }
        return SurfaceStatus::Ok;
    } catch (const std::bad_alloc&) {
        std::vector<ContourLine>().swap(lines);
        return SurfaceStatus::OutOfMemory;
    }
}

}  // namespace geom
