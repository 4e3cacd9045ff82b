#include "plugin/PluginCore.h"

#include <cstdio>
#include <cstring>

SubMenuItem g_submenu[SUBMENU_COUNT] = {
    {1, 1, "有効(&T)", "MyToggleEnable"},
    {1, 0, "設定(&O)", "MyOption"},
    {1, 0, "バージョン(&A)", "MyVersion"},
};

void FillPluginInfo(char *info, const char *name) {
    std::memset(info, 0, PLUGIN_INFO_SIZE);
    std::strncpy(info, name, PLUGIN_INFO_SIZE - 1);
}

void SetEnableCheckMark(bool on) { g_submenu[0].checked = on ? 1 : 0; }
