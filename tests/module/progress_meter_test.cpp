// The message pump, its throttle and the status-bar progress meter, with time driven through the
// clock seam so that no test waits; the clock's elapsed-time arithmetic.
#include <cstdint>
#include <vector>

#include "host/clock.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "module_fixture.h"

namespace {

using kafhost::HostCall;
using kafhost::MeterEvent;
using kafhost::StatusBarLayout;

std::int32_t fakeNow = 0;
std::int32_t FakeClock() {
    return fakeNow;
}

class ProgressTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        // Each test starts far from the previous one, so the module-wide pump time of earlier
        // tests is long past.
        static std::int32_t start = 0;
        start += 1000000;
        fakeNow = start;
        SetClockForTesting(FakeClock);
    }

    void TearDown() override {
        host().clearFaults();
        EndProgressMeter();
        SetClockForTesting(nullptr);
    }

    static void Advance(std::int32_t milliseconds) { fakeNow += milliseconds; }

    static std::size_t Dispatched() { return host().dispatchedMessages().size(); }

    // The positions the meter was asked to take, in order.
    static std::vector<int> Positions() {
        std::vector<int> positions;
        for (const MeterEvent& event : host().meterEvents()) {
            if (event.kind == MeterEvent::Kind::kPosition) {
                positions.push_back(event.position);
            }
        }
        return positions;
    }

    // Starts a meter of total items and forgets the host's record of the start.
    static ProgressMeterState StartMeter(double total) {
        ProgressMeterState state;
        StartProgressMeter(state, L"Please wait: ", total);
        host().clearMeterEvents();
        return state;
    }
};

using PumpTest = ProgressTest;

TEST_F(PumpTest, PumpDispatchesEveryWaitingMessageUnlessTheApplicationQuits) {
    host().postMessage(nullptr, WM_PAINT);
    host().postMessage(nullptr, WM_CHAR, 'a');
    PumpMessages();
    EXPECT_EQ(host().pendingMessageCount(), 0u);
    ASSERT_EQ(Dispatched(), 2u);
    EXPECT_EQ(host().dispatchedMessages()[0].message.message, WM_PAINT);
    EXPECT_TRUE(host().quitRequests().empty());

    // A quitting application stops the pump with a quit request.
    host().setQuitting(true);
    host().postMessage(nullptr, WM_PAINT);
    host().postMessage(nullptr, WM_PAINT);
    PumpMessages();
    EXPECT_EQ(host().quitRequests(), (std::vector<int>{0}));
    EXPECT_EQ(Dispatched(), 2u);
    EXPECT_EQ(host().pendingMessageCount(), 2u);
}

TEST_F(PumpTest, ThrottledPumpRunsOnlyAfterMoreThanHalfASecond) {
    host().postMessage(nullptr, WM_PAINT);
    EXPECT_EQ(PumpMessagesThrottled(), 0);
    EXPECT_EQ(Dispatched(), 1u);

    host().postMessage(nullptr, WM_PAINT);
    Advance(300);
    PumpMessagesThrottled();
    EXPECT_EQ(Dispatched(), 1u);
    Advance(200);  // exactly 0.5 s after the last pump
    PumpMessagesThrottled();
    EXPECT_EQ(Dispatched(), 1u);
    Advance(1);
    PumpMessagesThrottled();
    EXPECT_EQ(Dispatched(), 2u);

    host().postMessage(nullptr, WM_PAINT);
    Advance(400);
    PumpMessagesThrottled();
    EXPECT_EQ(Dispatched(), 2u);
}

TEST_F(PumpTest, ThrottleHoldsAcrossAWrapOfTheClock) {
    fakeNow = INT32_MAX - 100;
    PumpMessagesThrottled();
    host().postMessage(nullptr, WM_PAINT);
    fakeNow = INT32_MIN + 300;  // 401 ms later
    PumpMessagesThrottled();
    EXPECT_EQ(Dispatched(), 0u);
    fakeNow += 200;
    PumpMessagesThrottled();
    EXPECT_EQ(Dispatched(), 1u);
    // Leaves the module's last pump time at 500, behind the start of every later test.
    fakeNow += 1 << 30;
    PumpMessagesThrottled();
    fakeNow += 1 << 30;
    PumpMessagesThrottled();
    ASSERT_EQ(fakeNow, 500);
}

using MeterTest = ProgressTest;

TEST_F(MeterTest, StartRegistersTheFilterOnceAndShowsTheMeter) {
    ProgressMeterState state;
    StartProgressMeter(state, L"Search point ...", 250);
    ASSERT_EQ(host().meterEvents().size(), 2u);
    EXPECT_EQ(host().meterEvents()[0].kind, MeterEvent::Kind::kRestore);
    EXPECT_EQ(host().meterEvents()[1].kind, MeterEvent::Kind::kShow);
    EXPECT_EQ(host().meterEvents()[1].label, L"Search point ...");
    EXPECT_EQ(host().meterEvents()[1].minPos, 0);
    EXPECT_EQ(host().meterEvents()[1].maxPos, 100);
    EXPECT_EQ(host().registeredFilterCount(), 1u);

    StartProgressMeter(state, L"Search point ...", 250);
    EXPECT_EQ(host().filterRegistrations(), 1);

    EndProgressMeter();
    EXPECT_FALSE(host().meter().shown);
    EXPECT_EQ(host().registeredFilterCount(), 0u);
    EXPECT_EQ(host().filterRemovals(), 1);
}

TEST_F(MeterTest, FilterLetsEveryMessageThrough) {
    StartMeter(10);
    host().postMessage(nullptr, WM_KEYDOWN, 0x1B);
    PumpMessages();
    ASSERT_EQ(Dispatched(), 1u);
    EXPECT_FALSE(host().dispatchedMessages()[0].swallowedByFilter);
}

// A filter the host refused is asked for again by the next start; one it could not remove is
// removed by the next end.
TEST_F(MeterTest, FilterTheHostRefusedOrKeptIsHandledAgainNextTime) {
    host().failCall(HostCall::kRegisterFilterWinMsg);
    StartMeter(10);
    EXPECT_EQ(host().registeredFilterCount(), 0u);
    EXPECT_TRUE(host().meter().shown);
    EndProgressMeter();
    EXPECT_EQ(host().callCount(HostCall::kRemoveFilterWinMsg), 0u);
    StartMeter(10);
    EXPECT_EQ(host().registeredFilterCount(), 1u);

    host().failCall(HostCall::kRemoveFilterWinMsg);
    EndProgressMeter();
    EXPECT_EQ(host().registeredFilterCount(), 1u);
    const int registrations = host().filterRegistrations();
    StartMeter(10);
    EXPECT_EQ(host().filterRegistrations(), registrations);
    EndProgressMeter();
    EXPECT_EQ(host().registeredFilterCount(), 0u);
}

TEST_F(MeterTest, MeterMovesOnlyWhenTheWholePercentChangesAndTheIntervalHasPassed) {
    ProgressMeterState state = StartMeter(1000);
    double value = 0;
    // Values 1, 2, 3 ... every 10 ms: a move at most every 0.5 s, and only to a new percent.
    for (int step = 0; step < 200; ++step) {
        Advance(10);
        UpdateProgressMeter(state, L"Please wait: ", ++value);
        EXPECT_EQ(state.current, value);
    }
    // 2.0 s in 10 ms steps: moves after 0.51 s, 1.02 s, 1.53 s (values 51, 102, 153).
    EXPECT_EQ(Positions(), (std::vector<int>{5, 10, 15}));
    EXPECT_EQ(state.lastShown, 153);
}

TEST_F(MeterTest, UnchangedPercentKeepsTheMeterButPumpsOnceTheIntervalHasPassed) {
    ProgressMeterState state = StartMeter(1000);
    host().postMessage(nullptr, WM_PAINT);
    Advance(400);
    UpdateProgressMeter(state, L"Please wait: ", 4);
    EXPECT_EQ(Dispatched(), 0u);
    Advance(101);
    UpdateProgressMeter(state, L"Please wait: ", 4);
    EXPECT_EQ(Dispatched(), 1u);
    EXPECT_TRUE(Positions().empty());
    // lastTick is not refreshed: the next call pumps again.
    host().postMessage(nullptr, WM_PAINT);
    UpdateProgressMeter(state, L"Please wait: ", 4);
    EXPECT_EQ(Dispatched(), 2u);
    EXPECT_EQ(state.lastTick, fakeNow - 501);
}

TEST_F(MeterTest, ValueAboveTheTotalShowsFullAndAlwaysReachesTheMeter) {
    ProgressMeterState state = StartMeter(40);
    UpdateProgressMeter(state, L"Please wait: ", 41);
    UpdateProgressMeter(state, L"Please wait: ", 1000);
    EXPECT_EQ(Positions(), (std::vector<int>{100, 100}));
    EXPECT_EQ(state.current, 40);
    EXPECT_EQ(state.lastShown, 40);
    EXPECT_EQ(host().meter().position, 100);
}

// Without a progress control (none, or not the status bar's second child) every update reaches
// the meter; without a status bar every update also tries to show the meter again.
TEST_F(MeterTest, WithoutAProgressControlEveryUpdateReachesTheMeter) {
    const struct {
        StatusBarLayout layout;
        std::vector<int> positions;
    } cases[] = {{StatusBarLayout::kWithoutProgressControl, {0, 3}},
                 {StatusBarLayout::kFirstChild, {0, 3}},
                 {StatusBarLayout::kNone, {0, 0, 3, 3}}};
    for (const auto& c : cases) {
        host().buildWindows(c.layout);
        ProgressMeterState state = StartMeter(1000);
        UpdateProgressMeter(state, L"Please wait: ", 1);
        UpdateProgressMeter(state, L"Please wait: ", 30);
        EXPECT_EQ(Positions(), c.positions);
        EXPECT_EQ(state.lastShown, 30);
        EndProgressMeter();
    }
}

TEST_F(MeterTest, VanishedMeterIsShownAgainWithTheRunsLabel) {
    ProgressMeterState state = StartMeter(10);
    Advance(600);
    host().failCall(HostCall::kSetStatusBarProgressPos);
    UpdateProgressMeter(state, L"points.csv", 5);
    const std::vector<MeterEvent>& events = host().meterEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, MeterEvent::Kind::kPosition);
    EXPECT_EQ(events[0].result, -1);
    EXPECT_EQ(events[1].kind, MeterEvent::Kind::kShow);
    EXPECT_EQ(events[1].label, L"points.csv");
    EXPECT_EQ(events[2].kind, MeterEvent::Kind::kPosition);
    EXPECT_EQ(events[2].position, 50);
    EXPECT_EQ(host().meter().position, 50);
}

TEST(ClockTest, ElapsedTimeIsTheSignedDifferenceAcrossAWrap) {
    EXPECT_EQ(ElapsedMilliseconds(1000, 3500), 2500);
    EXPECT_EQ(ElapsedMilliseconds(3500, 1000), -2500);
    EXPECT_EQ(ElapsedMilliseconds(INT32_MAX, INT32_MIN), 1);
    EXPECT_EQ(ElapsedMilliseconds(INT32_MAX - 99, INT32_MIN + 400), 500);
    EXPECT_EQ(ElapsedMilliseconds(INT32_MIN, INT32_MAX), -1);
}

}  // namespace
