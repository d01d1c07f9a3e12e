#include "host/find_status_bar_progress_control.h"

#include <cwchar>
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
           EqualIgnoringCase(className, kStatusBarClass);
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
