// The activation engine's Win32 edge: the low-level mouse hook, the thread timer, the
// monitor snapshot and the host activation.
#pragma once
#include <windows.h>

#include <vector>

extern HHOOK g_handle_mouse_ll;
extern UINT_PTR g_timer_id;
extern RECT g_primary_rect;
extern RECT g_secondary_rect;
extern int g_has_secondary;

void StartEngine();
void StopEngine();
bool InstallMouseHook();
void UninstallMouseHook();
void StartTimer(UINT period_ms);
void StopTimer();

LRESULT CALLBACK MouseHookProc(int code, WPARAM wparam, LPARAM lparam);
void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);

// Stores the tick of the activation, then asks the host for its "TrayInOut" hot key.
void ActivateHost(DWORD now);
void RequestTrayInOut();   // skipped when the host has no SendHotKey

struct MonitorEntry {
    HMONITOR hmonitor;
    RECT monitor_rect;
    RECT work_rect;
};

// The display monitors in the system's enumeration order; entry 0 is monitor "1".
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

void RefreshMonitorRects();
bool IsInHotZone(int x, int y);
