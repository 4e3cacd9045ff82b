#include "ui/FormOptionUnit.h"

#include <commctrl.h>

#include <iterator>

#include "appinfo/SystemDll.h"
#include "base/Text.h"
#include "settings/Settings.h"
#include "ui/ModuleTitle.h"
#include "ui/MonitorIdentity.h"
#include "ui/OptionFields.h"

namespace {

const int CLIENT_WIDTH = 450;
const int CLIENT_HEIGHT = 387;
const int PAGE_COUNT = 4;

enum FontRole { NORMAL, NOTE, PANEL_CAPTION, FONT_ROLE_COUNT };
const int NOTE_HEIGHT = 11;
const int PANEL_CAPTION_HEIGHT = 32;

constexpr LayoutRow Label(int parent, const char *text, int x, int y, int w, DWORD align = SS_LEFT) {
    return {-1, parent, "Static", text, align | SS_NOPREFIX, 0, x, y, w, 13, NORMAL, Look::Plain};
}
// Text before an edit hugs it, whatever the width of the font.
constexpr LayoutRow LabelBefore(int parent, const char *text, int x, int y, int w) {
    return Label(parent, text, x, y, w, SS_RIGHT);
}
constexpr LayoutRow Edit(int id, int parent, int x, int y, int w) {
    return {id, parent, "Edit", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, x, y, w, 21, NORMAL, Look::Plain};
}
constexpr LayoutRow Check(int id, int parent, const char *text, int x, int y, int w) {
    return {id, parent, "Button", text, BS_AUTOCHECKBOX | WS_TABSTOP, 0, x, y, w, 17, NORMAL, Look::Plain};
}
// The height of a drop-down list is that of its open list; the closed box takes the font's.
constexpr LayoutRow DropDownList(int id, int parent, int x, int y, int w) {
    return {id, parent, "ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, x, y, w, 120, NORMAL,
            Look::Plain};
}
constexpr LayoutRow Note(int parent, const char *text, int x, int y, int w) {
    return {-1, parent, "Static", text, SS_LEFT | SS_NOPREFIX, 0, x, y, w, 12, NOTE, Look::Plain};
}
constexpr LayoutRow Page(int id, const char *text) {
    return {id, PageControl, LAYOUT_PAGE, text, 0, 0, 0, 0, 0, 0, NORMAL, Look::Plain};
}
// A monitor: 120 x 95 with a lowered bevel, its number in the middle; three stand side by side.
constexpr int PANEL_WIDTH = 120;
constexpr int PANEL_HEIGHT = 95;
constexpr LayoutRow MonitorPanel(int id, const char *caption, int x, int y) {
    return {id,       PageMove, "Static",    caption,      SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN, WS_EX_CONTROLPARENT,
            x,        y,        PANEL_WIDTH, PANEL_HEIGHT, PANEL_CAPTION,                          Look::Desktop};
}
// A zone box in a monitor panel's 3 x 3 grid, inside the panel's client area (the bevel takes
// a pixel each side): the corners 4 pixels in, the middles centred.
constexpr int ZONE_BOX = 13;
constexpr int GridAt(int cell, int room) {
    return cell == 0 ? 4 : cell == 1 ? (room - ZONE_BOX) / 2 : room - 4 - ZONE_BOX;
}
constexpr LayoutRow Zone(int id, int panel, int column, int row) {
    return {id, panel, "Button", "", BS_AUTOCHECKBOX | WS_TABSTOP, 0, GridAt(column, PANEL_WIDTH - 2),
            GridAt(row, PANEL_HEIGHT - 2), ZONE_BOX, ZONE_BOX, NORMAL, Look::Desktop};
}

// A panel's eight boxes, in their tab order: down the left column, down the right one, then
// the top and bottom middles.
#define MONITOR_ZONES(panel, which)                                                                    \
    Zone(ChkMove##which##LT, panel, 0, 0), Zone(ChkMove##which##LB, panel, 0, 2),                      \
        Zone(ChkMove##which##L, panel, 0, 1), Zone(ChkMove##which##RT, panel, 2, 0),                   \
        Zone(ChkMove##which##R, panel, 2, 1), Zone(ChkMove##which##RB, panel, 2, 2),                   \
        Zone(ChkMove##which##T, panel, 1, 0), Zone(ChkMove##which##B, panel, 1, 2)

// The whole form. Among siblings the order of the rows is the tab order.
const LayoutRow OPTION_LAYOUT[] = {
    {PageControl, 0, WC_TABCONTROLA, "", WS_TABSTOP | WS_CLIPSIBLINGS, 0, 5, 5, 440, 343, NORMAL, Look::Plain},
    Page(PageGeneral, "全般"),
    Page(PageWheel, "ホイール"),
    Page(PageMove, "移動"),
    Page(PageClick, "クリック"),

    Label(PageGeneral, "判定間隔：", 8, 44, 62),
    Edit(EdtInterval, PageGeneral, 72, 40, 49),
    Label(PageGeneral, "ミリ秒毎に判定する", 125, 44, 200),
    Check(ChkEnable, PageGeneral, "このプラグインを有効にする", 8, 12, 300),
    Label(PageGeneral, "全画面表示のとき：", 8, 78, 300),
    DropDownList(CmbFullScreen, PageGeneral, 8, 94, 330),
    Label(PageGeneral, "1：Windows が全画面のゲームかプレゼンテーション中と知らせるとき、または", 8, 126, 424),
    Label(PageGeneral, "　「ビジー」と知らせ前面のウィンドウがモニター全体を覆うときは反応しない。", 8, 140, 424),
    Label(PageGeneral, "2：そのうえ前面のウィンドウがモニター全体を覆うときはいつも反応しない", 8, 158, 424),
    Label(PageGeneral, "　（デスクトップ、タスクバー、Velkora のウィンドウは数えない）。", 8, 172, 424),
    Label(PageGeneral, "キーを押しているときだけ反応：", 8, 190, 424),
    Check(ChkModifierShift, PageGeneral, "Shift", 16, 206, 64),
    Check(ChkModifierCtrl, PageGeneral, "Ctrl", 88, 206, 64),
    Check(ChkModifierAlt, PageGeneral, "Alt", 160, 206, 64),
    Check(ChkModifierWin, PageGeneral, "Win", 232, 206, 64),
    Note(PageGeneral, "※画面の隅や端と Velkora の枠内だけに効きます。", 8, 225, 424),
    Label(PageGeneral, "反応しないプログラム：", 8, 243, 424),
    Edit(EdtExclude, PageGeneral, 8, 259, 424),
    Note(PageGeneral, "※前面にあるあいだは、どの操作にも反応しません。", 8, 283, 424),
    Note(PageGeneral, "　実行ファイル名を ; で区切ります（例：mstsc.exe; Game.exe）。", 8, 296, 424),

    Label(PageWheel, "マウスホイールを小刻みに上下に動かすことで「Velkora」をアクティブ化する設定", 8, 8, 424),
    Label(PageWheel, "です。", 8, 22, 424),
    Label(PageWheel, "有効：", 8, 48, 48),
    Check(ChkOnWheel, PageWheel, "ホイール検知を有効にする", 56, 46, 300),
    Label(PageWheel, "あそび：", 8, 108, 48),
    Edit(EdtWheelAllowance, PageWheel, 56, 104, 41),
    Label(PageWheel, "回以内の回転は検知状態のままとする", 100, 108, 300),
    Label(PageWheel, "操作：", 8, 78, 48),
    LabelBefore(PageWheel, "上下させた回数が、上に", 56, 78, 132),
    Edit(EdtWheelUp, PageWheel, 189, 74, 33),
    LabelBefore(PageWheel, "回、下に", 223, 78, 48),
    Edit(EdtWheelDown, PageWheel, 272, 74, 33),
    Label(PageWheel, "回に達したら検知とする", 307, 78, 132),
    Label(PageWheel, "タイム：", 8, 138, 48),
    Edit(EdtWheelTimeout, PageWheel, 56, 134, 41),
    Label(PageWheel, "ミリ秒以内に上下させているときを検知状態とする", 100, 138, 320),
    Label(PageWheel, "反転：", 8, 168, 48),
    Edit(EdtWheelBounce, PageWheel, 56, 164, 41),
    Label(PageWheel, "ミリ秒未満の反転はホイールの誤作動とみなして数えない", 100, 168, 330),
    Check(ChkWheelFine, PageWheel, "タッチパッドなどの細かいスクロールも数える", 56, 196, 370),

    Label(PageMove, "マウスカーソルを特定の場所へ移動することで「Velkora」をアクティブ化する設定", 8, 8, 424),
    Label(PageMove, "です。", 8, 22, 424),
    Label(PageMove, "操作：", 8, 44, 48),
    MonitorPanel(PnlPrimary, "1", 56, 42),
    MONITOR_ZONES(PnlPrimary, Pri),
    Note(PageMove, "※1はプライマリモニター、2と3〜はそれ以外のモニターで、", 8, 142, 356),
    Note(PageMove, "Windowsが列挙する順です。「識別」で各画面に番号を表示します。", 8, 155, 356),
    Label(PageMove, "タイム：", 8, 224, 48),
    Edit(EdtMoveDelay, PageMove, 56, 220, 49),
    Label(PageMove, "ミリ秒以上 検知状態が続いたら検知とする", 108, 224, 300),
    Label(PageMove, "範囲：", 8, 198, 48),
    LabelBefore(PageMove, "幅", 56, 198, 14),
    Edit(EdtMoveWidth, PageMove, 71, 194, 49),
    Label(PageMove, "px、", 122, 198, 28),
    LabelBefore(PageMove, "高さ", 150, 198, 26),
    Edit(EdtMoveHeight, PageMove, 177, 194, 49),
    Label(PageMove, "px の範囲に入ったら検知状態となる", 228, 198, 206),
    Check(ChkMoveOnVelk, PageMove, "Velkoraの枠内", 56, 172, 300),
    MonitorPanel(PnlSecondary, "2", 182, 42),
    MONITOR_ZONES(PnlSecondary, Sec),
    MonitorPanel(PnlOthers, "3〜", 308, 42),
    MONITOR_ZONES(PnlOthers, Oth),
    {IdentifyBtn, PageMove, "Button", "識別", BS_PUSHBUTTON | WS_TABSTOP, 0, 368, 142, 60, 23, NORMAL, Look::Plain},
    Check(ChkMoveClickGuard, PageMove, "クリックやドラッグの最中は反応しない", 56, 248, 370),
    Check(ChkMovePushEdges, PageMove, "画面の端は押し当てたときだけ反応する", 56, 270, 370),
    Check(ChkMovePushCorners, PageMove, "角も押し当てるとすぐ反応する", 56, 292, 200),
    LabelBefore(PageMove, "押し当て：", 262, 292, 60),
    Edit(EdtMovePushDistance, PageMove, 323, 288, 41),
    Label(PageMove, "ピクセル", 367, 292, 60),

    Label(PageClick, "マウスクリックすることで「Velkora」をアクティブ化する設定です。", 8, 8, 424),
    Label(PageClick, "操作：", 8, 38, 48),
    Check(ChkClickLDblClick, PageClick, "左ダブルクリック", 56, 36, 150),
    Check(ChkClickMDblClick, PageClick, "中ダブルクリック", 56, 56, 150),
    Check(ChkClickRDblClick, PageClick, "右ダブルクリック", 56, 76, 150),
    Check(ChkClickLHoldDown, PageClick, "左クリック長押し", 216, 36, 150),
    Check(ChkClickMHoldDown, PageClick, "中クリック長押し", 216, 56, 150),
    Check(ChkClickRHoldDown, PageClick, "右クリック長押し", 216, 76, 150),
    LabelBefore(PageClick, "ダブルクリック：", 8, 112, 96),
    Edit(EdtClickMsecDblClick, PageClick, 106, 108, 41),
    Label(PageClick, "ミリ秒以内のクリックを「ダブルクリック」と認識する", 150, 112, 300),
    LabelBefore(PageClick, "長押し：", 8, 142, 96),
    Edit(EdtClickMsecHoldDown, PageClick, 106, 138, 41),
    Label(PageClick, "ミリ秒以上押し続けたら「長押し」と認識する", 150, 142, 300),
    LabelBefore(PageClick, "キャンセル：", 8, 172, 96),
    Edit(EdtClickMoveAllowance, PageClick, 106, 168, 41),
    Label(PageClick, "px以上カーソル移動をしたら無視する", 150, 172, 300),

    // The 34-pixel strip along the bottom.
    {OKBtn, 0, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 275, 357, 75, 25, NORMAL, Look::Plain},
    {CancelBtn, 0, "Button", "キャンセル", BS_PUSHBUTTON | WS_TABSTOP, 0, 363, 357, 75, 25, NORMAL, Look::Plain},
};

static_assert(std::size(OPTION_LAYOUT) <= LAYOUT_CAPACITY, "the layout holds every row");

// The system's message font, or that font `height` pixels high at 96 DPI, at `dpi`.
HFONT UserInterfaceFont(int height, int dpi) {
    LOGFONTA font = SystemMessageFont();
    // The system gives its font at the screen's DPI.
    font.lfHeight = height ? -Scaled(height, dpi) : MulDiv(font.lfHeight, dpi, ScreenDpi());
    return CreateFontIndirectA(&font);
}

void SetBoxChecked(HWND box, bool checked) {
    SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

TOptionDlg::TOptionDlg(HMODULE module) : module_(module) {
    ModuleTitle(module, title_);
    FormatCut(caption_, sizeof caption_, "%sの設定", title_);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    system_dll::InitCommonControlsEx(&controls);
}

INT_PTR TOptionDlg::ShowModal() { return ShowLayoutDialog(module_, DialogProc, reinterpret_cast<LPARAM>(this)); }

INT_PTR CALLBACK TOptionDlg::DialogProc(HWND form, UINT message, WPARAM wparam, LPARAM lparam) {
    auto *self = FormObjectOf<TOptionDlg>(form, message, lparam);
    if (!self)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        if (!self->FormCreate(form)) {
            EndLayoutDialog(form, LAYOUT_NOT_BUILT);
            return TRUE;
        }
        self->FormShow();
        return FALSE;   // FormCreate gave the focus
    case LAYOUT_TURN_PAGE:
        self->TurnPage(static_cast<int>(wparam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == OKBtn && self->OKBtnClick())
            self->Close(IDOK);
        else if (LOWORD(wparam) == CancelBtn)
            self->Close(IDCANCEL);
        else if (LOWORD(wparam) == IdentifyBtn && HIWORD(wparam) == BN_CLICKED)
            ShowMonitorIdentity(self->module_, PreviewForm(self->Entered(), g_cfg));
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR *>(lparam)->code == TCN_SELCHANGE)
            self->ShowPage(static_cast<int>(SendMessageA(self->windows_.Get(PageControl), TCM_GETCURSEL, 0, 0)));
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<INT_PTR>(AnswerColourMessage(wparam, lparam));
    case WM_DESTROY:
        HideMonitorIdentity();
        for (HFONT &font : self->fonts_) {
            DeleteObject(font);
            font = nullptr;
        }
        self->windows_.Clear();
        self->form_ = nullptr;
        return FALSE;
    }
    return FALSE;
}

// The page control, first in the tab order, has the focus at the opening: the arrow keys turn
// its pages, Tab leads into the shown one.
bool TOptionDlg::FormCreate(HWND form) {
    form_ = form;
    SetWindowTextA(form, caption_);
    const int dpi = FormDpi(form);
    fonts_[NORMAL] = UserInterfaceFont(0, dpi);
    fonts_[NOTE] = UserInterfaceFont(NOTE_HEIGHT, dpi);
    fonts_[PANEL_CAPTION] = UserInterfaceFont(PANEL_CAPTION_HEIGHT, dpi);
    if (!BuildLayout(form, OPTION_LAYOUT, std::size(OPTION_LAYOUT), fonts_, dpi, windows_))
        return false;
    // What is entered is read into buffers of a fixed size.
    for (const OptionField &field : OPTION_FIELDS)
        if (field.IsEdit())
            SendMessageA(windows_.Get(field.control), EM_SETLIMITTEXT, field.EditLimit(), 0);
    for (const char *choice : FULLSCREEN_CHOICES)
        SendMessageA(windows_.Get(CmbFullScreen), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
    ShowPage(active_page_);
    SendMessageA(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(windows_.Get(PageControl)), TRUE);
    SetClientSize(form, Scaled(CLIENT_WIDTH, dpi), Scaled(CLIENT_HEIGHT, dpi));
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    CentreWindowIn(form, screen);
    return true;
}

void TOptionDlg::FormShow() {
    const OptionForm shown = FormFromSettings(g_cfg);
    for (size_t i = 0; i < OPTION_FIELD_COUNT; ++i) {
        HWND control = windows_.Get(OPTION_FIELDS[i].control);
        if (OPTION_FIELDS[i].IsEdit())
            SetWindowTextA(control, shown[i].text);
        else if (OPTION_FIELDS[i].shape == FieldShape::Choice)
            SendMessageA(control, CB_SETCURSEL, shown[i].choice, 0);
        else
            SetBoxChecked(control, shown[i].checked);
    }
}

// Whatever the user did to the box before, Velkora's command came later and wins; a click on
// the box after it wins in turn.
void TOptionDlg::ShowEnable(bool on) {
    if (form_)
        SetBoxChecked(windows_.Get(ChkEnable), on);
}

OptionForm TOptionDlg::Entered() const {
    OptionForm entered;
    for (size_t i = 0; i < OPTION_FIELD_COUNT; ++i) {
        HWND control = windows_.Get(OPTION_FIELDS[i].control);
        if (OPTION_FIELDS[i].IsEdit())
            GetWindowTextA(control, entered[i].text, sizeof entered[i].text);
        else if (OPTION_FIELDS[i].shape == FieldShape::Choice)
            entered[i].choice = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
        else
            entered[i].checked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    return entered;
}

bool TOptionDlg::OKBtnClick() {
    const OptionForm entered = Entered();
    const int invalid = StoreForm(entered, g_cfg);
    if (invalid == FORM_STORED)
        return true;
    char message[NOT_AN_INTEGER_MESSAGE_SIZE];
    NotAnIntegerMessage(entered[invalid].text, message);
    MessageBoxA(form_, message, title_, MB_OK | MB_ICONERROR);
    ShowInvalidEdit(OPTION_FIELDS[invalid].control);
    return false;
}

// The dialog stays open on the page of the edit that did not read, ready to be corrected.
void TOptionDlg::ShowInvalidEdit(int control) {
    HWND edit = windows_.Get(control);
    ShowPage(GetDlgCtrlID(GetParent(edit)) - PageGeneral);
    SendMessageA(form_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

void TOptionDlg::Close(INT_PTR result) {
    active_page_ = static_cast<int>(SendMessageA(windows_.Get(PageControl), TCM_GETCURSEL, 0, 0));
    EndLayoutDialog(form_, result);
}

// A control of a page that goes out of sight hands the focus to the page control.
void TOptionDlg::ShowPage(int index) {
    if (index < 0 || index >= PAGE_COUNT)
        index = 0;
    HWND tabs = windows_.Get(PageControl);
    SendMessageA(tabs, TCM_SETCURSEL, index, 0);
    HWND focus = GetFocus();
    for (int i = 0; i < PAGE_COUNT; ++i) {
        HWND page = windows_.Get(PageGeneral + i);
        if (i != index && focus && IsChild(page, focus))
            SendMessageA(form_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tabs), TRUE);
        ShowWindow(page, i == index ? SW_SHOW : SW_HIDE);
    }
}

// Ctrl+Tab and its kin go round the pages: after the last comes the first.
void TOptionDlg::TurnPage(int step) {
    const int current = static_cast<int>(SendMessageA(windows_.Get(PageControl), TCM_GETCURSEL, 0, 0));
    ShowPage(((current + step) % PAGE_COUNT + PAGE_COUNT) % PAGE_COUNT);
}
