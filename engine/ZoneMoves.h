// What the hook's queued moves do to the hot zones: a move into a zone begins a visit at the time
// the hook saw it, so that a rest is answered Delay after the arrival and not after the next tick;
// a move out of every zone ends it; a move beyond the desktop's edge pushes (Push.h).
#pragma once
#include <cstddef>
#include <cstdint>

#include "engine/Gestures.h"
#include "engine/HotZones.h"
#include "engine/TimerTick.h"

struct ZoneMove {
    Point32 pt;     // MSLLHOOKSTRUCT's, beyond the edge for a push
    Point32 from;   // the point of the hook's move before
    uint32_t seen;  // the tick count when the hook saw it
};

// One queued move at `now`, on `count` monitors in the pixels of the hook's points. With ClickGuard
// on, a visit that begins here asks the system for the buttons as a tick's would, and waits from
// the arrival: the wake comes Delay after `move.seen`, or the visit decides at once when that
// has passed. Where the hook is blind the ticks begin the visits, as they do for a cursor that a
// program moved.
void RunZoneMove(const ZoneMove &move, uint32_t now, const Rect32 *monitors, size_t count, const Settings &cfg,
                 TickHost &host);

// For each button event the hook queued (and for a full queue, whose lost events may have been
// buttons): it spends the visit under way and the push of the zone the cursor is pushing.
void NoteQueuedButton(uint32_t msg);
