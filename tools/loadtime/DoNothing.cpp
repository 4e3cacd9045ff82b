// The plug-in's nine exports doing nothing, built like the plug-in: the least that loading a
// plug-in can cost, for comparison.
#include "plugin/PluginExports.h"

void WINAPI Velk_OnGetPluginInfo(char *) {}
int WINAPI Velk_OnSetup(int) { return 0; }
void WINAPI Velk_OnSetupSubMenu(int *, void *) {}
int WINAPI Velk_OnTeardown(void) { return 0; }
void WINAPI Velk_OnSuspendHook(BOOL) {}
void WINAPI Velk_OnChangeQuickOption(void) {}
void WINAPI MyToggleEnable(int) {}
void WINAPI MyOption(int) {}
void WINAPI MyVersion(int) {}
