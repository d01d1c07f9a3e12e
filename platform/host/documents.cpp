// The document manager with its reactors, and the host application services.
#include <algorithm>

#include "platform/host/impl.h"

namespace kafhost {

void DocumentManager::addReactor(AcApDocManagerReactor* reactor) {
    auto& reactors = hostImpl().reactors;
    if (reactor != nullptr &&
        std::find(reactors.begin(), reactors.end(), reactor) == reactors.end()) {
        reactors.push_back(reactor);
    }
}

void DocumentManager::removeReactor(AcApDocManagerReactor* reactor) {
    auto& reactors = hostImpl().reactors;
    reactors.erase(std::remove(reactors.begin(), reactors.end(), reactor), reactors.end());
}

AcApDocument* DocumentManager::curDocument() const {
    return hostImpl().current;
}

void notifyReactors(void (AcApDocManagerReactor::*notification)(AcApDocument*),
                    AcApDocument* document) {
    // A reactor may remove itself while it is told.
    const std::vector<AcApDocManagerReactor*> reactors = hostImpl().reactors;
    for (AcApDocManagerReactor* reactor : reactors) {
        const auto& current = hostImpl().reactors;
        if (std::find(current.begin(), current.end(), reactor) != current.end()) {
            (reactor->*notification)(document);
        }
    }
}

AcDbDatabase* HostServices::workingDatabase() const {
    const AcApDocument* document = hostImpl().current;
    return document != nullptr ? document->database.get() : nullptr;
}

}  // namespace kafhost

AcApDocManager* acDocManagerPtr() {
    kafhost::Host::Impl& impl = kafhost::hostImpl();
    return impl.documentManagerShutDown ? nullptr : &impl.documentManager;
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
    return &kafhost::hostImpl().services;
}
