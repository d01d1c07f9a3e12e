#include "host/find_status_bar_progress_control.h"

#include <cwctype>

namespace {

constexpr int kClassNameCapacity = 256;

bool EqualIgnoringCase(const wchar_t* a, const wchar_t* b) {
    for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
        if (std::towlower(static_cast<std::wint_t>(*a)) !=
            std::towlower(static_cast<std::wint_t>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

bool IsStatusBar(HWND window) {
    wchar_t className[kClassNameCapacity] = {};
    if (GetClassNameW(window, className, kClassNameCapacity) == 0) {
        return false;
    }
    return EqualIgnoringCase(className, L"msctls_statusbar32");
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
