#include "engine/MonitorList.h"

#include "engine/MonitorOrder.h"

MonitorList::MonitorList() {
    EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK MonitorList::Collect(HMONITOR monitor, HDC, LPRECT, LPARAM self) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    MonitorList &list = *reinterpret_cast<MonitorList *>(self);
    AddInMonitorOrder(list.entries_, list.count_, {monitor, info.rcMonitor},
                      (info.dwFlags & MONITORINFOF_PRIMARY) != 0);
    return TRUE;
}

int MonitorList::GetMonitorRect(unsigned index, RECT &out) const {
    if (index >= count_ || !entries_[index].hmonitor)
        return -1;
    out = entries_[index].monitor_rect;
    return 0;
}

int MonitorList::GetCursorMonitorRect(RECT &out) const {
    POINT cursor = {};
    GetCursorPos(&cursor);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &info);
    out = info.rcMonitor;
    return 0;
}
