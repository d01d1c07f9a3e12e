// Host: the instance, reset and fault injection.
#include "platform/host/impl.h"

namespace kafhost {
namespace {

std::size_t callIndex(HostCall call) {
    return static_cast<std::size_t>(call);
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
