// The settings record to and from the INI file, through the system's profile functions.
#include <windows.h>

#include "settings/Settings.h"

void LoadSettings() {
    for (const SettingsKey &k : SETTINGS_KEYS) {
        if (k.IsText()) {
            GetPrivateProfileStringA(k.section, k.key, "", g_cfg.shortcut.toggle_enable,
                                     sizeof g_cfg.shortcut.toggle_enable, g_ini_path);
        } else {
            k.set(g_cfg, GetPrivateProfileIntA(k.section, k.key, k.default_value, g_ini_path));
        }
    }
}

void SaveSettings() {
    for (const SettingsKey &k : SETTINGS_KEYS) {
        if (k.IsText()) {
            WritePrivateProfileStringA(k.section, k.key, g_cfg.shortcut.toggle_enable, g_ini_path);
        } else {
            char text[20];
            FormatSettingValue(k.get(g_cfg), text);
            WritePrivateProfileStringA(k.section, k.key, text, g_ini_path);
        }
    }
}
