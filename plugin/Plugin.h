// The plug-in's lifecycle state, shared by the exports and the menu commands.
#pragma once
#include <windows.h>

#include "plugin/PluginCore.h"

extern HINSTANCE g_handle_module;

int InitPlugin(HINSTANCE module);   // 0 done, 1 already initialised, -1 refused
void UninitPlugin();
void SetEnable(bool on);

// Between set-up and tear-down. Outside, the record in memory is not the user's: no command
// writes the settings file or starts the engine, and the log says that `command` did nothing.
bool IsSetUpFor(const char *command);

// The dialog objects, which live from their first use until the module is unloaded.
void ReleaseDialogs();
// Velkora switched the plug-in on or off: an open options dialog shows it in its 有効 box, so
// that its OK stores the last word, the user's or Velkora's.
void ShowEnableInOptionDialog(bool on);

// SaveSettings, with a failure logged as an error naming the file and the system's reason;
// 0 or the error code.
uint32_t SaveSettingsReported();
