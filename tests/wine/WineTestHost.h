// The test program is the host: it exports the host's functions, loads the real plug-in with
// LoadLibrary, pumps messages on its main thread and injects real input from a second thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "tools/hostside/HostSide.h"

struct LogLine {
    int severity;
    std::string text;   // without the "Cursorwake " tag
};

class TestHost : public HostSide {
public:
    void Reset();

    void Log(int severity, const char *line) override;
    int LogSeverity() override { return severity; }
    const char *Version() override { return version.c_str(); }
    void SendHotKey(const char *name) override;
    bool HasFocus() override { return has_focus; }
    HWND MainWindow() override;
    void QuickOption(uint8_t (&option)[8]) override;
    void ReloadMenu(const char *plugin_name) override;

    bool Logged(const std::string &text) const;
    int CountLogged(const std::string &text) const;
    int CountStartingWith(const std::string &prefix) const;

    std::string version;
    int severity = 7;
    bool has_focus = false;
    DWORD hotkey_sleep_ms = 0;   // how long the host takes to act on a hot key
    DWORD slow_ms = 0;           // how long each log line and GetWindowHandles take
    std::function<void()> on_hotkey;   // what the host does when it acts on a hot key
    std::atomic<int> ticks{0};         // the plug-in's timer ticks ("point.x=..."), for other threads
    HWND window = nullptr;
    uint8_t quick_option[8] = {};
    std::vector<LogLine> log;
    std::vector<std::string> reloads;
    std::vector<std::string> hotkeys;
    std::vector<double> hotkey_ms;   // on the MonotonicMs clock
};

extern TestHost g_host;

std::string ReadTextFile(const std::string &path);
void WriteTextFile(const std::string &path, const std::string &text);
// The names of the files in a folder, sorted.
std::vector<std::string> FilesIn(const std::string &folder);

// A private copy of the built plug-in in its own folder, with an optional INI beside it.
class LoadedPlugin {
public:
    LoadedPlugin(const std::string &folder, const std::string &ini_text, bool write_ini = true);
    ~LoadedPlugin();
    bool Load();          // LoadLibrary; false when the plug-in refused
    void Setup();         // Velk_OnSetup
    void Teardown();      // Velk_OnTeardown
    void Unload();        // FreeLibrary, with or without a tear-down before
    const SubMenuItem &MenuItem(int index);

    std::string dir, dll_path, ini_path;
    HMODULE module = nullptr;
    PluginExports api = {};

private:
    bool set_up_ = false;
    SubMenuItem menu_[3] = {};
};

// A line as the plug-in formats it for the host, tag included, cut to 255 bytes at a character.
std::string FormattedLogLine(const char *format, ...);

void PumpMessages(DWORD ms);
// Runs `inject` on a second thread while this thread pumps messages; then pumps `settle_ms`.
void WhilePumping(const std::function<void()> &inject, DWORD settle_ms = 0);
// Pumps until `done` holds or `timeout_ms` passed; returns `done()`.
bool PumpUntil(const std::function<bool()> &done, DWORD timeout_ms);
// Pumps until the plug-in's timer has ticked `ticks` more times (each tick logs "point.x=...").
// Tests that need the engine to have looked wait for its ticks, not for a time that a busy
// machine may not honour.
bool PumpTicks(int ticks, DWORD timeout_ms = 10000);
// Pumps until the pause after an activation has run out since the host's last hot key.
bool PumpPastCoolDown();

// Real input, from the injecting thread. The time stamp is the tick count unless given; a wheel
// notch's, unless given, is a hand's pace after the notch before (HandPacedWheelStamp).
void InjectWheel(int delta, DWORD time = 0);
// `extra_info` as Windows gives it: 0xFF515701 marks an event that it made from a touch.
void InjectButton(DWORD flag, DWORD time = 0, ULONG_PTR extra_info = 0);
void MoveCursor(int x, int y);   // SetCursorPos: no mouse event
// Relative mouse moves in one SendInput call, seen by low-level hooks. Wine here moves X's
// pointer only on SetCursorPos, and 100 ms after the last change takes the cursor back to that
// pointer without a mouse event: moves that should leave no trace end where they began.
void InjectMoves(std::initializer_list<POINT> deltas);
void InjectKey(WORD vk);          // down and up
void InjectKeyDown(WORD vk, bool down);
// When the last input was sent (just before SendInput or SetCursorPos), on the MonotonicMs clock.
extern std::atomic<double> g_last_input_ms;
double MonotonicMs();

std::string RunFolder(const std::string &name);
std::string CurrentTestName();
