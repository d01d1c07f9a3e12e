// ThinPoint: a survey point as the thinning reads it, plan position x, y and elevation z.
// ThinRecord: a point with its number in the order read.
#pragma once

#include <cstdint>

namespace geom {

struct ThinPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

struct ThinRecord {
    ThinPoint p;
    std::uint32_t id = 0;
};

}  // namespace geom
