// The timer's tick: takes the events the hook has queued, reads the clock and the cursor, looks at
// the hook, and lets the tick's decisions run against the real host and screen; and the wake
// that ends a visit's wait between two ticks.
#include "base/ProcAddress.h"
#include "engine/Engine.h"
#include "engine/FullScreen.h"
#include "engine/HookZones.h"
#include "engine/TimerTick.h"
#include "engine/ZoneMoves.h"
#include "hostapi/VelkApi.h"
#include "settings/Settings.h"

namespace {
class PluginTickHost : public TickHost {
public:
    void VTrace(const char *format, va_list args) override {
        g_VelkApi.VPrint(7, g_VelkApi.log_tag, format, args);
    }
    bool IsInHotZone(int32_t x, int32_t y) override { return ::IsInHotZone(x, y); }
    bool HostHasFocus() override {
        VelkStatus stat = {};
        if (g_VelkApi.GetStatus)
            g_VelkApi.GetStatus(&stat);
        return stat.has_focus != 0;
    }
    bool IsGestureHeldBack() override { return ::IsGestureHeldBack(); }
    void SendTrayInOut() override { RequestTrayInOut(); }
    // GetAsyncKeyState reads the physical buttons, whichever window has them and however they
    // are swapped; its low bit says "pressed since the last call for that key", by any thread.
    // Where the input goes to another desktop (the lock screen, an elevation prompt's secure
    // desktop) it reads every button up, and that desktop is closed to the host; with a window of
    // a higher integrity level in front it reads them up too, but the last-input time, which
    // covers every window, still moves.
    SystemButtons AskButtons() override {
        static const int BUTTONS[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2};
        SystemButtons buttons = {false, false, false, 0, {0, 0}};
        if (HDESK input_desktop = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS)) {
            CloseDesktop(input_desktop);
            buttons.known = true;
        }
        for (int button : BUTTONS) {
            const SHORT state = GetAsyncKeyState(button);
            buttons.down |= (state & 0x8000) != 0;
            buttons.pressed |= (state & 0x0001) != 0;
        }
        // The cursor before the last-input time: a move between the two then shows as a move at
        // the next ask, not as input that left the cursor in place.
        POINT cursor;
        if (GetCursorPos(&cursor))
            buttons.cursor = {cursor.x, cursor.y};
        LASTINPUTINFO input = {};
        input.cbSize = sizeof input;
        if (GetLastInputInfo(&input))
            buttons.last_input = input.dwTime;
        return buttons;
    }
    // GetAsyncKeyState answers 0, as for a key that is up, where the input goes to a window of a
    // higher integrity level or to another desktop: there no key is held.
    uint32_t HeldModifierKeys() override {
        static const struct {
            int key;
            uint32_t bit;
        } KEYS[] = {{VK_SHIFT, MODIFIER_SHIFT}, {VK_CONTROL, MODIFIER_CTRL}, {VK_MENU, MODIFIER_ALT},
                    {VK_LWIN, MODIFIER_WIN},    {VK_RWIN, MODIFIER_WIN}};
        uint32_t held = 0;
        for (const auto &k : KEYS)
            if (GetAsyncKeyState(k.key) & 0x8000)
                held |= k.bit;
        return held;
    }
    void WakeAfter(uint32_t ms) override { StartVisitWake(ms); }
    bool SampleButtons(bool on) override { return SampleButtonsOfVisit(on); }
};

typedef BOOL(WINAPI *GetPhysicalCursorPosProc)(POINT *);
GetPhysicalCursorPosProc g_get_physical_cursor_pos;
bool g_looked_up_physical_cursor_pos;

// The cursor in physical pixels, as the hook's events give it. GetCursorPos gives pixels scaled
// for a host that is not DPI-aware; GetPhysicalCursorPos (Windows Vista and later) does not.
Point32 PhysicalCursorPos(POINT scaled) {
    if (!g_looked_up_physical_cursor_pos) {
        g_looked_up_physical_cursor_pos = true;
        if (HMODULE user32 = GetModuleHandleA("user32.dll"))
            g_get_physical_cursor_pos = ProcAddress<GetPhysicalCursorPosProc>(user32, "GetPhysicalCursorPos");
    }
    POINT physical;
    if (g_get_physical_cursor_pos && g_get_physical_cursor_pos(&physical))
        return {physical.x, physical.y};
    return {scaled.x, scaled.y};
}

// What a tick and a visit's wake begin with: the events the hook queued before them (they come
// first), then the clock and the cursor. False when there is nothing more to do: an activation
// called Velkora, which may have switched the plug-in off, suspended it or shown a dialog
// meanwhile, or the cursor cannot be read.
bool BeginLook(DWORD &now, POINT &point) {
    const unsigned stops = g_engine_stops;
    HandleQueuedMouseEvents();
    if (g_engine_stops != stops)
        return false;
    now = GetTickCount();
    return GetCursorPos(&point) != FALSE;
}
}  // namespace

// The engine window's one-shot timer: the wait of a visit to a hot zone is over.
void VisitWake() {
    DWORD now;
    POINT point;
    if (!BeginLook(now, point))
        return;
    PluginTickHost host;
    RunVisitWake(now, {point.x, point.y}, g_cfg, host);
}

void ForgetZoneVisit() {
    PluginTickHost host;
    ForgetVisit(host);
}

void TakeZoneMove(const ZoneMove &move) {
    PluginTickHost host;
    RunZoneMove(move, GetTickCount(), g_hook_monitor_rects, g_hook_monitor_count, g_cfg, host);
}

void ButtonSample() {
    PluginTickHost host;
    RunButtonSample(host);
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD) {
    DWORD now;
    POINT point;
    if (!BeginLook(now, point))
        return;
    // Putting a lost hook back may have taken seconds: the clock and the cursor are read again.
    if (WatchMouseHook(now, point)) {
        now = GetTickCount();
        if (!GetCursorPos(&point))
            return;
    }
    PluginTickHost host;
    const bool inside = g_visit.inside;
    RunTimerTick(now, {point.x, point.y}, PhysicalCursorPos(point), g_cfg, host);
    // The tick found the cursor where the hook did not: a program moved it.
    if (g_visit.inside != inside)
        g_hook_zones.Recheck();
}
