// Documents: opening, closing and activating them, the document manager with its reactors, and
// the host application services.
#include <algorithm>

#include "platform/host/impl.h"

namespace kafhost {
namespace {

AcApDocument* findDocument(const std::vector<std::unique_ptr<AcApDocument>>& documents,
                           const AcApDocument* document) {
    for (const auto& candidate : documents) {
        if (candidate.get() == document) {
            return candidate.get();
        }
    }
    return nullptr;
}

}  // namespace

AcApDocument* Host::newDocument(const std::wstring& name) {
    auto document = std::make_unique<AcApDocument>();
    ++impl_->documentsMade;
    document->name = name.empty() ? L"Drawing" + std::to_wstring(impl_->documentsMade) : name;
    document->database = makeDatabase();
    AcApDocument* made = document.get();
    impl_->documents.push_back(std::move(document));
    impl_->current = made;
    notifyReactors(&AcApDocManagerReactor::documentCreated, made);
    notifyReactors(&AcApDocManagerReactor::documentActivated, made);
    for (const auto& module : impl_->modules) {
        sendToModule(*module, AcRx::kLoadDwgMsg, made, made);
    }
    return made;
}

bool Host::closeDocument(AcApDocument* document) {
    if (findDocument(impl_->documents, document) == nullptr) {
        return false;
    }
    for (auto module = impl_->modules.rbegin(); module != impl_->modules.rend(); ++module) {
        sendToModule(**module, AcRx::kUnloadDwgMsg, document, document);
    }
    notifyReactors(&AcApDocManagerReactor::documentToBeDestroyed, document);
    auto& documents = impl_->documents;
    for (auto it = documents.begin(); it != documents.end(); ++it) {
        if (it->get() == document) {
            destroyDatabase((*it)->database);
            documents.erase(it);
            break;
        }
    }
    if (impl_->current == document) {
        impl_->current = documents.empty() ? nullptr : documents.back().get();
        if (impl_->current != nullptr) {
            notifyReactors(&AcApDocManagerReactor::documentActivated, impl_->current);
        }
    }
    return true;
}

bool Host::activateDocument(AcApDocument* document) {
    if (findDocument(impl_->documents, document) == nullptr) {
        return false;
    }
    impl_->current = document;
    notifyReactors(&AcApDocManagerReactor::documentActivated, document);
    return true;
}

AcApDocument* Host::currentDocument() const {
    return impl_->current;
}

std::vector<AcApDocument*> Host::documents() const {
    std::vector<AcApDocument*> list;
    for (const auto& document : impl_->documents) {
        list.push_back(document.get());
    }
    return list;
}

std::wstring Host::documentName(const AcApDocument* document) const {
    const AcApDocument* found = findDocument(impl_->documents, document);
    return found != nullptr ? found->name : std::wstring();
}

AcDbDatabase* Host::documentDatabase(const AcApDocument* document) const {
    const AcApDocument* found = findDocument(impl_->documents, document);
    return found != nullptr ? found->database.get() : nullptr;
}

AcDbDatabase* Host::workingDatabase() const {
    return impl_->current != nullptr ? impl_->current->database.get() : nullptr;
}

std::size_t Host::reactorCount() const {
    return impl_->reactors.size();
}

void Host::setDocumentManagerShutDown(bool shutDown) {
    impl_->documentManagerShutDown = shutDown;
}

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
