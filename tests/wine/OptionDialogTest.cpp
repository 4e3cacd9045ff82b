// The options dialog of the real plug-in, driven through its controls while its modal loop runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "appinfo/AppInfo.h"
#include "tests/wine/DialogDriver.h"
#include "tests/wine/MonitorLayout.h"
#include "tests/wine/WineTestHost.h"
#include "ui/MonitorIdentity.h"
#include "ui/OptionFields.h"

namespace {

const char CAPTION[] = "Velkcursorwakeの設定";
const char TITLE[] = "Velkcursorwake";

// Distinctive values, so that each edit is found by what it shows. The keys stand in the order
// in which the plug-in writes them, so an unchanged record writes the same file back.
std::string Ini(const std::string &enable) {
    return "[General]\r\nEnable=" + enable + "\r\nInterval=321\r\nFullScreen=2\r\nExclude=ゲーム.exe; mstsc.exe\r\n"
           "[ShortcutKey]\r\nToggleEnable=Ctrl+F9\r\n"
           "[Wheel]\r\nOnWheel=3\r\nAllowance=7\r\nUp=11\r\nDown=13\r\nTimeOut=-1\r\nBounceGuard=41\r\n"
           "[Move]\r\nOnMove=-56191\r\nWidth=17\r\nHeight=19\r\nDelay=23\r\nClickGuard=5\r\nOnMoveOthers=421\r\n"
           "Push=2\r\nPushDistance=43\r\nModifier=5\r\n"
           "[Click]\r\nOnClick=-86\r\nMsecDblClick=29\r\nMsecHoldDown=-31\r\nMoveAllowance=37\r\n";
}

// A wheel jiggle of two ups and two downs activates the host.
std::string EngineIni(const std::string &enable) {
    return "[General]\r\nEnable=" + enable + "\r\nInterval=50\r\n[Wheel]\r\nOnWheel=1\r\n";
}

const std::map<int, std::string> SHOWN_TEXTS = {
    {EdtInterval, "321"},       {EdtWheelUp, "11"},         {EdtWheelDown, "13"},
    {EdtWheelAllowance, "7"},   {EdtWheelTimeout, "4294967295"}, {EdtWheelBounce, "41"},
    {EdtMoveWidth, "17"},       {EdtMoveHeight, "19"},      {EdtMoveDelay, "23"},
    {EdtClickMsecDblClick, "29"}, {EdtClickMsecHoldDown, "-31"}, {EdtClickMoveAllowance, "37"},
    {EdtMovePushDistance, "43"},
    {EdtExclude, "ゲーム.exe; mstsc.exe"},
};
// OnMove 0xFFFF2481, OnMoveOthers 0x1A5, Push 2, Modifier 5 and OnClick 0xFFFFFFAA.
const int CHECKED_BOXES[] = {ChkEnable,   ChkOnWheel,    ChkWheelFine,      ChkMovePriLT,      ChkMovePriL,
                             ChkMoveSecRB, ChkMoveSecR, ChkMoveOnVelk,     ChkClickMDblClick, ChkClickMHoldDown,
                             ChkMoveClickGuard, ChkMoveOthLT, ChkMoveOthRB, ChkMoveOthR, ChkMoveOthL,
                             ChkMovePushCorners,
                             ChkModifierShift, ChkModifierAlt};

int ActivePage(HWND dialog) {
    return static_cast<int>(SendMessageA(FindControl(dialog, PageControl), TCM_GETCURSEL, 0, 0));
}

// As a click on a tab does: the control notifies the dialog of the change.
void SelectPage(HWND dialog, int index) {
    SendMessageA(FindControl(dialog, PageControl), TCM_SETCURFOCUS, index, 0);
}

HWND VisiblePage(HWND dialog) {
    for (int id = PageGeneral; id <= PageClick; ++id)
        if (IsWindowVisible(FindControl(dialog, id)))
            return FindControl(dialog, id);
    return nullptr;
}

struct CaptionCount {
    const char *caption;
    int shown;
};

BOOL CALLBACK CountShown(HWND window, LPARAM param) {
    auto &count = *reinterpret_cast<CaptionCount *>(param);
    count.shown += IsWindowVisible(window) && TextOf(window) == count.caption;
    return TRUE;
}

int ShownWindowsCaptioned(const char *caption) {
    CaptionCount count = {caption, 0};
    EnumWindows(CountShown, reinterpret_cast<LPARAM>(&count));
    return count.shown;
}

class OptionDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_host.Reset();
        SetCursorPos(600, 500);
        DialogDpi();
    }
    LoadedPlugin &Start(const std::string &ini) {
        plugin_.reset(new LoadedPlugin(CurrentTestName(), ini));
        EXPECT_TRUE(plugin_->Load());
        plugin_->Setup();
        return *plugin_;
    }
    void Options(const std::function<void()> &script) {
        WhileDialogRuns(CAPTION, [&] { plugin_->api.MyOption(0); }, script);
    }
    // Whether a wheel jiggle reaches the plug-in's hook right now.
    static void Jiggle() {
        for (int delta : {120, -120, 120, -120})
            InjectWheel(delta);
    }
    bool JiggleActivates() {
        const size_t before = g_host.hotkeys.size();
        WhilePumping(Jiggle);
        PumpUntil([&] { return g_host.hotkeys.size() > before; }, 1000);
        return g_host.hotkeys.size() > before;
    }

    std::unique_ptr<LoadedPlugin> plugin_;
};

TEST_F(OptionDialogTest, ShowsTheRecordAndOkWithoutChangesWritesItBackWithEnable1) {
    LoadedPlugin &plugin = Start(Ini("5"));
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        for (const auto &shown : SHOWN_TEXTS)
            EXPECT_EQ(FindControlByText(dialog, shown.second), FindControl(dialog, shown.first)) << shown.second;
        std::set<int> checked;
        for (const OptionField &f : OPTION_FIELDS)
            if (!f.IsEdit() && IsChecked(FindControl(dialog, f.control)))
                checked.insert(f.control);
        EXPECT_EQ(checked, std::set<int>(std::begin(CHECKED_BOXES), std::end(CHECKED_BOXES)));
        HWND list = FindControl(dialog, CmbFullScreen);
        EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(TextOf(list), "2 全画面表示のウィンドウでも反応しない");
        Click(FindControlByText(dialog, "OK"));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    const std::string expected = Ini("1");
    EXPECT_EQ(ReadTextFile(plugin.ini_path), expected);
    EXPECT_EQ(g_host.reloads, std::vector<std::string>{"Cursorwake"});
}

// At 96 DPI and, in a run of its own, at 144 DPI: every measure scaled, no text cut off.
TEST_F(OptionDialogTest, LayoutInPixelsAndAScreenshotOfEachPage) {
    ASSERT_EQ(DialogDpi(), RunDpi());
    Start(Ini("1"));
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, AtDpi(450, 675));
        EXPECT_EQ(client.bottom, AtDpi(387, 581));
        RECT frame;
        GetWindowRect(dialog, &frame);   // centred on the screen, each half rounded down
        EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXSCREEN) / 2 - (frame.right - frame.left) / 2);
        EXPECT_EQ(frame.top, GetSystemMetrics(SM_CYSCREEN) / 2 - (frame.bottom - frame.top) / 2);
        EXPECT_EQ(GetWindowLongA(FindControl(dialog, OKBtn), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
        RECT ok = RectIn(FindControl(dialog, OKBtn), dialog), cancel = RectIn(FindControl(dialog, CancelBtn), dialog);
        EXPECT_EQ(ok.left, AtDpi(275, 413));
        EXPECT_EQ(cancel.left, AtDpi(363, 545));
        for (const RECT &r : {ok, cancel}) {
            EXPECT_EQ(r.right - r.left, AtDpi(75, 113));
            EXPECT_EQ(r.bottom - r.top, AtDpi(25, 38));
            EXPECT_GE(r.top, AtDpi(387 - 34, 530));   // inside the bottom strip
        }
        EXPECT_EQ(TextOf(FindControl(dialog, CancelBtn)), "キャンセル");
        RECT pages = RectIn(FindControl(dialog, PageControl), dialog);
        EXPECT_EQ(pages.left, AtDpi(5, 8));
        EXPECT_EQ(pages.top, AtDpi(5, 8));
        EXPECT_EQ(pages.right - pages.left, AtDpi(440, 660));
        EXPECT_EQ(pages.bottom - pages.top, AtDpi(387 - 34 - 5 - 5, 515));
        RECT move_page;
        GetClientRect(FindControl(dialog, PageMove), &move_page);
        for (int panel_id : {PnlPrimary, PnlSecondary, PnlOthers}) {
            HWND panel = FindControl(dialog, panel_id);
            RECT r = RectIn(panel, GetParent(panel));
            EXPECT_EQ(r.right - r.left, AtDpi(120, 180));
            EXPECT_EQ(r.bottom - r.top, AtDpi(95, 143));
            EXPECT_LE(r.right, move_page.right);
            EXPECT_TRUE(GetWindowLongA(panel, GWL_EXSTYLE) & WS_EX_STATICEDGE);   // the lowered bevel
            std::vector<HWND> boxes = ControlsOfClass(panel, "Button");
            EXPECT_EQ(boxes.size(), 8u);
            std::set<std::pair<LONG, LONG>> cells;
            for (HWND box : boxes) {
                EXPECT_EQ(TextOf(box), "");
                RECT b = RectIn(box, panel);
                cells.insert({b.left, b.top});
            }
            EXPECT_EQ(cells.size(), 8u);
        }
        EXPECT_EQ(TextOf(FindControl(dialog, PnlPrimary)), "1");
        EXPECT_EQ(TextOf(FindControl(dialog, PnlSecondary)), "2");
        EXPECT_EQ(TextOf(FindControl(dialog, PnlOthers)), "3〜");
        // 識別, under the third panel and inside the page.
        HWND identify = FindControl(dialog, IdentifyBtn);
        const RECT identify_box = RectIn(identify, GetParent(identify));
        EXPECT_EQ(TextOf(identify), "識別");
        EXPECT_GE(identify_box.top, RectIn(FindControl(dialog, PnlOthers), GetParent(identify)).bottom);
        EXPECT_LE(identify_box.right, move_page.right);
        // The chatter row below the row タイム：, its edit shaped as that row's; the fine-scrolling
        // box below both, inside its page.
        HWND fine = FindControl(dialog, ChkWheelFine);
        RECT fine_box = RectIn(fine, GetParent(fine)), wheel_page;
        GetClientRect(GetParent(fine), &wheel_page);
        const RECT timeout = RectIn(FindControl(dialog, EdtWheelTimeout), GetParent(fine));
        const RECT bounce = RectIn(FindControl(dialog, EdtWheelBounce), GetParent(fine));
        EXPECT_EQ(bounce.left, timeout.left);
        EXPECT_EQ(bounce.right - bounce.left, timeout.right - timeout.left);
        EXPECT_EQ(bounce.bottom - bounce.top, timeout.bottom - timeout.top);
        EXPECT_EQ(bounce.top, AtDpi(164, 246));
        EXPECT_GE(bounce.top, timeout.bottom);
        EXPECT_NE(FindControlByText(dialog, "ミリ秒未満の反転はホイールの誤作動とみなして数えない"), nullptr);
        EXPECT_EQ(fine_box.left, AtDpi(56, 84));
        EXPECT_EQ(fine_box.top, AtDpi(196, 294));
        EXPECT_GE(fine_box.top, bounce.bottom);
        EXPECT_LE(fine_box.right, wheel_page.right);
        EXPECT_EQ(TextOf(fine), "タッチパッドなどの細かいスクロールも数える");
        // The ClickGuard box, below the row タイム： of page 移動 and inside it.
        HWND guard = FindControl(dialog, ChkMoveClickGuard);
        RECT guard_box = RectIn(guard, GetParent(guard));
        EXPECT_EQ(GetParent(guard), FindControl(dialog, PageMove));
        EXPECT_GE(guard_box.top, RectIn(FindControl(dialog, EdtMoveDelay), GetParent(guard)).bottom);
        EXPECT_LE(guard_box.right, move_page.right);
        EXPECT_LE(guard_box.bottom, move_page.bottom);
        EXPECT_EQ(TextOf(guard), "クリックやドラッグの最中は反応しない");
        // The push's two boxes below it, and the push's edit beside the second, the shape of タイム：'s.
        const RECT edges = RectIn(FindControl(dialog, ChkMovePushEdges), GetParent(guard));
        const RECT corners = RectIn(FindControl(dialog, ChkMovePushCorners), GetParent(guard));
        const RECT distance = RectIn(FindControl(dialog, EdtMovePushDistance), GetParent(guard));
        const RECT delay = RectIn(FindControl(dialog, EdtMoveDelay), GetParent(guard));
        EXPECT_EQ(edges.left, guard_box.left);
        EXPECT_GE(edges.top, guard_box.bottom);
        EXPECT_GE(corners.top, edges.bottom);
        EXPECT_GE(distance.left, corners.right);
        EXPECT_EQ(distance.bottom - distance.top, delay.bottom - delay.top);
        for (const RECT &r : {edges, corners, distance}) {
            EXPECT_LE(r.right, move_page.right);
            EXPECT_LE(r.bottom, move_page.bottom);
        }
        EXPECT_EQ(TextOf(FindControl(dialog, ChkMovePushEdges)), "画面の端は押し当てたときだけ反応する");
        EXPECT_EQ(TextOf(FindControl(dialog, ChkMovePushCorners)), "角も押し当てるとすぐ反応する");
        EXPECT_NE(FindControlByText(dialog, "押し当て："), nullptr);
        EXPECT_NE(FindControlByText(dialog, "ピクセル"), nullptr);
        // Page 全般: the list of programs as wide as the page, and every text of the page inside it.
        HWND exclude = FindControl(dialog, EdtExclude);
        RECT general_page, exclude_box = RectIn(exclude, GetParent(exclude));
        GetClientRect(GetParent(exclude), &general_page);
        EXPECT_EQ(exclude_box.right - exclude_box.left, AtDpi(424, 636));
        EXPECT_LE(exclude_box.right, general_page.right);
        EXPECT_EQ(SendMessageA(exclude, EM_GETLIMITTEXT, 0, 0), 259);
        for (HWND text : ControlsOfClass(GetParent(exclude), "Static"))
            EXPECT_LE(RectIn(text, GetParent(exclude)).bottom, general_page.bottom) << TextOf(text);
        EXPECT_EQ(TextsCutOff(dialog), std::vector<std::string>{});
        const char *NAMES[] = {"1-general", "2-wheel", "3-move", "4-click"};
        const char *TABS[] = {"全般", "ホイール", "移動", "クリック"};
        HWND tabs = FindControl(dialog, PageControl);
        for (int i = 0; i < 4; ++i) {
            SelectPage(dialog, i);
            EXPECT_EQ(VisiblePage(dialog), FindControl(dialog, PageGeneral + i));
            EXPECT_EQ(TabText(tabs, i), TABS[i]);
            SaveScreenshot(dialog, ShotName(std::string("options-") + NAMES[i]));
        }
        Click(FindControl(dialog, CancelBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
}

TEST_F(OptionDialogTest, TabOrderThePageControlThenEachPageThenOkAndCancel) {
    const std::vector<std::vector<int>> ORDERS = {
        {PageControl, EdtInterval, ChkEnable, CmbFullScreen, ChkModifierShift, ChkModifierCtrl, ChkModifierAlt,
         ChkModifierWin, EdtExclude},
        {PageControl, ChkOnWheel, EdtWheelAllowance, EdtWheelUp, EdtWheelDown, EdtWheelTimeout, EdtWheelBounce,
         ChkWheelFine},
        {PageControl, ChkMovePriLT, ChkMovePriLB, ChkMovePriL, ChkMovePriRT, ChkMovePriR, ChkMovePriRB, ChkMovePriT, ChkMovePriB,
         EdtMoveDelay, EdtMoveWidth, EdtMoveHeight, ChkMoveOnVelk,
         ChkMoveSecLT, ChkMoveSecLB, ChkMoveSecL, ChkMoveSecRT, ChkMoveSecR, ChkMoveSecRB, ChkMoveSecT, ChkMoveSecB,
         ChkMoveOthLT, ChkMoveOthLB, ChkMoveOthL, ChkMoveOthRT, ChkMoveOthR, ChkMoveOthRB, ChkMoveOthT, ChkMoveOthB,
         IdentifyBtn, ChkMoveClickGuard, ChkMovePushEdges, ChkMovePushCorners, EdtMovePushDistance},
        {PageControl, ChkClickLDblClick, ChkClickMDblClick, ChkClickRDblClick, ChkClickLHoldDown, ChkClickMHoldDown,
         ChkClickRHoldDown, EdtClickMsecDblClick, EdtClickMsecHoldDown, EdtClickMoveAllowance},
    };
    Start(Ini("1"));
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        for (int page = 0; page < 4; ++page) {
            SelectPage(dialog, page);
            std::vector<int> order;
            HWND at = FindControl(dialog, CancelBtn);
            for (int step = 0; step < 40; ++step) {
                at = GetNextDlgTabItem(dialog, at, FALSE);
                if (GetDlgCtrlID(at) == OKBtn)
                    break;
                order.push_back(GetDlgCtrlID(at));
            }
            EXPECT_EQ(order, ORDERS[page]) << "page " << page;
            EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(dialog, FindControl(dialog, OKBtn), FALSE)), CancelBtn);
        }
        Click(FindControl(dialog, CancelBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
}

// The page control has the focus at the opening; from キャンセル, Tab leads to it and an arrow key
// turns its page; Ctrl+Tab and its kin turn pages from anywhere; Esc cancels, Enter confirms.
TEST_F(OptionDialogTest, KeyboardTurnsThePagesAndEndsTheDialog) {
    LoadedPlugin &plugin = Start(Ini("1"));
    const std::string before = ReadTextFile(plugin.ini_path);
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        HWND tabs = FindControl(dialog, PageControl), cancel = FindControl(dialog, CancelBtn);
        auto focus_on = [&](HWND control) { return WaitUntil([&] { return FocusOf(dialog) == control; }); };
        auto page_shown = [&](int page) {
            return WaitUntil([&] {
                return ActivePage(dialog) == page && VisiblePage(dialog) == FindControl(dialog, PageGeneral + page);
            });
        };
        EXPECT_TRUE(focus_on(tabs));
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(cancel), TRUE);
        ASSERT_TRUE(focus_on(cancel));
        PressKey(VK_TAB);
        EXPECT_TRUE(focus_on(tabs));
        PressKey(VK_RIGHT);
        EXPECT_TRUE(page_shown(1));
        PressKey(VK_TAB);
        EXPECT_TRUE(focus_on(FindControl(dialog, ChkOnWheel)));
        // A control that goes out of sight with its page hands the focus to the page control.
        PressKey(VK_TAB, {VK_CONTROL, VK_SHIFT});
        EXPECT_TRUE(page_shown(0));
        EXPECT_TRUE(focus_on(tabs));
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(cancel), TRUE);
        ASSERT_TRUE(focus_on(cancel));
        PressKey(VK_TAB, {VK_CONTROL});
        EXPECT_TRUE(page_shown(1));
        EXPECT_EQ(FocusOf(dialog), cancel);
        PressKey(VK_NEXT, {VK_CONTROL});
        EXPECT_TRUE(page_shown(2));
        PressKey(VK_PRIOR, {VK_CONTROL});
        PressKey(VK_PRIOR, {VK_CONTROL});
        PressKey(VK_PRIOR, {VK_CONTROL});
        EXPECT_TRUE(page_shown(3));   // round from the first page to the last
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    EXPECT_EQ(ReadTextFile(plugin.ini_path), before);
    EXPECT_TRUE(g_host.reloads.empty());
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ActivePage(dialog), 3);
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(dialog) == FindControl(dialog, PageControl); }));
        PressKey(VK_RETURN);
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    EXPECT_EQ(g_host.reloads, std::vector<std::string>{"Cursorwake"});
}

// While either dialog is shown, the host thread's other shown windows are disabled; after it,
// exactly those that were enabled are enabled again and the one that was active is active.
TEST_F(OptionDialogTest, EitherDialogDisablesTheHostsWindowsWhileItIsShown) {
    LoadedPlugin &plugin = Start(Ini("1"));
    HWND main = CreateHostWindow("Velkora");
    HWND disabled = CreateHostWindow("Velkora (disabled)", false);
    HWND hidden = CreateHostWindow("Velkora (hidden)");
    ShowWindow(hidden, SW_HIDE);
    SetActiveWindow(main);
    ASSERT_EQ(GetActiveWindow(), main);
    const std::pair<const char *, void(WINAPI *)(int)> DIALOGS[] = {{CAPTION, plugin.api.MyOption},
                                                                     {"バージョン情報", plugin.api.MyVersion}};
    for (const auto &[caption, command] : DIALOGS) {
        WhileDialogRuns(caption, [&] { command(0); }, [&] {
            HWND dialog = WaitForWindow(caption);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
            EXPECT_TRUE(IsWindowEnabled(dialog));
            EXPECT_FALSE(IsWindowEnabled(main));
            EXPECT_FALSE(IsWindowEnabled(disabled));
            EXPECT_TRUE(IsWindowEnabled(hidden));
            PostMessageA(dialog, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitUntilGone(dialog));
        });
        EXPECT_TRUE(IsWindowEnabled(main)) << caption;
        EXPECT_FALSE(IsWindowEnabled(disabled)) << caption;
        EXPECT_TRUE(IsWindowEnabled(hidden)) << caption;
        EXPECT_EQ(GetActiveWindow(), main) << caption;
    }
    for (HWND window : {main, disabled, hidden})
        DestroyWindow(window);
}

// Velkora calls MyOption or MyVersion again while the options dialog is open: nothing opens,
// the open dialog comes to the front, the call returns at once, the engine stays stopped,
// and the dialog then closes as usual.
TEST_F(OptionDialogTest, ACallWhileTheDialogIsOpenBringsItToTheFrontAndReturns) {
    LoadedPlugin &plugin = Start(EngineIni("1"));
    HWND main = CreateHostWindow("Velkora");
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        HWND elsewhere = CreateWindowExA(0, "Static", "elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                         nullptr, nullptr, nullptr);
        for (auto command : {plugin.api.MyOption, plugin.api.MyVersion}) {
            SetForegroundWindow(elsewhere);
            ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == elsewhere; }));
            EXPECT_TRUE(RunOnThreadOf(main, [&] { command(0); }));
            EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));
        }
        DestroyWindow(elsewhere);
        EXPECT_EQ(FindWindowA(nullptr, "バージョン情報"), nullptr);
        EXPECT_EQ(ShownWindowsCaptioned(CAPTION), 1);
        Jiggle();
        Click(FindControl(dialog, CancelBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    EXPECT_TRUE(g_host.hotkeys.empty());
    EXPECT_TRUE(JiggleActivates());
    DestroyWindow(main);
}

// Velkora's tray menu stays usable while a dialog is open; its Exit tears the plug-in down and
// unloads it from a posted message, inside the dialog's loop. The dialog closes without storing,
// the command returns, the settings as they were before the dialog are saved, and the plug-in
// loads and runs again afterwards.
TEST_F(OptionDialogTest, QuittingVelkoraWhileEitherDialogIsOpenClosesItAndLoadsAgain) {
    LoadedPlugin &plugin = Start(EngineIni("1"));
    HWND main = CreateHostWindow("Velkora");
    const std::pair<const char *, bool> DIALOGS[] = {{CAPTION, true}, {"バージョン情報", false}};
    for (const auto &[caption, options] : DIALOGS) {
        const auto command = options ? plugin.api.MyOption : plugin.api.MyVersion;
        WhileDialogRuns(caption, [&] { command(0); }, [&] {
            HWND dialog = WaitForWindow(caption);
            ASSERT_NE(dialog, nullptr);
            if (options) {
                SetText(FindControl(dialog, EdtInterval), "999");
                SetChecked(FindControl(dialog, ChkEnable), false);
            }
            PostToThreadOf(main, [&] {
                plugin.Teardown();
                plugin.Unload();
            });
            EXPECT_TRUE(WaitUntilGone(dialog)) << caption;
        });
        const std::string file = ReadTextFile(plugin.ini_path);
        EXPECT_NE(file.find("[General]\r\nEnable=1\r\nInterval=50\r\nFullScreen=1\r\n"), std::string::npos) << file;
        EXPECT_TRUE(g_host.reloads.empty());
        ASSERT_TRUE(plugin.Load()) << caption;
        plugin.Setup();
        EXPECT_EQ(plugin.MenuItem(0).checked, 1);
        PumpPastCoolDown();
        EXPECT_TRUE(JiggleActivates()) << caption;
    }
    DestroyWindow(main);
    // Set up again, Velkora holds the module alone: it leaves when Velkora lets go of it.
    plugin.Teardown();
    plugin.Unload();
    EXPECT_EQ(GetModuleHandleA(plugin.dll_path.c_str()), nullptr);
}

// A thread frees the module without a tear-down while a dialog is open: the dialog's reference is
// then the last, and closing the dialog must not unmap the code it returns into. The module
// leaves once the dialog is closed, and nothing of its engine stays behind.
TEST_F(OptionDialogTest, ModuleFreedWithoutATearDownWhileEitherDialogIsOpenLeavesWhenItCloses) {
    for (const char *caption : {CAPTION, "バージョン情報"}) {
        LoadedPlugin &plugin = Start(EngineIni("1"));
        const std::string path = plugin.dll_path;
        const auto command = caption == CAPTION ? plugin.api.MyOption : plugin.api.MyVersion;
        WhileDialogRuns(caption, [&] { command(0); }, [&] {
            HWND dialog = WaitForWindow(caption);
            ASSERT_NE(dialog, nullptr);
            plugin.Unload();
            EXPECT_NE(GetModuleHandleA(path.c_str()), nullptr) << "the dialog holds it";
            PostMessageA(dialog, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitUntilGone(dialog)) << caption;
        });
        EXPECT_TRUE(PumpUntil([&] { return GetModuleHandleA(path.c_str()) == nullptr; }, 5000)) << caption;
        EXPECT_TRUE(PumpUntil([] { return FindWindowA("CursorwakeEngine", nullptr) == nullptr; }, 5000)) << caption;
        WhilePumping(Jiggle, 300);
        EXPECT_TRUE(g_host.hotkeys.empty()) << caption;
        plugin_.reset();
    }
}

// Velkora's shortcuts and its suspension still call the plug-in while a dialog is open: the
// engine stays stopped under the dialog, the options dialog's 有効 box follows the calls, and
// what they changed applies once the dialog closes, by Cancel or by OK.
TEST_F(OptionDialogTest, EnableAndSuspensionWhileEitherDialogIsOpenApplyWhenItCloses) {
    LoadedPlugin &plugin = Start(EngineIni("0"));
    HWND main = CreateHostWindow("Velkora");
    const struct {
        const char *caption;
        void(WINAPI *command)(int);
        bool ok;
    } DIALOGS[] = {{"バージョン情報", plugin.api.MyVersion, false},
                   {CAPTION, plugin.api.MyOption, false},
                   {CAPTION, plugin.api.MyOption, true}};
    for (const auto &[caption, command, ok] : DIALOGS) {
        WhileDialogRuns(caption, [&] { command(0); }, [&] {
            HWND dialog = WaitForWindow(caption);
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(RunOnThreadOf(main, [&] {
                plugin.api.MyToggleEnable(0);
                plugin.api.OnSuspendHook(TRUE);
                plugin.api.OnSuspendHook(FALSE);
                plugin.api.OnChangeQuickOption();
            }));
            if (command == plugin.api.MyOption) {
                EXPECT_TRUE(IsChecked(FindControl(dialog, ChkEnable)));
            }
            Jiggle();   // a hook would have queued it by now, for the dialog's loop to hand on
            if (ok)
                Click(FindControl(dialog, OKBtn));
            else
                PostMessageA(dialog, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitUntilGone(dialog));
        });
        EXPECT_TRUE(g_host.hotkeys.empty()) << caption;
        EXPECT_EQ(plugin.MenuItem(0).checked, 1) << caption;
        if (ok) {
            EXPECT_NE(ReadTextFile(plugin.ini_path).find("Enable=1\r\n"), std::string::npos);
        }
        EXPECT_TRUE(JiggleActivates()) << caption;
        g_host.hotkeys.clear();
        plugin.api.MyToggleEnable(0);   // disabled again for the next dialog
        PumpPastCoolDown();
    }
    // At OK the last word wins: the user's box, then Velkora's suspension; Velkora's toggle,
    // then the user's box. Both times the plug-in ends disabled.
    for (bool user_first : {true, false}) {
        Options([&] {
            HWND dialog = WaitForWindow(CAPTION);
            ASSERT_NE(dialog, nullptr);
            HWND box = FindControl(dialog, ChkEnable);
            if (user_first) {
                SetChecked(box, true);
                EXPECT_TRUE(RunOnThreadOf(main, [&] { plugin.api.OnSuspendHook(TRUE); }));
            } else {
                EXPECT_TRUE(RunOnThreadOf(main, [&] { plugin.api.MyToggleEnable(0); }));
                EXPECT_TRUE(IsChecked(box));
                SetChecked(box, false);
            }
            Click(FindControl(dialog, OKBtn));
            EXPECT_TRUE(WaitUntilGone(dialog));
        });
        EXPECT_EQ(plugin.MenuItem(0).checked, 0) << user_first;
        EXPECT_NE(ReadTextFile(plugin.ini_path).find("Enable=0\r\n"), std::string::npos) << user_first;
        EXPECT_FALSE(JiggleActivates()) << user_first;
    }
    DestroyWindow(main);
}

TEST_F(OptionDialogTest, CancelStoresAndWritesNothingAndTheNextOpeningShowsTheRecordOnTheSamePage) {
    LoadedPlugin &plugin = Start(Ini("1"));
    const std::string before = ReadTextFile(plugin.ini_path);
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ActivePage(dialog), 0);
        SetText(FindControl(dialog, EdtInterval), "999");
        SetChecked(FindControl(dialog, ChkEnable), false);
        SelectPage(dialog, 2);
        Click(FindControl(dialog, CancelBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    EXPECT_EQ(ReadTextFile(plugin.ini_path), before);
    EXPECT_TRUE(g_host.reloads.empty());
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ActivePage(dialog), 2);
        EXPECT_EQ(VisiblePage(dialog), FindControl(dialog, PageMove));
        EXPECT_EQ(TextOf(FindControl(dialog, EdtInterval)), "321");
        EXPECT_TRUE(IsChecked(FindControl(dialog, ChkEnable)));
        PostMessageA(dialog, WM_CLOSE, 0, 0);   // the close box gives Cancel too
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    EXPECT_EQ(ReadTextFile(plugin.ini_path), before);
}

TEST_F(OptionDialogTest, InvalidEntryKeepsTheDialogOpenOnItsEditAndStoresNothing) {
    LoadedPlugin &plugin = Start(Ini("1"));
    const std::string before = ReadTextFile(plugin.ini_path);
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        SetChecked(FindControl(dialog, ChkEnable), false);
        SetText(FindControl(dialog, EdtInterval), "250");
        SendMessageA(FindControl(dialog, CmbFullScreen), CB_SETCURSEL, 0, 0);
        SetChecked(FindControl(dialog, ChkMovePriT), true);
        SetChecked(FindControl(dialog, ChkWheelFine), false);
        HWND up = FindControl(dialog, EdtWheelUp);
        SetText(up, "2.5");
        Click(FindControl(dialog, OKBtn));
        HWND box = WaitForWindow(TITLE);
        ASSERT_NE(box, nullptr);
        EXPECT_NE(FindControlByText(box, "'2.5' は整数ではありません."), nullptr);
        EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
        Click(FindControlByText(box, "OK"));
        EXPECT_TRUE(WaitUntilGone(box));
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == up; }));   // back on the edit
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(ActivePage(dialog), 1);
        EXPECT_EQ(VisiblePage(dialog), FindControl(dialog, PageWheel));
        EXPECT_EQ(FocusOf(dialog), up);
        DWORD start = 1, end = 0;
        SendMessageA(up, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 3u);
        // Corrected, the same entries are stored; the chatter guard's and the push's edits are
        // checked as the others, each shown on its page.
        SetText(up, "0x10");
        SetChecked(FindControl(dialog, ChkMovePushEdges), true);
        const struct {
            int edit, page;
            const char *bad, *good;
        } LATER_EDITS[] = {{EdtWheelBounce, PageWheel, "30ms", "45"}, {EdtMovePushDistance, PageMove, "1 5 0", "200"}};
        for (const auto &later : LATER_EDITS) {
            HWND edit = FindControl(dialog, later.edit);
            SetText(edit, later.bad);
            Click(FindControl(dialog, OKBtn));
            box = WaitForWindow(TITLE);
            ASSERT_NE(box, nullptr);
            EXPECT_NE(FindControlByText(box, "'" + std::string(later.bad) + "' は整数ではありません."), nullptr);
            Click(FindControlByText(box, "OK"));
            EXPECT_TRUE(WaitUntilGone(box));
            EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == edit; }));
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(VisiblePage(dialog), FindControl(dialog, later.page));
            SetText(edit, later.good);
        }
        Click(FindControl(dialog, OKBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    std::string expected = before;
    for (auto [from, to] : {std::pair<std::string, std::string>{"Enable=1", "Enable=0"},
                            {"Interval=321", "Interval=250"},
                            {"FullScreen=2", "FullScreen=0"},
                            {"OnWheel=3", "OnWheel=1"},
                            {"Up=11", "Up=16"},
                            {"BounceGuard=41", "BounceGuard=45"},
                            {"Push=2", "Push=3"},
                            {"PushDistance=43", "PushDistance=200"},
                            {"OnMove=-56191", "OnMove=-56175"}})
        expected.replace(expected.find(from), from.size(), to);
    EXPECT_EQ(ReadTextFile(plugin.ini_path), expected);
}

TEST_F(OptionDialogTest, InvalidEntryDismissedByCancelLeavesTheFileAlone) {
    LoadedPlugin &plugin = Start(Ini("1"));
    const std::string before = ReadTextFile(plugin.ini_path);
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        SetText(FindControl(dialog, EdtInterval), "1");
        SetText(FindControl(dialog, EdtClickMoveAllowance), "");
        Click(FindControl(dialog, OKBtn));
        HWND box = WaitForWindow(TITLE);
        ASSERT_NE(box, nullptr);
        EXPECT_NE(FindControlByText(box, "'' は整数ではありません."), nullptr);
        Click(FindControlByText(box, "OK"));
        EXPECT_TRUE(WaitUntilGone(box));
        WaitUntil([&] { return FocusOf(dialog) == FindControl(dialog, EdtClickMoveAllowance); });
        EXPECT_EQ(ActivePage(dialog), 3);
        EXPECT_EQ(FocusOf(dialog), FindControl(dialog, EdtClickMoveAllowance));
        Click(FindControl(dialog, CancelBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    EXPECT_EQ(ReadTextFile(plugin.ini_path), before);
    EXPECT_TRUE(g_host.reloads.empty());
}

TEST_F(OptionDialogTest, EngineIsStoppedWhileTheDialogIsOpenAndRestartsAfterCancel) {
    Start(EngineIni("1"));
    ASSERT_TRUE(JiggleActivates());
    g_host.hotkeys.clear();
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        Jiggle();   // a hook would have queued it by now, for the dialog's loop to hand on
        Click(FindControl(dialog, CancelBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    EXPECT_TRUE(g_host.hotkeys.empty());
    PumpPastCoolDown();
    EXPECT_TRUE(JiggleActivates());
}

TEST_F(OptionDialogTest, OkThatDisablesLeavesTheEngineStoppedAndStillReloadsTheMenu) {
    LoadedPlugin &plugin = Start(EngineIni("1"));
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        SetChecked(FindControl(dialog, ChkEnable), false);
        SetText(FindControl(dialog, EdtInterval), "$FA");
        Click(FindControl(dialog, OKBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    const std::string file = ReadTextFile(plugin.ini_path);
    EXPECT_NE(file.find("[General]\r\nEnable=0\r\nInterval=250\r\n"), std::string::npos) << file;
    EXPECT_EQ(g_host.reloads, std::vector<std::string>{"Cursorwake"});
    EXPECT_EQ(plugin.MenuItem(0).checked, 0);
    EXPECT_FALSE(JiggleActivates());
}

TEST_F(OptionDialogTest, FailedSaveAfterOkIsLoggedAndShownAndTheSettingsStillApply) {
    LoadedPlugin &plugin = Start("; mine\r\n" + EngineIni("1"));
    const std::string before = ReadTextFile(plugin.ini_path);
    // Another program reads the file and lets others only read it: the copy can be made and
    // written, but it cannot take the file's place.
    HANDLE held = CreateFileA(plugin.ini_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    char reason[1024];
    FormatSystemError(ERROR_SHARING_VIOLATION, reason);
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        SetText(FindControl(dialog, EdtInterval), "77");
        Click(FindControl(dialog, OKBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
        HWND box = WaitForWindow(TITLE);
        ASSERT_NE(box, nullptr);
        EXPECT_NE(FindControlByText(box, "設定を保存できませんでした。\n\n" + plugin.ini_path + "\n" + reason), nullptr);
        const HWND icon = GetDlgItem(box, 0x440);   // the message box's icon
        EXPECT_EQ(SendMessageA(icon, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(LoadIconA(nullptr, IDI_HAND)));
        EXPECT_EQ(ControlsOfClass(box, "Button").size(), 1u);
        Click(FindControlByText(box, "OK"));
        EXPECT_TRUE(WaitUntilGone(box));
    });
    CloseHandle(held);
    EXPECT_EQ(ReadTextFile(plugin.ini_path), before);
    EXPECT_EQ(FilesIn(plugin.dir), (std::vector<std::string>{"VelkCursorwake.dll", "VelkCursorwake.ini"}));
    const std::string error_line = "設定ファイル" + plugin.ini_path + "に保存できません。" + reason;
    EXPECT_EQ(g_host.CountLogged(error_line), 1) << error_line;
    for (const LogLine &l : g_host.log)
        EXPECT_EQ(l.severity, l.text == error_line ? 3 : 7) << l.text;
    EXPECT_EQ(g_host.reloads, std::vector<std::string>{"Cursorwake"});
    EXPECT_TRUE(JiggleActivates());
    plugin.Teardown();   // the file can be replaced now, with what applies in memory
    EXPECT_NE(ReadTextFile(plugin.ini_path).find("; mine\r\n[General]\r\nEnable=1\r\nInterval=77\r\n"),
              std::string::npos);
}

// The plug-in's CreateWindowExA refuses every button; its ShowWindow counts the forms shown.
decltype(&CreateWindowExA) g_real_create_window;
decltype(&ShowWindow) g_real_show_window;
int g_forms_shown;

HWND WINAPI CreateNoButton(DWORD ex_style, LPCSTR cls, LPCSTR text, DWORD style, int x, int y, int w, int h,
                           HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    if (HIWORD(reinterpret_cast<UINT_PTR>(cls)) && lstrcmpiA(cls, "Button") == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return g_real_create_window(ex_style, cls, text, style, x, y, w, h, parent, menu, instance, param);
}

BOOL WINAPI CountFormsShown(HWND window, int command) {
    g_forms_shown += command != SW_HIDE && TextOf(window) == CAPTION;
    return g_real_show_window(window, command);
}

TEST_F(OptionDialogTest, AControlThatCannotBeCreatedLeavesNoHalfBuiltDialog) {
    LoadedPlugin &plugin = Start(EngineIni("1"));
    g_forms_shown = 0;
    g_real_create_window = reinterpret_cast<decltype(g_real_create_window)>(
        PatchImport(plugin.module, "user32.dll", "CreateWindowExA", reinterpret_cast<void *>(CreateNoButton)));
    g_real_show_window = reinterpret_cast<decltype(g_real_show_window)>(
        PatchImport(plugin.module, "user32.dll", "ShowWindow", reinterpret_cast<void *>(CountFormsShown)));
    ASSERT_NE(g_real_create_window, nullptr);
    ASSERT_NE(g_real_show_window, nullptr);
    WhileDialogRuns("ERROR", [&] { plugin.api.MyOption(0); }, [&] {
        HWND box = WaitForWindow("ERROR");
        if (HWND half_built = FindWindowA(nullptr, CAPTION)) {
            ADD_FAILURE() << "the dialog is there without all of its controls";
            PostMessageA(half_built, WM_CLOSE, 0, 0);
        }
        ASSERT_NE(box, nullptr);
        EXPECT_NE(FindControlByText(box, "CreateWindowEx(Button) failed. GetLastError()=8."), nullptr);
        Click(FindControlByText(box, "OK"));
        EXPECT_TRUE(WaitUntilGone(box));
    });
    EXPECT_EQ(g_forms_shown, 0);
    PatchImport(plugin.module, "user32.dll", "CreateWindowExA", reinterpret_cast<void *>(g_real_create_window));
    PatchImport(plugin.module, "user32.dll", "ShowWindow", reinterpret_cast<void *>(g_real_show_window));
    EXPECT_TRUE(JiggleActivates());   // the engine runs again, as after Cancel
    Options([&] {   // and the dialog comes up whole next time
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        Click(FindControl(dialog, CancelBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
}

TEST_F(OptionDialogTest, CancelWithThePluginDisabledStartsNothing) {
    Start(EngineIni("0"));
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        Click(FindControl(dialog, CancelBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    EXPECT_FALSE(JiggleActivates());
}

// The title keeps a double-byte character whose trail byte is an upper-case ASCII letter.
TEST_F(OptionDialogTest, CaptionFromAModuleNameWithADoubleByteCharacter) {
    const std::string folder = RunFolder(CurrentTestName());
    const std::string dll = folder + "\\Velk\x83\x41XY.dll";   // "VelkアXY.dll"
    LoadedPlugin built(CurrentTestName() + "-source", "");
    ASSERT_TRUE(CopyFileA(built.dll_path.c_str(), dll.c_str(), FALSE));
    HMODULE module = LoadLibraryA(dll.c_str());
    ASSERT_NE(module, nullptr);
    PluginExports api = {};
    ASSERT_TRUE(api.Bind(module));
    const std::string caption = "Velk\x83\x41xyの設定";
    WhileDialogRuns(caption.c_str(), [&] { api.MyOption(0); }, [&] {
        HWND dialog = WaitForWindow(caption.c_str());
        EXPECT_NE(dialog, nullptr);
        if (dialog) {
            Click(FindControl(dialog, CancelBtn));
            EXPECT_TRUE(WaitUntilGone(dialog));
        }
    });
    FreeLibrary(module);
}

// Three monitors of 1280 x 1024 side by side.
using OptionDialogThreeMonitorTest = OnMonitors<OptionDialogTest, THREE_MONITORS>;

std::vector<HWND> IdentityWindows() {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "CursorwakeIdentity", nullptr));)
        found.push_back(w);
    return found;
}

// The screen as a person sees it there: the colour given, within 40 in each channel.
bool Shows(COLORREF colour, int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return std::abs(GetRValue(c) - GetRValue(colour)) < 40 && std::abs(GetGValue(c) - GetGValue(colour)) < 40 &&
           std::abs(GetBValue(c) - GetBValue(colour)) < 40;
}
bool ShowsZone(int x, int y) { return Shows(RGB(255, 96, 0), x, y); }

// 識別 shows on each monitor its number and the zones as the dialog stands, not yet stored, in
// windows that take neither the focus nor a click, for about three seconds from the last press.
TEST_F(OptionDialogThreeMonitorTest, IdentifyShowsTheNumbersAndTheZonesOfTheDialogOnEveryMonitor) {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 3);
    LoadedPlugin &plugin = Start(Ini("1"));   // Width 17, Height 19; monitor 1's left strip on
    const std::string before = ReadTextFile(plugin.ini_path);
    Options([&] {
        HWND dialog = WaitForWindow(CAPTION);
        ASSERT_NE(dialog, nullptr);
        SelectPage(dialog, 2);
        SetChecked(FindControl(dialog, ChkMoveOthB), true);
        SetText(FindControl(dialog, EdtMoveWidth), "40");
        HWND identify = FindControl(dialog, IdentifyBtn);
        ASSERT_EQ(GetForegroundWindow(), dialog);
        // Off the number's box: the Wine here now and then keeps the dialog above the window over
        // monitor 1 on the X display, though it lies below in the windows' order.
        SetWindowPos(dialog, nullptr, 820, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PaintNow(dialog);   // under Wine what lies below the windows is not repainted while they stand
        Click(identify);
        const double first_press = MonotonicMs();
        std::vector<HWND> shown;
        ASSERT_TRUE(WaitUntil([&] { return (shown = IdentityWindows()).size() == 3; }));
        for (HWND window : shown) {
            RECT r;
            GetWindowRect(window, &r);
            EXPECT_TRUE(r.left % 1280 == 0 && r.top == 0 && r.right - r.left == 1280 && r.bottom == 1024) << r.left;
            const LONG wanted = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
            EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & wanted, wanted);
            EXPECT_TRUE(WaitUntil([&] { return Shows(RGB(0, 0, 128), r.left + 530, 400); })) << r.left;   // the number's box
            EXPECT_NE(WindowFromPoint({r.left + 530, 400}), window);   // a click there goes through
        }
        EXPECT_EQ(GetForegroundWindow(), dialog);
        for (HWND window : shown)   // a tool that closes every window of the host
            SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(IdentityWindows().size(), 3u);
        EXPECT_TRUE(ShowsZone(30, 500));      // monitor 1's left strip, 40 wide as entered
        EXPECT_FALSE(ShowsZone(45, 500));
        EXPECT_TRUE(ShowsZone(3000, 1015));   // monitor 3's bottom strip, checked but not stored
        EXPECT_FALSE(ShowsZone(1285, 5));     // monitor 2's top-left corner is off
        SaveScreenshotOfAllMonitors("identify-3-monitors");

        // Pressed again later, the windows stay about three seconds from then.
        WaitUntil([&] { return MonotonicMs() - first_press >= 1500; });
        const std::vector<HWND> first = IdentityWindows();
        Click(identify);
        const double second_press = MonotonicMs();
        EXPECT_TRUE(WaitUntil([&] { return IdentityWindows().size() == 3 && IdentityWindows() != first; }));
        EXPECT_TRUE(WaitUntil([&] { return IdentityWindows().empty(); }, 10000));
        const double gone = MonotonicMs();
        EXPECT_GE(gone - second_press, IDENTITY_MS - 200.0);
        std::printf("[ timing   ] identification shown %.0f ms after the second press, %.0f ms after the first\n",
                    gone - second_press, gone - first_press);

        // Closing the dialog takes them away at once.
        Click(identify);
        EXPECT_TRUE(WaitUntil([&] { return IdentityWindows().size() == 3; }));
        Click(FindControl(dialog, CancelBtn));
        EXPECT_TRUE(WaitUntilGone(dialog));
        EXPECT_TRUE(IdentityWindows().empty());
    });
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    EXPECT_FALSE(GetClassInfoExA(plugin.module, "CursorwakeIdentity", &wc));
    EXPECT_EQ(ReadTextFile(plugin.ini_path), before);
}

}  // namespace
