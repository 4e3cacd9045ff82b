#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "settings/Settings.h"
#include "tests/DefaultSettingsFile.h"

namespace {

// What writing every key in table order through the profile functions leaves in a new file:
// a key goes to the end of its section, a section not yet in the file to the end of the file.
std::string FileWrittenFromTheTable(const Settings &cfg) {
    std::vector<std::pair<std::string, std::string>> sections;   // name, its lines
    for (const SettingsKey &k : SETTINGS_KEYS) {
        auto section = std::find_if(sections.begin(), sections.end(), [&](const auto &s) { return s.first == k.section; });
        if (section == sections.end())
            section = sections.insert(sections.end(), {k.section, ""});
        char value[20] = "";
        if (!k.IsText())
            FormatSettingValue(k.get(cfg), value);
        section->second += std::string(k.key) + "=" + (k.IsText() ? k.Text(cfg) : value) + "\r\n";
    }
    std::string file;
    for (const auto &[name, lines] : sections)
        file += "[" + name + "]\r\n" + lines;
    return file;
}

TEST(SettingsTest, KeysInFileOrderWithTheirDefaults) {
    Settings cfg;
    std::memset(&cfg, 0x5A, sizeof cfg);
    ApplyDefaults(cfg);
    EXPECT_EQ(FileWrittenFromTheTable(cfg), DEFAULT_SETTINGS_FILE);
    EXPECT_EQ(cfg.general.enable, 1);
    EXPECT_STREQ(cfg.shortcut.toggle_enable, "");
    EXPECT_EQ(cfg.general.interval, 500);
    EXPECT_EQ(cfg.general.fullscreen, 1);
    EXPECT_STREQ(cfg.general.exclude, "");
    EXPECT_EQ(cfg.wheel.onwheel, 1);
    EXPECT_EQ(cfg.wheel.allowance, 4);
    EXPECT_EQ(cfg.wheel.up, 2);
    EXPECT_EQ(cfg.wheel.down, 2);
    EXPECT_EQ(cfg.wheel.timeout, 500u);
    EXPECT_EQ(cfg.wheel.bounce_guard, 30);
    EXPECT_EQ(cfg.move.onmove, 0x1000Fu);
    EXPECT_EQ(cfg.move.width, 10);
    EXPECT_EQ(cfg.move.height, 10);
    EXPECT_EQ(cfg.move.delay, 200);
    EXPECT_EQ(cfg.move.click_guard, 1);
    EXPECT_EQ(cfg.move.onmove_others, 0u);
    EXPECT_EQ(cfg.move.push, 1u);
    EXPECT_EQ(cfg.move.push_distance, 150);
    EXPECT_EQ(cfg.move.modifier, 0u);
    EXPECT_EQ(cfg.click.onclick, 6u);
    EXPECT_EQ(cfg.click.msec_dblclick, 200u);
    EXPECT_EQ(cfg.click.msec_holddown, 500);
    EXPECT_EQ(cfg.click.move_allowance, 10);
}

TEST(SettingsTest, EveryIntegerIsWrittenAsSignedDecimal) {
    char text[20];
    FormatSettingValue(65551, text);
    EXPECT_STREQ(text, "65551");
    FormatSettingValue(4294967295u, text);
    EXPECT_STREQ(text, "-1");
    FormatSettingValue(0x80000000u, text);
    EXPECT_STREQ(text, "-2147483648");
}

TEST(SettingsTest, AccessorsMoveTheBitPatternUnchangedButANegativeGuardOrPush) {
    Settings cfg = {};
    for (const SettingsKey &k : SETTINGS_KEYS) {
        if (k.IsText())
            continue;
        k.set(cfg, 0xFFFFFFFEu);
        const bool negative_reads_as_none = std::strcmp(k.key, "BounceGuard") == 0;
        const bool none_reads_as_default = std::strcmp(k.key, "PushDistance") == 0;
        const uint32_t expected = negative_reads_as_none ? 0u : none_reads_as_default ? 150u : 0xFFFFFFFEu;
        EXPECT_EQ(k.get(cfg), expected) << k.key;
        if (negative_reads_as_none || none_reads_as_default) {
            k.set(cfg, 45);
            EXPECT_EQ(k.get(cfg), 45u) << k.key;
        }
        if (none_reads_as_default) {
            k.set(cfg, 0);
            EXPECT_EQ(cfg.move.push_distance, 150);
        }
    }
    EXPECT_EQ(cfg.wheel.timeout, 0xFFFFFFFEu);
    EXPECT_EQ(cfg.general.interval, -2);
}

// ToggleEnable (key 1) keeps 23 characters; Exclude (key 4), given 258 bytes and then a
// character whose second byte would be the 260th, keeps the 258.
TEST(SettingsTest, TextsAreCutToTheirFieldsAtACharacter) {
    Settings cfg = {};
    SETTINGS_KEYS[1].SetText(cfg, "Ctrl+Alt+Shift+Win+F12 and more");
    EXPECT_EQ(std::strlen(cfg.shortcut.toggle_enable), 23u);
    SETTINGS_KEYS[4].SetText(cfg, (std::string(258, 'a') + "ア").c_str());
    EXPECT_EQ(std::string(cfg.general.exclude), std::string(258, 'a'));
    SETTINGS_KEYS[1].SetText(cfg, nullptr);
    EXPECT_STREQ(cfg.shortcut.toggle_enable, "");
}

}  // namespace
