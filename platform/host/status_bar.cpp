// The status-bar progress meter and the window-message filters.
#include <algorithm>

#include "platform/host/impl.h"

namespace kafhost {

MeterState Host::meter() const {
    return impl_->meter;
}
const std::vector<MeterEvent>& Host::meterEvents() const {
    return impl_->meterEvents;
}
void Host::clearMeterEvents() {
    impl_->meterEvents.clear();
}
void Host::setMeterSink(std::function<void(const MeterEvent&)> sink) {
    impl_->meterSink = std::move(sink);
}
std::size_t Host::registeredFilterCount() const {
    return impl_->filters.size();
}
int Host::filterRegistrations() const {
    return impl_->filterRegistrations;
}
int Host::filterRemovals() const {
    return impl_->filterRemovals;
}

}  // namespace kafhost

using namespace kafhost;

namespace {

void logMeterEvent(Host::Impl& impl, const MeterEvent& event) {
    impl.meterEvents.push_back(event);
    if (impl.meterSink) {
        impl.meterSink(event);
    }
}

}  // namespace

int acedSetStatusBarProgressMeter(const ACHAR* label, int minPos, int maxPos) {
    Host::Impl& impl = hostImpl();
    MeterEvent event{MeterEvent::Kind::kShow, label != nullptr ? label : L"", minPos, maxPos, 0, 0};
    if (impl.statusBar == nullptr) {
        event.result = -1;
    } else {
        impl.meter = MeterState{true, event.label, minPos, maxPos, minPos};
    }
    logMeterEvent(impl, event);
    return event.result;
}

int acedSetStatusBarProgressMeterPos(int pos) {
    Host::Impl& impl = hostImpl();
    MeterEvent event{MeterEvent::Kind::kPosition, L"", 0, 0, pos, 0};
    if (injectFault(HostCall::kSetStatusBarProgressPos) || !impl.meter.shown) {
        event.result = -1;
    } else {
        impl.meter.position = pos;
    }
    logMeterEvent(impl, event);
    return event.result;
}

void acedRestoreStatusBar() {
    Host::Impl& impl = hostImpl();
    impl.meter = MeterState();
    logMeterEvent(impl, MeterEvent{MeterEvent::Kind::kRestore, L"", 0, 0, 0, 0});
}

bool acedRegisterFilterWinMsg(const AcedFilterWinMsgFn pfn) {
    Host::Impl& impl = hostImpl();
    if (injectFault(HostCall::kRegisterFilterWinMsg) || pfn == nullptr) {
        return false;
    }
    if (std::find(impl.filters.begin(), impl.filters.end(), pfn) == impl.filters.end()) {
        impl.filters.push_back(pfn);
    }
    ++impl.filterRegistrations;
    return true;
}

bool acedRemoveFilterWinMsg(const AcedFilterWinMsgFn pfn) {
    Host::Impl& impl = hostImpl();
    if (injectFault(HostCall::kRemoveFilterWinMsg)) {
        return false;
    }
    const auto found = std::find(impl.filters.begin(), impl.filters.end(), pfn);
    if (found == impl.filters.end()) {
        return false;
    }
    impl.filters.erase(found);
    ++impl.filterRemovals;
    return true;
}
