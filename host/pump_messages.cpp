#include "host/pump_messages.h"

#include <cstdint>
#include <optional>

#include "arxapi.h"
#include "host/clock.h"

namespace {

// Clock value of the last throttled pump, shared by every long loop of the module. None until the
// first throttled pump after loading, which therefore always pumps: the host may have been
// running for any time before, whatever the module's clock says.
std::optional<std::int32_t> LastPumpTick;

constexpr double kPumpIntervalSeconds = 0.5;

}  // namespace

void PumpMessages() {
    CWinApp* app = acedGetAcadWinApp();
    if (app == nullptr) {
        return;
    }
    CWnd* mainWindow = app->GetMainWnd();
    const HWND window = mainWindow != nullptr ? mainWindow->GetSafeHwnd() : nullptr;
    MSG message;
    while (PeekMessageW(&message, window, 0, 0, PM_NOREMOVE)) {
        if (!app->PumpMessage()) {
            PostQuitMessage(0);
            return;
        }
    }
}

int PumpMessagesThrottled() {
    const std::int32_t now = ReadClock();
    if (!LastPumpTick || ElapsedMilliseconds(*LastPumpTick, now) / 1000.0 > kPumpIntervalSeconds) {
        PumpMessages();
        LastPumpTick = now;
    }
    return 0;
}
