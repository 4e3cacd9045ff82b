// What one tick of the engine's timer decides: the dwell in a hot zone and the completion of
// a long press. The host and the screen are reached through TickHost, so that the decisions
// run the same in the plug-in and in native tests.
#pragma once
#include <cstdarg>
#include <cstdint>

#include "engine/Gestures.h"

constexpr uint32_t ACTIVATION_COOL_DOWN_MS = 1000;
// How often the system's buttons are asked while a visit to a hot zone waits.
constexpr uint32_t VISIT_SAMPLE_MS = 15;

// The physical mouse buttons as the system knows them, whatever window they went to and however
// they are swapped: all five of them, asked at once.
struct SystemButtons {
    bool known;     // false where the system cannot tell (input goes to another desktop)
    bool down;      // a button is down now
    bool pressed;   // a button went down since the last time anyone asked
    // The system's last-input time and the cursor, asked with the buttons: where the window in
    // front is of a higher integrity level, the buttons read all up, whatever they do.
    uint32_t last_input;
    Point32 cursor;
};

class TickHost {
public:
    virtual ~TickHost() = default;
    virtual void VTrace(const char *format, va_list args) = 0;
    virtual bool IsInHotZone(int32_t x, int32_t y) = 0;
    virtual bool HostHasFocus() = 0;          // false when the host cannot tell
    virtual bool IsGestureHeldBack() = 0;     // full screen in front, as the settings say
    virtual void SendTrayInOut() = 0;
    virtual SystemButtons AskButtons() = 0;
    // The visit's wait ends between two ticks: RunVisitWake is to run `ms` from now. A later
    // request replaces an earlier one.
    virtual void WakeAfter(uint32_t ms) = 0;
    // RunButtonSample is to run every VISIT_SAMPLE_MS from now on, or no more; false when it
    // cannot be arranged.
    virtual bool SampleButtons(bool on) = 0;
    // The MODIFIER_* keys that the system reports down now (either key of a pair); none where it
    // cannot report them (an elevated window in front, input to another desktop).
    virtual uint32_t HeldModifierKeys() = 0;

    void Trace(const char *format, ...) __attribute__((format(printf, 2, 3)));
};

extern bool g_last_in_zone;

// With ClickGuard on, a hot zone answers a cursor that rests in it, not one that clicks or drags
// there. A visit begins at the move that brought the cursor into a zone, when the hook saw it
// (ZoneMoves), or else at the first tick that finds the cursor in a zone (the hook blind, a
// program moved the cursor), and ends at the first move, tick or end of its wait that finds it in
// none. It activates once at most, `Delay` ms after it began, and only if no button was down at
// any moment since the arrival the hook saw, or else since the last tick that found the cursor
// outside: neither a press or a release from the hook's queue (those of touch and pen
// count too, and so do those queued after the engine last took the queue), nor one that the
// system reports. A visit that cannot activate (a button, buttons that cannot be known, the
// cool-down, the focus, full screen) is spent until the cursor leaves every zone.
//
// The hook does not see every click: none while it is lost or not yet put back, none into a
// window of a higher integrity level, none that a full queue drops. So the system is asked too:
// at the tick that begins a visit, every VISIT_SAMPLE_MS while it waits, and when it decides.
// Its "pressed since the last ask" catches a click between two asks, whoever saw it. The tick
// that begins a visit reaches back to the last ask: ticks that know the hook blind
// (HookWatch::blind) ask too, and so does every tick after the hook counted a button since the
// last ask, so that a press of the hook's before the last tick outside is no longer reported;
// where neither happened, it reaches back further and errs toward spending the visit.
//
// Where the input goes to a window whose input the hook is not given (HookWatch::withheld), the
// system answers every ask with the buttons up: there the visit is judged by the system's
// last-input time instead, and input during its wait that did not move the cursor (a click, a
// key, the wheel) spends it.
struct ZoneVisit {
    bool inside;        // the last look found the cursor in a zone
    bool decided;       // this visit has activated or is spent
    uint32_t start;     // the tick of the look that began it
    bool button;        // a button went down or up since the last tick that found it outside
    bool unknown;       // the system could not tell the buttons during the visit
    uint32_t last_input;  // the system's last-input time at the visit's last ask
    Point32 cursor;       // and the cursor then
};
extern ZoneVisit g_visit;

// The hook's count of button events (g_hook_buttons) when the engine last took its queue, and
// when the system was last asked.
struct ButtonCounts {
    uint32_t taken, asked;
};
extern ButtonCounts g_button_counts;

// On the engine's thread, as it begins to take the hook's queue: the hook's count of button
// events then (g_hook_buttons); every one of them is in the queue or was dropped.
void NoteQueueTaken(uint32_t buttons_counted);
// On the engine's thread, for each event the hook queued, before recognition; and for a full
// queue, whose dropped events may have been buttons.
void NoteQueuedEventForVisit(uint32_t msg);
// The engine starts, or is set up again: no visit is under way and no button has been seen. The
// system is asked once, so that a press it reports later came after this.
void ForgetVisit(TickHost &host);

// What every answer of a zone needs, a rest's and a push's alike: the keys that Modifier chooses
// are held, the pause after the last activation of any gesture has run out, Velkora is not in
// front already, and nothing holds the gestures back (full screen, a program listed in Exclude).
void ActivateForZone(uint32_t now, const Settings &cfg, TickHost &host);
// The system's word on the buttons: one down now, or a press since the last ask, whoever saw it.
// Where the system cannot tell, the visit notes it (ZoneVisit::unknown).
bool SystemSawButton(TickHost &host);
// The same where something begins that counts presses from then on (a visit at the arrival the
// hook saw, a push): true for a button down now. A press that the system marked since the last ask
// came before it, and goes to the visit under way, if any.
bool SystemHoldsButton(TickHost &host);
// The visit's one chance: it activates, or it is spent while it lasts.
void DecideVisit(uint32_t now, const Settings &cfg, TickHost &host);

// `point` is the cursor as GetCursorPos gives it, in the same pixels as the monitor rectangles of
// the hot zones; `physical` is the cursor in the physical pixels of the hook's events, which the
// long press compares with the point of its down event. The two differ on a scaled display when
// the host is not DPI-aware.
void RunTimerTick(uint32_t now, Point32 point, Point32 physical, const Settings &cfg, TickHost &host);
// The wait that TickHost::WakeAfter asked for has ended: the visit under way, if any, decides.
void RunVisitWake(uint32_t now, Point32 point, const Settings &cfg, TickHost &host);
// One of the samples that TickHost::SampleButtons asked for.
void RunButtonSample(TickHost &host);

// The system may remove a low-level hook without a word (hooks that kept it waiting, session
// switches, resume from sleep). A tick suspects a loss when the cursor moved since the last tick,
// the hook saw no event and the system's last-input time advanced: on Windows a program's
// SetCursorPos is no input, so a live hook would have seen whatever moved the cursor; under Wine
// SetCursorPos counts as input too, and keyboard input with a program moving the cursor looks the
// same. The suspicion is then settled by a probe, a zero-distance move injected by the plug-in,
// which a live hook sees before the next tick and a lost one does not; only a probe gone unseen
// has the hook re-installed. A probe resets the system's idle time, but only after input has
// done so anyway. Probes and re-installs keep their distance: HOOK_BACKOFF_FIRST_MS at first,
// doubled with each re-install of a run up to HOOK_BACKOFF_MAX_MS. A re-install less than twice
// the current distance after the last one continues its run.
//
// Some input reaches no hook of the host's: input to a window of a higher integrity level (an
// elevated program) is neither seen by the hook nor open to the probe, and the lock screen and
// the secure desktop of an elevation prompt leave no foreground window of the user's at all. A
// tick with such a window in front, or none, is inconclusive: it sends no probe, gives no
// verdict and grows no back-off, and the tick after it only takes the cursor and the last-input
// time afresh.
constexpr uint32_t HOOK_BACKOFF_FIRST_MS = 5000;
constexpr uint32_t HOOK_BACKOFF_MAX_MS = 300000;
// A hook that the system refused to install is tried again at most this often.
constexpr uint32_t HOOK_INSTALL_RETRY_MS = 5000;

enum HookVerdict {
    HOOK_WELL,
    HOOK_PROBE,            // inject the probe now
    HOOK_LOST,             // re-install now, logged at HookWatch::lost_severity
    HOOK_INSTALL_AGAIN,    // no hook since a refused installation: try again now
};

struct HookWatch {
    bool has_point;             // false until the first tick after the hook went in
    Point32 point;              // the cursor at the previous tick
    uint32_t last_input;        // the system's last-input time at the previous tick
    bool probing;               // a probe went out at the previous tick
    bool has_acted;
    uint32_t act_tick;          // the last probe or re-install
    uint32_t spacing;           // the back-off: 0 reads as HOOK_BACKOFF_FIRST_MS
    bool has_reinstalled;
    uint32_t reinstall_tick;
    int lost_severity;          // of the line for the re-install just decided: 3 first, then 7
    uint32_t install_failed_tick;
    // This tick knows that the hook missed input or may have: none is installed, the input went
    // where no hook of the host's is given it, or the cursor moved by input the hook did not see.
    bool blind;
    // This tick found the input going where no hook of the host's is given it (an inconclusive
    // tick with a hook installed): there the system may answer every ask with the buttons up.
    bool withheld;
};

extern HookWatch g_hook_watch;

// A fresh hook: the next tick only takes the cursor's position and the last-input time.
void WatchNewHook();
// The system refused to inject the probe just decided: it proves nothing.
void WatchProbeRefused();
// The system refused the hook at `now`.
void WatchFailedInstall(uint32_t now);

// One tick's look at the hook, with the tick's clock, cursor and last-input time, whether a hook
// is installed, and whether the window in front is one whose input the hook can see.
// Clears g_hook_saw_event for the next interval.
HookVerdict JudgeHook(uint32_t now, Point32 cursor, uint32_t last_input, bool installed, bool conclusive);
