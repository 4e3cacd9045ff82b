// The development host: a small stand-in for Velkora that loads the real plug-in, gives it
// the host functions it calls, shows its menu and its log, and goes "into the tray" (hides)
// and comes out again when the plug-in sends the TrayInOut hot key.
#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "tools/devhost/Journal.h"
#include "tools/devhost/Text.h"
#include "tools/hostside/HostSide.h"

struct DevHostOptions {
    std::string plugin_path;
    std::string version = "0.9.6.42";
    int log_severity = 7;
    bool echo_log = true;    // log lines to standard output too
    bool interactive = true; // message boxes for a person; none in a scripted session
    std::string log_path;
};

// Messages the session runner sends to the host's window from its own thread, so that
// everything touching the host's windows and the plug-in happens on the host's thread.
enum : UINT {
    WM_DEVHOST_ACTION = WM_APP + 1,    // wParam: HostAction
    WM_DEVHOST_FIND_ITEM,              // lParam: command or item name; result: menu id or 0
    WM_DEVHOST_ITEM_CHECKED,           // wParam: menu id; result: 1 when checked
    WM_DEVHOST_SESSION_DONE,           // wParam: the exit code of the run
};

enum HostAction : WPARAM { HOST_SHOW = 1, HOST_HIDE, HOST_FOCUS };

class DevHost : public HostSide {
public:
    DevHost(const DevHostOptions &options, Journal &journal);
    ~DevHost() override;

    bool CreateMainWindow(HINSTANCE instance);
    // Loads, binds and sets up the plug-in; false (with the reason shown) when it refuses.
    bool StartPlugin();
    // Runs the message loop until the window closes; the plug-in is torn down and unloaded.
    int Run();

    HWND Window() const { return window_; }
    // Counts the menu commands that have returned; the runner waits on it.
    unsigned CommandsReturned() const { return commands_returned_; }
    // Whether the loaded plug-in exports the named menu command (fixed once it is loaded).
    bool HasCommand(const std::string &name) const { return exports_.Command(name.c_str()) != nullptr; }
    // Whether the name is one of the host's own menu items rather than the plug-in's.
    static bool IsHostItem(const std::string &name);

    // The host functions that the plug-in calls.
    void Log(int severity, const char *line) override;
    int LogSeverity() override { return options_.log_severity; }
    const char *Version() override { return options_.version.c_str(); }
    void SendHotKey(const char *name) override;
    bool HasFocus() override;
    HWND MainWindow() override { return window_; }
    void QuickOption(uint8_t (&option)[8]) override;
    void ReloadMenu(const char *plugin_name) override;

private:
    struct PluginItem {
        UINT id;
        std::string command;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);
    void OnCommand(UINT id);
    void BuildMenuBar();
    void RebuildPluginMenu();
    void TrayInOut(bool from_plugin);
    void DoAction(HostAction action);
    void UpdateStatus();
    void Note(const std::string &text);
    void Show(const std::string &severity, const std::string &line);
    void ShowFailure(const std::string &text);
    void StopPlugin();
    UINT FindItem(const std::string &name) const;

    DevHostOptions options_;
    Journal &journal_;
    std::unique_ptr<Utf8File> log_file_;
    HWND window_ = nullptr;
    HWND status_ = nullptr;
    HWND log_pane_ = nullptr;
    HFONT log_font_ = nullptr;
    HMENU plugin_menu_ = nullptr;
    HMENU host_menu_ = nullptr;
    HMODULE plugin_ = nullptr;
    PluginExports exports_ = {};
    bool set_up_ = false;
    std::string plugin_name_;
    std::vector<PluginItem> plugin_items_;
    uint8_t quick_option_[8] = {};
    DWORD start_tick_ = GetTickCount();
    unsigned hot_keys_ = 0;
    std::atomic<unsigned> commands_returned_{0};
    int exit_code_ = 0;
};
