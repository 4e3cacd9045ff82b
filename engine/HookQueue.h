// The gesture events of the hook thread on their way to the engine's thread: a fixed ring with
// one writer (the hook thread) and one reader (the engine's thread), without lock or allocation.
// A full ring drops the event and counts it.
#pragma once
#include <atomic>
#include <cstdint>

#include "engine/Gestures.h"

// What recognition needs of one event: the message, MSLLHOOKSTRUCT's pt, mouseData and time, the
// tick count when the hook saw it, and whether Windows made it from touch or pen input; for a move,
// the point of the hook's move before it.
struct HookEvent {
    uint32_t msg;
    Point32 pt;
    uint32_t mouse_data;
    uint32_t time;
    uint32_t now;
    bool touch_or_pen;
    Point32 from;
};

constexpr uint32_t HOOK_QUEUE_SIZE = 256;   // a power of two

class HookQueue {
public:
    // The writer: false when the ring is full and the event is dropped.
    bool Push(const HookEvent &event);
    // The writer, after each Push: true when the reader is to be woken. It is woken once, until it
    // takes the wake.
    bool NeedsWake() { return !wake_pending_.exchange(true); }

    // The reader, before it reads: events pushed from now on wake it again.
    void TakeWake() { wake_pending_.store(false); }
    bool Pop(HookEvent &event);
    // The events dropped since the last call.
    uint32_t TakeDropped() { return dropped_.exchange(0); }

private:
    HookEvent events_[HOOK_QUEUE_SIZE] = {};
    std::atomic<uint32_t> written_{0}, read_{0}, dropped_{0};
    std::atomic<bool> wake_pending_{false};
};

extern HookQueue g_hook_queue;
