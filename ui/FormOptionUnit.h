// The options dialog: every setting on four tabbed pages, stored into g_cfg on OK.
#pragma once
#include <windows.h>

#include "ui/DialogLayout.h"
#include "ui/OptionFields.h"

class TOptionDlg {
public:
    explicit TOptionDlg(HMODULE module);
    // IDOK after OK stored the record, IDCANCEL otherwise.
    INT_PTR ShowModal();
    // While the dialog is shown: its 有効 box takes the state that Velkora just set.
    void ShowEnable(bool on);

private:
    static INT_PTR CALLBACK DialogProc(HWND form, UINT message, WPARAM wparam, LPARAM lparam);
    bool FormCreate(HWND form);   // false when the controls could not all be created
    void FormShow();
    OptionForm Entered() const;   // what the controls show now
    bool OKBtnClick();
    void Close(INT_PTR result);
    void ShowPage(int index);
    void TurnPage(int step);
    void ShowInvalidEdit(int control);

    HMODULE module_;
    char title_[MAX_PATH];
    char caption_[MAX_PATH + 8];
    int active_page_ = 0;   // kept from one opening to the next
    HWND form_ = nullptr;
    HFONT fonts_[3] = {};
    LayoutWindows windows_;
};
