#include "host/argument_readers.h"

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

std::vector<std::wstring> ReadHandleList(const resbuf*& cursor) {
    std::vector<std::wstring> handles;
    while (cursor != nullptr) {
        if (cursor->restype == RTSTR) {
            handles.emplace_back(cursor->resval.rstring != nullptr ? cursor->resval.rstring : L"");
        } else if (cursor->restype == RTLE) {
            return handles;
        }
        cursor = cursor->rbnext;
        // The chain's last node is never examined.
        if (cursor != nullptr && cursor->rbnext == nullptr) {
            cursor = nullptr;
            break;
        }
    }
    for (const std::wstring& handle : handles) {
        acutPrintf(L"End Handle: %s\n", handle.c_str());
    }
    return handles;
}

std::vector<std::wstring> ReadCompleteHandleList(const resbuf*& cursor) {
    std::vector<std::wstring> handles;
    for (; cursor != nullptr; cursor = cursor->rbnext) {
        if (cursor->restype == RTSTR) {
            handles.emplace_back(cursor->resval.rstring != nullptr ? cursor->resval.rstring : L"");
        } else if (cursor->restype == RTLE) {
            break;
        }
    }
    return handles;
}
