#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/Settings.h"

namespace {

TEST(SettingsTest, KeysInFileOrderWithTheirDefaults) {
    std::string order;
    for (const SettingsKey &k : SETTINGS_KEYS)
        order += std::string(k.section) + "/" + k.key + " ";
    EXPECT_EQ(order,
              "General/Enable ShortcutKey/ToggleEnable General/Interval General/FullScreen Wheel/OnWheel Wheel/Allowance "
              "Wheel/Up Wheel/Down Wheel/TimeOut Move/OnMove Move/Width Move/Height Move/Delay "
              "Click/OnClick Click/MsecDblClick Click/MsecHoldDown Click/MoveAllowance ");
    Settings cfg;
    std::memset(&cfg, 0x5A, sizeof cfg);
    ApplyDefaults(cfg);
    EXPECT_EQ(cfg.general.enable, 1);
    EXPECT_STREQ(cfg.shortcut.toggle_enable, "");
    EXPECT_EQ(cfg.general.interval, 500);
    EXPECT_EQ(cfg.general.fullscreen, 1);
    EXPECT_EQ(cfg.wheel.onwheel, 1);
    EXPECT_EQ(cfg.wheel.allowance, 4);
    EXPECT_EQ(cfg.wheel.up, 2);
    EXPECT_EQ(cfg.wheel.down, 2);
    EXPECT_EQ(cfg.wheel.timeout, 500u);
    EXPECT_EQ(cfg.move.onmove, 0x1000Fu);
    EXPECT_EQ(cfg.move.width, 10);
    EXPECT_EQ(cfg.move.height, 10);
    EXPECT_EQ(cfg.move.delay, 200);
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

TEST(SettingsTest, AccessorsMoveTheBitPatternUnchanged) {
    Settings cfg = {};
    for (const SettingsKey &k : SETTINGS_KEYS) {
        if (k.IsText())
            continue;
        k.set(cfg, 0xFFFFFFFEu);
        EXPECT_EQ(k.get(cfg), 0xFFFFFFFEu) << k.key;
    }
    EXPECT_EQ(cfg.wheel.timeout, 0xFFFFFFFEu);
    EXPECT_EQ(cfg.general.interval, -2);
}

TEST(SettingsTest, ToggleEnableIsCutTo23Characters) {
    Settings cfg = {};
    SetToggleEnableText(cfg, "Ctrl+Alt+Shift+Win+F12 and more");
    EXPECT_EQ(std::strlen(cfg.shortcut.toggle_enable), 23u);
    SetToggleEnableText(cfg, nullptr);
    EXPECT_STREQ(cfg.shortcut.toggle_enable, "");
}

}  // namespace
