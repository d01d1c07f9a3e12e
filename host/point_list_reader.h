// Readers of point-list arguments.
//
// ReadPointList(chain, triangulator): the plain walk. Adds every RTPOINT (z = 0.0) and RT3DPOINT
// node to the triangulator's AddPoint, skips RTLB, and stops at any other node type. The chain's
// last node is never read. A single-node chain holding a point reads that point. Works with any
// triangulator that has AddPoint(x, y, z).
//
// ReadPointListCounting(chain, dct): the counting walk of the mesh functions. Gives the number of
// points AddPoint accepted (or -1 when the walk ended on a node of another type) and the node
// where the walk ended, which is the layer argument (null when there is none).
#pragma once

#include <cstdint>

#include "arxapi.h"
#include "geom/dct.h"

template <typename Triangulator>
void ReadPointList(const resbuf* chain, Triangulator& triangulator) {
    for (const resbuf* node = chain; node != nullptr; node = node->rbnext) {
        if (node->restype == RTPOINT) {
            triangulator.AddPoint(node->resval.rpoint[0], node->resval.rpoint[1], 0.0);
        } else if (node->restype == RT3DPOINT) {
            triangulator.AddPoint(node->resval.rpoint[0], node->resval.rpoint[1],
                                  node->resval.rpoint[2]);
        } else if (node->restype != RTLB) {
            return;
        }
        if (node->rbnext == nullptr || node->rbnext->rbnext == nullptr) {
            return;
        }
    }
}

struct PointWalk {
    std::int32_t count = 0;
    const resbuf* end = nullptr;
};

PointWalk ReadPointListCounting(const resbuf* chain, geom::CDCT& dct);
