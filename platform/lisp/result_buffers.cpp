// acutNewRb and acutRelRb, the host's result-buffer nodes.
#include <cstdlib>

#include "platform/host/impl.h"
#include "platform/lisp/result_buffer_nodes.h"

namespace kafhost {

resbuf* newNode(int type) {
    auto* node = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
    if (node != nullptr) {
        node->restype = static_cast<short>(type);
    }
    return node;
}

void freeChain(resbuf* chain) {
    while (chain != nullptr) {
        resbuf* next = chain->rbnext;
        if (chain->restype == RTSTR) {
            std::free(chain->resval.rstring);
        }
        std::free(chain);
        chain = next;
    }
}

}  // namespace kafhost

struct resbuf* acutNewRb(int type) {
    if (kafhost::injectFault(kafhost::HostCall::kAcutNewRb)) {
        return nullptr;
    }
    return kafhost::newNode(type);
}

int acutRelRb(struct resbuf* rb) {
    kafhost::freeChain(rb);
    return RTNORM;
}
