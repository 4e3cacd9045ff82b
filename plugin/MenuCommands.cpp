// The two menu commands that open a dialog. The engine is stopped for as long as a dialog is
// on the screen, so neither the hook nor the timer reads g_cfg while the options dialog
// writes it. While a dialog is open Velkora's windows are disabled, but Velkora can still
// call a command (from a shortcut of its own, say): the open dialog then comes to the front
// and the call returns at once, leaving the dialog and the stopped engine as they are.
#include "appinfo/AppInfo.h"
#include "engine/Engine.h"
#include "plugin/Plugin.h"
#include "plugin/PluginExports.h"
#include "settings/Settings.h"
#include "ui/FormAboutBoxUnit.h"
#include "ui/FormOptionUnit.h"

// Created on first use and kept until the module is unloaded.
static TOptionDlg *OptionDlg;
static TAboutBox *AboutBox;

// The dialog has closed; the settings apply all the same.
static void ShowSaveError(uint32_t error) {
    char reason[1024];
    FormatSystemError(error, reason);
    char text[1400];
    FormatCut(text, sizeof text, "設定を保存できませんでした。\n\n%s\n%s", g_ini_path, reason);
    char title[MAX_PATH];
    ModuleTitle(g_handle_module, title);
    MessageBoxA(nullptr, text, title, MB_OK | MB_ICONERROR);
}

// The host may tear the plug-in down while a dialog is open: what follows the dialog asks
// again whether the plug-in is still set up.
void WINAPI MyOption(int) {
    if (ActivateShownDialog())
        return;
    StopEngine();
    if (!OptionDlg)
        OptionDlg = new TOptionDlg(g_handle_module);
    const bool confirmed = OptionDlg->ShowModal() == IDOK;
    if (!IsSetUpFor(__func__))
        return;
    if (confirmed) {
        if (const uint32_t error = SaveSettingsReported())
            ShowSaveError(error);
        SetEnable(g_cfg.general.enable != 0);
    } else {
        StartEngine(g_handle_module);
    }
}

void WINAPI MyVersion(int) {
    if (ActivateShownDialog())
        return;
    StopEngine();
    if (!AboutBox)
        AboutBox = new TAboutBox(PLUGIN_NAME, g_handle_module);
    AboutBox->ShowModal();
    if (IsSetUpFor(__func__))
        StartEngine(g_handle_module);
}
