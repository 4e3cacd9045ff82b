// The display monitors, for the hot zones and for placing the about box.
#pragma once
#include <windows.h>

#include <cstddef>

struct MonitorEntry {
    HMONITOR hmonitor;
    RECT monitor_rect;
};

// The display monitors: entry 0, monitor "1", is the primary; the others follow in the
// system's enumeration order. The list keeps no more than MONITOR_LIST_CAP: a desk with more
// has the primary and the next fifteen that the system lists, and the rest have no hot zones.
constexpr size_t MONITOR_LIST_CAP = 16;

class MonitorList {
public:
    MonitorList();
    virtual ~MonitorList() = default;
    size_t Count() const { return count_; }
    int GetMonitorRect(unsigned index, RECT &out) const;
    int GetCursorMonitorRect(RECT &out) const;

private:
    static BOOL CALLBACK Collect(HMONITOR monitor, HDC, LPRECT, LPARAM self);
    MonitorEntry entries_[MONITOR_LIST_CAP] = {};
    size_t count_ = 0;
};
