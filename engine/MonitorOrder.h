// The order in which the plug-in counts monitors.
#pragma once
#include <cstddef>

// Monitor "1" is the primary, wherever the system lists it (Windows promises no order); the
// others follow in the order in which the system lists them. `count` of the N entries are in
// use; a full list takes no more, except the primary, which pushes the last one out.
template <typename Entry, size_t N>
void AddInMonitorOrder(Entry (&entries)[N], size_t &count, const Entry &entry, bool is_primary) {
    if (!is_primary) {
        if (count < N)
            entries[count++] = entry;
        return;
    }
    if (count < N)
        ++count;
    for (size_t i = count - 1; i > 0; --i)
        entries[i] = entries[i - 1];
    entries[0] = entry;
}
