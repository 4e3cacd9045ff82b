#include "engine/HookQueue.h"

HookQueue g_hook_queue;

bool HookQueue::Push(const HookEvent &event) {
    const uint32_t written = written_.load(std::memory_order_relaxed);
    if (written - read_.load(std::memory_order_acquire) >= HOOK_QUEUE_SIZE) {
        dropped_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    events_[written % HOOK_QUEUE_SIZE] = event;
    written_.store(written + 1, std::memory_order_release);
    return true;
}

bool HookQueue::Pop(HookEvent &event) {
    const uint32_t read = read_.load(std::memory_order_relaxed);
    if (read == written_.load(std::memory_order_acquire))
        return false;
    event = events_[read % HOOK_QUEUE_SIZE];
    read_.store(read + 1, std::memory_order_release);
    return true;
}
