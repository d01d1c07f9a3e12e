// PlanLength(dx, dy): the length of the plan vector (dx, dy).
//
// Computed as sqrt(dx² + dy²), which IEEE arithmetic rounds the same way on every system, so that
// stations, label positions and section widths come out bit for bit alike on Linux and Windows
// (std::hypot is not correctly rounded in every C library). Only where the squares overflow does
// it fall back to std::hypot.
#pragma once

#include <cmath>

namespace geom {

inline double PlanLength(double dx, double dy) {
    const double length = std::sqrt(dx * dx + dy * dy);
    return std::isfinite(length) ? length : std::hypot(dx, dy);
}

}  // namespace geom
