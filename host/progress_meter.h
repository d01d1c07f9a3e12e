// The status-bar progress meter of one run.
//
// StartProgressMeter(state, label, total): registers the pass-through message filter if it is not
// registered yet, restores the status bar, shows the meter (label, 0, 100) and sets up state
// (total, lastShown = current = 0, interval 0.5 s, lastTick = now).
// UpdateProgressMeter(state, label, value): reports that value items are done; moves the host's
// meter only when its whole-percent text changes and the interval has passed (or when the value
// exceeds the total, or when the status bar has no progress control); gives 0.
// EndProgressMeter(): restores the status bar and removes the message filter.
// EndProgressMeterOnExit: ends the meter (EndProgressMeter) once, by End() or else when the scope
// is left, whichever way, a thrown failure included.
// FindStatusBarProgressControl(): the progress control inside the host's status bar, or null.
// The status bar is the first child of the main window, from its second child on, whose class is
// "msctls_statusbar32" (any case); the control is the status bar's second child.
#pragma once

#include <cstdint>

#include "arxapi.h"

struct ProgressMeterState {
    double total = 0.0;
    double lastShown = 0.0;
    double current = 0.0;
    double interval = 0.5;
    std::int32_t lastTick = 0;
};

void StartProgressMeter(ProgressMeterState& state, const wchar_t* label, double total);
int UpdateProgressMeter(ProgressMeterState& state, const wchar_t* label, double value);
void EndProgressMeter();
HWND FindStatusBarProgressControl();

class EndProgressMeterOnExit {
public:
    EndProgressMeterOnExit() = default;
    ~EndProgressMeterOnExit() { End(); }
    EndProgressMeterOnExit(const EndProgressMeterOnExit&) = delete;
    EndProgressMeterOnExit& operator=(const EndProgressMeterOnExit&) = delete;

    void End() {
        if (!ended_) {
            ended_ = true;
            EndProgressMeter();
        }
    }

private:
    bool ended_ = false;
};
