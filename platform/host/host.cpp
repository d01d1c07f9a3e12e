// Host: the instance, reset, documents, layers and fault injection.
#include "platform/db/object_state.h"
#include "platform/host/impl.h"

namespace kafhost {
namespace {

std::size_t callIndex(HostCall call) {
    return static_cast<std::size_t>(call);
}

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

Host::Impl* theImpl = nullptr;

// The host lives for the whole process: modules may still reach it from their static
// destructors at exit.
Host& Host::instance() {
    static Host* host = nullptr;
    if (host == nullptr) {
        host = new Host();
        theImpl = host->impl_.get();
        theImpl->start();
    }
    return *host;
}

Host::Host() : impl_(std::make_unique<Impl>()) {}
Host::~Host() = default;

void Host::Impl::start() {
    buildWindowTree(StatusBarLayout::kWithProgressControl);
    Host::instance().newDocument();
}

void Host::reset() {
    resetDrawing();
    impl_->commandLine.clear();
    impl_->printSink = nullptr;
    impl_->meterSink = nullptr;
    impl_->messageBoxSink = nullptr;
    clearFaults();
    impl_->meter = MeterState();
    impl_->meterEvents.clear();
    impl_->filters.clear();
    impl_->filterRegistrations = 0;
    impl_->filterRemovals = 0;
    impl_->queue.clear();
    impl_->dispatched.clear();
    impl_->quitting = false;
    impl_->quitRequests.clear();
    impl_->messageBoxes.clear();
    impl_->linkerRequests.clear();
    impl_->linkerEntry = LinkerEntry::kLinker;
    impl_->documentManagerShutDown = false;
    buildWindows(StatusBarLayout::kWithProgressControl);
}

void Host::resetDrawing() {
    AcApDocument* document = impl_->current;
    if (document == nullptr) {
        return;
    }
    deleteOrphans();
    destroyDatabase(document->database);
    // Objects left open or orphaned by earlier work are no longer the host's concern.
    forgetObjectLists();
    document->database = makeDatabase();
}

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

bool Host::addLayer(const std::wstring& name, bool hidden) {
    Database* database = liveDatabase(workingDatabase());
    if (database == nullptr || name.empty() || database->findLayer(name) != nullptr) {
        return false;
    }
    database->layers().push_back(LayerInfo{name, hidden});
    return true;
}

std::vector<LayerInfo> Host::layers() const {
    const Database* database = liveDatabase(workingDatabase());
    return database != nullptr ? database->layers() : std::vector<LayerInfo>();
}

void Host::failCall(HostCall call, int occurrence, Acad::ErrorStatus status) {
    if (call == HostCall::kCount || occurrence < 1) {
        return;
    }
    impl_->faults[callIndex(call)] = Impl::Fault{occurrence, status};
}

void Host::clearFaults() {
    impl_->faults.fill(Impl::Fault{});
    impl_->callCounts.fill(0);
}

std::size_t Host::callCount(HostCall call) const {
    return call == HostCall::kCount ? 0 : impl_->callCounts[callIndex(call)];
}

bool injectFault(HostCall call, Acad::ErrorStatus& status) {
    Host::Impl& impl = hostImpl();
    const std::size_t index = callIndex(call);
    ++impl.callCounts[index];
    Host::Impl::Fault& fault = impl.faults[index];
    if (fault.countdown == 0 || --fault.countdown != 0) {
        return false;
    }
    status = fault.status;
    return true;
}

bool injectFault(HostCall call) {
    Acad::ErrorStatus ignored;
    return injectFault(call, ignored);
}

}  // namespace kafhost
