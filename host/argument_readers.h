// Readers of the arguments of an AutoLISP call.
//
// ReadPointList(chain, triangulator): the plain walk of a point list. Adds every RTPOINT (z = 0.0)
// and RT3DPOINT node to the triangulator's AddPoint, skips RTLB, and stops at any other node type.
// The chain's last node is never read, unless it is the chain's only node: a single point node is
// read. An empty chain adds nothing. Works with any triangulator that has AddPoint(x, y, z); what
// AddPoint throws passes through to the caller, and so does the refusal of a point with a
// coordinate that is not finite (GeometryError kPointNotFinite, thrown before the point is added).
//
// ReadPointListCounting(chain, dct): the counting walk of the mesh functions. Gives the number of
// points AddPoint accepted (or -1 when the walk ended on a node of another type) and the node
// where the walk ended, which is the layer argument (null when there is none). An RTLE ends the
// walk on the node after it.
//
// ReadHandleList(cursor): reads a handle list starting at cursor and gives its strings in order.
// Ends on the list's closing RTLE and leaves the cursor on it. When the chain ends first (the
// list is the last argument, so its RTLE is never examined), prints "End Handle: %s\n" for every
// string read and leaves the cursor null: callers must test it before stepping past the list.
//
// ReadCompleteHandleList(cursor): the same, except that the list is read to its closing RTLE
// also when it is the call's last argument (nothing is echoed then); the cursor is left on the
// RTLE, or null when the chain ends without one. For the functions whose handle list may come
// last.
//
// ReadInteger(node, value): the integer of an RTSHORT or RTLONG node into value; false, with value
// unchanged, for a node of another type.
//
// ReadReal(node, value): the real of an RTREAL node into value; false, with value unchanged, for
// a node of another type (an integer included).
//
// ReadLayer(node, layer): a layer argument, an RTSTR node (layer set to its text) or RTNIL (layer
// emptied: none given); false, with layer unchanged, for a node of another type.
//
// ReadPositionalArguments(args, count, step, read): walks the first count arguments of a call in
// order. read(position, cursor) checks the argument at cursor (positions from 1) and gives an
// error message, or null when it is accepted; it may move cursor inside the argument (a handle
// list leaves it on its closing RTLE, or null when the chain ended inside the list). The first
// bad argument, or a chain that ends before count arguments ("Too few arguments!"), is reported
// with ReportFunctionError under step (nil is set); gives false then, true when all were read.
// ReadPositionalArguments(args, required, count, step, read): the same for a call whose arguments
// after the first `required` may be left out: a chain that ends after at least `required`
// arguments ends the walk there, without error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "arxapi.h"
#include "geom/dct/dct.h"
#include "host/add_finite_point.h"
#include "host/error_lines.h"

inline bool IsPointNode(const resbuf* node) {
    return node->restype == RTPOINT || node->restype == RT3DPOINT;
}

// Feeds a point node to the triangulator (a 2D point with z = 0.0); gives AddPoint's result. A
// point with a coordinate that is not finite is refused (AddFinitePoint).
template <typename Triangulator>
int AddPointNode(const resbuf* node, Triangulator& triangulator) {
    const double z = node->restype == RT3DPOINT ? node->resval.rpoint[2] : 0.0;
    return AddFinitePoint(triangulator, node->resval.rpoint[0], node->resval.rpoint[1], z);
}

template <typename Triangulator>
void ReadPointList(const resbuf* chain, Triangulator& triangulator) {
    for (const resbuf* node = chain; node != nullptr; node = node->rbnext) {
        if (IsPointNode(node)) {
            AddPointNode(node, triangulator);
        } else if (node->restype != RTLB) {
            return;
        }
        // The walk never looks at the chain's last node.
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

std::vector<std::wstring> ReadHandleList(const resbuf*& cursor);
std::vector<std::wstring> ReadCompleteHandleList(const resbuf*& cursor);

inline bool ReadInteger(const resbuf* node, std::int32_t& value) {
    if (node->restype == RTSHORT) {
        value = node->resval.rint;
    } else if (node->restype == RTLONG) {
        value = node->resval.rlong;
    } else {
        return false;
    }
    return true;
}

inline bool ReadReal(const resbuf* node, double& value) {
    if (node->restype != RTREAL) {
        return false;
    }
    value = node->resval.rreal;
    return true;
}

inline bool ReadLayer(const resbuf* node, std::optional<std::wstring>& layer) {
    if (node->restype == RTSTR) {
        layer = node->resval.rstring != nullptr ? node->resval.rstring : L"";
    } else if (node->restype == RTNIL) {
        layer.reset();
    } else {
        return false;
    }
    return true;
}

template <typename Read>
bool ReadPositionalArguments(const resbuf* args, int required, int count, const wchar_t* step,
                             Read read) {
    const resbuf* cursor = args;
    for (int position = 1; position <= count; ++position) {
        if (cursor == nullptr && position > required) {
            return true;
        }
        if (cursor == nullptr) {
            ReportFunctionError(step, L"Too few arguments!");
            return false;
        }
        if (const wchar_t* error = read(position, cursor)) {
            ReportFunctionError(step, error);
            return false;
        }
        if (cursor == nullptr) {
            ReportFunctionError(step, L"Too few arguments!");
            return false;
        }
        cursor = cursor->rbnext;
    }
    return true;
}

template <typename Read>
bool ReadPositionalArguments(const resbuf* args, int count, const wchar_t* step, Read read) {
    return ReadPositionalArguments(args, count, count, step, read);
}
