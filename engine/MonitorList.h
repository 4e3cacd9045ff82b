// The display monitors, for the hot zones and for placing the about box.
#pragma once
#include <windows.h>

#include <vector>

struct MonitorEntry {
    HMONITOR hmonitor;
    RECT monitor_rect;
    RECT work_rect;
};

// The display monitors: entry 0, monitor "1", is the primary; the others follow in the
// system's enumeration order.
class MonitorList {
public:
    MonitorList();
    virtual ~MonitorList() = default;
    int GetMonitorRect(unsigned index, RECT &out) const;
    int GetCursorMonitorRect(RECT &out) const;

private:
    static BOOL CALLBACK Collect(HMONITOR monitor, HDC, LPRECT, LPARAM self);
    std::vector<MonitorEntry> entries_;
};
