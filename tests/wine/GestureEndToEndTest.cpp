// Every gesture end to end: the real plug-in, its hook and timer, real injected input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "tests/wine/DialogDriver.h"
#include "tests/wine/MonitorLayout.h"
#include "tests/wine/WineTestHost.h"

namespace {

const POINT SCREEN_MIDDLE = {600, 500};

std::string Ini(const std::string &enable, const std::string &onmove, const std::string &onclick,
                const std::string &fullscreen = "1") {
    return "[General]\r\nEnable=" + enable + "\r\nInterval=50\r\nFullScreen=" + fullscreen + "\r\n"
           "[Move]\r\nOnMove=" + onmove + "\r\nDelay=20\r\n"
           "[Click]\r\nOnClick=" + onclick + "\r\nMsecHoldDown=150\r\nMsecDblClick=200\r\n";
}

class GestureEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_host.Reset();
        g_host.window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "Velkora", WS_POPUP | WS_VISIBLE, 700, 300,
                                        300, 200, nullptr, nullptr, nullptr, nullptr);
        SetCursorPos(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
    }
    void TearDown() override {
        plugin_.reset();
        DestroyWindow(g_host.window);
        g_host.window = nullptr;
    }
    LoadedPlugin &Start(const std::string &ini) {
        plugin_.reset(new LoadedPlugin(CurrentTestName(), ini));
        EXPECT_TRUE(plugin_->Load());
        plugin_->Setup();
        if (plugin_->MenuItem(0).checked)
            PumpTicks(2);   // the engine has seen the cursor outside every zone
        return *plugin_;
    }
    // Waits for `expected` activations, then to see that no more arrive: for two dwell cycles
    // of the running engine (which also lets every hot key the hook has asked for go out), or
    // for `quiet_ms` when it is stopped.
    size_t Activations(size_t expected, DWORD quiet_ms = 300) {
        PumpUntil([&] { return g_host.hotkeys.size() >= expected; }, 10000);
        if (plugin_ && plugin_->MenuItem(0).checked)
            PumpTicks(4);
        else
            PumpMessages(quiet_ms);
        for (const std::string &name : g_host.hotkeys)
            EXPECT_EQ(name, "TrayInOut");
        return g_host.hotkeys.size();
    }
    void ReportLatency(const char *gesture) {
        if (!g_host.hotkey_ms.empty())
            std::printf("[ latency  ] %s: %.2f ms from the last input to SendHotKey\n", gesture,
                        g_host.hotkey_ms[0] - g_last_input_ms);
    }
    // The handle of the hook that the plug-in logged last.
    static HHOOK LoggedHook() {
        unsigned handle = 0;
        for (const LogLine &l : g_host.log)
            std::sscanf(l.text.c_str(), "done. g_handle_mouse_ll=0x%x", &handle);
        return reinterpret_cast<HHOOK>(static_cast<uintptr_t>(handle));
    }
    static void Jiggle() {
        for (int delta : {120, -120, 120, -120})
            InjectWheel(delta);
    }
    // A touchpad's steps of 40: three make a notch, two notches each way a jiggle.
    static void FineJiggle() {
        for (int delta : {40, 40, 40, -40, -40, -40, 40, 40, 40, -40, -40, -40})
            InjectWheel(delta);
    }
    static void Click(DWORD down, DWORD up, DWORD time = 0, ULONG_PTR extra_info = 0) {
        InjectButton(down, time, extra_info);
        InjectButton(up, time ? time + 2 : 0, extra_info);
    }
    // Lets the engine look for a second and a half at Interval 50: long enough for any wait of a
    // visit to a hot zone to have ended, however busy the machine.
    static void RestOneAndAHalfSeconds() { PumpTicks(30); }

    std::unique_ptr<LoadedPlugin> plugin_;
};

TEST_F(GestureEndToEndTest, WheelJiggleActivatesOnceAndChatterNever) {
    Start(Ini("1", "0", "6"));
    WhilePumping(Jiggle);
    EXPECT_EQ(Activations(1), 1u);
    ReportLatency("wheel jiggle");

    // A worn wheel scrolling back, stamped as Windows stamps it, in steps of its clock: the turns
    // within 16 ms of the notch before are chatter (without the guard they would jiggle twice
    // with the notches after). A hand's jiggle right after it counts once.
    WhilePumping([] {
        const DWORD start = GetTickCount();
        const struct {
            int delta;
            DWORD at;
        } WORN_WHEEL[] = {{-120, 0},  {120, 0},   {-120, 0},  {-120, 16}, {120, 16}, {-120, 31},
                          {-120, 47}, {120, 47},  {-120, 47}, {120, 147}, {-120, 207}, {120, 267}, {-120, 327}};
        for (const auto &notch : WORN_WHEEL)
            InjectWheel(notch.delta, start + notch.at);
    });
    EXPECT_EQ(Activations(2), 2u);
}

TEST_F(GestureEndToEndTest, FineWheelJiggleActivatesOnlyWhenFineScrollingCounts) {
    for (const std::string onwheel : {"1", "3"}) {
        plugin_.reset();
        g_host.hotkeys.clear();
        Start(Ini("1", "0", "6") + "[Wheel]\r\nOnWheel=" + onwheel + "\r\n");
        WhilePumping(FineJiggle);
        const size_t expected = onwheel == "3" ? 1 : 0;
        EXPECT_EQ(Activations(expected), expected) << "OnWheel=" << onwheel;
    }
}

TEST_F(GestureEndToEndTest, MiddleDoubleClickActivatesOnce) {
    Start(Ini("1", "0", "6"));
    WhilePumping([] {
        Click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
        Click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
    });
    EXPECT_EQ(Activations(1), 1u);
    ReportLatency("middle double-click");
}

TEST_F(GestureEndToEndTest, DoubleClickWindowHoldsAcrossTheTickWrap) {
    Start(Ini("1", "0", "4"));
    WhilePumping([] {
        Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0xFFFFFFF0u);
        Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0x00000010u);
    });
    EXPECT_EQ(Activations(1), 1u);
}

TEST_F(GestureEndToEndTest, LeftLongPressActivatesAtTheDueTick) {
    Start(Ini("1", "0", "16"));
    WhilePumping([] { InjectButton(MOUSEEVENTF_LEFTDOWN); });
    EXPECT_EQ(Activations(1), 1u);   // held down until the due tick has acted
    ReportLatency("left long press (from the down; due after 150 ms)");
    WhilePumping([] { InjectButton(MOUSEEVENTF_LEFTUP); });
    EXPECT_EQ(Activations(1), 1u);
}

// A press of 1.5 s: however long a busy machine holds the click's up back, it comes in time.
TEST_F(GestureEndToEndTest, ShortClickIsNoLongPress) {
    std::string ini = Ini("1", "0", "16");
    Start(ini.replace(ini.find("MsecHoldDown=150"), 16, "MsecHoldDown=1500"));
    WhilePumping([] {
        MoveCursor(0, 0);   // where the cleared start point of a released press lies
        Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    });
    EXPECT_TRUE(PumpUntil([] { return g_host.Logged("button released"); }, 10000));
    EXPECT_EQ(Activations(0), 0u);
}

TEST_F(GestureEndToEndTest, DwellInTheTopLeftCornerActivatesOnce) {
    LoadedPlugin &plugin = Start(Ini("1", "1", "0"));
    WhilePumping([] { MoveCursor(2, 2); });
    EXPECT_EQ(Activations(1, 500), 1u);
    ReportLatency("top-left corner dwell");
    plugin.Setup();   // again, while it runs: the visit under way is forgotten with the zone's state
    EXPECT_EQ(Activations(2, 500), 2u);
}

// Velkora resumes a plug-in that it never suspended: the visit under way goes on, and its wait
// ends at its own wake, not at the next tick of the restarted timer.
TEST_F(GestureEndToEndTest, ResumeWithoutASuspensionKeepsTheVisitAndItsWake) {
    std::string ini = Ini("1", "1", "0");
    ini.replace(ini.find("Interval=50"), 11, "Interval=1000");
    LoadedPlugin &plugin = Start(ini.replace(ini.find("Delay=20"), 8, "Delay=300"));
    MoveCursor(2, 2);
    ASSERT_TRUE(PumpUntil([] { return g_host.Logged("point.x=2 y=2"); }, 10000));   // the visit began
    plugin.api.OnSuspendHook(FALSE);
    EXPECT_EQ(Activations(1), 1u);
    EXPECT_TRUE(g_host.Logged("wait over: point.x=2 y=2"));
}

const std::string SPENT_BY_A_BUTTON = "a mouse button was down: the zone waits for the cursor to leave";

// With ClickGuard (on by default) a corner answers a cursor at rest, not a click or a drag there;
// a visit that a button has spent ends when the cursor leaves.
TEST_F(GestureEndToEndTest, CornerAnswersARestNotAClickOrADrag) {
    std::string ini = Ini("1", "1", "0");
    Start(ini.replace(ini.find("Delay=20"), 8, "Delay=200"));
    const auto leave_and_rest_in_the_corner = [this] {
        WhilePumping([] { MoveCursor(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y); });
        PumpTicks(2);
        PumpPastCoolDown();
        const size_t before = g_host.hotkeys.size();
        WhilePumping([] { MoveCursor(2, 2); });
        EXPECT_EQ(Activations(before + 1), before + 1);
    };

    // A click just after arriving, before any tick has seen the cursor there: this thread, where
    // the ticks run, does not pump meanwhile.
    std::thread([] {
        MoveCursor(2, 2);
        Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    }).join();
    RestOneAndAHalfSeconds();
    EXPECT_EQ(g_host.hotkeys.size(), 0u);
    EXPECT_EQ(g_host.CountLogged(SPENT_BY_A_BUTTON), 1);
    leave_and_rest_in_the_corner();

    // A window dragged into the corner, held there 800 ms and released there.
    g_host.log.clear();
    WhilePumping([] { MoveCursor(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y); });
    PumpTicks(2);
    PumpPastCoolDown();
    WhilePumping([] {
        InjectButton(MOUSEEVENTF_LEFTDOWN);
        MoveCursor(300, 300);
        Sleep(100);
        MoveCursor(2, 2);
        Sleep(800);
        InjectButton(MOUSEEVENTF_LEFTUP);
    });
    RestOneAndAHalfSeconds();
    EXPECT_EQ(g_host.hotkeys.size(), 1u);
    EXPECT_EQ(g_host.CountLogged(SPENT_BY_A_BUTTON), 1);
    leave_and_rest_in_the_corner();
}

// With Modifier=2 a corner answers only while Ctrl is down when the rest is due; a rest without
// it is spent until the cursor leaves.
TEST_F(GestureEndToEndTest, CornerWithModifierAnswersOnlyWhileCtrlIsHeld) {
    std::string ini = Ini("1", "1", "0");
    Start(ini.replace(ini.find("Delay=20"), 8, "Delay=20\r\nModifier=2"));
    WhilePumping([] { MoveCursor(2, 2); });
    RestOneAndAHalfSeconds();
    EXPECT_EQ(g_host.hotkeys.size(), 0u);
    EXPECT_EQ(g_host.CountLogged("keys not held (Modifier=2, held=0): the zone waits for the cursor to leave"), 1);

    WhilePumping([] { MoveCursor(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y); });
    PumpTicks(2);
    struct CtrlHeld {
        CtrlHeld() { InjectKeyDown(VK_CONTROL, true); }
        ~CtrlHeld() { InjectKeyDown(VK_CONTROL, false); }
    } ctrl;
    // This thread, the engine's, reads the key as down once its copy of the keys is renewed.
    ASSERT_TRUE(PumpUntil([] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }, 10000));
    WhilePumping([] { MoveCursor(2, 2); });
    EXPECT_EQ(Activations(1), 1u);
}

// Ticks every 50 ms, a Delay of 200: a rest activates once, with ClickGuard and without.
TEST_F(GestureEndToEndTest, RestInACornerAtAShortInterval) {
    for (const char *click_guard : {"1", "0"}) {
        SetCursorPos(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
        g_host.Reset();
        std::string ini = Ini("1", "1", "0");
        Start(ini.replace(ini.find("Delay=20"), 8, std::string("Delay=200\r\nClickGuard=") + click_guard));
        WhilePumping([] { MoveCursor(2, 2); });
        RestOneAndAHalfSeconds();
        EXPECT_EQ(Activations(1), 1u) << click_guard;
        ASSERT_FALSE(g_host.hotkey_ms.empty());
        const double after_ms = g_host.hotkey_ms[0] - g_last_input_ms;
        if (click_guard == std::string("1")) {
            EXPECT_GE(after_ms, 150.0);   // the Delay, give or take a clock's step
        }
        std::printf("[ latency  ] rest at Interval 50, Delay 200, ClickGuard %s: %.0f ms from arrival\n",
                    click_guard, after_ms);
        plugin_.reset();
    }
}

// Windows marks what it makes from touch and pen input; a double tap is no double-click, and a tap
// is a press for the hot zones all the same.
TEST_F(GestureEndToEndTest, TouchDoubleTapIsNoDoubleClickButATapSpendsAVisit) {
    Start(Ini("1", "1", "1"));
    const ULONG_PTR TOUCH = 0xFF515701;
    WhilePumping([TOUCH] {
        Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, TOUCH);
        Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, TOUCH);
    });
    EXPECT_EQ(Activations(0), 0u);
    WhilePumping([] {
        Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, 0xFF515600);   // another program's mark
        Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, 0xFF515600);
    });
    EXPECT_EQ(Activations(1), 1u);
    PumpPastCoolDown();
    std::thread([TOUCH] {   // before any tick sees the cursor in the corner, however busy the machine
        MoveCursor(2, 2);
        Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, TOUCH);
    }).join();
    RestOneAndAHalfSeconds();
    EXPECT_EQ(g_host.hotkeys.size(), 1u);
    EXPECT_EQ(g_host.CountLogged(SPENT_BY_A_BUTTON), 1);
}

// How the top-right corner answers at the default settings, 20 tries of each way of coming there,
// the arrival spread over the timer's period: prints the figures, and holds a visit to what it
// promises (no click 150 ms after arriving and no drag calls Velkora, also where the hook is gone
// and only the system sees the click; every rest does). A few minutes long, so run by hand
// against any build of the plug-in (CURSORWAKE_DLL), with --gtest_also_run_disabled_tests.
TEST_F(GestureEndToEndTest, DISABLED_CornerFiguresAtTheDefaults) {
    Start("[General]\r\nEnable=1\r\n");
    struct Way {
        const char *name;
        int click_after_ms, drag_hold_ms, rest_ms;
        int activations;   // what a visit guarantees; -1 where it depends on the tick's phase
        int click_hold_ms = 0;
        bool hook_removed = false;   // before each try, as Windows removes it: only the system sees the click
        bool hook_sees_arrival = false;   // a small move into the corner, after it was put there
    };
    const int TRIES = 20;
    const Way WAYS[] = {{"click 150 ms after arriving", 150, 0, 0, 0},
                        {"click 250 ms after arriving", 250, 0, 0, -1},
                        {"drag held 800 ms and released", 0, 800, 0, 0},
                        {"rest of 1.6 s", 0, 0, 1600, TRIES},
                        {"rest of 1.6 s, arriving by a move the hook sees", 0, 0, 1600, TRIES, 0, false, true},
                        {"hook removed, click of 30 ms at arriving, rest", 0, 0, 800, 0, 30, true},
                        {"hook removed, click of 50 ms at arriving, rest", 0, 0, 800, 0, 50, true},
                        {"hook removed, click of 100 ms at arriving, rest", 0, 0, 800, 0, 100, true},
                        {"hook removed, click of 30 ms 150 ms after arriving, rest", 150, 0, 800, 0, 30, true},
                        {"hook removed, click of 50 ms 150 ms after arriving, rest", 150, 0, 800, 0, 50, true},
                        {"hook removed, click of 100 ms 150 ms after arriving, rest", 150, 0, 800, 0, 100, true}};
    for (const Way &way : WAYS) {
        std::vector<double> after_ms;
        for (int i = 0; i < TRIES; ++i) {
            PumpPastCoolDown();
            PumpTicks(2);
            PumpMessages(static_cast<DWORD>(i * 97 % 500));
            if (way.hook_removed)   // the watchdog may have put it back meanwhile
                UnhookWindowsHookEx(LoggedHook());
            const size_t before = g_host.hotkeys.size();
            double arrival = 0;
            WhilePumping([&way, &arrival] {
                if (way.drag_hold_ms)
                    InjectButton(MOUSEEVENTF_LEFTDOWN);
                arrival = MonotonicMs();
                MoveCursor(1277, 2);
                if (way.hook_sees_arrival) {
                    InjectMoves({{-1, 1}});
                    arrival = MonotonicMs();
                }
                Sleep(static_cast<DWORD>(way.click_after_ms + way.drag_hold_ms));
                if (way.click_after_ms || way.click_hold_ms) {
                    InjectButton(MOUSEEVENTF_LEFTDOWN);
                    Sleep(static_cast<DWORD>(way.click_hold_ms));
                    InjectButton(MOUSEEVENTF_LEFTUP);
                }
                Sleep(static_cast<DWORD>(way.rest_ms));   // long enough for the visit to decide
                if (way.drag_hold_ms)
                    InjectButton(MOUSEEVENTF_LEFTUP);
                Sleep(50);
                MoveCursor(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
            }, 1200);
            if (g_host.hotkeys.size() > before)
                after_ms.push_back(g_host.hotkey_ms[before] - arrival);
        }
        std::sort(after_ms.begin(), after_ms.end());
        std::printf("[ figures  ] %s: %zu of %d activated", way.name, after_ms.size(), TRIES);
        if (!after_ms.empty())
            std::printf("; from arrival: median %.0f ms, longest %.0f ms",
                        (after_ms[(after_ms.size() - 1) / 2] + after_ms[after_ms.size() / 2]) / 2,
                        after_ms.back());
        std::printf("\n");
        if (way.activations >= 0) {
            EXPECT_EQ(after_ms.size(), static_cast<size_t>(way.activations)) << way.name;
        }
    }
}

// The desktop's right edge is monitor 2's (1280,0,2304,768), its strip switched on with the
// default Push: pushed with moves of 5 px, which the pointer's acceleration leaves as they are, it
// calls Velkora once however long the push goes on; a cursor parked on it or sliding along it
// never. A rest in monitor 1's top-left corner, at the default Interval and Delay, is answered
// Delay after the move that brought the cursor there. (Wine takes the cursor back where
// SetCursorPos put it 100 ms after relative moves, so the cursor is put in the corner first and
// a small move made there.)
TEST_F(GestureEndToEndTest, PushOnTheRightEdgeAndARestAnsweredDelayAfterArriving) {
    Start("[General]\r\nEnable=1\r\n[Move]\r\nOnMove=8193\r\n");
    MoveCursor(2303, 400);
    PumpTicks(3);
    WhilePumping([] {
        for (int i = 0; i < 40; ++i)
            InjectMoves({{4, 6}});
    });
    PumpTicks(3);
    EXPECT_EQ(g_host.hotkeys.size(), 0u) << "parked on the edge, or sliding along it";
    WhilePumping([] {
        for (int i = 0; i < 60; ++i)
            InjectMoves({{5, 0}});
    });
    EXPECT_EQ(Activations(1), 1u);
    EXPECT_TRUE(g_host.Logged("pushed: 150 px within 1000 ms"));

    PumpPastCoolDown();
    MoveCursor(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
    InjectMoves({{1, 0}});
    PumpTicks(2);
    MoveCursor(3, 3);
    InjectMoves({{1, 1}});
    const double arrival = MonotonicMs();
    ASSERT_TRUE(PumpUntil([] { return g_host.hotkeys.size() == 2; }, 5000));
    const double after_ms = g_host.hotkey_ms[1] - arrival;
    std::printf("[ latency  ] rest in a corner at the defaults: %.0f ms from the arriving move\n", after_ms);
    EXPECT_LE(after_ms, 200.0 + 80.0);
    EXPECT_GE(after_ms, 200.0 - 16.0);   // the Delay, give or take a clock's step
}

TEST_F(GestureEndToEndTest, HostFrameZoneUsesTheHostsWindowAndQuickOptions) {
    LoadedPlugin &plugin = Start(Ini("1", "65536", "0"));
    WhilePumping([] { MoveCursor(850, 400); });
    EXPECT_EQ(Activations(1), 1u);
    g_host.quick_option[1] = 1;   // the host's quick options turn the frame zone off
    plugin.api.OnChangeQuickOption();
    WhilePumping([] { MoveCursor(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y); });
    PumpTicks(4);   // seen outside the frame
    WhilePumping([] { MoveCursor(850, 400); });
    EXPECT_EQ(Activations(1), 1u);
}

TEST_F(GestureEndToEndTest, ZoneEntryIsRefusedWhileTheHostHasTheFocus) {
    Start(Ini("1", "1", "0"));
    g_host.has_focus = true;
    WhilePumping([] { MoveCursor(2, 2); });
    EXPECT_EQ(Activations(0, 400), 0u);
    EXPECT_TRUE(g_host.Logged("stat.has_focus=1"));
}

TEST_F(GestureEndToEndTest, ZoneEntryWithinTheCoolDownIsRefused) {
    Start(Ini("1", "1", "6"));
    WhilePumping([] {
        Jiggle();
        MoveCursor(2, 2);
    });
    EXPECT_EQ(Activations(1, 500), 1u);

    // The pause counts from the activation, not from the events: a jiggle made while Velkora's
    // thread was busy for 1.5 s, and the cursor in the corner when it is free again.
    PumpPastCoolDown();
    WhilePumping([] { MoveCursor(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y); });
    PumpTicks(3);
    std::thread injector([] {
        Jiggle();
        MoveCursor(2, 2);
    });
    Sleep(1500);
    injector.join();
    EXPECT_EQ(Activations(2, 500), 2u);
}

// Velkora, called from the tick that took the queued events, switches the plug-in off: the tick
// ends there, and puts no hook back for an engine that is off.
TEST_F(GestureEndToEndTest, TickWhoseActivationStopsTheEngineEndsThere) {
    LoadedPlugin &plugin = Start(Ini("1", "0", "6"));
    g_host.on_hotkey = [&plugin] { plugin.api.MyToggleEnable(0); };
    std::thread(Jiggle).join();   // queued for this thread, which has not pumped since
    HWND engine = FindWindowA("CursorwakeEngine", nullptr);
    MSG msg;
    while (!PeekMessageA(&msg, engine, WM_TIMER, WM_TIMER, PM_REMOVE))
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_TIMER);
    const int ticks = g_host.CountStartingWith("point.x=");
    DispatchMessageA(&msg);   // the tick, before the engine window's own message
    EXPECT_EQ(g_host.hotkeys.size(), 1u);
    EXPECT_EQ(plugin.MenuItem(0).checked, 0);
    EXPECT_EQ(g_host.CountStartingWith("point.x="), ticks);
    PumpMessages(300);
    EXPECT_EQ(g_host.CountStartingWith("try ::SetWindowsHookEx(WH_MOUSE_LL, 0x"), 1);
    g_host.on_hotkey = nullptr;
    WhilePumping(Jiggle, 300);
    EXPECT_EQ(g_host.hotkeys.size(), 1u);
}

TEST_F(GestureEndToEndTest, NothingActivatesWhileDisabled) {
    Start(Ini("0", "1", "118"));
    WhilePumping([] {
        Jiggle();
        Click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
        Click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
        MoveCursor(2, 2);
    });
    EXPECT_EQ(Activations(0, 400), 0u);
    EXPECT_EQ(g_host.CountStartingWith("try ::SetWindowsHookEx(WH_MOUSE_LL, 0x"), 0);
    EXPECT_EQ(g_host.CountStartingWith("point.x="), 0);   // no timer either
}

TEST_F(GestureEndToEndTest, ToggleReloadsTheMenuAndSwitchesTheEngine) {
    LoadedPlugin &plugin = Start(Ini("1", "0", "6"));
    plugin.api.MyToggleEnable(0);
    EXPECT_EQ(g_host.reloads, std::vector<std::string>{"Cursorwake"});
    EXPECT_EQ(plugin.MenuItem(0).checked, 0);
    EXPECT_TRUE(g_host.Logged("done."));
    WhilePumping(Jiggle);
    EXPECT_EQ(Activations(0), 0u);
    plugin.api.MyToggleEnable(0);
    EXPECT_EQ(g_host.reloads.size(), 2u);
    EXPECT_EQ(plugin.MenuItem(0).checked, 1);
    WhilePumping(Jiggle);
    EXPECT_EQ(Activations(1), 1u);
}

TEST_F(GestureEndToEndTest, SuspensionSetsTheEnableFlagWrittenAtTeardown) {
    LoadedPlugin &plugin = Start(Ini("0", "0", "6"));
    plugin.api.OnSuspendHook(FALSE);   // resume enables, whatever it was
    EXPECT_EQ(plugin.MenuItem(0).checked, 1);
    WhilePumping(Jiggle);
    EXPECT_EQ(Activations(1), 1u);
    plugin.api.OnSuspendHook(0x100);   // only the low byte counts: resume again
    EXPECT_EQ(plugin.MenuItem(0).checked, 1);
    EXPECT_EQ(g_host.CountStartingWith("try ::SetWindowsHookEx(WH_MOUSE_LL, 0x"), 1);   // still the one hook
    plugin.api.OnSuspendHook(TRUE);
    EXPECT_EQ(plugin.MenuItem(0).checked, 0);
    EXPECT_EQ(g_host.CountStartingWith("try ::UnhookWindowsHookEx(0x"), 1);
    plugin.api.OnSuspendHook(TRUE);
    EXPECT_EQ(g_host.log.back().text, "no hook");
    EXPECT_EQ(g_host.reloads.size(), 4u);
    plugin.Teardown();
    EXPECT_NE(ReadTextFile(plugin.ini_path).find("Enable=0\r\n"), std::string::npos);
}

TEST_F(GestureEndToEndTest, FullScreenWindowInFrontHoldsGesturesBackOnlyWhenSetTo2) {
    HWND full_screen = CreateWindowExA(0, "STATIC", "game", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 1024, nullptr,
                                       nullptr, nullptr, nullptr);
    const auto wheel_click_and_corner = [] {
        WhilePumping(Jiggle);
        WhilePumping([] {
            Click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
            Click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
        });
        PumpPastCoolDown();
        PumpTicks(2);   // the clicks are older than a look outside: they do not spend the visit
        WhilePumping([] { MoveCursor(2, 2); });
    };
    for (const char *fullscreen : {"0", "1", "2"}) {
        SetCursorPos(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
        g_host.Reset();
        Start(Ini("1", "1", "2", fullscreen));
        SetForegroundWindow(full_screen);
        wheel_click_and_corner();
        const bool held_back = std::string(fullscreen) == "2";
        EXPECT_EQ(Activations(held_back ? 0 : 3, 500), held_back ? 0u : 3u) << fullscreen;
        EXPECT_EQ(g_host.CountStartingWith("full screen in front"), held_back ? 3 : 0) << fullscreen;
        plugin_.reset();
    }
    DestroyWindow(full_screen);

    // Velkora's own window over the whole monitor holds nothing back.
    SetCursorPos(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
    g_host.Reset();
    MoveWindow(g_host.window, 0, 0, 1280, 1024, TRUE);
    Start(Ini("1", "0", "2", "2"));
    SetForegroundWindow(g_host.window);
    WhilePumping(Jiggle);
    EXPECT_EQ(Activations(1), 1u);
}

// The window in front belongs to the test's own program: listed, in another case than its file
// name's, it keeps the wheel and a corner quiet, with one line in the log; a list without it
// does not.
TEST_F(GestureEndToEndTest, ListedProgramInFrontHoldsGesturesBack) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string own = std::strrchr(path, '\\') + 1;
    const std::string listed_line = own + " in front is listed in Exclude: gestures held back";
    std::transform(own.begin(), own.end(), own.begin(), [](unsigned char c) { return std::toupper(c); });
    HWND front = CreateWindowExA(0, "STATIC", "program", WS_POPUP | WS_VISIBLE, 100, 300, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    for (const std::string &list : {"mstsc.exe; " + own, std::string("mstsc.exe")}) {
        SetCursorPos(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
        g_host.Reset();
        Start(Ini("1", "1", "0", "0\r\nExclude=" + list));
        SetForegroundWindow(front);
        WhilePumping(Jiggle);
        PumpUntil([&] { return !g_host.hotkeys.empty() || g_host.Logged(listed_line); }, 10000);
        PumpPastCoolDown();
        WhilePumping([] { MoveCursor(2, 2); });
        // The corner's rest is due: the zone asks for the focus right before it would activate.
        EXPECT_TRUE(PumpUntil([] { return g_host.CountStartingWith("stat.has_focus=0") > 0; }, 10000)) << list;
        const size_t expected = list == "mstsc.exe" ? 2 : 0;
        EXPECT_EQ(Activations(expected, 500), expected) << list;
        EXPECT_EQ(g_host.CountLogged(listed_line), expected ? 0 : 1) << list;
        plugin_.reset();
    }
    DestroyWindow(front);
}

// Unloaded on Velkora's thread and on another one: the module's code may be unmapped at once,
// so nothing of it may be left to run, neither the timer, nor the hook, nor the hook's thread.
TEST_F(GestureEndToEndTest, UnloadWithoutTearDownLeavesNeitherTimerNorHookBehind) {
    for (bool other_thread : {false, true}) {
        g_host.Reset();
        LoadedPlugin &plugin = Start(Ini("1", "0", "6"));   // a tick every 50 ms
        ASSERT_TRUE(PumpUntil([] { return g_host.CountStartingWith("point.x=") > 0; }, 2000));
        HHOOK hook = LoggedHook();
        ASSERT_NE(hook, nullptr);
        HWND engine = FindWindowA("CursorwakeEngine", nullptr);
        if (other_thread)
            std::thread([&plugin] { plugin.Unload(); }).join();
        else
            plugin.Unload();
        const size_t log_lines = g_host.log.size();
        // Mouse events and timer ticks after the unload; timer messages are counted, never dispatched.
        std::thread injector([] {
            for (int i = 0; i < 10; ++i) {
                InjectWheel(i % 2 ? 120 : -120);
                InjectButton(MOUSEEVENTF_MIDDLEUP);
            }
        });
        int timer_messages = 0;
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 500;) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_TIMER)
                    timer_messages += msg.hwnd == nullptr || msg.hwnd == engine;
                else
                    DispatchMessageA(&msg);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        injector.join();
        EXPECT_EQ(g_host.log.size(), log_lines) << other_thread;
        EXPECT_EQ(timer_messages, 0) << other_thread;
        EXPECT_FALSE(IsWindow(engine)) << other_thread;
        EXPECT_FALSE(UnhookWindowsHookEx(hook)) << other_thread;   // were it there, any thread could remove it
        plugin_.reset();
    }
}

TEST_F(GestureEndToEndTest, SecondMonitorZonesAndTheSharedBorder) {
    LoadedPlugin &plugin = Start(Ini("1", "512", "0"));   // monitor 2, top-right corner
    WhilePumping([] { MoveCursor(2303, 1); });
    EXPECT_EQ(Activations(1), 1u);
    plugin.Teardown();
    plugin.Unload();
    g_host.Reset();

    // x = 1280 is the right edge of monitor 1 and the left edge of monitor 2.
    for (const char *onmove : {"32", "32768"}) {
        SetCursorPos(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
        g_host.Reset();
        Start(Ini("1", onmove, "0"));
        WhilePumping([] { MoveCursor(1280, 400); });
        EXPECT_EQ(Activations(1), 1u) << onmove;
    }
}

// Velkora's thread busy for this long, without pumping: a mouse event that waited for it would be
// held at least as long, however idle or busy the machine. One held for less than a tenth of it
// did not wait, even with other programs taking both cores.
const DWORD VELKORA_BUSY_MS = 600;
const double HELD_LIMIT_MS = VELKORA_BUSY_MS / 10.0;

// A host that takes its time to come up must not hold the mouse of the whole desktop meanwhile.
TEST_F(GestureEndToEndTest, ActivationLeavesTheHookAtOnce) {
    Start(Ini("1", "0", "6"));
    g_host.hotkey_sleep_ms = VELKORA_BUSY_MS;
    double completing_ms = -1;
    WhilePumping([&completing_ms] {
        for (int delta : {120, -120, 120})
            InjectWheel(delta);
        double before = MonotonicMs();
        InjectWheel(-120);   // returns once the hook has run
        completing_ms = MonotonicMs() - before;
    });
    EXPECT_EQ(Activations(1, 2 * VELKORA_BUSY_MS), 1u);
    EXPECT_GE(completing_ms, 0.0);
    EXPECT_LT(completing_ms, HELD_LIMIT_MS);
    std::printf("[ latency  ] the completing wheel event held the mouse %.2f ms (SendHotKey takes %u ms)\n",
                completing_ms, static_cast<unsigned>(VELKORA_BUSY_MS));
}

// The time each of `events` held the mouse: from before SendInput to its return, which comes
// once the hook has run.
static std::vector<double> HeldMs(const std::vector<int> &deltas) {
    std::vector<double> held;
    for (int delta : deltas) {
        double before = MonotonicMs();
        InjectWheel(delta);
        held.push_back(MonotonicMs() - before);
    }
    return held;
}

// Velkora's thread busy without pumping (showing its window list, a slow disk): the hook's
// thread passes every event on at once, and the gesture made meanwhile counts once it is free.
TEST_F(GestureEndToEndTest, BusyHostThreadHoldsNoMouseEvent) {
    LoadedPlugin &plugin = Start(Ini("1", "0", "6"));
    std::vector<double> held;
    // A jiggle while this thread, Velkora's, is busy without pumping: for 600 ms, and until the
    // jiggle is through.
    const auto jiggle_while_busy = [&held] {
        std::thread injector([&held] { held = HeldMs({120, -120, 120, -120}); });
        Sleep(VELKORA_BUSY_MS);
        injector.join();
    };
    jiggle_while_busy();
    EXPECT_TRUE(g_host.hotkeys.empty());   // recognition waits for Velkora's thread
    EXPECT_EQ(Activations(1), 1u);
    ASSERT_EQ(held.size(), 4u);
    for (double ms : held) {
        EXPECT_LT(ms, HELD_LIMIT_MS);
        std::printf("[ latency  ] with Velkora's thread busy, a wheel event held the mouse %.2f ms\n", ms);
    }

    // Switched off before its thread is free again: the jiggle made meanwhile counts for nothing,
    // then or after the plug-in is switched on again.
    PumpPastCoolDown();
    jiggle_while_busy();
    plugin.api.MyToggleEnable(0);
    plugin.api.MyToggleEnable(0);
    EXPECT_TRUE(PumpTicks(4));
    EXPECT_EQ(g_host.hotkeys.size(), 1u);

    // Held back by a full-screen window, with a host whose window handles and log lines each
    // take 300 ms: the check runs on Velkora's thread, not in the hook, where it would hold the
    // completing event for 600 ms at least.
    // Ticks a second apart, each of whose log lines takes as long as the slow host makes it.
    plugin_.reset();
    g_host.Reset();
    std::string ini = Ini("1", "0", "6", "2");
    Start(ini.replace(ini.find("Interval=50"), 11, "Interval=1000"));
    HWND full_screen = CreateWindowExA(0, "STATIC", "game", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 1024, nullptr,
                                       nullptr, nullptr, nullptr);
    SetForegroundWindow(full_screen);
    WhilePumping([] { InjectMoves({{0, 0}}); });   // Wine's first input after the focus changed
    PumpTicks(1);
    g_host.slow_ms = VELKORA_BUSY_MS / 2;
    WhilePumping([&held] { held = HeldMs({120, -120, 120, -120}); });
    EXPECT_TRUE(PumpUntil([] { return g_host.CountStartingWith("full screen in front") == 1; }, 30000));
    g_host.slow_ms = 0;
    DestroyWindow(full_screen);
    EXPECT_TRUE(g_host.hotkeys.empty());
    for (double ms : held) {
        EXPECT_LT(ms, HELD_LIMIT_MS);
        std::printf("[ latency  ] with FullScreen=2 and a slow host, a wheel event held the mouse %.2f ms\n", ms);
    }
}

// What the plug-in sees of the desktop and may do in it, as Windows has it where the hook is given
// none of the input: the lock screen (no foreground window), an elevated program in front (its
// token closed to the host), and the probe refused.
std::atomic<bool> g_no_foreground, g_token_closed, g_input_refused;
decltype(&GetForegroundWindow) g_real_get_foreground_window;
decltype(&GetTokenInformation) g_real_get_token_information;
decltype(&SendInput) g_real_send_input;
HWND WINAPI ForegroundAsOnTheLockScreen() { return g_no_foreground ? nullptr : g_real_get_foreground_window(); }
BOOL WINAPI TokenAsOfAnElevatedProgram(HANDLE token, TOKEN_INFORMATION_CLASS kind, LPVOID data, DWORD size,
                                       PDWORD returned) {
    if (g_token_closed) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return g_real_get_token_information(token, kind, data, size, returned);
}
UINT WINAPI InputAsIntoAnElevatedProgram(UINT count, LPINPUT inputs, int size) {
    return g_input_refused ? 0 : g_real_send_input(count, inputs, size);
}
// A window of an elevated program: its process cannot be opened.
std::atomic<HWND> g_elevated_window;
decltype(&GetWindowThreadProcessId) g_real_window_process;
DWORD WINAPI ProcessAsOfAnElevatedWindow(HWND window, LPDWORD process_id) {
    const DWORD thread = g_real_window_process(window, process_id);
    if (window == g_elevated_window && process_id)
        *process_id = 0x7FFFFFFC;   // no such process
    return thread;
}
// Putting a hook back takes a while, and the user moves the mouse meanwhile.
std::atomic<bool> g_moved_while_installing;
decltype(&SetWindowsHookExA) g_real_set_hook;
HHOOK WINAPI InstallWhileTheUserMoves(int kind, HOOKPROC proc, HINSTANCE module, DWORD thread) {
    if (g_moved_while_installing.exchange(false)) {
        Sleep(100);
        SetCursorPos(SCREEN_MIDDLE.x, 900);
    }
    return g_real_set_hook(kind, proc, module, thread);
}

// The system removes the hook without a word, as Windows does after hook time-outs. While the
// input goes where no hook of the host's is given it, that tells nothing. A click in a corner
// meanwhile reaches no hook, and the system's word on the buttons spends the visit all the same.
TEST_F(GestureEndToEndTest, LostHookComesBack) {
    auto ini = Ini("1", "1", "6");
    ini.replace(ini.find("Delay=20"), 8, "Delay=1000");
    plugin_.reset(new LoadedPlugin(CurrentTestName(), ini));
    ASSERT_TRUE(plugin_->Load());
    const HMODULE module = plugin_->module;
    g_real_get_foreground_window = reinterpret_cast<decltype(g_real_get_foreground_window)>(
        PatchImport(module, "user32.dll", "GetForegroundWindow", reinterpret_cast<void *>(ForegroundAsOnTheLockScreen)));
    g_real_send_input = reinterpret_cast<decltype(g_real_send_input)>(
        PatchImport(module, "user32.dll", "SendInput", reinterpret_cast<void *>(InputAsIntoAnElevatedProgram)));
    g_real_get_token_information = reinterpret_cast<decltype(g_real_get_token_information)>(PatchProcAddress(
        module, "advapi32.dll", "GetTokenInformation", reinterpret_cast<void *>(TokenAsOfAnElevatedProgram)));
    g_real_set_hook = reinterpret_cast<decltype(g_real_set_hook)>(
        PatchImport(module, "user32.dll", "SetWindowsHookExA", reinterpret_cast<void *>(InstallWhileTheUserMoves)));
    g_real_window_process = reinterpret_cast<decltype(g_real_window_process)>(PatchImport(
        module, "user32.dll", "GetWindowThreadProcessId", reinterpret_cast<void *>(ProcessAsOfAnElevatedWindow)));
    ASSERT_TRUE(g_real_get_foreground_window && g_real_send_input && g_real_get_token_information && g_real_set_hook &&
                g_real_window_process);
    plugin_->Setup();
    PumpTicks(2);
    HHOOK lost = LoggedHook();
    ASSERT_NE(lost, nullptr);
    ASSERT_TRUE(UnhookWindowsHookEx(lost));
    WhilePumping(Jiggle);
    EXPECT_EQ(Activations(0), 0u);   // no moves yet: the loss is not seen
    // Moves that the hook could not have seen: no verdict, however long they go on. The lock
    // screen; an elevated program in front; an elevated program's window under the cursor, beside
    // the one in front; the probe refused.
    HWND other = CreateWindowExA(WS_EX_TOOLWINDOW, "EDIT", "elevated", WS_POPUP, 300, 300, 900, 500, nullptr, nullptr,
                                 nullptr, nullptr);
    const std::function<void(bool)> situations[] = {
        [](bool on) { g_no_foreground = on; },
        [other](bool on) {
            ShowWindow(other, on ? SW_SHOW : SW_HIDE);
            SetForegroundWindow(on ? other : g_host.window);
            g_token_closed = on;
        },
        [other](bool on) {
            g_elevated_window = on ? other : nullptr;
            ShowWindow(other, on ? SW_SHOWNOACTIVATE : SW_HIDE);
        },
        [](bool on) { g_input_refused = on; },
    };
    for (const auto &unseen : situations) {
        unseen(true);
        WhilePumping([] {
            for (const int target = g_host.ticks + 12; g_host.ticks < target;) {
                InjectMoves({{1, 0}});
                Sleep(10);
            }
        });
        unseen(false);
        EXPECT_EQ(g_host.CountStartingWith("hook lost"), 0);
        EXPECT_EQ(g_host.CountStartingWith("try ::SetWindowsHookEx(WH_MOUSE_LL, 0x"), 1);
    }
    DestroyWindow(other);
    // A click within the wait of a visit, the probe refused meanwhile so that the hook stays away.
    g_input_refused = true;
    MoveCursor(2, 2);
    ASSERT_TRUE(PumpUntil([] { return g_host.Logged("point.x=2 y=2"); }, 10000));
    Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);   // from this thread: there is no hook to wait for
    EXPECT_TRUE(PumpUntil([] { return g_host.Logged(SPENT_BY_A_BUTTON); }, 10000));
    EXPECT_TRUE(g_host.hotkeys.empty());
    g_input_refused = false;
    MoveCursor(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
    std::atomic<bool> back(false), finished(false);
    // Moves on until a tick has found them unseen by the hook, once the 5 s since the refused
    // probe have passed.
    g_moved_while_installing = true;
    std::thread mover([&] {
        for (int i = 0; i < 1500 && !back && g_moved_while_installing; ++i) {
            InjectMoves({{1, 0}});
            Sleep(10);
        }
        finished = true;
    });
    bool reinstalled = PumpUntil([] { return g_host.CountStartingWith("done. g_handle_mouse_ll=0x") == 2; }, 15000);
    back = true;
    PumpUntil([&] { return finished.load(); }, 5000);
    mover.join();
    ASSERT_TRUE(reinstalled);
    // The tick that put the hook back took the cursor afresh, where the user had moved it meanwhile.
    int installs = 0;
    std::string tick_after;
    for (const LogLine &l : g_host.log) {
        installs += l.text.compare(0, 26, "done. g_handle_mouse_ll=0x") == 0;
        if (installs == 2 && tick_after.empty() && l.text.compare(0, 8, "point.x=") == 0)
            tick_after = l.text;
    }
    EXPECT_NE(tick_after.find(" y=900"), std::string::npos) << tick_after;
    EXPECT_EQ(g_host.CountStartingWith("hook lost: the cursor moved, g_handle_mouse_ll=0x"), 1);
    for (const LogLine &l : g_host.log)
        if (l.text.compare(0, 10, "hook lost:") == 0) {
            EXPECT_EQ(l.severity, 3);
        }
    WhilePumping(Jiggle);
    EXPECT_EQ(Activations(1), 1u);
    EXPECT_EQ(g_host.CountStartingWith("try ::SetWindowsHookEx(WH_MOUSE_LL, 0x"), 2);
    PumpPastCoolDown();   // the hook back in place, a rest in the corner calls Velkora once
    WhilePumping([] { MoveCursor(2, 2); });
    EXPECT_EQ(Activations(2), 2u);
    MoveCursor(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);

    // Removed again, then switched off and on, as a user would try: the stop finds the hook
    // gone, and the start puts a new one in.
    ASSERT_TRUE(UnhookWindowsHookEx(LoggedHook()));
    plugin_->api.MyToggleEnable(0);
    EXPECT_TRUE(g_host.Logged("failed. ret=0"));
    plugin_->api.MyToggleEnable(0);
    EXPECT_EQ(g_host.CountStartingWith("try ::SetWindowsHookEx(WH_MOUSE_LL, 0x"), 3);
    PumpPastCoolDown();
    WhilePumping(Jiggle);
    EXPECT_EQ(Activations(3), 3u);
}

TEST_F(GestureEndToEndTest, IntactHookIsNeverReinstalled) {
    Start(Ini("1", "0", "6"));
    const auto for_ticks = [](int ticks, const std::function<void(int)> &input) {
        for (int i = 0, target = g_host.ticks + ticks; g_host.ticks < target; ++i)
            input(i);
    };
    WhilePumping([&for_ticks] {
        for_ticks(40, [](int i) {   // moves, out and back, for 40 ticks
            InjectMoves({{4, i % 2 ? 1 : -1}, {-4, i % 2 ? -1 : 1}});
            Sleep(10);
        });
        for_ticks(20, [](int) {     // keyboard-only input for 20 ticks
            InjectKey(VK_SHIFT);
            Sleep(20);
        });
    }, 200);
    EXPECT_EQ(g_host.CountStartingWith("hook lost"), 0);
    EXPECT_EQ(g_host.CountStartingWith("try ::SetWindowsHookEx(WH_MOUSE_LL, 0x"), 1);

    // A program that moves the cursor itself, as games and remote-control tools do: SetCursorPos
    // reaches no hook, and under Wine it counts as input all the same.
    WhilePumping([] {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 12000;) {
            MoveCursor(SCREEN_MIDDLE.x + static_cast<int>(GetTickCount() / 20 % 2), SCREEN_MIDDLE.y);
            Sleep(20);
        }
    });
    PumpTicks(2);
    for (const LogLine &l : g_host.log)
        EXPECT_GT(l.severity, 3) << l.text;
    EXPECT_EQ(g_host.CountStartingWith("hook lost"), 0);
    EXPECT_EQ(g_host.CountStartingWith("try ::SetWindowsHookEx(WH_MOUSE_LL, 0x"), 1);
}

// A hook thread that stops answering, as one may on a machine that is paging or under a loader
// lock held elsewhere: the hook calls on it wait until the test lets them go.
struct SlowHookCalls {
    HANDLE go = CreateEventA(nullptr, TRUE, TRUE, nullptr);   // manual reset: set, calls pass
    std::atomic<HANDLE> thread{nullptr};                      // the thread that called last
    std::atomic<HHOOK> hook{nullptr};                         // the hook it was given
    std::atomic<int> terminations{0};
    decltype(&SetWindowsHookExA) set_hook;
    decltype(&UnhookWindowsHookEx) unhook;
    decltype(&TerminateThread) terminate;
    // Ends the thread of the first TerminateThread 300 ms after the call. It runs from before the
    // unload: a thread started under the loader lock would wait for it.
    HANDLE terminate_asked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE to_terminate = nullptr;
    std::thread terminator{[this] {
        WaitForSingleObject(terminate_asked, INFINITE);
        Sleep(300);
        if (to_terminate)
            terminate(to_terminate, 0);
    }};
    void Caller() {
        HANDLE self = OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId());
        if (HANDLE old = thread.exchange(self))
            CloseHandle(old);
        WaitForSingleObject(go, INFINITE);
    }
    // Whether the thread that called last has ended within `ms`.
    bool CallerEnds(DWORD ms) { return thread && WaitForSingleObject(thread, ms) == WAIT_OBJECT_0; }
};
SlowHookCalls *g_slow;
HHOOK WINAPI SlowSetHook(int kind, HOOKPROC proc, HINSTANCE module, DWORD thread) {
    g_slow->Caller();
    HHOOK hook = g_slow->set_hook(kind, proc, module, thread);
    g_slow->hook = hook;
    return hook;
}
BOOL WINAPI SlowUnhook(HHOOK hook) {
    g_slow->Caller();
    return g_slow->unhook(hook);
}
// The system ends a thread a while after TerminateThread returns.
BOOL WINAPI LateTerminate(HANDLE thread, DWORD) {
    if (g_slow->terminations++ == 0) {
        DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &g_slow->to_terminate, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        SetEvent(g_slow->terminate_asked);
    }
    return TRUE;
}

class SlowHookThreadTest : public GestureEndToEndTest {
protected:
    void SetUp() override {
        GestureEndToEndTest::SetUp();
        g_slow = &slow_;
    }
    void TearDown() override {
        SetEvent(slow_.go);
        SetEvent(slow_.terminate_asked);
        slow_.terminator.join();
        GestureEndToEndTest::TearDown();
    }
    LoadedPlugin &Start(const std::string &ini) {
        LoadedPlugin &plugin = GestureEndToEndTest::Start(ini);
        slow_.set_hook = reinterpret_cast<decltype(slow_.set_hook)>(
            PatchImport(plugin.module, "user32.dll", "SetWindowsHookExA", reinterpret_cast<void *>(SlowSetHook)));
        slow_.unhook = reinterpret_cast<decltype(slow_.unhook)>(
            PatchImport(plugin.module, "user32.dll", "UnhookWindowsHookEx", reinterpret_cast<void *>(SlowUnhook)));
        slow_.terminate = reinterpret_cast<decltype(slow_.terminate)>(
            PatchImport(plugin.module, "kernel32.dll", "TerminateThread", reinterpret_cast<void *>(LateTerminate)));
        EXPECT_TRUE(slow_.set_hook && slow_.unhook && slow_.terminate);
        return plugin;
    }
    // Runs `call` on this thread; how long it took, ms.
    static double Took(const std::function<void()> &call) {
        const double before = MonotonicMs();
        call();
        return MonotonicMs() - before;
    }
    SlowHookCalls slow_;
};

// A thread that has not answered its start may still be in the loader, holding its lock: it is
// not ended, the start fails and is tried again like a refused one, and the thread leaves on its
// own, with the hook it got.
TEST_F(SlowHookThreadTest, StartWithoutAnAnswerFailsAndTheThreadLeavesOnItsOwn) {
    LoadedPlugin &plugin = Start(Ini("0", "0", "6"));
    ResetEvent(slow_.go);
    plugin.api.MyToggleEnable(0);
    EXPECT_TRUE(g_host.Logged("the hook thread did not answer within 5000 ms; it leaves on its own"));
    EXPECT_TRUE(g_host.Logged("failed."));
    SetEvent(slow_.go);
    EXPECT_TRUE(slow_.CallerEnds(5000));
    EXPECT_EQ(slow_.terminations, 0);
    EXPECT_FALSE(UnhookWindowsHookEx(slow_.hook));   // gone with its thread
    EXPECT_TRUE(PumpUntil([] { return g_host.CountStartingWith("done. g_handle_mouse_ll=0x") == 1; }, 10000));
    WhilePumping(Jiggle);
    EXPECT_EQ(Activations(1), 1u);
}

// A stop without an answer is waited for once: the thread leaves once it has removed its hook,
// and a start after that puts a new one in; what the hook queued before the stop never counts.
// At an unload a thread that cannot answer is ended, and the module goes only once it has.
TEST_F(SlowHookThreadTest, StopWithoutAnAnswerIsWaitedForOnceAndAnUnloadEndsTheThreadFirst) {
    LoadedPlugin &plugin = Start(Ini("1", "0", "6"));
    std::thread(Jiggle).join();   // queued for this thread, which does not pump before the stop
    ResetEvent(slow_.go);
    const double first_ms = Took([&] { plugin.api.MyToggleEnable(0); });
    EXPECT_GE(first_ms, 4000.0);
    EXPECT_TRUE(g_host.Logged("failed. ret=0"));
    plugin.api.MyToggleEnable(0);   // on: the hook is still the thread's
    const double second_ms = Took([&] { plugin.api.MyToggleEnable(0); });
    EXPECT_LT(second_ms, first_ms / 2);
    std::printf("[ timing   ] a stop without an answer took %.0f ms, the next %.0f ms\n", first_ms, second_ms);
    SetEvent(slow_.go);
    EXPECT_TRUE(slow_.CallerEnds(5000));
    plugin.api.MyToggleEnable(0);
    EXPECT_EQ(g_host.CountStartingWith("done. g_handle_mouse_ll=0x"), 2);
    WhilePumping(Jiggle);
    EXPECT_EQ(Activations(1), 1u);
    EXPECT_EQ(slow_.terminations, 0);

    ResetEvent(slow_.go);
    plugin.Unload();   // no tear-down: the thread, asked to end, is held in UnhookWindowsHookEx
    EXPECT_EQ(slow_.terminations, 1);
    EXPECT_TRUE(slow_.CallerEnds(0));
}

// Wine here changes no monitor at run time, so the announcement is sent as Windows would.
TEST_F(GestureEndToEndTest, DisplayChangeRetakesTheMonitorSnapshot) {
    LoadedPlugin &plugin = Start(Ini("1", "0", "6"));
    HWND engine = FindWindowA("CursorwakeEngine", nullptr);
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(GetWindowThreadProcessId(engine, nullptr), GetCurrentThreadId());
    EXPECT_FALSE(IsWindowVisible(engine));
    EXPECT_EQ(GetWindowLongA(engine, GWL_STYLE) & (WS_CAPTION | WS_VISIBLE), 0);
    EXPECT_NE(GetWindowLongA(engine, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(GetWindowTextLengthA(engine), 0);

    PostMessageA(HWND_BROADCAST, WM_DISPLAYCHANGE, 24, MAKELPARAM(2304, 1024));
    const std::string snapshot =
        "WM_DISPLAYCHANGE g_primary_rect=(0,0,1280,1024) g_secondary_rect=(1280,0,2304,768)";
    EXPECT_TRUE(PumpUntil([&] { return g_host.Logged(snapshot); }, 2000));
    for (const LogLine &l : g_host.log)
        if (l.text == snapshot) {
            EXPECT_EQ(l.severity, 7);
        }

    // Tools that close every window of a program send WM_CLOSE to hidden ones too.
    SendMessageA(engine, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(engine));
    // Destroyed anyway, the window is made again by the next start of the engine.
    DestroyWindow(engine);
    plugin.api.MyToggleEnable(0);
    plugin.api.MyToggleEnable(0);
    engine = FindWindowA("CursorwakeEngine", nullptr);
    ASSERT_NE(engine, nullptr);
    PumpTicks(2);
    WhilePumping([] {
        for (int delta : {120, -120, 120, -120})
            InjectWheel(delta);
    });
    EXPECT_EQ(Activations(1), 1u);

    // Tear-down and unload without one each take the window and its class away.
    HINSTANCE module = plugin.module;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    plugin.Teardown();
    EXPECT_FALSE(IsWindow(engine));
    EXPECT_FALSE(GetClassInfoExA(module, "CursorwakeEngine", &wc));
    plugin.Setup();
    engine = FindWindowA("CursorwakeEngine", nullptr);
    EXPECT_NE(engine, nullptr);
    plugin.Unload();
    EXPECT_FALSE(IsWindow(engine));
    EXPECT_FALSE(GetClassInfoExA(module, "CursorwakeEngine", &wc));
}

}  // namespace

namespace {

// Monitor 2 placed left of monitor 1.
using LeftMonitorTest = OnMonitors<GestureEndToEndTest, MONITOR_2_LEFT>;

// With the default Push, monitor 1's left strip rests only beside monitor 2 (768 high): below it
// lies the desktop's edge, which answers a push and no rest.
TEST_F(LeftMonitorTest, SecondMonitorAtNegativeCoordinates) {
    ASSERT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), -1024);
    const struct {
        const char *onmove;
        POINT target;
        size_t activations;
    } ENTRIES[] = {{"256", {-1024, 0}, 1},   // monitor 2, top-left corner
                   {"8192", {0, 700}, 1},    // monitor 2, right strip at x = 0
                   {"128", {0, 700}, 1},     // monitor 1, left strip at x = 0, beside monitor 2
                   {"128", {0, 900}, 0}};    // the same strip below monitor 2
    for (const auto &entry : ENTRIES) {
        SetCursorPos(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
        g_host.Reset();
        Start(Ini("1", entry.onmove, "0"));
        const POINT target = entry.target;
        WhilePumping([target] { MoveCursor(target.x, target.y); });
        EXPECT_EQ(Activations(entry.activations), entry.activations) << entry.onmove << " y=" << target.y;
        plugin_.reset();
    }
}

}  // namespace

namespace {

// Three monitors side by side: (0,0,1280,1024), (1280,0,2560,1024), (2560,0,3840,1024).
using ThreeMonitorTest = OnMonitors<GestureEndToEndTest, THREE_MONITORS>;

// Every zone of monitors 1 and 2 is on, or none; the corner of monitor 3 is OnMoveOthers' alone.
TEST_F(ThreeMonitorTest, RestInACornerOfMonitor3CallsVelkoraOnlyWithOnMoveOthers) {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 3);
    const struct {
        const char *onmove, *others;
        size_t expected;
    } PHASES[] = {{"65535", "1", 1}, {"65535", "0", 0}, {"0", "1", 1}};
    for (const auto &phase : PHASES) {
        SetCursorPos(SCREEN_MIDDLE.x, SCREEN_MIDDLE.y);
        g_host.Reset();
        std::string ini = Ini("1", phase.onmove, "0");
        Start(ini.replace(ini.find("Delay=20"), 8, std::string("Delay=20\r\nOnMoveOthers=") + phase.others));
        WhilePumping([] { MoveCursor(2563, 3); });
        RestOneAndAHalfSeconds();
        EXPECT_EQ(Activations(phase.expected), phase.expected)
            << "OnMove=" << phase.onmove << " OnMoveOthers=" << phase.others;
        plugin_.reset();
    }
    Start(Ini("1", "0", "0"));
    PostMessageA(HWND_BROADCAST, WM_DISPLAYCHANGE, 24, MAKELPARAM(3840, 1024));
    EXPECT_TRUE(PumpUntil([] { return g_host.Logged("WM_DISPLAYCHANGE monitor 3=(2560,0,3840,1024)"); }, 2000));
}

}  // namespace
