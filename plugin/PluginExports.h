// Every function the plug-in exports to the host. All are __stdcall and exported under their
// bare names (VelkCursorwake.def).
#pragma once
#include <windows.h>

#define VELK_PLUGIN_EXPORT extern "C"

VELK_PLUGIN_EXPORT void WINAPI Velk_OnGetPluginInfo(char *info80);
VELK_PLUGIN_EXPORT int WINAPI Velk_OnSetup(int);
VELK_PLUGIN_EXPORT void WINAPI Velk_OnSetupSubMenu(int *count, void *items);
VELK_PLUGIN_EXPORT int WINAPI Velk_OnTeardown(void);
VELK_PLUGIN_EXPORT void WINAPI Velk_OnSuspendHook(BOOL suspend);
VELK_PLUGIN_EXPORT void WINAPI Velk_OnChangeQuickOption(void);
VELK_PLUGIN_EXPORT void WINAPI MyToggleEnable(int);
VELK_PLUGIN_EXPORT void WINAPI MyOption(int);
VELK_PLUGIN_EXPORT void WINAPI MyVersion(int);
