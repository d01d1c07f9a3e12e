#include "fuzz/same_drawing.h"

#include <cstring>
#include <vector>

namespace {

using kafhost::EntityInfo;

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <typename Points>
bool SamePoints(const Points& a, const Points& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t k = 0; k < a[i].size(); ++k) {
            if (!SameBits(a[i][k], b[i][k])) {
                return false;
            }
        }
    }
    return true;
}

bool SameNumbers(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!SameBits(a[i], b[i])) {
            return false;
        }
    }
    return true;
}

bool SameEntity(const EntityInfo& a, const EntityInfo& b) {
    return a.handle == b.handle && a.type == b.type && a.space == b.space && a.layer == b.layer &&
           a.erased == b.erased && SamePoints(a.vertices, b.vertices) && a.faces == b.faces &&
           a.vertexColors == b.vertexColors && a.subDLevel == b.subDLevel &&
           SamePoints(a.corners, b.corners) && a.edgeVisible == b.edgeVisible &&
           SamePoints(a.points, b.points) && SameNumbers(a.bulges, b.bulges) &&
           SameBits(a.elevation, b.elevation) && a.closed == b.closed;
}

}  // namespace

bool SameDrawing(const kafhost::DrawingSnapshot& a, const kafhost::DrawingSnapshot& b) {
    if (a.nextHandle != b.nextHandle || a.layers.size() != b.layers.size() ||
        a.entities.size() != b.entities.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.layers.size(); ++i) {
        if (a.layers[i].name != b.layers[i].name || a.layers[i].hidden != b.layers[i].hidden) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.entities.size(); ++i) {
        if (!SameEntity(a.entities[i], b.entities[i])) {
            return false;
        }
    }
    return true;
}
