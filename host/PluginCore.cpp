#include "host/PluginCore.h"

#include <cstdio>
#include <cstring>

SubMenuItem g_submenu[SUBMENU_COUNT] = {
    {1, 1, "有効(&T)", "MyToggleEnable"},
    {1, 0, "設定(&O)", "MyOption"},
    {1, 0, "バージョン(&A)", "MyVersion"},
};

void DeriveIniPath(const char *module_path, char (&ini_path)[INI_PATH_SIZE]) {
    char stem[INI_PATH_SIZE] = {};
    std::strncpy(stem, module_path, sizeof stem - 1);
    const char *name = stem;
    for (const char *p = stem; *p; ++p)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    if (char *dot = std::strrchr(const_cast<char *>(name), '.'))
        *dot = '\0';
    std::memset(ini_path, 0, sizeof ini_path);
    const int untruncated_length = std::snprintf(ini_path, sizeof ini_path, "%s.ini", stem);
    (void)untruncated_length;   // a path of 258 characters or more loses its extension
}

void FillPluginInfo(char *info, const char *name) {
    std::memset(info, 0, PLUGIN_INFO_SIZE);
    std::strncpy(info, name, PLUGIN_INFO_SIZE - 1);
}

void SetEnableCheckMark(bool on) { g_submenu[0].checked = on ? 1 : 0; }
