#include "host/progress_meter.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <string>

#include "arxapi.h"
#include "host/clock.h"
#include "host/pump_messages.h"

namespace {

// ---- The status bar's progress control ----

constexpr int kClassNameCapacity = 256;

bool EqualIgnoringCaseWide(const wchar_t* a, const wchar_t* b) {
    for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
        if (std::towlower(static_cast<std::wint_t>(*a)) !=
            std::towlower(static_cast<std::wint_t>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

constexpr wchar_t kStatusBarClass[] = L"msctls_statusbar32";
constexpr int kStatusBarClassLength = sizeof kStatusBarClass / sizeof kStatusBarClass[0] - 1;

bool IsStatusBar(HWND window) {
    wchar_t className[kClassNameCapacity];
    // Names of another length cannot match; the exact spelling is tried before the slower
    // comparison without regard to case.
    if (GetClassNameW(window, className, kClassNameCapacity) != kStatusBarClassLength) {
        return false;
    }
    return std::wmemcmp(className, kStatusBarClass, kStatusBarClassLength) == 0 ||
           EqualIgnoringCaseWide(className, kStatusBarClass);
}

// The next sibling of window's first child, or null.
HWND SecondChild(HWND window) {
    const HWND first = GetWindow(window, GW_CHILD);
    return first != nullptr ? GetWindow(first, GW_HWNDNEXT) : nullptr;
}

HWND MainWindow() {
    CWinApp* app = acedGetAcadWinApp();
    CWnd* mainWindow = app != nullptr ? app->GetMainWnd() : nullptr;
    return mainWindow != nullptr ? mainWindow->GetSafeHwnd() : nullptr;
}

// ---- The meter ----

// True while PassThroughMessageFilter is registered with the host; kept across runs, so that a
// filter one run leaves registered is not registered again by the next.
bool FilterRegistered = false;

constexpr double kMeterIntervalSeconds = 0.5;

// Lets the host handle every window message as usual while a meter is shown.
bool PassThroughMessageFilter(MSG*) {
    return false;
}

// The whole-percent text of part of total, as the meter shows it ("42%").
std::string PercentText(double part, double total) {
    char text[512];
    std::snprintf(text, sizeof text, "%.0f%s", part * 100.0 / total, "%");
    return text;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::string::size_type i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The leading integer of a percentage text ("42%" gives 42; a text without digits gives 0).
int PercentPosition(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

void MoveMeter(const wchar_t* label, int position) {
    if (acedSetStatusBarProgressMeterPos(position) == -1) {
        acedSetStatusBarProgressMeter(label, 0, 100);
        acedSetStatusBarProgressMeterPos(position);
    }
}

}  // namespace

HWND FindStatusBarProgressControl() {
    const HWND mainWindow = MainWindow();
    if (mainWindow == nullptr) {
        return nullptr;
    }
    HWND statusBar = SecondChild(mainWindow);
    while (statusBar != nullptr && !IsStatusBar(statusBar)) {
        statusBar = GetWindow(statusBar, GW_HWNDNEXT);
    }
    if (statusBar == nullptr) {
        return nullptr;
    }
    const HWND control = SecondChild(statusBar);
    return control != nullptr && IsWindow(control) ? control : nullptr;
}

void StartProgressMeter(ProgressMeterState& state, const wchar_t* label, double total) {
    if (!FilterRegistered) {
        FilterRegistered = acedRegisterFilterWinMsg(PassThroughMessageFilter);
    }
    acedRestoreStatusBar();
    acedSetStatusBarProgressMeter(label, 0, 100);
    state.total = total;
    state.lastShown = 0.0;
    state.current = 0.0;
    state.interval = kMeterIntervalSeconds;
    state.lastTick = ReadClock();
}

int UpdateProgressMeter(ProgressMeterState& state, const wchar_t* label, double value) {
    const std::int32_t now = ReadClock();
    const bool clamped = value > state.total;
    if (clamped) {
        value = state.total;
    }
    const HWND control = FindStatusBarProgressControl();
    const bool due = ElapsedMilliseconds(state.lastTick, now) / 1000.0 > state.interval;
    // The percentage texts are formatted only when they can decide something: the meter always
    // moves without a control or after clamping, and never before the interval has passed.
    const bool mustMove = control == nullptr || clamped;
    if (mustMove || due) {
        const std::string newText = PercentText(value, state.total);
        if (!mustMove && EqualIgnoringCase(PercentText(state.lastShown, state.total), newText)) {
            state.current = value;
            PumpMessages();
            return 0;
        }
        MoveMeter(label, PercentPosition(newText));
        state.lastShown = value;
        state.lastTick = now;
    }
    state.current = value;
    if (due) {
        PumpMessages();
    }
    return 0;
}

void EndProgressMeter() {
    acedRestoreStatusBar();
    if (FilterRegistered) {
        FilterRegistered = !acedRemoveFilterWinMsg(PassThroughMessageFilter);
    }
}
