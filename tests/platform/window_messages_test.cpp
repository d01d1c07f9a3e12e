// The window tree, message filters, the message queue and its pump, and string resources. The
// module's own walk to the progress control, its meter, its pump's quitting and its message boxes
// are checked with the module's code in its progress meter and point file tests.
#include <string>
#include <vector>

#include "host_fixture.h"

namespace {

using kafhost::StatusBarLayout;

class WindowMessages : public HostFixture {};

TEST_F(WindowMessages, RebuildsAndResetsKeepOnlyTheNewTree) {
    // Main window, MDI client, tool bar, status bar with its pane and progress control.
    EXPECT_EQ(host.windowCount(), 6u);
    std::vector<HWND> old{host.mainWindow(), host.statusBar(), host.progressControl()};
    host.buildWindows(StatusBarLayout::kWithProgressControl);
    EXPECT_FALSE(IsWindow(old[2]));
    EXPECT_TRUE(IsWindow(host.progressControl()));
    EXPECT_EQ(GetWindow(old[2], GW_HWNDNEXT), nullptr);
    wchar_t buffer[4];
    EXPECT_EQ(GetClassNameW(host.statusBar(), buffer, 4), 3);  // cut to the buffer
    EXPECT_EQ(std::wstring(buffer), L"msc");
    for (int i = 0; i < 100; ++i) {
        host.reset();
        host.buildWindows(StatusBarLayout::kWithoutProgressControl);
    }
    EXPECT_EQ(host.windowCount(), 5u);
    host.buildWindows(StatusBarLayout::kNone);
    EXPECT_EQ(host.windowCount(), 3u);
    host.reset();
    EXPECT_EQ(host.windowCount(), 6u);
    for (HWND window : old) {
        EXPECT_FALSE(IsWindow(window));
    }
    // Numbers that were never handles: null, between two handles, after the last one made.
    const auto number = [](HWND window) { return reinterpret_cast<std::uintptr_t>(window); };
    const auto handle = [](std::uintptr_t value) { return reinterpret_cast<HWND>(value); };
    EXPECT_FALSE(IsWindow(nullptr));
    EXPECT_TRUE(IsWindow(host.mainWindow()));
    EXPECT_FALSE(IsWindow(handle(number(host.mainWindow()) + 8)));
    EXPECT_EQ(GetClassNameW(handle(number(host.mainWindow()) + 1), buffer, 4), 0);
    // The main window is made first, the others after it.
    const std::uintptr_t last = number(host.mainWindow()) + 16 * (host.windowCount() - 1);
    EXPECT_TRUE(IsWindow(handle(last)));
    EXPECT_FALSE(IsWindow(handle(last + 16)));
}

// The children of a window in order, walked from its first child with GW_HWNDNEXT, with each
// one's class name; checked against the walk back from the last with GW_HWNDPREV.
std::vector<std::wstring> ChildClasses(HWND parent) {
    std::vector<HWND> forward;
    for (HWND w = GetWindow(parent, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        forward.push_back(w);
    }
    std::vector<HWND> backward;
    if (!forward.empty()) {
        for (HWND w = GetWindow(forward.front(), GW_HWNDLAST); w != nullptr;
             w = GetWindow(w, GW_HWNDPREV)) {
            backward.insert(backward.begin(), w);
        }
    }
    EXPECT_EQ(forward, backward);
    std::vector<std::wstring> classes;
    for (HWND w : forward) {
        EXPECT_EQ(GetWindow(w, GW_HWNDFIRST), forward.front());
        EXPECT_EQ(GetWindow(w, GW_HWNDLAST), forward.back());
        wchar_t name[64];
        const int length = GetClassNameW(w, name, 64);
        classes.emplace_back(name, static_cast<std::size_t>(length));
    }
    return classes;
}

using Classes = std::vector<std::wstring>;

TEST_F(WindowMessages, SiblingOrderFollowsEachLayoutAcrossRebuilds) {
    struct Case {
        StatusBarLayout layout;
        Classes mainChildren;
        Classes statusBarChildren;
    };
    const Case cases[] = {
        {StatusBarLayout::kWithProgressControl,
         {L"MDIClient", L"ToolbarWindow32", L"msctls_statusbar32"},
         {L"Static", L"msctls_progress32"}},
        {StatusBarLayout::kFirstChild,
         {L"msctls_statusbar32", L"MDIClient", L"ToolbarWindow32"},
         {L"Static", L"msctls_progress32"}},
        {StatusBarLayout::kWithoutProgressControl,
         {L"MDIClient", L"ToolbarWindow32", L"msctls_statusbar32"},
         {L"Static"}},
        {StatusBarLayout::kNone, {L"MDIClient", L"ToolbarWindow32"}, {}},
    };
    // Twice round, so that every layout is also built over each other one.
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : cases) {
            SCOPED_TRACE(static_cast<int>(c.layout));
            const HWND oldMain = host.mainWindow();
            const HWND oldChild = GetWindow(oldMain, GW_CHILD);
            host.buildWindows(c.layout);
            for (UINT command : {GW_HWNDFIRST, GW_HWNDLAST, GW_HWNDNEXT, GW_HWNDPREV, GW_CHILD}) {
                EXPECT_EQ(GetWindow(oldMain, command), nullptr);
                EXPECT_EQ(GetWindow(oldChild, command), nullptr);
            }
            const HWND main = host.mainWindow();
            EXPECT_EQ(ChildClasses(main), c.mainChildren);
            if (host.statusBar() != nullptr) {
                EXPECT_EQ(ChildClasses(host.statusBar()), c.statusBarChildren);
                EXPECT_EQ(GetWindow(GetWindow(host.statusBar(), GW_CHILD), GW_HWNDNEXT),
                          host.progressControl());
            }
            // The main window has no siblings; the leaves have no children; GW_OWNER and
            // unknown commands name no window.
            for (UINT command : {GW_HWNDFIRST, GW_HWNDLAST, GW_HWNDNEXT, GW_HWNDPREV, GW_OWNER}) {
                EXPECT_EQ(GetWindow(main, command), nullptr);
            }
            const HWND first = GetWindow(main, GW_CHILD);
            EXPECT_EQ(GetWindow(first, GW_HWNDPREV), nullptr);
            EXPECT_EQ(GetWindow(GetWindow(first, GW_HWNDLAST), GW_HWNDNEXT), nullptr);
            EXPECT_EQ(GetWindow(first, GW_OWNER), nullptr);
            EXPECT_EQ(GetWindow(first, 99), nullptr);
            EXPECT_EQ(GetWindow(GetWindow(first, GW_HWNDNEXT), GW_CHILD), nullptr);
        }
    }
}

TEST_F(WindowMessages, PumpOffersMessagesToTheFilters) {
    static int offered = 0;
    offered = 0;
    const AcedFilterWinMsgFn swallowKeys = [](MSG* message) {
        ++offered;
        return message->message == WM_KEYDOWN;
    };
    ASSERT_TRUE(acedRegisterFilterWinMsg(swallowKeys));
    EXPECT_EQ(host.registeredFilterCount(), 1u);
    host.postMessage(nullptr, WM_PAINT);
    host.postMessage(host.statusBar(), WM_KEYDOWN, 0x1B);

    CWinApp* app = acedGetAcadWinApp();
    MSG message;
    HWND main = app->GetMainWnd()->GetSafeHwnd();
    int pumped = 0;
    while (PeekMessageW(&message, main, 0, 0, PM_NOREMOVE)) {
        ASSERT_TRUE(app->PumpMessage());
        ++pumped;
    }
    EXPECT_EQ(pumped, 2);
    EXPECT_EQ(offered, 2);
    ASSERT_EQ(host.dispatchedMessages().size(), 2u);
    EXPECT_FALSE(host.dispatchedMessages()[0].swallowedByFilter);
    EXPECT_TRUE(host.dispatchedMessages()[1].swallowedByFilter);
    EXPECT_TRUE(acedRemoveFilterWinMsg(swallowKeys));
    EXPECT_FALSE(acedRemoveFilterWinMsg(swallowKeys));
    EXPECT_EQ(host.filterRegistrations(), 1);
    EXPECT_EQ(host.filterRemovals(), 1);
}

TEST_F(WindowMessages, PeekHonoursWindowRangeAndRemoval) {
    host.postMessage(host.statusBar(), WM_CHAR, 'a');
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, host.progressControl(), 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageW(&message, host.mainWindow(), WM_CHAR, WM_CHAR, PM_NOREMOVE));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(host.pendingMessageCount(), 1u);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(host.pendingMessageCount(), 0u);
}

TEST_F(WindowMessages, NoStringResources) {
    wchar_t buffer[132] = L"x";
    EXPECT_EQ(LoadStringW(nullptr, 0xFFFFFFFF, buffer, 132), 0);
    EXPECT_EQ(buffer[0], L'\0');
}

}  // namespace
