// The host's side of the plug-in interface, for programs that stand in for Velkora: the
// test host and the development host. HostExports.cpp exports the 31 "Velk_" functions from
// the program's executable (as Velkora does) and forwards the nine that the plug-in calls
// to the HostSide installed here.
#pragma once
#include <windows.h>

#include <cstdint>

#include "plugin/PluginCore.h"
#include "plugin/PluginExportList.h"

class HostSide {
public:
    virtual ~HostSide() = default;
    // severity is -1 for lines that came through PrintErrRaw, which carries none.
    virtual void Log(int severity, const char *line) = 0;
    virtual int LogSeverity() = 0;
    virtual const char *Version() = 0;
    virtual void SendHotKey(const char *name) = 0;
    virtual bool HasFocus() = 0;
    virtual HWND MainWindow() = 0;
    virtual void QuickOption(uint8_t (&option)[8]) = 0;
    virtual void ReloadMenu(const char *plugin_name) = 0;
};

void SetHostSide(HostSide *side);

// The plug-in's exports, looked up by name in a loaded module.
struct PluginExports {
#define HOSTSIDE_EXPORT_FIELD(short_name, name, result, params) result(WINAPI *short_name) params;
    CURSORWAKE_EXPORTS(HOSTSIDE_EXPORT_FIELD)
#undef HOSTSIDE_EXPORT_FIELD

    // False when a required export is missing (the two dialog commands are optional).
    bool Bind(HMODULE plugin);
    // The named menu command, or null.
    void(WINAPI *Command(const char *name) const)(int);
};
