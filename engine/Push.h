// A push against the desktop's outer edge: the user keeps moving the mouse beyond the edge, which
// a parked or passing cursor never does. For a relative move there the hook's point is where the
// move asks the cursor to go, beyond the edge, while the cursor stays on it; an absolute move
// (remote desktop, pens, tablets) never lies beyond it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "engine/Gestures.h"
#include "engine/HotZones.h"

constexpr uint32_t PUSH_WINDOW_MS = 1000;   // push older than this falls away
constexpr int32_t PUSH_STEP_MAX = 15;       // counted of one move at most
// Steps this close together count as one sample of the window (Windows' clock moves in steps of
// 15-16 ms), so that a second's samples fit PUSH_SAMPLES however fast the mouse reports.
constexpr uint32_t PUSH_SAMPLE_MS = 16;
constexpr size_t PUSH_SAMPLES = 64;

// The zone that a move to `pt`, beyond every monitor, pushes, and how far: how far `pt` lies beyond
// the edge, across it, at most PUSH_STEP_MAX, and nothing for a move from `from` that slides
// along the edge more than it pushes across. An edge strip is pushed with Push bit 0, a corner
// with bit 1, by moves beyond either of its edges while the cursor is in its square. The cursor
// stands on the pixel of the nearest monitor nearest to `pt`.
constexpr int32_t NO_PUSH = -1;
struct PushStep {
    int32_t monitor, zone;   // zone NO_PUSH: none
    int32_t px;
    Point32 cursor;
};
PushStep MeasurePush(const Settings &cfg, const Rect32 *monitors, size_t count, Point32 from, Point32 pt);

struct PushSample {
    uint32_t time;
    int32_t px;
};

// The push of one zone since the cursor reached it.
struct PushState {
    int32_t monitor, zone;   // zone NO_PUSH: none
    bool spent;              // answered or refused: armed again once the cursor has left the zone
    bool button;             // a button went down or up since the cursor reached the zone
    PushSample samples[PUSH_SAMPLES];
    uint32_t first, count;
    int32_t sum;             // of the samples
};
extern PushState g_push;

// A step of another zone (or of none) than the one pushed so far.
inline bool IsAnotherZone(const PushState &push, const PushStep &step) {
    return step.zone != push.zone || step.monitor != push.monitor;
}

// One step at `now`; true when the push within the last PUSH_WINDOW_MS reaches `distance`, and the
// zone was armed. A step of another zone (or of none) starts afresh.
bool AddPush(PushState &push, const PushStep &step, uint32_t now, int32_t distance);
// No zone pushed: at set-up, and when the cursor has left the zone.
void ForgetPush(PushState &push);
// A move to `pt` on the desktop: a zone the cursor has left is armed again.
void NoteMoveOnDesktop(PushState &push, const Settings &cfg, const Rect32 *monitors, size_t count, Point32 pt);
