#include "host/pump_messages.h"

#include <cstdint>

#include "arxapi.h"
#include "host/clock.h"

namespace {

// Clock value of the last throttled pump, shared by every long loop of the module.
std::int32_t LastPumpTick = 0;

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
    if (ElapsedMilliseconds(LastPumpTick, now) / 1000.0 > kPumpIntervalSeconds) {
        PumpMessages();
        LastPumpTick = now;
    }
    return 0;
}
