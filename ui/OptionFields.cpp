#include "ui/OptionFields.h"

#include <cstring>

#include "base/Text.h"
#include "ui/IntegerText.h"

#define FIELD(member) offsetof(Settings, member)
#define FLAG(control, member) {control, FieldShape::EnableFlag, FIELD(member), 0}
#define ON_OFF(control, member) {control, FieldShape::OnOff, FIELD(member), 0}
#define BIT(control, member, bit) {control, FieldShape::Bit, FIELD(member), bit}
#define SIGNED(control, member) {control, FieldShape::Signed, FIELD(member), 0}
#define UNSIGNED(control, member) {control, FieldShape::Unsigned, FIELD(member), 0}
#define CHOICE(control, member, fallback) {control, FieldShape::Choice, FIELD(member), fallback}
#define TEXT(control, member) {control, FieldShape::Text, FIELD(member), sizeof Settings().member}

const char *const FULLSCREEN_CHOICES[FULLSCREEN_CHOICE_COUNT] = {
    "0 常に反応する",
    "1 全画面のゲームやスライドショーの間は反応しない",
    "2 全画面表示のウィンドウでも反応しない",
};

const OptionField OPTION_FIELDS[OPTION_FIELD_COUNT] = {
    FLAG(ChkEnable, general.enable),
    SIGNED(EdtInterval, general.interval),
    CHOICE(CmbFullScreen, general.fullscreen, FULLSCREEN_EXCLUSIVE),
    TEXT(EdtExclude, general.exclude),
    BIT(ChkOnWheel, wheel.onwheel, WHEEL_GESTURE_ON),
    SIGNED(EdtWheelUp, wheel.up),
    SIGNED(EdtWheelDown, wheel.down),
    SIGNED(EdtWheelAllowance, wheel.allowance),
    UNSIGNED(EdtWheelTimeout, wheel.timeout),
    SIGNED(EdtWheelBounce, wheel.bounce_guard),
    BIT(ChkWheelFine, wheel.onwheel, WHEEL_COUNT_FINE),
    BIT(ChkMovePriLT, move.onmove, MOVE_ZONE_LT),
    BIT(ChkMovePriRT, move.onmove, MOVE_ZONE_RT),
    BIT(ChkMovePriRB, move.onmove, MOVE_ZONE_RB),
    BIT(ChkMovePriLB, move.onmove, MOVE_ZONE_LB),
    BIT(ChkMovePriT, move.onmove, MOVE_ZONE_T),
    BIT(ChkMovePriR, move.onmove, MOVE_ZONE_R),
    BIT(ChkMovePriB, move.onmove, MOVE_ZONE_B),
    BIT(ChkMovePriL, move.onmove, MOVE_ZONE_L),
    BIT(ChkMoveSecLT, move.onmove, MOVE_ZONE_LT << MOVE_ZONE_SECONDARY_SHIFT),
    BIT(ChkMoveSecRT, move.onmove, MOVE_ZONE_RT << MOVE_ZONE_SECONDARY_SHIFT),
    BIT(ChkMoveSecRB, move.onmove, MOVE_ZONE_RB << MOVE_ZONE_SECONDARY_SHIFT),
    BIT(ChkMoveSecLB, move.onmove, MOVE_ZONE_LB << MOVE_ZONE_SECONDARY_SHIFT),
    BIT(ChkMoveSecT, move.onmove, MOVE_ZONE_T << MOVE_ZONE_SECONDARY_SHIFT),
    BIT(ChkMoveSecR, move.onmove, MOVE_ZONE_R << MOVE_ZONE_SECONDARY_SHIFT),
    BIT(ChkMoveSecB, move.onmove, MOVE_ZONE_B << MOVE_ZONE_SECONDARY_SHIFT),
    BIT(ChkMoveSecL, move.onmove, MOVE_ZONE_L << MOVE_ZONE_SECONDARY_SHIFT),
    BIT(ChkMoveOnVelk, move.onmove, MOVE_ZONE_HOST_FRAME),
    SIGNED(EdtMoveWidth, move.width),
    SIGNED(EdtMoveHeight, move.height),
    SIGNED(EdtMoveDelay, move.delay),
    ON_OFF(ChkMoveClickGuard, move.click_guard),
    BIT(ChkModifierShift, move.modifier, MODIFIER_SHIFT),
    BIT(ChkModifierCtrl, move.modifier, MODIFIER_CTRL),
    BIT(ChkModifierAlt, move.modifier, MODIFIER_ALT),
    BIT(ChkModifierWin, move.modifier, MODIFIER_WIN),
    BIT(ChkMoveOthLT, move.onmove_others, MOVE_ZONE_LT),
    BIT(ChkMoveOthRT, move.onmove_others, MOVE_ZONE_RT),
    BIT(ChkMoveOthRB, move.onmove_others, MOVE_ZONE_RB),
    BIT(ChkMoveOthLB, move.onmove_others, MOVE_ZONE_LB),
    BIT(ChkMoveOthT, move.onmove_others, MOVE_ZONE_T),
    BIT(ChkMoveOthR, move.onmove_others, MOVE_ZONE_R),
    BIT(ChkMoveOthB, move.onmove_others, MOVE_ZONE_B),
    BIT(ChkMoveOthL, move.onmove_others, MOVE_ZONE_L),
    BIT(ChkMovePushEdges, move.push, MOVE_PUSH_EDGES),
    BIT(ChkMovePushCorners, move.push, MOVE_PUSH_CORNERS),
    SIGNED(EdtMovePushDistance, move.push_distance),
    BIT(ChkClickLDblClick, click.onclick, CLICK_LEFT_DBLCLICK),
    BIT(ChkClickMDblClick, click.onclick, CLICK_MIDDLE_DBLCLICK),
    BIT(ChkClickRDblClick, click.onclick, CLICK_RIGHT_DBLCLICK),
    BIT(ChkClickLHoldDown, click.onclick, CLICK_LEFT_HOLDDOWN),
    BIT(ChkClickMHoldDown, click.onclick, CLICK_MIDDLE_HOLDDOWN),
    BIT(ChkClickRHoldDown, click.onclick, CLICK_RIGHT_HOLDDOWN),
    UNSIGNED(EdtClickMsecDblClick, click.msec_dblclick),
    SIGNED(EdtClickMsecHoldDown, click.msec_holddown),
    SIGNED(EdtClickMoveAllowance, click.move_allowance),
};

int OptionField::EditLimit() const { return shape == FieldShape::Text ? static_cast<int>(bit) - 1 : OPTION_EDIT_LIMIT; }

// Every bound field but a text is a 32-bit integer, signed or unsigned; both are handled as their
// pattern.
static uint32_t ReadField(const Settings &cfg, const OptionField &f) {
    uint32_t value;
    std::memcpy(&value, reinterpret_cast<const char *>(&cfg) + f.offset, sizeof value);
    return value;
}

static void WriteField(Settings &cfg, const OptionField &f, uint32_t value) {
    std::memcpy(reinterpret_cast<char *>(&cfg) + f.offset, &value, sizeof value);
}

OptionForm FormFromSettings(const Settings &cfg) {
    OptionForm form;
    for (size_t i = 0; i < OPTION_FIELD_COUNT; ++i) {
        const OptionField &f = OPTION_FIELDS[i];
        if (f.shape == FieldShape::Text) {
            FormatCut(form[i].text, sizeof form[i].text, "%s", reinterpret_cast<const char *>(&cfg) + f.offset);
            continue;
        }
        const uint32_t value = ReadField(cfg, f);
        switch (f.shape) {
        case FieldShape::EnableFlag:
        case FieldShape::OnOff: form[i].checked = value != 0; break;
        case FieldShape::Bit: form[i].checked = (value & f.bit) != 0; break;
        case FieldShape::Signed:
            FormatCut(form[i].text, sizeof form[i].text, "%d", static_cast<int>(static_cast<int32_t>(value)));
            break;
        case FieldShape::Unsigned:
            FormatCut(form[i].text, sizeof form[i].text, "%u", static_cast<unsigned>(value));
            break;
        case FieldShape::Choice:
            form[i].choice = value < FULLSCREEN_CHOICE_COUNT ? static_cast<int>(value) : static_cast<int>(f.bit);
            break;
        case FieldShape::Text: break;
        }
    }
    return form;
}

// Whether the edit of field `i` reads as an integer, into `number`; true for every other control.
static bool ReadEdit(const OptionForm &form, size_t i, uint32_t &number) {
    const OptionField &f = OPTION_FIELDS[i];
    const IntegerField kind = f.shape == FieldShape::Unsigned ? IntegerField::Unsigned : IntegerField::Signed;
    return !f.IsNumber() || ReadIntegerText(form[i].text, kind, number);
}

static void StoreField(const ControlState &shown, const OptionField &f, uint32_t number, Settings &cfg) {
    switch (f.shape) {
    case FieldShape::EnableFlag: WriteField(cfg, f, shown.checked ? 1 : 0); break;
    case FieldShape::OnOff: {
        const uint32_t value = ReadField(cfg, f);
        WriteField(cfg, f, !shown.checked ? 0 : value != 0 ? value : 1);
        break;
    }
    case FieldShape::Bit: {
        const uint32_t value = ReadField(cfg, f);
        WriteField(cfg, f, shown.checked ? value | f.bit : value & ~f.bit);
        break;
    }
    case FieldShape::Signed:
    case FieldShape::Unsigned: WriteField(cfg, f, number); break;
    case FieldShape::Choice: {
        const bool names_an_item = shown.choice >= 0 && shown.choice < FULLSCREEN_CHOICE_COUNT;
        WriteField(cfg, f, names_an_item ? static_cast<uint32_t>(shown.choice) : f.bit);
        break;
    }
    case FieldShape::Text: SetTextField(reinterpret_cast<char *>(&cfg) + f.offset, f.bit, shown.text); break;
    }
}

int StoreForm(const OptionForm &form, Settings &cfg) {
    uint32_t numbers[OPTION_FIELD_COUNT] = {};
    for (size_t i = 0; i < OPTION_FIELD_COUNT; ++i)
        if (!ReadEdit(form, i, numbers[i]))
            return static_cast<int>(i);
    for (size_t i = 0; i < OPTION_FIELD_COUNT; ++i)
        StoreField(form[i], OPTION_FIELDS[i], numbers[i], cfg);
    return FORM_STORED;
}

Settings PreviewForm(const OptionForm &form, const Settings &cfg) {
    Settings shown = cfg;
    for (size_t i = 0; i < OPTION_FIELD_COUNT; ++i) {
        uint32_t number = 0;
        if (ReadEdit(form, i, number))
            StoreField(form[i], OPTION_FIELDS[i], number, shown);
    }
    return shown;
}

void NotAnIntegerMessage(const char *text, char (&message)[NOT_AN_INTEGER_MESSAGE_SIZE]) {
    FormatCut(message, sizeof message, "'%s' は整数ではありません.", text);
}
