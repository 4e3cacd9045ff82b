#include "ui/FormAboutBoxUnit.h"

#include <shellapi.h>

#include <cstring>
#include <iterator>

#include "appinfo/AppInfo.h"
#include "appinfo/SystemDll.h"
#include "engine/MonitorList.h"
#include "ui/UiResources.h"

namespace {

const int CLIENT_WIDTH = 223;
const int CLIENT_HEIGHT = 149;
const char FONT_FACE[] = "ＭＳ Ｐゴシック";
const int FONT_HEIGHT = 12;
const char SHELL_ICON_FILE[] = "%SystemRoot%\\system32\\SHELL32.dll";
const int SHELL_ICON_INDEX = 72;

enum FontRole { NORMAL, LINK };

using C = TAboutBox::Control;

constexpr LayoutRow Text(int id, const char *text, int x, int y, int w) {
    return {id, C::Panel1, "Static", text, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, x, y, w, 13, NORMAL, Look::Plain};
}

// Panel1's frame is a raised inner and a lowered outer bevel: the etched edge.
const LayoutRow ABOUT_LAYOUT[] = {
    {C::Panel1, 0, "Static", "", SS_ETCHEDFRAME, WS_EX_CONTROLPARENT, 8, 8, 201, 97, NORMAL, Look::Plain},
    {C::ProgramIcon, C::Panel1, "Static", "", SS_BITMAP | SS_REALSIZECONTROL, 0, 8, 8, 32, 32, NORMAL, Look::Plain},
    Text(C::ProductName, "", 56, 8, 137),
    Text(C::Version, "", 56, 24, 137),
    Text(C::Copyright, "Copyright (C) 2026 Cursorwake", 8, 56, 185),
    {C::WebSite, C::Panel1, "Static", "https://cursorwake.example/", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0, 8, 72, 185,
     22, LINK, Look::Link},
    {C::OKButton, 0, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 71, 116, 75, 25, NORMAL, Look::Plain},
};

static_assert(std::size(ABOUT_LAYOUT) <= LAYOUT_CAPACITY, "the layout holds every row");

HFONT AboutFont(bool underline, int dpi) {
    LOGFONTA font = {};
    font.lfHeight = -Scaled(FONT_HEIGHT, dpi);
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = underline;
    font.lfCharSet = SHIFTJIS_CHARSET;
    std::strncpy(font.lfFaceName, FONT_FACE, LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}

}  // namespace

TAboutBox::TAboutBox(const char *name, HMODULE module) : module_handle(module) {
    std::memset(plugin_name, 0, sizeof plugin_name);
    std::strncpy(plugin_name, name ? name : "", sizeof plugin_name - 1);
}

TAboutBox::~TAboutBox() { ReleaseIcons(); }

INT_PTR TAboutBox::ShowModal() { return ShowLayoutDialog(module_handle, DialogProc, reinterpret_cast<LPARAM>(this)); }

INT_PTR CALLBACK TAboutBox::DialogProc(HWND form, UINT message, WPARAM wparam, LPARAM lparam) {
    auto *self = FormObjectOf<TAboutBox>(form, message, lparam);
    if (!self)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        if (!self->FormCreate(form)) {
            EndLayoutDialog(form, LAYOUT_NOT_BUILT);
            return TRUE;
        }
        self->FormShow();
        return TRUE;
    case WM_COMMAND:
        // Esc also arrives as IDCANCEL; the box has no cancel button, so it does nothing.
        if (LOWORD(wparam) == C::OKButton)
            EndLayoutDialog(form, IDOK);
        else if (LOWORD(wparam) == C::WebSite && HIWORD(wparam) == STN_CLICKED)
            self->WebSiteClick();
        return TRUE;
    case WM_CLOSE:
        EndLayoutDialog(form, IDCANCEL);
        return TRUE;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wparam) == self->windows_.Get(C::WebSite)) {
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            SetWindowLongPtrA(form, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(AnswerColourMessage(wparam, lparam));
    case WM_DESTROY:
        self->FormHide();
        return FALSE;
    }
    return FALSE;
}

bool TAboutBox::FormCreate(HWND form) {
    form_ = form;
    SetWindowTextA(form, "バージョン情報");
    const int dpi = FormDpi(form);
    fonts_[NORMAL] = AboutFont(false, dpi);
    fonts_[LINK] = AboutFont(true, dpi);
    if (!BuildLayout(form, ABOUT_LAYOUT, std::size(ABOUT_LAYOUT), fonts_, dpi, windows_))
        return false;
    picture_ = static_cast<HBITMAP>(
        LoadImageA(module_handle, MAKEINTRESOURCEA(IDB_PROGRAM_PICTURE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    SendMessageA(windows_.Get(C::ProgramIcon), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_));
    SetClientSize(form, Scaled(CLIENT_WIDTH, dpi), Scaled(CLIENT_HEIGHT, dpi));
    return true;
}

void TAboutBox::FormShow() {
    // The environment reference is expanded here, as the extraction takes the name literally.
    char file[MAX_PATH] = {};
    char expanded[MAX_PATH] = {};
    lstrcpynA(file, SHELL_ICON_FILE, sizeof file);
    ExpandEnvironmentStringsA(file, expanded, sizeof expanded);
    if (system_dll::ExtractIconExA(expanded, SHELL_ICON_INDEX, &icon_large, &icon_small, 1) != 0 && icon_large) {
        HWND image = windows_.Get(C::ProgramIcon);
        const LONG_PTR style = GetWindowLongPtrA(image, GWL_STYLE);
        SetWindowLongPtrA(image, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_ICON);
        SendMessageA(image, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon_large));
    }

    SetWindowTextA(windows_.Get(C::ProductName), plugin_name);

    char version[64] = {};
    ModuleInfo module_info(module_handle);
    if (module_info.GetFileVersion(version, sizeof version) < 0) {
        AppInfoError error = GetAppInfoError();
        MessageBoxA(nullptr, error.GetText(), "ERROR", MB_OK);
    }
    SetWindowTextA(windows_.Get(C::Version), version);

    RECT monitor = {};
    MonitorList().GetCursorMonitorRect(monitor);
    CentreWindowIn(form_, monitor);
}

// Runs as the box goes away: the image lets go of the icon before the icon is destroyed.
void TAboutBox::FormHide() {
    HWND image = windows_.Get(C::ProgramIcon);
    SendMessageA(image, STM_SETIMAGE, IMAGE_ICON, 0);
    ReleaseIcons();
    DeleteObject(picture_);
    picture_ = nullptr;
    for (HFONT &font : fonts_) {
        DeleteObject(font);
        font = nullptr;
    }
    windows_.Clear();
    form_ = nullptr;
}

void TAboutBox::WebSiteClick() {
    char address[256] = {};
    GetWindowTextA(windows_.Get(C::WebSite), address, sizeof address);
    system_dll::ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOW);
    EndLayoutDialog(form_, IDCANCEL);
}

void TAboutBox::ReleaseIcons() {
    if (icon_small) {
        DestroyIcon(icon_small);
        icon_small = nullptr;
    }
    if (icon_large) {
        DestroyIcon(icon_large);
        icon_large = nullptr;
    }
}
