#include "ui/DialogLayout.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "ui/Placement.h"

const char LAYOUT_PAGE[] = "LayoutPage";

static const char LOOK_PROPERTY[] = "CursorwakeLook";

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

HBRUSH LayoutControlColour(HWND control, HDC dc) {
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

static INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<INT_PTR>(
            LayoutControlColour(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam)));
    }
    return FALSE;
}

// A panel is a Static holding controls; a Static keeps its children's notifications and
// colour requests to itself, so they are answered here or passed on to the panel's parent.
static LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = LayoutControlColour(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_COMMAND:
        return SendMessageA(GetParent(panel), message, wparam, lparam);
    case WM_NCDESTROY:
        RemoveWindowSubclass(panel, PanelProc, 0);
        break;
    }
    return DefSubclassProc(panel, message, wparam, lparam);
}

static HWND CreatePage(HWND tab, const LayoutRow &row) {
    const EmptyDialogTemplate t = MakeTemplate(WS_CHILD | DS_CONTROL, WS_EX_CONTROLPARENT);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(tab, GWLP_HINSTANCE));
    HWND page = CreateDialogIndirectParamA(instance, &t.header, tab, PageProc, 0);
    if (!page)
        return nullptr;
    SetWindowLongPtrA(page, GWLP_ID, row.id);
    EnableThemeDialogTexture(page, ETDT_ENABLETAB);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char *>(row.text);
    SendMessageA(tab, TCM_INSERTITEMA, SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
    RECT area;
    GetClientRect(tab, &area);
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
    return page;
}

bool BuildLayout(HWND form, const LayoutRow *rows, size_t count, const HFONT *fonts, LayoutWindows &out) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(form, GWLP_HINSTANCE));
    out.Clear();
    for (size_t i = 0; i < count; ++i) {
        const LayoutRow &row = rows[i];
        HWND parent = row.parent ? out.Get(row.parent) : form;
        if (!parent)
            return false;
        HWND window;
        if (row.cls == LAYOUT_PAGE) {
            window = CreatePage(parent, row);
        } else {
            window = CreateWindowExA(row.ex_style, row.cls, row.text, WS_CHILD | WS_VISIBLE | row.style, row.x, row.y,
                                     row.w, row.h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                     instance, nullptr);
        }
        if (!window)
            return false;
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[row.font]), FALSE);
        if (row.look != Look::Plain)
            SetPropA(window, LOOK_PROPERTY, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(row.look)));
        if (row.ex_style & WS_EX_CONTROLPARENT && lstrcmpiA(row.cls, "Static") == 0)
            SetWindowSubclass(window, PanelProc, 0, 0);
        if (!out.Add(row.id, window))
            return false;
    }
    return true;
}

INT_PTR ShowLayoutDialog(HINSTANCE instance, DLGPROC proc, LPARAM param) {
    const EmptyDialogTemplate t =
        MakeTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND, WS_EX_DLGMODALFRAME);
    return DialogBoxIndirectParamA(instance, &t.header, nullptr, proc, param);
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
