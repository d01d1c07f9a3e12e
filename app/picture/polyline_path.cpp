#include "app/picture/polyline_path.h"

#include <algorithm>
#include <cmath>

namespace kafcad {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLargestStep = 2.5 * kPi / 180.0;

// Appends the points after from up to and including to, along the arc of that bulge.
void AppendArc(const kafhost::Point2& from, const kafhost::Point2& to, double bulge,
               std::vector<kafhost::Point2>& path) {
    const double dx = to[0] - from[0];
    const double dy = to[1] - from[1];
    const double chord = std::hypot(dx, dy);
    if (chord == 0.0) {
        path.push_back(to);
        return;
    }
    // The centre lies on the chord's left normal (right for a negative bulge).
    const double offset = (1.0 - bulge * bulge) / (4.0 * bulge);
    const double centreX = (from[0] + to[0]) / 2.0 - dy * offset;
    const double centreY = (from[1] + to[1]) / 2.0 + dx * offset;
    const double sweep = 4.0 * std::atan(bulge);
    const double radius = std::hypot(from[0] - centreX, from[1] - centreY);
    const double start = std::atan2(from[1] - centreY, from[0] - centreX);
    const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / kLargestStep)));
    for (int i = 1; i < steps; ++i) {
        const double angle = start + sweep * i / steps;
        path.push_back({centreX + radius * std::cos(angle), centreY + radius * std::sin(angle)});
    }
    path.push_back(to);
}

}  // namespace

std::vector<kafhost::Point2> PolylinePath(const kafhost::EntityInfo& polyline) {
    const std::vector<kafhost::Point2>& points = polyline.points;
    std::vector<kafhost::Point2> path;
    if (points.empty()) {
        return path;
    }
    path.push_back(points.front());
    const std::size_t segments = polyline.closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const kafhost::Point2& to = points[(i + 1) % points.size()];
        const double bulge = i < polyline.bulges.size() ? polyline.bulges[i] : 0.0;
        if (bulge == 0.0) {
            path.push_back(to);
        } else {
            AppendArc(points[i], to, bulge, path);
        }
    }
    return path;
}

}  // namespace kafcad
