// What the plug-in's own code costs per mouse event and per timer tick, without the
// system's part (the hook round trip itself costs Wine about 100 microseconds).
#include <benchmark/benchmark.h>

#include <cstring>

#include "engine/HookQueue.h"
#include "engine/HookZones.h"
#include "engine/HotZones.h"
#include "engine/TimerTick.h"
#include "hostapi/VelkApiCore.h"

namespace {

Settings DefaultSettings() {
    Settings cfg;
    ApplyDefaults(cfg);
    cfg.click.onclick = 0x77;   // every button gesture on
    return cfg;
}

// The hook as it runs on its own thread: the sign of life, and for a gesture event the copy into
// the queue, with the touch-and-pen mark, and the wake test (the wake itself, one PostMessage per
// batch, is the system's part). Recognition of the same event and the note of a button for the
// hot zones' visits, on the engine's thread, per event: BM_QueuedWheelRecognised.
void BM_HookQueuesGestureEvent(benchmark::State &state) {
    HookEvent ev = {MOUSE_MSG_WHEEL, {100, 100}, 0x00780000u, 0, 0, false, {0, 0}};
    HookEvent out;
    uint32_t t = 0, extra_info = 0;
    for (auto _ : state) {
        ++t;
        g_hook_saw_event.store(true, std::memory_order_relaxed);
        benchmark::DoNotOptimize(extra_info);   // MSLLHOOKSTRUCT's dwExtraInfo, unknown to the compiler
        if (IsQueuedMessage(ev.msg)) {
            ev.now = t;
            ev.touch_or_pen = IsTouchOrPen(extra_info);
            benchmark::DoNotOptimize(g_hook_queue.Push(ev));
            benchmark::DoNotOptimize(g_hook_queue.NeedsWake());
        }
        if (t % 64 == 0) {   // the engine's thread takes the batch
            g_hook_queue.TakeWake();
            while (g_hook_queue.Pop(out))
                benchmark::DoNotOptimize(out);
        }
    }
}
BENCHMARK(BM_HookQueuesGestureEvent);

void BM_HookMovePassedOn(benchmark::State &state) {
    uint32_t msg = 0x200;
    for (auto _ : state) {
        g_hook_saw_event.store(true, std::memory_order_relaxed);
        benchmark::DoNotOptimize(IsQueuedMessage(msg));
        benchmark::DoNotOptimize(msg);
    }
}
BENCHMARK(BM_HookMovePassedOn);

// The hook's look at a move: two full-HD monitors, every zone of both on, pushes on. Inside the
// desktop and in no zone, the move is passed on; beyond the edge it is queued, as a push, with
// the wake test (the clock is the system's part).
void LookAtMoves(benchmark::State &state, Point32 a, Point32 b) {
    Settings cfg = DefaultSettings();
    cfg.move.onmove = 0xFFFF;
    cfg.move.push = MOVE_PUSH_EDGES | MOVE_PUSH_CORNERS;
    const Rect32 monitors[] = {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
    g_hook_zones.Publish(monitors, 2, cfg);
    HookMoves moves;
    HookEvent out;
    uint32_t t = 0;
    for (auto _ : state) {
        ++t;
        g_hook_saw_event.store(true, std::memory_order_relaxed);
        Point32 pt = t % 2 ? a : b, from;
        benchmark::DoNotOptimize(pt);
        if (TakeMove(g_hook_zones, moves, pt, from)) {
            g_hook_queue.Push({MOUSE_MSG_MOVE, pt, 0, t, t, false, from});
            benchmark::DoNotOptimize(g_hook_queue.NeedsWake());
        }
        if (t % 64 == 0) {
            g_hook_queue.TakeWake();
            while (g_hook_queue.Pop(out))
                benchmark::DoNotOptimize(out);
        }
    }
}
void BM_HookMoveInsideTheDesktop(benchmark::State &state) { LookAtMoves(state, {960, 540}, {2900, 541}); }
BENCHMARK(BM_HookMoveInsideTheDesktop);
void BM_HookMoveBeyondTheEdge(benchmark::State &state) { LookAtMoves(state, {3845, 540}, {3843, 541}); }
BENCHMARK(BM_HookMoveBeyondTheEdge);

void BM_QueuedWheelRecognised(benchmark::State &state) {
    Settings cfg = DefaultSettings();
    HookEvent ev = {MOUSE_MSG_WHEEL, {100, 100}, 0, 0, 0, false, {0, 0}};
    HookEvent out;
    uint32_t t = 0;
    for (auto _ : state) {
        t += 60;   // a hand's pace: quicker turns are chatter, which counts for nothing
        ev.mouse_data = (t / 60) % 2 ? 0x00780000u : 0xFF880000u;
        ev.now = ev.time = t;
        g_hook_queue.Push(ev);
        g_hook_queue.TakeWake();
        while (g_hook_queue.Pop(out)) {
            NoteQueuedEventForVisit(out.msg);
            if (!out.touch_or_pen)
                benchmark::DoNotOptimize(HandleMouseEvent(out.msg, out.pt, out.mouse_data, out.time, out.now, cfg));
        }
    }
}
BENCHMARK(BM_QueuedWheelRecognised);

// Recognition of one event on its own, without the queue: what the engine's thread does for each
// queued event, and the figures to set against the hook's own cost above.
void BM_HookMouseMove(benchmark::State &state) {
    Settings cfg = DefaultSettings();
    uint32_t t = 0;
    for (auto _ : state) {
        ++t;
        g_hook_saw_event.store(true, std::memory_order_relaxed);   // the hook's first store, for every event
        benchmark::DoNotOptimize(HandleMouseEvent(0x200, {100, 100}, 0, t, t, cfg));
    }
}
BENCHMARK(BM_HookMouseMove);

// Two events in turn, 60 ms apart (a hand's pace): each pair is a step of a gesture that keeps going.
void AlternatingEvents(benchmark::State &state, uint32_t first_msg, uint32_t first_data, uint32_t second_msg,
                       uint32_t second_data, int32_t onwheel = WHEEL_GESTURE_ON) {
    Settings cfg = DefaultSettings();
    cfg.wheel.onwheel = onwheel;
    uint32_t t = 0;
    for (auto _ : state) {
        t += 60;
        bool first = (t / 60) % 2;
        g_hook_saw_event.store(true, std::memory_order_relaxed);
        benchmark::DoNotOptimize(HandleMouseEvent(first ? first_msg : second_msg, {100, 100},
                                                  first ? first_data : second_data, t, t, cfg));
    }
}

void BM_HookWheelJiggle(benchmark::State &state) { AlternatingEvents(state, 522, 0x00780000u, 522, 0xFF880000u); }
BENCHMARK(BM_HookWheelJiggle);

// A touchpad's steps of 60 in turn, with fine scrolling counted: no step makes a notch.
void BM_HookFineWheelSteps(benchmark::State &state) {
    AlternatingEvents(state, 522, 0x003C0000u, 522, 0xFFC40000u, WHEEL_GESTURE_ON | WHEEL_COUNT_FINE);
}
BENCHMARK(BM_HookFineWheelSteps);

void BM_HookButtonClicks(benchmark::State &state) { AlternatingEvents(state, 519, 0, 520, 0); }
BENCHMARK(BM_HookButtonClicks);

void BM_AllSixteenMonitorZonesMissed(benchmark::State &state) {
    const Rect32 monitors[] = {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
    for (auto _ : state)
        benchmark::DoNotOptimize(IsInAnyMonitorZone(0xFFFF, 0, monitors, 2, 10, 10, 960, 540));
}
BENCHMARK(BM_AllSixteenMonitorZonesMissed);

// Every zone of every monitor on, the cursor in none: the worst tick, per number of monitors
// (16 is the most the snapshot keeps).
void BM_EveryZoneOfNMonitorsMissed(benchmark::State &state) {
    Rect32 monitors[16];
    for (int i = 0; i < 16; ++i)
        monitors[i] = {1920 * i, 0, 1920 * (i + 1), 1080};
    const size_t count = static_cast<size_t>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(IsInAnyMonitorZone(0xFFFF, 0xFF, monitors, count, 10, 10, 960, 540));
}
BENCHMARK(BM_EveryZoneOfNMonitorsMissed)->Arg(3)->Arg(4)->Arg(16);

// A host whose log severity is below 7: trace lines are dropped before formatting.
class QuietHost : public TickHost {
public:
    void VTrace(const char *, va_list) override {}
    bool IsInHotZone(int32_t x, int32_t y) override {
        const Rect32 monitor = {0, 0, 1920, 1080};
        return IsInAnyMonitorZone(0xF, 0, &monitor, 1, 10, 10, x, y);
    }
    bool HostHasFocus() override { return false; }
    bool IsGestureHeldBack() override { return false; }
    void SendTrayInOut() override {}
    SystemButtons AskButtons() override { return {true, false, false, 0, {0, 0}}; }
    void WakeAfter(uint32_t) override {}
    bool SampleButtons(bool) override { return true; }
    uint32_t HeldModifierKeys() override { return 0; }
};

void BM_TimerTickMoveCycle(benchmark::State &state) {
    Settings cfg = DefaultSettings();
    QuietHost host;
    uint32_t now = 100000;
    for (auto _ : state) {
        now += 250;
        benchmark::DoNotOptimize(JudgeHook(now, {960, 540}, 0, true, true));
        RunTimerTick(now, {960, 540}, {960, 540}, cfg, host);
    }
}
BENCHMARK(BM_TimerTickMoveCycle);

void BM_LogLineFormatted(benchmark::State &state) {
    char line[LOG_LINE_SIZE];
    auto format = [&line](const char *fmt, ...) {
        va_list args;
        va_start(args, fmt);
        FormatLogLine(line, "Cursorwake", fmt, args);
        va_end(args);
    };
    for (auto _ : state) {
        format("point.x=%d y=%d", 1234, 567);
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_LogLineFormatted);

void BM_LogLineFiltered(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(SeverityPasses(7, 3));
}
BENCHMARK(BM_LogLineFiltered);

}  // namespace

BENCHMARK_MAIN();
