// The plug-in's lifecycle state, shared with the engine, the settings and the menu commands.
#pragma once
#include <windows.h>

#include "host/PluginCore.h"
#include "host/VelkApi.h"

extern HINSTANCE g_handle_module;
extern char g_ini_path[INI_PATH_SIZE];
extern VelkQuickOption g_quick_option;

int InitPlugin(HINSTANCE module);   // 0 done, 1 already initialised, -1 refused
void UninitPlugin();
void SetEnable(bool on);
