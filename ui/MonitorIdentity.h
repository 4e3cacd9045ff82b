// The monitors shown on the screens themselves: on each monitor of the engine's snapshot its
// number as the plug-in counts it, large in its middle, and the hot zones that a record switches
// on, at their true size and place.
#pragma once
#include <windows.h>

#include "settings/Settings.h"

// For about IDENTITY_MS, in one window over each monitor that takes neither the focus nor a
// click (a click goes to what lies below), stays above every other window and is not on the
// taskbar. Shown again, the windows show `shown` and the time starts afresh.
constexpr UINT IDENTITY_MS = 3000;
void ShowMonitorIdentity(HINSTANCE module, const Settings &shown);
// Takes the windows, and their class, away at once; nothing when none are shown.
void HideMonitorIdentity();
