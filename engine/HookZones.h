// What the hook makes of a move. The engine's thread publishes the monitors and the zones switched
// on; the hook looks each move up there and queues it only when it enters or leaves a zone, or when
// its point lies beyond every monitor (a push against the desktop's outer edge). Every other move
// costs the look and nothing else: no system call, no allocation, no lock, no wait.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "engine/Gestures.h"
#include "engine/HotZones.h"

constexpr size_t HOOK_MONITOR_CAP = 16;   // as many monitors as the engine counts
constexpr size_t HOOK_ZONE_CAP = HOOK_MONITOR_CAP * MONITOR_ZONE_COUNT;

// Where a move ends for the hook: in no zone, in one (its place in the snapshot, from 1), beyond
// every monitor where some zone answers a push or where none does, or not known: the look
// overlapped an update of the snapshot.
enum : int32_t { MOVE_IN_NO_ZONE = 0, MOVE_PUSHING = -1, MOVE_BEYOND = -2, MOVE_UNSURE = -3 };

// One writer (the engine's thread), one reader (the hook's), no lock. A sequence count, odd while
// an update is under way, is read before and after each look: a look that overlapped an update
// is known, and taken as unsure. The fields are relaxed atomics, the processor's plain loads.
class HookZoneSnapshot {
public:
    // The engine's thread: the zones of `cfg` over `count` monitors, in the pixels of the hook's
    // points. No zone switched on publishes no monitor either: nothing is queued then.
    void Publish(const Rect32 *monitors, size_t count, const Settings &cfg);
    // The hook's thread.
    int32_t Where(int32_t x, int32_t y) const;
    // The engine's thread: the hook's idea of where the cursor is may be stale (a program moved
    // the cursor, which no hook sees); its next move is queued whatever it does.
    void Recheck() { recheck_.store(true, std::memory_order_relaxed); }
    bool TakeRecheck() {
        return recheck_.load(std::memory_order_relaxed) && recheck_.exchange(false, std::memory_order_relaxed);
    }

private:
    struct SharedRect {
        std::atomic<int32_t> left, top, right, bottom;
        void Store(const Rect32 &r);
        bool Holds(int32_t x, int32_t y) const;        // bounds inclusive, as the zones
        bool HoldsPixel(int32_t x, int32_t y) const;   // right and bottom excluded, as a monitor
    };
    std::atomic<uint32_t> sequence_{0};
    std::atomic<uint32_t> monitor_count_{0}, zone_count_{0};
    std::atomic<bool> pushes_{false};
    std::atomic<bool> recheck_{false};
    SharedRect monitors_[HOOK_MONITOR_CAP] = {};
    SharedRect zones_[HOOK_ZONE_CAP] = {};
};

extern HookZoneSnapshot g_hook_zones;

// The hook thread's record of the moves it has seen.
struct HookMoves {
    int32_t where = MOVE_UNSURE;
    Point32 last = {0, 0};
};

// The move to `pt`: true when it is to be queued, with `from` the point of the move before it.
bool TakeMove(HookZoneSnapshot &zones, HookMoves &moves, Point32 pt, Point32 &from);
