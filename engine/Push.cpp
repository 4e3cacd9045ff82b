#include "engine/Push.h"

PushState g_push = {0, NO_PUSH, false, false, {}, 0, 0, 0};

static int64_t Clamp(int64_t v, int64_t low, int64_t high) { return v < low ? low : v > high ? high : v; }

static Point32 CursorOnTheDesktop(const Rect32 *monitors, size_t count, Point32 pt, size_t &monitor) {
    Point32 nearest = pt;
    int64_t best = -1;
    monitor = 0;
    for (size_t i = 0; i < count; ++i) {
        const Rect32 &m = monitors[i];
        if (m.right <= m.left || m.bottom <= m.top)
            continue;
        const int64_t x = Clamp(pt.x, m.left, int64_t{m.right} - 1), y = Clamp(pt.y, m.top, int64_t{m.bottom} - 1);
        const int64_t distance = (x > pt.x ? x - pt.x : pt.x - x) + (y > pt.y ? y - pt.y : pt.y - y);
        if (best < 0 || distance < best) {
            best = distance;
            monitor = i;
            nearest = {static_cast<int32_t>(x), static_cast<int32_t>(y)};
        }
    }
    return nearest;
}

static int32_t Distance(int32_t a, int32_t b) {
    const int64_t d = int64_t{a} - b;
    return static_cast<int32_t>(Clamp(d < 0 ? -d : d, 0, INT32_MAX));
}

PushStep MeasurePush(const Settings &cfg, const Rect32 *monitors, size_t count, Point32 from, Point32 pt) {
    size_t m;
    const Point32 cursor = CursorOnTheDesktop(monitors, count, pt, m);
    const PushStep none = {0, NO_PUSH, 0, cursor};
    if (count == 0)
        return none;
    const uint32_t bits = MonitorZoneBits(cfg.move.onmove, cfg.move.onmove_others, m);
    Rect32 zones[MONITOR_ZONE_COUNT];
    MonitorZoneRects(monitors[m], cfg.move.width, cfg.move.height, zones);
    const int32_t beyond_x = Distance(pt.x, cursor.x), beyond_y = Distance(pt.y, cursor.y);
    // The edge pushed hardest: its strip, or the corner it bounds.
    const bool across_x = beyond_x >= beyond_y;
    const int32_t across = across_x ? beyond_x : beyond_y;
    const int32_t along = across_x ? Distance(pt.y, from.y) : Distance(pt.x, from.x);
    int32_t zone = NO_PUSH;
    if (cfg.move.push & MOVE_PUSH_CORNERS)
        for (size_t z = ZONE_LT; z < ZONE_T && zone == NO_PUSH; ++z)
            if ((bits >> z & 1) && IsInRect(zones[z], cursor.x, cursor.y))
                zone = static_cast<int32_t>(z);
    if (zone == NO_PUSH && (cfg.move.push & MOVE_PUSH_EDGES)) {
        const size_t strip = across_x ? (pt.x < cursor.x ? ZONE_L : ZONE_R) : (pt.y < cursor.y ? ZONE_T : ZONE_B);
        if (bits >> strip & 1)
            zone = static_cast<int32_t>(strip);
    }
    if (zone == NO_PUSH)
        return none;
    return {static_cast<int32_t>(m), zone, along > across ? 0 : (across < PUSH_STEP_MAX ? across : PUSH_STEP_MAX),
            cursor};
}

static void StartAfresh(PushState &push, int32_t monitor, int32_t zone) {
    push.monitor = monitor;
    push.zone = zone;
    push.spent = false;
    push.button = false;
    push.first = push.count = 0;
    push.sum = 0;
}

bool AddPush(PushState &push, const PushStep &step, uint32_t now, int32_t distance) {
    if (IsAnotherZone(push, step))
        StartAfresh(push, step.monitor, step.zone);
    if (push.zone == NO_PUSH || push.spent)
        return false;
    while (push.count && now - push.samples[push.first].time >= PUSH_WINDOW_MS) {
        push.sum -= push.samples[push.first].px;
        push.first = (push.first + 1) % PUSH_SAMPLES;
        --push.count;
    }
    PushSample *newest = push.count ? &push.samples[(push.first + push.count - 1) % PUSH_SAMPLES] : nullptr;
    if (newest && now - newest->time < PUSH_SAMPLE_MS) {
        newest->px += step.px;
    } else {
        if (push.count == PUSH_SAMPLES) {   // cannot happen within PUSH_WINDOW_MS; the oldest goes
            push.sum -= push.samples[push.first].px;
            push.first = (push.first + 1) % PUSH_SAMPLES;
            --push.count;
        }
        push.samples[(push.first + push.count) % PUSH_SAMPLES] = {now, step.px};
        ++push.count;
    }
    push.sum += step.px;
    return push.sum >= (distance > 0 ? distance : PUSH_DISTANCE_DEFAULT);
}

void NoteMoveOnDesktop(PushState &push, const Settings &cfg, const Rect32 *monitors, size_t count, Point32 pt) {
    if (push.zone == NO_PUSH)
        return;
    Rect32 zones[MONITOR_ZONE_COUNT];
    if (static_cast<size_t>(push.monitor) < count) {
        MonitorZoneRects(monitors[push.monitor], cfg.move.width, cfg.move.height, zones);
        if (IsInRect(zones[push.zone], pt.x, pt.y))
            return;
    }
    ForgetPush(push);
}

void ForgetPush(PushState &push) { StartAfresh(push, 0, NO_PUSH); }
