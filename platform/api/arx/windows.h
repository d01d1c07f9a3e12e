// The window-system calls the module uses: message peeking and quit posting, child-window walking
// and class names, string resources and message boxes, and the host application object that owns
// the main window and pumps one message at a time.
#pragma once

#include <cstdint>

using BOOL = int;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using WCHAR = wchar_t;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

struct HWND__;
using HWND = HWND__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct POINT {
    long x;
    long y;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr int IDOK = 1;
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_CHAR = 0x0102;

// Checks for a message for hWnd (all windows when null) in the range given (all when both are
// 0); copies it to *lpMsg and, with PM_REMOVE, takes it from the queue. TRUE when one is waiting.
BOOL PeekMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
// Posts WM_QUIT with the exit code to the queue.
void PostQuitMessage(int nExitCode);
// The window related to hWnd by uCmd (GW_CHILD: first child, GW_HWNDNEXT: next sibling), or null.
HWND GetWindow(HWND hWnd, UINT uCmd);
// Copies the window's class name into lpClassName (at most nMaxCount characters with the
// terminator); gives the number of characters copied, 0 on failure.
int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount);
// TRUE when hWnd names an existing window.
BOOL IsWindow(HWND hWnd);
// Copies string resource uID of the module into lpBuffer; gives its length, 0 when there is none.
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
// Shows a modal message box owned by hWnd (none when null); gives the button pressed (IDOK).
int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);

// A window of the host application.
class CWnd {
public:
    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
};

// The host application object: its main window, and the pump of one message.
class CWinApp {
public:
    virtual ~CWinApp() = default;
    // The main window, or null when there is none.
    virtual CWnd* GetMainWnd() = 0;
    // Takes one message from the queue and dispatches it; FALSE when the application must quit.
    virtual BOOL PumpMessage() = 0;
};
