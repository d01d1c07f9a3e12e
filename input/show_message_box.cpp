#include "input/show_message_box.h"

int ShowMessageBox(const wchar_t* text, const wchar_t* caption, UINT style) {
    CWinApp* app = acedGetAcadWinApp();
    CWnd* mainWindow = app != nullptr ? app->GetMainWnd() : nullptr;
    const HWND owner = mainWindow != nullptr ? mainWindow->GetSafeHwnd() : nullptr;
    return MessageBoxW(owner, text, caption, style);
}
