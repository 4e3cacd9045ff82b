// The about box: the plug-in's name, the module's file version, an icon and a web address.
#pragma once
#include <windows.h>

#include "ui/DialogLayout.h"

class TAboutBox {
public:
    enum Control : int { OKButton = IDOK, Panel1 = 100, ProgramIcon, ProductName, Version, Copyright, WebSite };

    TAboutBox(const char *name, HMODULE module);
    ~TAboutBox();
    TAboutBox(const TAboutBox &) = delete;
    TAboutBox &operator=(const TAboutBox &) = delete;
    // IDOK after OKButton, IDCANCEL after the close box or the web address.
    INT_PTR ShowModal();

    char plugin_name[260];
    HMODULE module_handle;
    HICON icon_large = nullptr;   // owned: extracted at each showing, destroyed at hiding
    HICON icon_small = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND form, UINT message, WPARAM wparam, LPARAM lparam);
    bool FormCreate(HWND form);   // false when the controls could not all be created
    void FormShow();
    void FormHide();
    void WebSiteClick();
    void ReleaseIcons();

    HWND form_ = nullptr;
    HFONT fonts_[2] = {};
    HBITMAP picture_ = nullptr;
    LayoutWindows windows_;
};
