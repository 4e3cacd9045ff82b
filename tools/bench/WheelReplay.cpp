// How often the wheel gesture calls Velkora on wheel input that nobody meant as a jiggle, and
// whether it answers the jiggles that were meant: synthetic traces of hours of wheel use replayed
// through the recognition with simulated time, for BounceGuard 0 (none) and 30.
//
// The traces follow what recordings of ordinary mouse use show. Windows stamps input with a clock
// of 64 steps a second, so the time stamps move in steps of 15 or 16 ms. A worn wheel's encoder
// sends notches the other way while the wheel turns one way: mostly within the same clock step as
// the notch before (a bounce back and forth), some a step later, a few 20-60 ms later when the
// wheel settles back into its detent at the end of a burst. Healthy fast wheels send bursts 15-16
// ms apart without a turn inside them; hands turn back after 250 ms or more.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "engine/Gestures.h"

namespace {

struct Notch {
    uint32_t time;   // the event's time stamp
    int delta;
};

// Times in true milliseconds, stamped on the way out; the stamps start 17 minutes short of the
// tick count's wrap and go through it.
class Trace {
public:
    explicit Trace(uint64_t seed) : random_(seed) {}

    double Uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }
    bool Chance(double p) { return Uniform(0, 1) < p; }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    // Pauses of people at work: most short, some long.
    double Pause(double low, double mean) { return low + std::exponential_distribution<double>(1 / mean)(random_); }

    void Wait(double ms) { now_ += ms; }
    void Send(int delta) {
        const double CLOCK_STEP_MS = 1000.0 / 64;
        const uint32_t stamp = static_cast<uint32_t>(std::floor(now_ / CLOCK_STEP_MS) * CLOCK_STEP_MS);
        notches_.push_back({START + stamp, delta});
    }
    // A worn encoder's bounce on a notch `way`: back and forth within a few ms.
    void Bounce(int way) {
        Wait(Uniform(0, 3));
        Send(-way);
        Wait(Uniform(0, 3));
        Send(way);
    }
    double Hours() const { return now_ / 3600000.0; }
    const std::vector<Notch> &Notches() const { return notches_; }

private:
    static constexpr uint32_t START = 0xFFF00000u;
    std::mt19937_64 random_;
    double now_ = 0;
    std::vector<Notch> notches_;
};

const int FORWARD = 120, BACK = -120;

// Reading with a worn wheel: pages scrolled one way for minutes in bursts of notches, the encoder
// bouncing back on some notches and settling back at the end of some bursts.
Trace ChatteringWheel(double hours) {
    Trace t(26);
    while (t.Hours() < hours) {
        const int way = t.Chance(0.7) ? BACK : FORWARD;
        const double minutes = t.Uniform(1, 5), session_end = t.Hours() + minutes / 60;
        while (t.Hours() < session_end) {
            const int notches = t.Between(1, 16);
            for (int i = 0; i < notches; ++i) {
                t.Send(way);
                if (t.Chance(0.045)) {
                    t.Bounce(way);
                } else if (t.Chance(0.05)) {   // a notch read the wrong way round
                    t.Wait(t.Uniform(0, 4));
                    t.Send(-way);
                }
                t.Wait(t.Uniform(9, 24));
            }
            if (t.Chance(0.05)) {   // the wheel settles back into its detent
                t.Wait(t.Uniform(5, 45));
                t.Send(-way);
            }
            t.Wait(t.Pause(60, 1500));
        }
        t.Wait(t.Pause(20000, 300000));
    }
    return t;
}

// Bursts of notches one way, a turn now and then between them: the number of notches in a
// burst, the time between them, the chance of a turn, the pause before a turn and before the
// next burst the same way (the least and the mean).
struct Bursts {
    int fewest, most;
    double gap_low, gap_high;
    double turn_chance, turn_low, turn_mean, pause_low, pause_mean;
};

Trace BurstsOfNotches(uint64_t seed, double hours, const Bursts &b) {
    Trace t(seed);
    int way = BACK;
    while (t.Hours() < hours) {
        const int notches = t.Between(b.fewest, b.most);
        for (int i = 0; i < notches; ++i) {
            t.Send(way);
            t.Wait(t.Uniform(b.gap_low, b.gap_high));
        }
        if (t.Chance(b.turn_chance)) {
            way = -way;
            t.Wait(t.Pause(b.turn_low, b.turn_mean));
        } else {
            t.Wait(t.Pause(b.pause_low, b.pause_mean));
        }
    }
    return t;
}

// A free-spinning or quickly flicked wheel: long bursts 15-16 ms apart, turns only between them.
Trace HealthyFastWheel(double hours) { return BurstsOfNotches(27, hours, {5, 40, 8, 20, 0.3, 200, 2000, 200, 2000}); }

// Ordinary scrolling at a hand's pace: bursts of a few notches, and now and then a turn back,
// the quickest of them 250 ms after the notch before.
Trace HandScrolling(double hours) { return BurstsOfNotches(28, hours, {1, 10, 40, 150, 0.25, 250, 600, 250, 3000}); }

// Four alternating notches about `pace_ms` apart, some seconds between one jiggle and the next;
// on a worn wheel, each notch may bounce as it does in scrolling.
Trace DeliberateJiggles(double pace_ms, int jiggles, bool worn = false) {
    Trace t(29 + static_cast<uint64_t>(pace_ms));
    for (int j = 0; j < jiggles; ++j) {
        int way = t.Chance(0.5) ? FORWARD : BACK;
        for (int i = 0; i < 4; ++i) {
            t.Send(way);
            if (worn && t.Chance(0.1))
                t.Bounce(way);
            way = -way;
            t.Wait(i < 3 ? pace_ms * t.Uniform(0.9, 1.1) : t.Pause(2000, 5000));
        }
    }
    return t;
}

int Calls(const Trace &trace, int32_t onwheel, int32_t bounce_guard) {
    Settings cfg;
    ApplyDefaults(cfg);
    cfg.wheel.onwheel = onwheel;
    cfg.wheel.bounce_guard = bounce_guard;
    g_wheel = {};
    int calls = 0;
    for (const Notch &n : trace.Notches())
        calls += HandleMouseEvent(MOUSE_MSG_WHEEL, {0, 0}, static_cast<uint32_t>(n.delta) << 16, n.time, n.time, cfg);
    return calls;
}

// What the chattering trace holds, to set against the recordings.
void DescribeChatter(const Trace &trace) {
    int turns = 0, at_once = 0, under_20 = 0, in_runs = 0;
    const std::vector<Notch> &n = trace.Notches();
    for (size_t i = 1; i < n.size(); ++i) {
        if (n[i].delta == n[i - 1].delta)
            continue;
        ++turns;
        at_once += n[i].time == n[i - 1].time;
        under_20 += n[i].time - n[i - 1].time < 20;
    }
    // Runs of four or more notches each less than 50 ms after the one before.
    for (size_t start = 0, end; start < n.size(); start = end) {
        for (end = start + 1; end < n.size() && n[end].time - n[end - 1].time < 50;)
            ++end;
        if (end - start >= 4)
            in_runs += static_cast<int>(end - start);
    }
    std::printf("chattering wheel: %zu notches, %d turns: %.0f %% in the same clock step, %.0f %% under 20 ms; "
                "%.0f %% of the notches in runs of four or more less than 50 ms apart\n",
                n.size(), turns, 100.0 * at_once / turns, 100.0 * under_20 / turns, 100.0 * in_runs / n.size());
}

// Calls per hour of trace, and the calls themselves: of how many jiggles, for the jiggles.
void PrintRow(const char *name, const Trace &trace, int jiggles = 0) {
    std::printf("%-36s %6.0f", name, trace.Hours());
    for (int32_t onwheel : {1, 3})   // whole notches; fine steps too
        for (int32_t guard : {0, 30}) {
            const int calls = Calls(trace, onwheel, guard);
            char figure[40];
            if (jiggles)
                std::snprintf(figure, sizeof figure, "%.1f (%d/%d)", calls / trace.Hours(), calls, jiggles);
            else
                std::snprintf(figure, sizeof figure, "%.2f (%d)", calls / trace.Hours(), calls);
            std::printf("  %-19s", figure);
        }
    std::printf("\n");
}

}  // namespace

int main() {
    const double HOURS = 1000;
    const int JIGGLES = 1000;
    const Trace chatter = ChatteringWheel(HOURS);
    DescribeChatter(chatter);
    std::printf("\nWheel gesture: calls per hour of trace (calls)\n"
                "%-36s %6s  %-19s  %-19s  %-19s  %-19s\n", "trace", "hours", "OnWheel=1, guard 0",
                "OnWheel=1, guard 30", "OnWheel=3, guard 0", "OnWheel=3, guard 30");
    PrintRow("chattering wheel, scrolling one way", chatter);
    PrintRow("healthy fast wheel", HealthyFastWheel(HOURS));
    PrintRow("hand scrolling with turn-backs", HandScrolling(HOURS));
    for (double pace : {40, 60, 100, 250}) {
        char name[40];
        std::snprintf(name, sizeof name, "jiggles, %.0f ms a notch", pace);
        PrintRow(name, DeliberateJiggles(pace, JIGGLES), JIGGLES);
    }
    PrintRow("jiggles, 100 ms a notch, worn wheel", DeliberateJiggles(100, JIGGLES, true), JIGGLES);
    return 0;
}
