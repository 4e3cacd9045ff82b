// Driving the plug-in's modal dialogs the way a user or an accessibility tool would: a second
// thread finds the windows, reads and sets texts, clicks buttons and closes them while the
// main thread sits in the dialog's modal loop.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/hostside/WindowDriver.h"

// Runs `command` (which shows a modal dialog) on this thread and `script` on a second one.
// Whatever window titled `caption` is still open when the script ends gets closed, so a
// failing script cannot hang the test.
void WhileDialogRuns(const char *caption, const std::function<void()> &command,
                     const std::function<void()> &script);

// A shown top-level window of the calling thread, standing in for one of Velkora's.
HWND CreateHostWindow(const char *title, bool enabled = true);
// Runs `command` on the thread of `window` (a host window), as a shortcut of Velkora's would run
// while that thread sits in a dialog's loop; false when it had not returned within `timeout_ms`.
bool RunOnThreadOf(HWND window, const std::function<void()> &command, DWORD timeout_ms = 10000);
// Posts `command` to the thread of `window`, as Velkora's tray menu posts its Exit: it runs from
// whichever message loop that thread is in.
void PostToThreadOf(HWND window, const std::function<void()> &command);
// Returns once the thread of `host_window` (a host window) has taken every message posted to
// any of its windows before the call: a thread takes its posted messages in order.
bool WaitForPostedMessages(HWND host_window, DWORD timeout_ms = 10000);

// The DPI that the dialogs are laid out at in this run: the screen's, this program being
// DPI-aware as a DPI-aware Velkora is.
int DialogDpi();
// A measure of a dialog as expected at the DPI of this run, written out for each DPI the tests
// run at (a failure at any other).
int AtDpi(int at96, int at144);
// The DPI that the run's Wine prefix was set up for: CURSORWAKE_DPI, else 96.
int RunDpi();
// A screenshot's name with the DPI after it, unless that is 96.
std::string ShotName(const std::string &name);
// The texts of the Static and Button controls under `root` that do not fit their control
// in the control's font (a check box's text beside its box).
std::vector<std::string> TextsCutOff(HWND root);

// A PNG of the window as it stands on the screen, into the screenshot folder; its path.
std::string SaveScreenshot(HWND window, const std::string &name);
// The same for every monitor at once: the whole virtual screen as it stands.
std::string SaveScreenshotOfAllMonitors(const std::string &name);

// Points the module's import of `function` from `dll` at `replacement`; the old target.
void *PatchImport(HMODULE module, const char *dll, const char *function, void *replacement);
// The same for a function of a system DLL that the module loads on demand: the module's
// GetProcAddress hands out `replacement` for `function`. Returns the real function.
void *PatchProcAddress(HMODULE module, const char *dll, const char *function, void *replacement);
