// The two menu commands that open a dialog. The engine is stopped for as long as a dialog is
// on the screen, so neither the hook nor the timer reads g_cfg while the options dialog
// writes it. While a dialog is open Velkora's windows are disabled, but Velkora can still
// call a command (from a shortcut of its own, say): the open dialog then comes to the front
// and the call returns at once, leaving the dialog and the stopped engine as they are.
// Velkora's tray icon stays usable too, and its Exit tears the plug-in down and unloads it
// from inside the dialog's loop: the tear-down cancels the dialog, and the module holds a
// reference to itself while a dialog is shown, so that the code that follows the loop is
// still there.
#include "appinfo/AppInfo.h"
#include "engine/Engine.h"
#include "plugin/Plugin.h"
#include "plugin/PluginExports.h"
#include "settings/Settings.h"
#include "ui/FormAboutBoxUnit.h"
#include "ui/FormOptionUnit.h"
#include "ui/ModuleTitle.h"

// Created on first use and kept until the module is unloaded.
static TOptionDlg *OptionDlg;
static TAboutBox *AboutBox;

// No dialog is shown by then: the objects hold memory only, no window, font or icon.
void ReleaseDialogs() {
    delete OptionDlg;
    OptionDlg = nullptr;
    delete AboutBox;
    AboutBox = nullptr;
}

void ShowEnableInOptionDialog(bool on) {
    if (OptionDlg)
        OptionDlg->ShowEnable(on);
}

// The dialog has closed; the settings apply all the same.
static void ShowSaveError(uint32_t error) {
    char text[1400];
    FormatCut(text, sizeof text, "設定を保存できませんでした。\n\n%s\n%s", g_ini_path, SystemErrorText(error).text);
    char title[MAX_PATH];
    ModuleTitle(g_handle_module, title);
    MessageBoxA(nullptr, text, title, MB_OK | MB_ICONERROR);
}

// A reference to the module, taken before a dialog is shown.
static HMODULE HoldModule() {
    HMODULE held = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&HoldModule), &held);
    return held;
}

// A reference kept over a tear-down during a dialog, until Velkora holds one of its own again.
static HMODULE g_kept_module;

// After the dialog: while the plug-in is set up Velkora holds a reference of its own, and this
// one goes. After a tear-down Velkora may have unloaded the module already, and letting go here
// would unmap the code that is running: the reference is kept, and the module stays loaded
// until Velkora sets it up again (a later LoadLibrary finds it loaded, and set-up works as after
// a fresh load).
static void ReleaseModule(HMODULE held) {
    if (!held)
        return;
    if (IsSetUp() || g_kept_module)
        FreeLibrary(held);
    else
        g_kept_module = held;
}

void ReleaseKeptModule() {
    if (g_kept_module)
        FreeLibrary(g_kept_module);
    g_kept_module = nullptr;
}

void WINAPI MyOption(int) {
    if (ActivateShownDialog())
        return;
    HMODULE held = HoldModule();
    StopEngine();
    if (!OptionDlg)
        OptionDlg = new TOptionDlg(g_handle_module);
    const bool confirmed = OptionDlg->ShowModal() == IDOK;
    if (IsSetUpFor(__func__)) {
        if (!confirmed) {
            StartEngine(g_handle_module);
        } else {
            const uint32_t error = SaveSettingsReported();
            SetEnable(g_cfg.general.enable != 0);
            if (error)
                ShowSaveError(error);
        }
    }
    ReleaseModule(held);
}

void WINAPI MyVersion(int) {
    if (ActivateShownDialog())
        return;
    HMODULE held = HoldModule();
    StopEngine();
    if (!AboutBox)
        AboutBox = new TAboutBox(PLUGIN_NAME, g_handle_module);
    AboutBox->ShowModal();
    if (IsSetUpFor(__func__))
        StartEngine(g_handle_module);
    ReleaseModule(held);
}
