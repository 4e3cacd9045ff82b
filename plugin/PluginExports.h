// Every function the plug-in exports to the host.
#pragma once
#include "plugin/PluginExportList.h"

#define CURSORWAKE_DECLARE_EXPORT(short_name, name, result, params) extern "C" result WINAPI name params;
CURSORWAKE_EXPORTS(CURSORWAKE_DECLARE_EXPORT)
#undef CURSORWAKE_DECLARE_EXPORT
