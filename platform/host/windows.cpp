// The window system of the stand-in: a small window tree (main window, MDI client, tool bar,
// status bar with its pane and progress control), the message queue of the main thread, the
// application object that pumps it, string resources and message boxes.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "kafhost/wide_to_utf8.h"
#include "platform/host/impl.h"

namespace kafhost {
namespace {

// The window a handle names, or null when it names none. Looked up by its number: the module
// asks for the status bar on every update of the meter.
Window* findWindow(HWND window) {
    Host::Impl& impl = hostImpl();
    const auto value = reinterpret_cast<std::uintptr_t>(window);
    const std::uintptr_t index = value / 16 - impl.firstWindow;
    return value % 16 == 0 && index < impl.windows.size() ? &impl.windows[index] : nullptr;
}

// A new window of the current tree, the last child of parent when one is given (one of the
// tree's). className is a literal.
HWND makeWindow(std::wstring_view className, HWND parent) {
    Host::Impl& impl = hostImpl();
    // Handles are multiples of 16 from 16 on, as a pointer-sized number would be.
    HWND window = reinterpret_cast<HWND>(++impl.windowsMade << 4);
    impl.windows.push_back(Window{className, parent});
    if (parent != nullptr) {
        Window& above = *findWindow(parent);
        impl.windows.back().previous = above.lastChild;
        if (above.lastChild != nullptr) {
            findWindow(above.lastChild)->next = window;
        } else {
            above.firstChild = window;
        }
        above.lastChild = window;
    }
    return window;
}

// Whether the message belongs to window or one of its descendants.
bool belongsTo(HWND messageWindow, HWND window) {
    for (HWND w = messageWindow; w != nullptr;) {
        if (w == window) {
            return true;
        }
        const Window* known = findWindow(w);
        w = known != nullptr ? known->parent : nullptr;
    }
    return false;
}

bool matches(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
    if (window != nullptr && !belongsTo(message.hwnd, window)) {
        return false;
    }
    if (filterMin == 0 && filterMax == 0) {
        return true;
    }
    return message.message >= filterMin && message.message <= filterMax;
}

}  // namespace

void buildWindowTree(StatusBarLayout layout) {
    Host::Impl& impl = hostImpl();
    impl.windows.clear();
    impl.firstWindow = impl.windowsMade + 1;
    impl.mainWindow = makeWindow(L"AfxMDIFrame140u", nullptr);
    impl.statusBar = nullptr;
    impl.progressControl = nullptr;
    auto addStatusBar = [&impl](bool withProgress) {
        impl.statusBar = makeWindow(L"msctls_statusbar32", impl.mainWindow);
        makeWindow(L"Static", impl.statusBar);
        if (withProgress) {
            impl.progressControl = makeWindow(L"msctls_progress32", impl.statusBar);
        }
    };
    if (layout == StatusBarLayout::kFirstChild) {
        addStatusBar(true);
    }
    makeWindow(L"MDIClient", impl.mainWindow);
    makeWindow(L"ToolbarWindow32", impl.mainWindow);
    if (layout == StatusBarLayout::kWithProgressControl) {
        addStatusBar(true);
    } else if (layout == StatusBarLayout::kWithoutProgressControl) {
        addStatusBar(false);
    }
    impl.winApp.mainWnd.m_hWnd = impl.mainWindow;
}

void dispatchOneMessage() {
    Host::Impl& impl = hostImpl();
    if (impl.queue.empty()) {
        return;
    }
    MSG message = impl.queue.front();
    impl.queue.pop_front();
    bool swallowed = false;
    const std::vector<AcedFilterWinMsgFn> filters = impl.filters;
    for (AcedFilterWinMsgFn filter : filters) {
        if (filter(&message)) {
            swallowed = true;
            break;
        }
    }
    impl.dispatched.push_back(DispatchedMessage{message, swallowed});
}

CWnd* HostWinApp::GetMainWnd() {
    return mainWnd.m_hWnd != nullptr ? &mainWnd : nullptr;
}

BOOL HostWinApp::PumpMessage() {
    if (hostImpl().quitting) {
        return FALSE;
    }
    dispatchOneMessage();
    return TRUE;
}

void Host::buildWindows(StatusBarLayout layout) {
    buildWindowTree(layout);
}
std::size_t Host::windowCount() const {
    return impl_->windows.size();
}
HWND Host::mainWindow() const {
    return impl_->mainWindow;
}
HWND Host::statusBar() const {
    return impl_->statusBar;
}
HWND Host::progressControl() const {
    return impl_->progressControl;
}

void Host::postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG queued{};
    queued.hwnd = window != nullptr ? window : impl_->mainWindow;
    queued.message = message;
    queued.wParam = wParam;
    queued.lParam = lParam;
    impl_->queue.push_back(queued);
}

std::size_t Host::pendingMessageCount() const {
    return impl_->queue.size();
}

const std::vector<DispatchedMessage>& Host::dispatchedMessages() const {
    return impl_->dispatched;
}

void Host::setQuitting(bool quitting) {
    impl_->quitting = quitting;
}
const std::vector<int>& Host::quitRequests() const {
    return impl_->quitRequests;
}
const std::vector<MessageBoxRecord>& Host::messageBoxes() const {
    return impl_->messageBoxes;
}
void Host::clearMessageBoxes() {
    impl_->messageBoxes.clear();
}
void Host::setMessageBoxEcho(bool echo) {
    impl_->echoMessageBoxes = echo;
}
void Host::setMessageBoxSink(std::function<void(const MessageBoxRecord&)> sink) {
    impl_->messageBoxSink = std::move(sink);
}

}  // namespace kafhost

using namespace kafhost;

BOOL PeekMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    auto& queue = hostImpl().queue;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (matches(*it, hWnd, wMsgFilterMin, wMsgFilterMax)) {
            if (lpMsg != nullptr) {
                *lpMsg = *it;
            }
            if ((wRemoveMsg & PM_REMOVE) != 0) {
                queue.erase(it);
            }
            return TRUE;
        }
    }
    return FALSE;
}

// The application quits: the application object's pump reports it from now on.
void PostQuitMessage(int nExitCode) {
    Host::Impl& impl = hostImpl();
    impl.quitRequests.push_back(nExitCode);
    impl.quitting = true;
}

HWND GetWindow(HWND hWnd, UINT uCmd) {
    const Window* window = findWindow(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    switch (uCmd) {
        case GW_CHILD:
            return window->firstChild;
        case GW_HWNDNEXT:
            return window->next;
        case GW_HWNDPREV:
            return window->previous;
        case GW_HWNDFIRST:
            return window->parent != nullptr ? findWindow(window->parent)->firstChild : nullptr;
        case GW_HWNDLAST:
            return window->parent != nullptr ? findWindow(window->parent)->lastChild : nullptr;
        default:
            return nullptr;
    }
}

int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
    const Window* window = findWindow(hWnd);
    if (window == nullptr || lpClassName == nullptr || nMaxCount <= 0) {
        return 0;
    }
    const std::wstring_view name = window->className;
    const std::size_t copied = std::min(name.size(), static_cast<std::size_t>(nMaxCount - 1));
    std::memcpy(lpClassName, name.data(), copied * sizeof(wchar_t));
    lpClassName[copied] = L'\0';
    return static_cast<int>(copied);
}

BOOL IsWindow(HWND hWnd) {
    return findWindow(hWnd) != nullptr ? TRUE : FALSE;
}

// The stand-in has no string resources.
int LoadStringW(HINSTANCE, UINT, LPWSTR lpBuffer, int cchBufferMax) {
    if (lpBuffer != nullptr && cchBufferMax > 0) {
        lpBuffer[0] = L'\0';
    }
    return 0;
}

int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    Host::Impl& impl = hostImpl();
    MessageBoxRecord record{hWnd, lpText != nullptr ? lpText : L"",
                            lpCaption != nullptr ? lpCaption : L"", uType};
    if (impl.echoMessageBoxes) {
        const std::string line = wideToUtf8(record.caption + L": " + record.text);
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    }
    if (impl.messageBoxSink) {
        impl.messageBoxSink(record);
    }
    impl.messageBoxes.push_back(std::move(record));
    return IDOK;
}

CWinApp* acedGetAcadWinApp() {
    return &hostImpl().winApp;
}
