// What the options dialog shows and stores: each bound control, the settings field it edits
// and how. The dialog's Win32 side moves check states and texts between these records and
// its controls; every decision about the record is made here. No windows.h: tested natively.
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/Settings.h"

// Control identifiers. The two buttons use the dialog manager's IDOK and IDCANCEL, so that
// Enter and Esc reach them.
enum OptionControl : int {
    OKBtn = 1,
    CancelBtn = 2,
    PageControl = 1000,
    PageGeneral, PageWheel, PageMove, PageClick,
    PnlPrimary, PnlSecondary, PnlOthers,

    ChkEnable = 1100, EdtInterval,
    ChkOnWheel, EdtWheelUp, EdtWheelDown, EdtWheelAllowance, EdtWheelTimeout,
    ChkMovePriLT, ChkMovePriRT, ChkMovePriRB, ChkMovePriLB, ChkMovePriT, ChkMovePriR, ChkMovePriB, ChkMovePriL,
    ChkMoveSecLT, ChkMoveSecRT, ChkMoveSecRB, ChkMoveSecLB, ChkMoveSecT, ChkMoveSecR, ChkMoveSecB, ChkMoveSecL,
    ChkMoveOnVelk, EdtMoveWidth, EdtMoveHeight, EdtMoveDelay,
    ChkClickLDblClick, ChkClickMDblClick, ChkClickRDblClick,
    ChkClickLHoldDown, ChkClickMHoldDown, ChkClickRHoldDown,
    EdtClickMsecDblClick, EdtClickMsecHoldDown, EdtClickMoveAllowance,
    CmbFullScreen,
    ChkWheelFine,
    ChkMoveClickGuard,
    ChkMoveOthLT, ChkMoveOthRT, ChkMoveOthRB, ChkMoveOthLB, ChkMoveOthT, ChkMoveOthR, ChkMoveOthB, ChkMoveOthL,
    IdentifyBtn,
    EdtWheelBounce,
    ChkMovePushEdges, ChkMovePushCorners, EdtMovePushDistance,
    ChkModifierShift, ChkModifierCtrl, ChkModifierAlt, ChkModifierWin,
    EdtExclude,
};

enum class FieldShape {
    EnableFlag,   // check box: checked when not 0, stores 1 or 0
    OnOff,        // check box: checked when not 0, stores 0, or keeps a value that is not 0 (1 for 0)
    Bit,          // check box: one bit of the field, the other bits untouched
    Signed,       // edit: signed decimal
    Unsigned,     // edit: unsigned decimal
    Choice,       // drop-down list: the item whose index is the value; stores the chosen index
    Text,         // edit: the text field, cut to it at a character
};

struct OptionField {
    int control;
    FieldShape shape;
    size_t offset;   // of the 32-bit field (FieldShape::Text: the text field) within Settings
    uint32_t bit;    // FieldShape::Bit: the bit; FieldShape::Choice: the item shown for a value
                     // that names no item; FieldShape::Text: the field's size

    bool IsNumber() const { return shape == FieldShape::Signed || shape == FieldShape::Unsigned; }
    bool IsEdit() const { return IsNumber() || shape == FieldShape::Text; }
    // The most characters that the edit takes.
    int EditLimit() const;
};

constexpr size_t OPTION_FIELD_COUNT = 56;
// In the order in which the dialog loads and stores them.
extern const OptionField OPTION_FIELDS[OPTION_FIELD_COUNT];

// The most characters that an edit takes. Its text then fits in ControlState::text even when
// every character takes two bytes.
constexpr int OPTION_EDIT_LIMIT = 127;

// The items of the FullScreen list, in the order of the values 0, 1, 2.
constexpr int FULLSCREEN_CHOICE_COUNT = 3;
extern const char *const FULLSCREEN_CHOICES[FULLSCREEN_CHOICE_COUNT];

// What one bound control shows: a check box's state, an edit's text or a list's item.
struct ControlState {
    bool checked = false;
    int choice = 0;
    char text[std::max<size_t>(2 * OPTION_EDIT_LIMIT + 1, EXCLUDE_TEXT_SIZE)] = {};
};
using OptionForm = std::array<ControlState, OPTION_FIELD_COUNT>;

OptionForm FormFromSettings(const Settings &cfg);

constexpr int FORM_STORED = -1;
// Every edit is read before anything is stored. At the first edit that is not an integer the
// record stays untouched and its index into OPTION_FIELDS is returned; else FORM_STORED.
int StoreForm(const OptionForm &form, Settings &cfg);
// The record as the form shows it now, before OK: what StoreForm would store, each edit that
// does not read as an integer keeping the value of `cfg`.
Settings PreviewForm(const OptionForm &form, const Settings &cfg);

// The message for an edit that does not read as an integer; room for any text of an edit.
constexpr size_t NOT_AN_INTEGER_MESSAGE_SIZE = sizeof ControlState::text + 32;
void NotAnIntegerMessage(const char *text, char (&message)[NOT_AN_INTEGER_MESSAGE_SIZE]);
