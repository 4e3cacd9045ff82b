// The plug-in's fixed records for the host; no Win32 here.
#pragma once
#include <cstdint>

// One entry of the sub-menu, in the host's byte layout.
struct SubMenuItem {
    uint8_t enabled;
    uint8_t checked;
    char caption[72];   // Shift-JIS
    char command[592];  // name of the export the host calls
};
static_assert(sizeof(SubMenuItem) == 666, "the host reads 666 bytes per entry");

constexpr int SUBMENU_COUNT = 3;
extern SubMenuItem g_submenu[SUBMENU_COUNT];

constexpr int PLUGIN_INFO_SIZE = 80;

// The name of the plug-in: its information text, its log tag, the argument of ReloadMenu.
constexpr char PLUGIN_NAME[] = "Cursorwake";

// All 80 bytes zeroed, then the name, at most 79 characters.
void FillPluginInfo(char *info, const char *name);

void SetEnableCheckMark(bool on);
