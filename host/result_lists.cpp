#include "host/result_lists.h"

#include <cstdlib>
#include <cstring>

namespace {

// Appends nodes to a chain; once a node is missing, releases what was built and gives null.
class ChainBuilder {
public:
    ~ChainBuilder() {
        if (head_ != nullptr) {
            acutRelRb(head_);
        }
    }

    bool Failed() const { return failed_; }

    void Append(resbuf* node) {
        if (failed_ && node != nullptr) {
            acutRelRb(node);
            return;
        }
        if (node == nullptr) {
            failed_ = true;
            return;
        }
        if (tail_ == nullptr) {
            head_ = node;
        } else {
            tail_->rbnext = node;
        }
        tail_ = node;
    }

    // The finished chain, or null when a node could not be made; the builder lets go of it.
    resbuf* Release() {
        resbuf* chain = failed_ ? nullptr : head_;
        if (chain != nullptr) {
            head_ = nullptr;
        }
        return chain;
    }

private:
    resbuf* head_ = nullptr;
    resbuf* tail_ = nullptr;
    bool failed_ = false;
};

}  // namespace

resbuf* NewListBegin() {
    return acutNewRb(RTLB);
}

resbuf* NewListEnd() {
    return acutNewRb(RTLE);
}

resbuf* NewPointNode(double x, double y, double z) {
    resbuf* node = acutNewRb(RT3DPOINT);
    if (node != nullptr) {
        node->resval.rpoint[0] = x;
        node->resval.rpoint[1] = y;
        node->resval.rpoint[2] = z;
    }
    return node;
}

resbuf* NewStringNode(const std::wstring& text) {
    resbuf* node = acutNewRb(RTSTR);
    if (node == nullptr) {
        return nullptr;
    }
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(std::malloc(bytes));
    if (copy == nullptr) {
        acutRelRb(node);
        return nullptr;
    }
    std::memcpy(copy, text.c_str(), bytes);
    node->resval.rstring = copy;
    return node;
}

resbuf* NewRealNode(double value) {
    resbuf* node = acutNewRb(RTREAL);
    if (node != nullptr) {
        node->resval.rreal = value;
    }
    return node;
}

resbuf* NewNilNode() {
    return acutNewRb(RTNIL);
}

resbuf* NewLongNode(std::int32_t value) {
    resbuf* node = acutNewRb(RTLONG);
    if (node != nullptr) {
        node->resval.rlong = value;
    }
    return node;
}

resbuf* NodesToResultList(const std::vector<resbuf*>& nodes) {
    ChainBuilder chain;
    chain.Append(NewListBegin());
    for (resbuf* node : nodes) {
        chain.Append(node);
    }
    chain.Append(NewListEnd());
    return chain.Release();
}

resbuf* TrianglesToResultList(const std::vector<geom::CTriangle>& triangles) {
    ChainBuilder chain;
    chain.Append(NewListBegin());
    for (const geom::CTriangle& triangle : triangles) {
        if (chain.Failed()) {
            break;
        }
        chain.Append(NewListBegin());
        for (const geom::CVertex* corner : {&triangle.p1, &triangle.p2, &triangle.p3}) {
            chain.Append(NewPointNode(corner->x, corner->y, corner->z));
        }
        chain.Append(NewListEnd());
    }
    chain.Append(NewListEnd());
    return chain.Release();
}

resbuf* StringsToResultList(const std::vector<std::wstring>& strings) {
    ChainBuilder chain;
    chain.Append(NewListBegin());
    for (const std::wstring& text : strings) {
        if (chain.Failed()) {
            break;
        }
        chain.Append(NewStringNode(text));
    }
    chain.Append(NewListEnd());
    return chain.Release();
}

int ReturnList(resbuf* chain) {
    if (chain == nullptr) {
        acedRetNil();
        return RSERR;
    }
    acedRetList(chain);
    acutRelRb(chain);
    return RSRSLT;
}
