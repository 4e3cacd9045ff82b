// The activation engine's Win32 edge: the low-level mouse hook, the thread timer, the
// monitor snapshot and the host activation.
#pragma once
#include <windows.h>

#include "hostapi/VelkApi.h"

extern HHOOK g_handle_mouse_ll;
extern UINT_PTR g_timer_id;
extern RECT g_primary_rect;
extern RECT g_secondary_rect;
extern int g_has_secondary;
// Velkora's quick options, read at set-up and on each change; bytes 0 and 1 gate the frame zone.
extern VelkQuickOption g_quick_option;

// The module's own handle owns the hook; the engine keeps the one it was last started with.
void StartEngine(HINSTANCE module);
void StopEngine();
// The module leaves the process without a tear-down: nothing of it may stay behind to be
// called at an address that holds none of its code any more.
void ReleaseEngine();
bool InstallMouseHook();
void UninstallMouseHook();
// The system removed the hook behind the engine's back: a new one replaces it.
void ReinstallLostMouseHook();
void StartTimer(UINT period_ms);
void StopTimer();

LRESULT CALLBACK MouseHookProc(int code, WPARAM wparam, LPARAM lparam);
void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);

// The hook's activation: stores its tick, and has the host's "TrayInOut" hot key asked for
// from the engine's window once the hook has returned (at once when there is no window).
void ActivateHost(DWORD now);
void RequestTrayInOut();   // skipped when the host has no SendHotKey

// The engine's hidden window lives from the first start of the engine to tear-down or unload.
void CreateEngineWindow(HINSTANCE module);
void DestroyEngineWindow();   // on any thread; only the window's own can destroy it

// The wheel, the last activation and the zone edge start afresh at set-up; the button records
// keep what they hold.
void ResetGestureState();

// True, with a trace line, when the FullScreen setting holds a recognised gesture back.
bool IsGestureHeldBack();

void RefreshMonitorRects();
bool IsInHotZone(int x, int y);
