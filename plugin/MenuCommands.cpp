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

// After the dialog. Velkora may have let the module go while it was open (a tear-down from inside
// the dialog's loop, or a FreeLibrary from any thread without one), and the plug-in cannot tell:
// this reference may be the last, and released here it would unmap the code that this thread
// returns into. So a thread of its own releases it, whose start routine is FreeLibrary itself:
// if the reference is the last, the module's detach runs on that thread (as in any unload from
// another thread, it leaves nothing of the engine behind) and the module goes with no code of it
// on a stack. The thread is let run at the lowest priority just before this thread returns: it
// has its start, every DLL's thread attach and the module's detach to go through before the
// module can go, against the few instructions left here. Without a thread the reference stays,
// and the module with it.
static void ReleaseModule(HMODULE held) {
    if (!held)
        return;
    HANDLE releaser = CreateThread(nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(FreeLibrary), held,
                                   CREATE_SUSPENDED, nullptr);
    if (!releaser)
        return;
    SetThreadPriority(releaser, THREAD_PRIORITY_LOWEST);
    ResumeThread(releaser);
    CloseHandle(releaser);
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
