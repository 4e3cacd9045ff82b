#include "ui/DialogLayout.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "appinfo/AppInfoError.h"
#include "appinfo/SystemDll.h"
#include "base/ProcAddress.h"
#include "ui/Placement.h"

const char LAYOUT_PAGE[] = "LayoutPage";

static const char LOOK_PROPERTY[] = "CursorwakeLook";
// Marks the windows of the thread that a modal form disabled, and only those.
static const char DISABLED_PROPERTY[] = "CursorwakeDisabled";

void LayoutWindows::Clear() {
    for (size_t i = 0; i < count_; ++i)
        RemovePropA(windows_[i].window, LOOK_PROPERTY);
    count_ = 0;
}

bool LayoutWindows::Add(int id, HWND window) {
    if (count_ == LAYOUT_CAPACITY)
        return false;
    windows_[count_++] = {id, window};
    return true;
}

HWND LayoutWindows::Get(int id) const {
    for (size_t i = 0; i < count_; ++i)
        if (windows_[i].id == id)
            return windows_[i].window;
    return nullptr;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

LOGFONTA SystemMessageFont() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMessageFont;
}

int FormDpi(HWND form) {
    // Windows 7 lacks GetDpiForWindow; User32 itself is loaded in every program with windows.
    using GetDpiForWindowProc = UINT(WINAPI *)(HWND);
    const auto get_dpi_for_window =
        ProcAddress<GetDpiForWindowProc>(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    if (get_dpi_for_window)
        if (const UINT dpi = get_dpi_for_window(form))
            return static_cast<int>(dpi);
    return ScreenDpi();
}

// An in-memory dialog template without controls, caption, menu or font; the layout and the
// form's code set all of them in pixels.
struct alignas(4) EmptyDialogTemplate {
    DLGTEMPLATE header;
    WORD menu, window_class, title;
};

static EmptyDialogTemplate MakeTemplate(DWORD style, DWORD ex_style) {
    EmptyDialogTemplate t = {};
    t.header.style = style;
    t.header.dwExtendedStyle = ex_style;
    return t;
}

HBRUSH AnswerColourMessage(WPARAM wparam, LPARAM lparam) {
    const auto control = reinterpret_cast<HWND>(lparam);
    const auto dc = reinterpret_cast<HDC>(wparam);
    switch (static_cast<Look>(reinterpret_cast<INT_PTR>(GetPropA(control, LOOK_PROPERTY)))) {
    case Look::Desktop:
        SetTextColor(dc, RGB(0, 0, 128));
        SetBkColor(dc, GetSysColor(COLOR_DESKTOP));
        return GetSysColorBrush(COLOR_DESKTOP);
    case Look::Link:
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return GetSysColorBrush(COLOR_BTNFACE);
    case Look::Plain:
        break;
    }
    return nullptr;
}

// A page hands its controls' commands on to the form, which acts on them.
static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;
    case WM_COMMAND:
        SendMessageA(GetParent(page), message, wparam, lparam);
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<INT_PTR>(AnswerColourMessage(wparam, lparam));
    }
    return FALSE;
}

// A panel is a Static holding controls; a Static keeps its children's notifications and
// colour requests to itself, so they are answered here or passed on to the panel's parent.
static LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = AnswerColourMessage(wparam, lparam))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_COMMAND:
        return SendMessageA(GetParent(panel), message, wparam, lparam);
    case WM_NCDESTROY:
        system_dll::RemoveWindowSubclass(panel, PanelProc, 0);
        break;
    }
    return system_dll::DefSubclassProc(panel, message, wparam, lparam);
}

// A page is a sibling of its tab control, as in property sheets: a page inside the tab control
// would hide the tab control from the dialog manager, which never gives the focus to a control
// that holds controls. The page stands over the tab's display area at the top of the z-order,
// so that it is drawn over the tab control; BuildLayout then puts the tab control at the
// bottom, so that Tab comes round from the form's last control to the tab control and goes
// from it into the shown page.
static HWND CreatePage(HWND tab, const LayoutRow &row) {
    const EmptyDialogTemplate t = MakeTemplate(WS_CHILD | DS_CONTROL, WS_EX_CONTROLPARENT);
    HWND form = GetParent(tab);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(tab, GWLP_HINSTANCE));
    HWND page = CreateDialogIndirectParamA(instance, &t.header, form, PageProc, 0);
    if (!page)
        return nullptr;
    SetWindowLongPtrA(page, GWLP_ID, row.id);
    system_dll::EnableThemeDialogTexture(page, ETDT_ENABLETAB);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char *>(row.text);
    SendMessageA(tab, TCM_INSERTITEMA, SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
    RECT area;
    GetClientRect(tab, &area);
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MapWindowPoints(tab, form, reinterpret_cast<POINT *>(&area), 2);
    SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOACTIVATE);
    return page;
}

bool BuildLayout(HWND form, const LayoutRow *rows, size_t count, const HFONT *fonts, int dpi, LayoutWindows &out) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(form, GWLP_HINSTANCE));
    out.Clear();
    HWND paged_tab = nullptr;
    for (size_t i = 0; i < count; ++i) {
        const LayoutRow &row = rows[i];
        HWND parent = row.parent ? out.Get(row.parent) : form;
        if (!parent)
            return false;
        HWND window;
        if (row.cls == LAYOUT_PAGE) {
            window = CreatePage(parent, row);
            paged_tab = parent;
        } else {
            window = CreateWindowExA(row.ex_style, row.cls, row.text, WS_CHILD | WS_VISIBLE | row.style,
                                     Scaled(row.x, dpi), Scaled(row.y, dpi), Scaled(row.w, dpi), Scaled(row.h, dpi),
                                     parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        }
        if (!window) {
            RECORD_ERROR("CreateWindowEx(%s) failed. GetLastError()=%d.",
                         row.cls == LAYOUT_PAGE ? "page" : row.cls, static_cast<int>(GetLastError()));
            return false;
        }
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[row.font]), FALSE);
        if (row.look != Look::Plain)
            SetPropA(window, LOOK_PROPERTY, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(row.look)));
        if (row.ex_style & WS_EX_CONTROLPARENT && lstrcmpiA(row.cls, "Static") == 0)
            system_dll::SetWindowSubclass(window, PanelProc, 0, 0);
        if (!out.Add(row.id, window))
            return false;
    }
    if (paged_tab)
        SetWindowPos(paged_tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

namespace {

// The form that ShowLayoutDialog shows; the plug-in shows one at a time.
struct ModalShowing {
    bool running;
    HWND form;   // null until the form has been created
    bool ended;
    INT_PTR result;
};
ModalShowing g_modal = {};

BOOL CALLBACK DisableThreadWindow(HWND window, LPARAM) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
        SetPropA(window, DISABLED_PROPERTY, reinterpret_cast<HANDLE>(1));
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

BOOL CALLBACK EnableDisabledWindow(HWND window, LPARAM) {
    if (RemovePropA(window, DISABLED_PROPERTY))
        EnableWindow(window, TRUE);
    return TRUE;
}

// The dialog manager would take Ctrl+Tab for a plain Tab; the page keys go to the form first.
bool TurnPageByKey(HWND form, const MSG &msg) {
    if (msg.message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000))
        return false;
    if (msg.hwnd != form && !IsChild(form, msg.hwnd))
        return false;
    int step;
    switch (msg.wParam) {
    case VK_TAB: step = GetKeyState(VK_SHIFT) & 0x8000 ? -1 : 1; break;
    case VK_NEXT: step = 1; break;
    case VK_PRIOR: step = -1; break;
    default: return false;
    }
    SendMessageA(form, LAYOUT_TURN_PAGE, static_cast<WPARAM>(step), 0);
    return true;
}

}  // namespace

INT_PTR ShowLayoutDialog(HINSTANCE instance, DLGPROC proc, LPARAM param) {
    if (g_modal.running)
        return IDCANCEL;
    g_modal = {true, nullptr, false, IDCANCEL};
    HWND active = GetActiveWindow();
    // From before the form's creation on, so that a message box shown while the form is set
    // up is already alone with it.
    EnumThreadWindows(GetCurrentThreadId(), DisableThreadWindow, 0);
    const EmptyDialogTemplate t =
        MakeTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND, WS_EX_DLGMODALFRAME);
    HWND form = CreateDialogIndirectParamA(instance, &t.header, nullptr, proc, param);
    g_modal.form = form;
    if (form && !g_modal.ended)
        ShowWindow(form, SW_SHOW);
    while (form && !g_modal.ended && IsWindow(form)) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)   // the quit is for the thread's own loop
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!TurnPageByKey(form, msg) && !IsDialogMessageA(form, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // The other windows come back before the form goes, so that the activation can pass to
    // one of them rather than to another program.
    EnumThreadWindows(GetCurrentThreadId(), EnableDisabledWindow, 0);
    if (form && IsWindow(form))
        DestroyWindow(form);
    if (active && IsWindow(active))
        SetActiveWindow(active);
    const INT_PTR result = g_modal.result;
    g_modal = {};
    if (result == LAYOUT_NOT_BUILT) {
        AppInfoError error = GetAppInfoError();
        MessageBoxA(nullptr, error.GetText(), "ERROR", MB_OK);
        return IDCANCEL;
    }
    return result;
}

void EndLayoutDialog(HWND form, INT_PTR result) {
    g_modal.result = result;
    g_modal.ended = true;
    PostMessageA(form, WM_NULL, 0, 0);   // wakes the loop, whichever loop this came from
}

bool ActivateShownDialog() {
    if (!g_modal.running)
        return false;
    if (g_modal.form)
        SetForegroundWindow(GetLastActivePopup(g_modal.form));
    return true;
}

bool IsDialogShown() { return g_modal.running; }

void CancelShownDialog() {
    if (!g_modal.running)
        return;
    if (g_modal.form) {
        HWND popup = GetWindow(g_modal.form, GW_ENABLEDPOPUP);
        if (popup && popup != g_modal.form)
            EndDialog(popup, IDCANCEL);
    }
    EndLayoutDialog(g_modal.form, IDCANCEL);
}

void SetClientSize(HWND form, int width, int height) {
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(form, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(form, GWL_EXSTYLE)));
    SetWindowPos(form, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreWindowIn(HWND form, const RECT &area) {
    RECT frame;
    GetWindowRect(form, &frame);
    SetWindowPos(form, nullptr, CentredStart(area.left, area.right, frame.right - frame.left),
                 CentredStart(area.top, area.bottom, frame.bottom - frame.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
