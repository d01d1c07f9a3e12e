#include "app/terminal/interrupt_keys.h"

// The Windows console keeps its own Ctrl-C handling: it ends kafcad. The prompt's cancel and the
// question before quitting are those of the POSIX terminal (interrupt_keys.cpp).
namespace kafcad {

InterruptKeys::InterruptKeys() = default;
InterruptKeys::~InterruptKeys() = default;

void InterruptKeys::Running(bool) {}

bool InterruptKeys::TakeCancelled() {
    return false;
}

bool InterruptKeys::CancelPending() {
    return false;
}

EndOnInterrupt::EndOnInterrupt(const std::string&) {}
EndOnInterrupt::~EndOnInterrupt() = default;

}  // namespace kafcad
