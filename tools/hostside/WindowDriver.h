// Driving windows of another thread the way a user or an accessibility tool would: find them,
// read and set their texts, press their buttons and keys, picture them. For the programs that
// stand in for Velkora: the test host and the development host.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

HWND WaitForWindow(const char *caption, DWORD timeout_ms = 5000);
bool WaitUntilGone(HWND window, DWORD timeout_ms = 5000);
// From the driving thread: polls until `done` holds or `timeout_ms` passed; returns `done()`.
bool WaitUntil(const std::function<bool()> &done, DWORD timeout_ms = 5000);
std::vector<HWND> Descendants(HWND root, std::function<bool(HWND)> match);   // any depth
HWND FindControl(HWND root, int id);                   // any depth
HWND FindControlByText(HWND root, const std::string &text);
std::vector<HWND> ControlsOfClass(HWND root, const char *cls);
std::string TextOf(HWND window);
void SetText(HWND window, const std::string &text);
bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);
void Click(HWND button);                                // posted: the click may open a message box
// Real keystrokes for the foreground window: the modifiers go down, the key is pressed, the
// modifiers come up.
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});
// The time stamp of the next wheel notch of a hand: HAND_PACE_MS after the last one, or now if
// that is later. Notches injected back to back would otherwise be stamped within a millisecond
// of each other, as only a worn wheel's chatter sends them.
constexpr DWORD HAND_PACE_MS = 60;
DWORD HandPacedWheelStamp();
HWND FocusOf(HWND window);                               // the focus of the window's thread
RECT RectIn(HWND window, HWND parent);                   // the window's rectangle in parent's client area
// The label of a tab control's page.
std::string TabText(HWND tabs, int index);

// A PNG of the window as it stands on the screen; false when it could not be taken or written.
bool SavePng(HWND window, const std::string &path);
// The same for an area of the screens, in virtual-screen coordinates, as it stands.
bool SaveScreenPng(const RECT &area, const std::string &path);
// Has the window and its children painted now, by its own thread.
void PaintNow(HWND window);
