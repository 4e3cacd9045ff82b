#include "settings/Settings.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/FileName.h"
#include "base/Text.h"

Settings g_cfg;
char g_ini_path[INI_PATH_SIZE];

#define INT_KEY(section, key, def, field)                                                    \
    {section, key, def, [](const Settings &s) { return static_cast<uint32_t>(s.field); },    \
     [](Settings &s, uint32_t v) { s.field = static_cast<decltype(s.field)>(v); }}
#define TEXT_KEY(section, key, field) \
    {section, key, 0, nullptr, nullptr, offsetof(Settings, field), sizeof std::declval<Settings &>().field}

const SettingsKey SETTINGS_KEYS[SETTINGS_KEY_COUNT] = {
    INT_KEY("General", "Enable", 1, general.enable),
    TEXT_KEY("ShortcutKey", "ToggleEnable", shortcut.toggle_enable),
    INT_KEY("General", "Interval", 500, general.interval),
    INT_KEY("General", "FullScreen", 1, general.fullscreen),
    TEXT_KEY("General", "Exclude", general.exclude),
    INT_KEY("Wheel", "OnWheel", 1, wheel.onwheel),
    INT_KEY("Wheel", "Allowance", 4, wheel.allowance),
    INT_KEY("Wheel", "Up", 2, wheel.up),
    INT_KEY("Wheel", "Down", 2, wheel.down),
    INT_KEY("Wheel", "TimeOut", 500, wheel.timeout),
    // A negative guard reads as none.
    {"Wheel", "BounceGuard", 30, [](const Settings &s) { return static_cast<uint32_t>(s.wheel.bounce_guard); },
     [](Settings &s, uint32_t v) { s.wheel.bounce_guard = std::max(0, static_cast<int32_t>(v)); }},
    INT_KEY("Move", "OnMove", 65551, move.onmove),
    INT_KEY("Move", "Width", 10, move.width),
    INT_KEY("Move", "Height", 10, move.height),
    INT_KEY("Move", "Delay", 200, move.delay),
    INT_KEY("Move", "ClickGuard", 1, move.click_guard),
    INT_KEY("Move", "OnMoveOthers", 0, move.onmove_others),
    INT_KEY("Move", "Push", MOVE_PUSH_EDGES, move.push),
    // No push at all would be a zone that answers every edge it touches: none reads as the default.
    {"Move", "PushDistance", PUSH_DISTANCE_DEFAULT,
     [](const Settings &s) { return static_cast<uint32_t>(s.move.push_distance); },
     [](Settings &s, uint32_t v) {
         const int32_t distance = static_cast<int32_t>(v);
         s.move.push_distance = distance > 0 ? distance : PUSH_DISTANCE_DEFAULT;
     }},
    INT_KEY("Move", "Modifier", 0, move.modifier),
    INT_KEY("Click", "OnClick", 6, click.onclick),
    INT_KEY("Click", "MsecDblClick", 200, click.msec_dblclick),
    INT_KEY("Click", "MsecHoldDown", 500, click.msec_holddown),
    INT_KEY("Click", "MoveAllowance", 10, click.move_allowance),
};

void ApplyDefaults(Settings &cfg) {
    for (const SettingsKey &k : SETTINGS_KEYS) {
        if (k.IsText())
            k.SetText(cfg, "");
        else
            k.set(cfg, static_cast<uint32_t>(k.default_value));
    }
}

void FormatSettingValue(uint32_t value, char (&text)[20]) {
    FormatCut(text, sizeof text, "%d", static_cast<int>(static_cast<int32_t>(value)));
}

void SetTextField(char *field, size_t size, const char *text) {
    std::memset(field, 0, size);
    std::strncpy(field, text ? text : "", size);
    TerminateAtCharacter(field, size);
}

void DeriveIniPath(const char *module_path, char (&ini_path)[INI_PATH_SIZE]) {
    char stem[INI_PATH_SIZE] = {};
    std::strncpy(stem, module_path, sizeof stem - 1);
    if (char *dot = std::strrchr(const_cast<char *>(FileNameOf(stem)), '.'))
        *dot = '\0';
    std::memset(ini_path, 0, sizeof ini_path);
    FormatCut(ini_path, sizeof ini_path, "%s.ini", stem);   // 258 characters or more lose the extension
}
