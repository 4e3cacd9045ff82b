// The plug-in's fixed records for the host, and the settings path rule; no Win32 here.
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

constexpr int INI_PATH_SIZE = 262;
constexpr int PLUGIN_INFO_SIZE = 80;

// The module's path with the extension of its file name replaced by ".ini". A dot in a folder
// name is not an extension; a file name without a dot gets ".ini" appended.
void DeriveIniPath(const char *module_path, char (&ini_path)[INI_PATH_SIZE]);

// All 80 bytes zeroed, then the name, at most 79 characters.
void FillPluginInfo(char *info, const char *name);

void SetEnableCheckMark(bool on);
