// The functions the plug-in exports to the host, in one list for both sides of the boundary:
// the plug-in declares them from it, the programs that stand in for Velkora look them up by it.
// All are __stdcall and exported under their bare names (VelkCursorwake.def).
#pragma once
#include <windows.h>

// X(short name, exported name, result, parameters)
#define CURSORWAKE_EXPORTS(X)                                             \
    X(OnGetPluginInfo, Velk_OnGetPluginInfo, void, (char *info80))        \
    X(OnSetup, Velk_OnSetup, int, (int))                                  \
    X(OnSetupSubMenu, Velk_OnSetupSubMenu, void, (int *count, void *items)) \
    X(OnTeardown, Velk_OnTeardown, int, (void))                           \
    X(OnSuspendHook, Velk_OnSuspendHook, void, (BOOL suspend))            \
    X(OnChangeQuickOption, Velk_OnChangeQuickOption, void, (void))        \
    X(MyToggleEnable, MyToggleEnable, void, (int))                        \
    X(MyOption, MyOption, void, (int))                                    \
    X(MyVersion, MyVersion, void, (int))
