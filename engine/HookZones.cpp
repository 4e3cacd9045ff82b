#include "engine/HookZones.h"

HookZoneSnapshot g_hook_zones;

void HookZoneSnapshot::SharedRect::Store(const Rect32 &r) {
    left.store(r.left, std::memory_order_relaxed);
    top.store(r.top, std::memory_order_relaxed);
    right.store(r.right, std::memory_order_relaxed);
    bottom.store(r.bottom, std::memory_order_relaxed);
}

bool HookZoneSnapshot::SharedRect::Holds(int32_t x, int32_t y) const {
    return left.load(std::memory_order_relaxed) <= x && x <= right.load(std::memory_order_relaxed) &&
           top.load(std::memory_order_relaxed) <= y && y <= bottom.load(std::memory_order_relaxed);
}

bool HookZoneSnapshot::SharedRect::HoldsPixel(int32_t x, int32_t y) const {
    return left.load(std::memory_order_relaxed) <= x && x < right.load(std::memory_order_relaxed) &&
           top.load(std::memory_order_relaxed) <= y && y < bottom.load(std::memory_order_relaxed);
}

void HookZoneSnapshot::Publish(const Rect32 *monitors, size_t count, const Settings &cfg) {
    const uint32_t sequence = sequence_.load(std::memory_order_relaxed);
    sequence_.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);   // odd before any field changes
    if (count > HOOK_MONITOR_CAP)
        count = HOOK_MONITOR_CAP;
    uint32_t zones = 0;
    bool pushes = false;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t bits = MonitorZoneBits(cfg.move.onmove, cfg.move.onmove_others, i);
        Rect32 rects[MONITOR_ZONE_COUNT];
        MonitorZoneRects(monitors[i], cfg.move.width, cfg.move.height, rects);
        for (size_t z = 0; z < MONITOR_ZONE_COUNT; ++z) {
            if (!(bits >> z & 1))
                continue;
            zones_[zones++].Store(rects[z]);
            pushes |= (cfg.move.push & (IsCornerZone(z) ? MOVE_PUSH_CORNERS : MOVE_PUSH_EDGES)) != 0;
        }
        monitors_[i].Store(monitors[i]);
    }
    monitor_count_.store(zones ? static_cast<uint32_t>(count) : 0, std::memory_order_relaxed);
    zone_count_.store(zones, std::memory_order_relaxed);
    pushes_.store(pushes, std::memory_order_relaxed);
    sequence_.store(sequence + 2, std::memory_order_release);
    Recheck();   // where the hook's last move ended is told in the old snapshot's numbers
}

int32_t HookZoneSnapshot::Where(int32_t x, int32_t y) const {
    const uint32_t sequence = sequence_.load(std::memory_order_acquire);
    if (sequence & 1)
        return MOVE_UNSURE;
    int32_t where = MOVE_IN_NO_ZONE;
    const uint32_t monitors = monitor_count_.load(std::memory_order_relaxed);
    bool on_a_monitor = monitors == 0;
    for (uint32_t i = 0; i < monitors && !on_a_monitor; ++i)
        on_a_monitor = monitors_[i].HoldsPixel(x, y);
    if (!on_a_monitor) {
        where = pushes_.load(std::memory_order_relaxed) ? MOVE_PUSHING : MOVE_BEYOND;
    } else {
        const uint32_t zones = zone_count_.load(std::memory_order_relaxed);
        for (uint32_t i = 0; i < zones; ++i)
            if (zones_[i].Holds(x, y)) {
                where = static_cast<int32_t>(i) + 1;
                break;
            }
    }
    std::atomic_thread_fence(std::memory_order_acquire);   // the fields read before the count again
    return sequence_.load(std::memory_order_relaxed) == sequence ? where : MOVE_UNSURE;
}

bool TakeMove(HookZoneSnapshot &zones, HookMoves &moves, Point32 pt, Point32 &from) {
    const bool recheck = zones.TakeRecheck();
    const int32_t where = zones.Where(pt.x, pt.y);
    const bool queued = recheck || where != moves.where || where == MOVE_PUSHING || where == MOVE_UNSURE;
    from = moves.last;
    moves.last = pt;
    moves.where = where;
    return queued;
}
