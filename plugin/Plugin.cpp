// Process attach and detach, set-up, tear-down, suspension and the enable toggle.
#include "plugin/Plugin.h"

#include <cstring>

#include "appinfo/AppInfo.h"
#include "engine/Engine.h"
#include "hostapi/VelkApi.h"
#include "plugin/PluginExports.h"
#include "settings/Settings.h"
#include "ui/DialogLayout.h"

HINSTANCE g_handle_module;
static bool g_set_up;

static const char MIN_HOST_VERSION[] = "0.9.6.42";
static const char MAX_HOST_VERSION[] = "1.0.0.0";   // exclusive

int InitPlugin(HINSTANCE module) {
    if (g_handle_module)
        return 1;
    g_handle_module = module;
    // Without the host's executable nothing is bound, so this line reaches no log either.
    if (!g_VelkApi.IsEnable()) {
        VELK_TRACE("api isn't enable");
        return -1;
    }
    if (!g_VelkApi.CheckVersion(MIN_HOST_VERSION, MAX_HOST_VERSION)) {
        g_VelkApi.PrintVersionError(PLUGIN_NAME, MIN_HOST_VERSION, MAX_HOST_VERSION);
        g_VelkApi.PrintLoadErrors(PLUGIN_NAME);
        return -1;
    }
    char module_path[MAX_PATH + 1] = {};
    GetModuleFileNameA(module, module_path, MAX_PATH);
    DeriveIniPath(module_path, g_ini_path);
    return 0;
}

void UninitPlugin() { g_handle_module = nullptr; }

bool IsSetUpFor(const char *command) {
    if (!g_set_up)
        VELK_TRACE("%s: not set up", command);
    return g_set_up;
}

// Settings errors go out at severity 3, as the refusal of an unsupported host: the user's
// settings are at stake.
uint32_t SaveSettingsReported() {
    const uint32_t error = SaveSettings();
    if (error)
        g_VelkApi.Print(3, PLUGIN_NAME, "設定ファイル%sに保存できません。%s", g_ini_path, SystemErrorText(error).text);
    return error;
}

static void ReloadHostMenu() {
    if (g_VelkApi.ReloadMenu)
        g_VelkApi.ReloadMenu(PLUGIN_NAME);
}

static void ReadQuickOption() {
    if (g_VelkApi.GetQuickOption)
        g_VelkApi.GetQuickOption(&g_quick_option);
}

// While a dialog is shown the engine stays stopped; the command that closes the dialog starts
// it again if the plug-in is enabled by then.
void SetEnable(bool on) {
    g_cfg.general.enable = on ? 1 : 0;
    SetEnableCheckMark(on);
    ShowEnableInOptionDialog(on);
    ReloadHostMenu();
    if (on) {
        if (!IsDialogShown())
            StartEngine(g_handle_module);
        RefreshMonitorRects();
    } else {
        StopEngine();
    }
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        g_VelkApi.log_tag = PLUGIN_NAME;
        VELK_TRACE("* DLL_PROCESS_ATTACH");
        return InitPlugin(module) >= 0;
    case DLL_PROCESS_DETACH:
        VELK_TRACE("* DLL_PROCESS_DETACH");
        // FreeLibrary without a tear-down (reserved is null) must not leave the hook or the
        // timer pointing into unmapped memory. At process exit (reserved is not null) other
        // threads are gone and the system takes everything back: touch nothing.
        if (!reserved) {
            ReleaseEngine();
            ReleaseDialogs();
        }
        UninitPlugin();
        return TRUE;
    default:
        return TRUE;
    }
}

void WINAPI Velk_OnGetPluginInfo(char *info80) {
    if (info80)
        FillPluginInfo(info80, PLUGIN_NAME);
}

int WINAPI Velk_OnSetup(int) {
    g_set_up = true;
    if (const uint32_t error = LoadSettings())
        g_VelkApi.Print(3, PLUGIN_NAME, "設定ファイル%sを読み込めません。%s 既定の設定で動作し、設定ダイアログで OK を押すまでファイルは上書きしません。",
                        g_ini_path, SystemErrorText(error).text);
    SetEnableCheckMark(g_cfg.general.enable != 0);
    StartEngine(g_handle_module);
    ResetGestureState();
    ReadQuickOption();
    RefreshMonitorRects();
    return 0;
}

void WINAPI Velk_OnSetupSubMenu(int *count, void *items) {
    if (count)
        *count = SUBMENU_COUNT;
    if (items)
        std::memcpy(items, g_submenu, sizeof g_submenu);
}

int WINAPI Velk_OnTeardown(void) {
    if (!IsSetUpFor(__func__))
        return 0;
    g_set_up = false;
    CancelShownDialog();   // the settings as they were before it are saved
    StopEngine();
    DestroyEngineWindow();
    if (!IsSettingsFileUnread())
        SaveSettingsReported();
    return 0;
}

void WINAPI Velk_OnSuspendHook(BOOL suspend) {
    if (IsSetUpFor(__func__))
        SetEnable((suspend & 0xFF) == 0);
}

void WINAPI Velk_OnChangeQuickOption(void) { ReadQuickOption(); }

void WINAPI MyToggleEnable(int) {
    if (IsSetUpFor(__func__))
        SetEnable(g_cfg.general.enable == 0);
}
