// The activation engine's Win32 edge: the low-level mouse hook on a thread of its own, the timer
// of the engine's window, the monitor snapshot and the host activation.
#pragma once
#include <windows.h>

#include <atomic>

#include "engine/HotZones.h"
#include "engine/MonitorList.h"
#include "hostapi/VelkApi.h"

extern HHOOK g_handle_mouse_ll;
// The monitors as the hot zones see them, counted as MonitorList counts them: entry 0 is
// monitor "1". Taken at set-up, at each enabling and at a change of the displays.
extern Rect32 g_monitor_rects[MONITOR_LIST_CAP];
extern size_t g_monitor_count;
// The same monitors in the pixels of the hook's points (physical ones), for the hook's snapshot
// of the zones and the moves it queues.
extern Rect32 g_hook_monitor_rects[MONITOR_LIST_CAP];
extern size_t g_hook_monitor_count;
// Velkora's quick options, read at set-up and on each change; bytes 0 and 1 gate the frame zone.
extern VelkQuickOption g_quick_option;

// The module's own handle owns the hook; the engine keeps the one it was last started with.
void StartEngine(HINSTANCE module);
void StopEngine();
// Counts the stops: a tick whose call into Velkora stopped the engine sees it and ends.
extern unsigned g_engine_stops;
// From a start of the enabled engine to its stop: whether the events the hook queued count.
extern bool g_engine_running;
// The module leaves the process without a tear-down, under the loader lock: nothing of it may
// stay behind to be called at an address that holds none of its code any more.
void ReleaseEngine();
bool InstallMouseHook();
void UninstallMouseHook();
void StartTimer(UINT period_ms);
void StopTimer();

// The hook thread (HookThread.cpp). StartHookThread returns the thread's hook, or null when the
// system refused it or the thread did not answer (it then leaves on its own). StopHookThread has
// the thread remove its hook and end; a thread that does not answer is left to do so on its own,
// and a later stop or end does not wait for it again. EndHookThread ends it whatever its hook's
// state; under the loader lock it does not wait for an answered thread to be gone. A leaving
// thread runs no code of the module.
enum HookStop {
    HOOK_STOPPED,            // the hook is removed and its thread has ended
    HOOK_STOPPED_WAS_GONE,   // the system had removed the hook already; its thread has ended
    HOOK_STOP_NO_ANSWER,     // no answer: the thread still has the request, and its hook
};
HHOOK StartHookThread(HINSTANCE module);
HookStop StopHookThread();
// True once a thread that did not answer a stop has left since, with its hook.
bool HookThreadHasLeft();
void EndHookThread(bool loader_lock_held);
// For the hook thread: where its events are announced; the engine window, once it exists.
extern std::atomic<HWND> g_hook_wake_window;
extern HHOOK g_hook_for_next;     // for the hook thread: its own hook, for CallNextHookEx

// Runs on the hook thread: queues the gesture events and passes every event on.
LRESULT CALLBACK MouseHookProc(int code, WPARAM wparam, LPARAM lparam);
// On the engine's thread: recognition of the queued events, in the order they came.
void HandleQueuedMouseEvents();
// The engine window's WM_TIMER.
void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
// The one-shot timer of the engine window (VISIT_WAKE_TIMER_ID), set for the end of the wait of a
// visit to a hot zone; setting it again replaces it, stopping the timer takes it too.
void StartVisitWake(UINT ms);
void VisitWake();
// No visit to a hot zone is under way; presses that the system reports from before do not count.
void ForgetZoneVisit();
// The repeating timer of the engine window (VISIT_SAMPLE_TIMER_ID) that asks the system for the
// buttons while a visit waits; false when it cannot be set. Stopping the timer takes it too.
bool SampleButtonsOfVisit(bool on);
void ButtonSample();
// One tick's look at the hook: probes it, re-installs a lost one, retries a refused one. True
// when it installed a hook, which may have taken a while.
bool WatchMouseHook(DWORD now, POINT cursor);

// Stores the tick of the activation, read now, and asks for the host's "TrayInOut" hot key.
void ActivateHost();
void RequestTrayInOut();   // skipped when the host has no SendHotKey

// The engine's hidden window, created at the engine's start when there is none, lives to
// tear-down or unload; its thread is the engine's.
void CreateEngineWindow(HINSTANCE module);
void DestroyEngineWindow();   // on any thread; only the window's own can destroy it
static const UINT WM_ENGINE_EVENTS = WM_APP + 1;   // the hook thread has queued events
static const UINT_PTR ENGINE_TIMER_ID = 1;
static const UINT_PTR VISIT_WAKE_TIMER_ID = 2;
static const UINT_PTR VISIT_SAMPLE_TIMER_ID = 3;

// The wheel, the last activation, the zone edge and the visit under way start afresh at set-up;
// the button records keep what they hold.
void ResetGestureState();

// A list that comes back empty (the system between two layouts) leaves the snapshot as it was.
// The hook's snapshot of the zones is published anew with it.
void RefreshMonitorRects();
// The monitors and the settings as they stand, for the hook (HookZones): at each start of the
// engine and each refresh of the monitors.
void PublishHookZones();
// On the engine's thread, for each move the hook queued (ZoneMoves).
struct ZoneMove;
void TakeZoneMove(const ZoneMove &move);
bool IsInHotZone(int x, int y);
