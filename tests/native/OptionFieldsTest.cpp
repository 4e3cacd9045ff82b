// What the options dialog shows for a record and what it stores back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "ui/OptionFields.h"

namespace {

Settings Defaults() {
    Settings cfg;
    ApplyDefaults(cfg);
    return cfg;
}

size_t IndexOf(int control) {
    for (size_t i = 0; i < OPTION_FIELD_COUNT; ++i)
        if (OPTION_FIELDS[i].control == control)
            return i;
    ADD_FAILURE() << "no field for control " << control;
    return 0;
}

ControlState &Control(OptionForm &form, int control) { return form[IndexOf(control)]; }

// What the user types into an edit.
void Type(ControlState &edit, const char *text) { std::snprintf(edit.text, sizeof edit.text, "%s", text); }

bool SameRecord(const Settings &a, const Settings &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(OptionFields, EveryControlOnceAndEveryBitOfAFieldOnce) {
    std::set<int> controls;
    std::set<std::pair<size_t, uint32_t>> bits;
    for (const OptionField &f : OPTION_FIELDS) {
        EXPECT_TRUE(controls.insert(f.control).second) << f.control;
        if (f.shape == FieldShape::Bit) {
            EXPECT_TRUE(bits.insert({f.offset, f.bit}).second) << f.control;
        }
    }
    EXPECT_EQ(controls.size(), 56u);
    EXPECT_EQ(controls.count(ChkMoveOnVelk), 1u);
}

TEST(OptionFields, DefaultsShowTheFourCornersOfMonitor1AndTheMiddleAndRightDoubleClicks) {
    const OptionForm form = FormFromSettings(Defaults());
    std::set<int> checked;
    for (size_t i = 0; i < OPTION_FIELD_COUNT; ++i)
        if (form[i].checked)
            checked.insert(OPTION_FIELDS[i].control);
    EXPECT_EQ(checked, (std::set<int>{ChkEnable, ChkOnWheel, ChkMovePriLT, ChkMovePriRT, ChkMovePriRB, ChkMovePriLB,
                                      ChkMoveOnVelk, ChkMoveClickGuard, ChkMovePushEdges, ChkClickMDblClick,
                                      ChkClickRDblClick}));
    EXPECT_STREQ(form[IndexOf(EdtMovePushDistance)].text, "150");
    EXPECT_STREQ(form[IndexOf(EdtInterval)].text, "500");
    EXPECT_STREQ(form[IndexOf(EdtWheelAllowance)].text, "4");
    EXPECT_STREQ(form[IndexOf(EdtClickMsecDblClick)].text, "200");
}

TEST(OptionFields, UnsignedFieldsShowUnsignedAndTheOthersSigned) {
    Settings cfg = Defaults();
    cfg.wheel.timeout = 4294967295u;
    cfg.click.msec_dblclick = 2147483648u;
    cfg.move.width = -5;
    cfg.click.move_allowance = -2147483647 - 1;
    const OptionForm form = FormFromSettings(cfg);
    EXPECT_STREQ(form[IndexOf(EdtWheelTimeout)].text, "4294967295");
    EXPECT_STREQ(form[IndexOf(EdtClickMsecDblClick)].text, "2147483648");
    EXPECT_STREQ(form[IndexOf(EdtMoveWidth)].text, "-5");
    EXPECT_STREQ(form[IndexOf(EdtClickMoveAllowance)].text, "-2147483648");
}

TEST(OptionFields, FullScreenListShowsTheValueItNamesAndStoresTheChosenItem) {
    Settings cfg = Defaults();
    EXPECT_EQ(FormFromSettings(cfg)[IndexOf(CmbFullScreen)].choice, 1);
    cfg.general.fullscreen = 2;
    EXPECT_EQ(FormFromSettings(cfg)[IndexOf(CmbFullScreen)].choice, 2);
    for (int32_t unknown : {3, -1, 7})  {
        cfg.general.fullscreen = unknown;
        EXPECT_EQ(FormFromSettings(cfg)[IndexOf(CmbFullScreen)].choice, 1) << unknown;
    }
    OptionForm form = FormFromSettings(cfg);
    Control(form, CmbFullScreen).choice = 0;
    ASSERT_EQ(StoreForm(form, cfg), FORM_STORED);
    EXPECT_EQ(cfg.general.fullscreen, 0);
    Control(form, CmbFullScreen).choice = -1;   // no item chosen
    ASSERT_EQ(StoreForm(form, cfg), FORM_STORED);
    EXPECT_EQ(cfg.general.fullscreen, 1);
}

TEST(OptionFields, UnchangedFormStoresTheSameRecordWithEnableNormalised) {
    Settings cfg = Defaults();
    cfg.general.enable = 5;
    cfg.wheel.timeout = 4294967295u;   // shown unsigned, reads back
    SetTextField(cfg.general.exclude, sizeof cfg.general.exclude, std::string(259, 'x').c_str());
    Settings stored = cfg;
    ASSERT_EQ(StoreForm(FormFromSettings(cfg), stored), FORM_STORED);
    cfg.general.enable = 1;
    EXPECT_TRUE(SameRecord(stored, cfg));
}

// A value other than 1 that means on, written into the file by hand, survives OK.
TEST(OptionFields, ClickGuardBoxStoresOffAsZeroAndKeepsAnyOnValue) {
    Settings cfg = Defaults();
    for (int32_t before : {0, 1, 7, -1}) {
        for (bool checked : {false, true}) {
            cfg.move.click_guard = before;
            OptionForm form = FormFromSettings(cfg);
            EXPECT_EQ(Control(form, ChkMoveClickGuard).checked, before != 0) << before;
            Control(form, ChkMoveClickGuard).checked = checked;
            ASSERT_EQ(StoreForm(form, cfg), FORM_STORED);
            EXPECT_EQ(cfg.move.click_guard, !checked ? 0 : before ? before : 1) << before << checked;
        }
    }
}

TEST(OptionFields, BitsWithoutABoxPassThrough) {
    Settings cfg = Defaults();
    cfg.wheel.onwheel = -13;   // 0xFFFFFFF3
    cfg.move.onmove = 0xFFFE0000u | 0x0001;
    cfg.click.onclick = 0xFFFFFF88u;
    cfg.move.onmove_others = 0xABCD0081u;
    cfg.move.push = 0x80000001u;
    cfg.move.modifier = 0xF0 | MODIFIER_ALT;
    OptionForm form = FormFromSettings(cfg);
    Control(form, ChkMovePushEdges).checked = false;
    Control(form, ChkMovePushCorners).checked = true;
    EXPECT_TRUE(Control(form, ChkModifierAlt).checked && !Control(form, ChkModifierShift).checked);
    Control(form, ChkModifierCtrl).checked = true;
    EXPECT_TRUE(Control(form, ChkMoveOthLT).checked && Control(form, ChkMoveOthL).checked);
    Control(form, ChkMoveOthL).checked = false;
    Control(form, ChkMoveOthRB).checked = true;
    EXPECT_TRUE(Control(form, ChkOnWheel).checked);
    EXPECT_TRUE(Control(form, ChkWheelFine).checked);
    Control(form, ChkOnWheel).checked = false;
    Control(form, ChkMovePriLT).checked = false;
    Control(form, ChkMoveSecB).checked = true;
    Control(form, ChkMoveOnVelk).checked = true;
    Control(form, ChkClickLHoldDown).checked = true;
    ASSERT_EQ(StoreForm(form, cfg), FORM_STORED);
    EXPECT_EQ(cfg.wheel.onwheel, -14);
    Control(form, ChkWheelFine).checked = false;
    ASSERT_EQ(StoreForm(form, cfg), FORM_STORED);
    EXPECT_EQ(cfg.wheel.onwheel, -16);
    EXPECT_EQ(cfg.move.onmove, 0xFFFE0000u | 0x04000 | 0x10000);
    EXPECT_EQ(cfg.click.onclick, 0xFFFFFF98u);
    EXPECT_EQ(cfg.move.onmove_others, 0xABCD0005u);
    EXPECT_EQ(cfg.move.push, 0x80000002u);
    EXPECT_EQ(cfg.move.modifier, 0xF0u | MODIFIER_ALT | MODIFIER_CTRL);
}

TEST(OptionFields, EditsStoreWhatTheyRead) {
    Settings cfg = Defaults();
    OptionForm form = FormFromSettings(cfg);
    Type(Control(form, EdtInterval), "  250");
    Type(Control(form, EdtWheelUp), "$FA");
    Type(Control(form, EdtWheelDown), "0xFA");
    Type(Control(form, EdtWheelAllowance), "-5");
    Type(Control(form, EdtWheelTimeout), "-1");
    Type(Control(form, EdtWheelBounce), "45");
    Type(Control(form, EdtMoveDelay), "0250");
    Type(Control(form, EdtMoveHeight), "0");
    Type(Control(form, EdtClickMsecDblClick), "4294967295");
    Type(Control(form, EdtExclude), "mstsc.exe; ゲーム.exe");
    ASSERT_EQ(StoreForm(form, cfg), FORM_STORED);
    EXPECT_STREQ(cfg.general.exclude, "mstsc.exe; ゲーム.exe");
    EXPECT_EQ(cfg.general.interval, 250);
    EXPECT_EQ(cfg.wheel.up, 250);
    EXPECT_EQ(cfg.wheel.down, 250);
    EXPECT_EQ(cfg.wheel.allowance, -5);
    EXPECT_EQ(cfg.wheel.timeout, 4294967295u);
    EXPECT_EQ(cfg.wheel.bounce_guard, 45);
    EXPECT_EQ(cfg.move.delay, 250);
    EXPECT_EQ(cfg.move.height, 0);
    EXPECT_EQ(cfg.click.msec_dblclick, 4294967295u);
}

TEST(OptionFields, AnInvalidEditStoresNothingAndNamesTheFirstBadOne) {
    Settings cfg = Defaults();
    const Settings before = cfg;
    OptionForm form = FormFromSettings(cfg);
    Control(form, ChkEnable).checked = false;
    Type(Control(form, EdtInterval), "123");
    Control(form, ChkMovePriT).checked = true;
    Type(Control(form, EdtWheelUp), "2.5");
    Type(Control(form, EdtClickMoveAllowance), "");
    EXPECT_EQ(StoreForm(form, cfg), static_cast<int>(IndexOf(EdtWheelUp)));
    EXPECT_TRUE(SameRecord(cfg, before));
    Type(Control(form, EdtWheelUp), "3");
    EXPECT_EQ(StoreForm(form, cfg), static_cast<int>(IndexOf(EdtClickMoveAllowance)));
    EXPECT_TRUE(SameRecord(cfg, before));
}

// What 識別 shows: the boxes as they stand, and the edits that read.
TEST(OptionFields, PreviewTakesTheFormAsItStandsAndTheRecordForEditsThatDoNotRead) {
    OptionForm form = FormFromSettings(Defaults());
    Control(form, ChkMoveOthB).checked = true;
    Type(Control(form, EdtMoveWidth), "40");
    Type(Control(form, EdtMoveHeight), "4O");
    const Settings shown = PreviewForm(form, Defaults());
    EXPECT_EQ(shown.move.onmove_others, MOVE_ZONE_B);
    EXPECT_EQ(shown.move.width, 40);
    EXPECT_EQ(shown.move.height, 10);
}

TEST(OptionFields, SignedFieldsRefuseWhatOnlyAnUnsignedOneTakes) {
    Settings cfg = Defaults();
    OptionForm form = FormFromSettings(cfg);
    Type(Control(form, EdtMoveWidth), "2147483648");
    EXPECT_EQ(StoreForm(form, cfg), static_cast<int>(IndexOf(EdtMoveWidth)));
    Type(Control(form, EdtMoveWidth), "0x80000000");
    ASSERT_EQ(StoreForm(form, cfg), FORM_STORED);
    EXPECT_EQ(cfg.move.width, -2147483647 - 1);
}

TEST(OptionFields, MessageQuotesTheText) {
    char message[NOT_AN_INTEGER_MESSAGE_SIZE];
    NotAnIntegerMessage("12a", message);
    EXPECT_STREQ(message, "'12a' は整数ではありません.");
}

}  // namespace
