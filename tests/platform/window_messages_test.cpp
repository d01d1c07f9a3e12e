// The status bar and its progress meter, message filters, the message queue and its pump,
// string resources and message boxes.
#include "host_fixture.h"

namespace {

using kafhost::MeterEvent;
using kafhost::StatusBarLayout;

class WindowMessages : public HostFixture {
protected:
    static std::wstring className(HWND window) {
        wchar_t buffer[64];
        return GetClassNameW(window, buffer, 64) > 0 ? buffer : L"";
    }

    // The walk a module makes: from the main window's second child to the status bar, then its
    // second child.
    static HWND findProgressControl() {
        HWND main = acedGetAcadWinApp()->GetMainWnd()->GetSafeHwnd();
        for (HWND w = GetWindow(GetWindow(main, GW_CHILD), GW_HWNDNEXT); w != nullptr;
             w = GetWindow(w, GW_HWNDNEXT)) {
            if (className(w) == L"msctls_statusbar32") {
                HWND control = GetWindow(GetWindow(w, GW_CHILD), GW_HWNDNEXT);
                return IsWindow(control) ? control : nullptr;
            }
        }
        return nullptr;
    }
};

TEST_F(WindowMessages, StatusBarIsFoundFromTheSecondChild) {
    EXPECT_EQ(findProgressControl(), host.progressControl());
    EXPECT_EQ(className(host.progressControl()), L"msctls_progress32");
    EXPECT_NE(GetWindow(host.mainWindow(), GW_CHILD), host.statusBar());

    host.buildWindows(StatusBarLayout::kWithoutProgressControl);
    EXPECT_EQ(findProgressControl(), nullptr);
    host.buildWindows(StatusBarLayout::kFirstChild);
    EXPECT_EQ(findProgressControl(), nullptr);
    host.buildWindows(StatusBarLayout::kNone);
    EXPECT_EQ(findProgressControl(), nullptr);
}

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
}

TEST_F(WindowMessages, MeterEventsAndState) {
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(5), -1);
    EXPECT_EQ(acedSetStatusBarProgressMeter(L"points.csv", 0, 100), 0);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(42), 0);
    EXPECT_TRUE(host.meter().shown);
    EXPECT_EQ(host.meter().label, L"points.csv");
    EXPECT_EQ(host.meter().position, 42);
    acedRestoreStatusBar();
    EXPECT_FALSE(host.meter().shown);
    const auto& events = host.meterEvents();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, MeterEvent::Kind::kPosition);
    EXPECT_EQ(events[0].result, -1);
    EXPECT_EQ(events[1].kind, MeterEvent::Kind::kShow);
    EXPECT_EQ(events[1].maxPos, 100);
    EXPECT_EQ(events[2].position, 42);
    EXPECT_EQ(events[3].kind, MeterEvent::Kind::kRestore);
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

TEST_F(WindowMessages, QuittingApplicationStopsThePump) {
    host.postMessage(nullptr, WM_PAINT);
    host.setQuitting(true);
    EXPECT_FALSE(acedGetAcadWinApp()->PumpMessage());
    EXPECT_EQ(host.pendingMessageCount(), 1u);
    host.setQuitting(false);
    PostQuitMessage(0);
    EXPECT_EQ(host.quitRequests(), std::vector<int>{0});
    EXPECT_FALSE(acedGetAcadWinApp()->PumpMessage());
}

TEST_F(WindowMessages, MessageBoxesAreRecorded) {
    EXPECT_EQ(MessageBoxW(host.mainWindow(), L"File 'a.csv' not found!", L"Nimbora",
                          MB_OK | MB_ICONERROR),
              IDOK);
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].owner, host.mainWindow());
    EXPECT_EQ(host.messageBoxes()[0].text, L"File 'a.csv' not found!");
    EXPECT_EQ(host.messageBoxes()[0].caption, L"Nimbora");
    EXPECT_EQ(host.messageBoxes()[0].style, 16u);
}

TEST_F(WindowMessages, NoStringResources) {
    wchar_t buffer[132] = L"x";
    EXPECT_EQ(LoadStringW(nullptr, 0xFFFFFFFF, buffer, 132), 0);
    EXPECT_EQ(buffer[0], L'\0');
}

}  // namespace
