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

// After the dialog, Velkora may have let the module go while it was open (a tear-down from inside
// the dialog's loop, or a FreeLibrary from any thread without one), and the plug-in cannot tell:
// the reference that the dialog held may be the last, and released by code of the module, it
// would unmap the code that is to run next. So each command's export is a thunk that calls the
// command and then, in place of its return, jumps to FreeLibrary with the held reference as the
// argument: FreeLibrary returns straight to Velkora, and when the reference was the last, the
// module's detach runs on Velkora's own thread (which ends the engine as a tear-down would) and
// the module goes with no code of it left to run. Both the export and FreeLibrary take one
// argument and remove it, so Velkora's stack is as after the command's return.
#define RETURN_THROUGH_FREELIBRARY(export_name, command)                      \
    __asm__(".globl _" #export_name "@4\n"                                  \
            "_" #export_name "@4:\n"                                        \
            "\tpushl 4(%esp)\n"                                             \
            "\tcall _" #command "@4\n"                                      \
            "\ttestl %eax, %eax\n"                                          \
            "\tjz 1f\n"                                                     \
            "\tmovl %eax, 4(%esp)\n"                                        \
            "\tjmp *__imp__FreeLibrary@4\n"                                 \
            "1:\tret $4\n")

// The commands proper: the reference to let go of, or null when none was taken.
extern "C" __attribute__((used)) HMODULE WINAPI RunOptionCommand(int);
extern "C" __attribute__((used)) HMODULE WINAPI RunVersionCommand(int);
RETURN_THROUGH_FREELIBRARY(MyOption, RunOptionCommand);
RETURN_THROUGH_FREELIBRARY(MyVersion, RunVersionCommand);

HMODULE WINAPI RunOptionCommand(int) {
    if (ActivateShownDialog())
        return nullptr;
    HMODULE held = HoldModule();
    StopEngine();
    if (!OptionDlg)
        OptionDlg = new TOptionDlg(g_handle_module);
    const bool confirmed = OptionDlg->ShowModal() == IDOK;
    if (IsSetUpFor("MyOption")) {
        if (!confirmed) {
            StartEngine(g_handle_module);
        } else {
            const uint32_t error = SaveSettingsReported();
            SetEnable(g_cfg.general.enable != 0);
            if (error)
                ShowSaveError(error);
        }
    }
    return held;
}

HMODULE WINAPI RunVersionCommand(int) {
    if (ActivateShownDialog())
        return nullptr;
    HMODULE held = HoldModule();
    StopEngine();
    if (!AboutBox)
        AboutBox = new TAboutBox(PLUGIN_NAME, g_handle_module);
    AboutBox->ShowModal();
    if (IsSetUpFor("MyVersion"))
        StartEngine(g_handle_module);
    return held;
}
