#include "host/point_list_reader.h"

PointWalk ReadPointListCounting(const resbuf* chain, geom::CDCT& dct) {
    PointWalk walk;
    const resbuf* node = chain;
    while (node != nullptr) {
        if (IsPointNode(node)) {
            if (AddPointNode(node, dct) != 0) {
                ++walk.count;
            }
        } else if (node->restype == RTLE) {
            walk.end = node->rbnext;
            return walk;
        } else if (node->restype != RTLB) {
            walk.count = -1;
            walk.end = node;
            return walk;
        }
        node = node->rbnext;
        // The chain's last node is not read as a point: it is the layer argument.
        if (node != nullptr && node->rbnext == nullptr) {
            break;
        }
    }
    walk.end = node;
    return walk;
}
