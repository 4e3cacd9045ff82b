#include "tools/hostside/HostSide.h"

#include <algorithm>
#include <cstring>

#include "base/ProcAddress.h"

static HostSide *g_side;

void SetHostSide(HostSide *side) { g_side = side; }

#define HOST_EXPORT extern "C" __declspec(dllexport)

// HOSTSIDE_SPARSE builds a host that lacks some functions, as an old or a foreign host may:
// no PrintRaw (lines come through PrintErrRaw without a severity), no GetList, IsMode,
// SendHotKey, GetStatus, GetWindowHandles, GetQuickOption or ReloadMenu.

#ifndef HOSTSIDE_SPARSE
HOST_EXPORT int WINAPI Velk_PrintRaw(int severity, const char *line) {
    if (g_side && line)
        g_side->Log(severity, line);
    return 0;
}
#endif

HOST_EXPORT int WINAPI Velk_PrintErrRaw(const char *line) {
    if (g_side && line)
        g_side->Log(-1, line);
    return 0;
}

HOST_EXPORT int WINAPI Velk_GetLogSeverity(int32_t *severity) {
    if (severity)
        *severity = g_side ? g_side->LogSeverity() : 7;
    return 0;
}

HOST_EXPORT int WINAPI Velk_GetVersion(char *buf, int size) {
    if (!buf || size <= 0)
        return 0;
    const char *version = g_side ? g_side->Version() : "0.9.6.42";
    // A host may fill the whole buffer without a terminator; the plug-in must cope.
    std::memset(buf, 0, size);
    std::memcpy(buf, version, std::min<size_t>(std::strlen(version), size));
    return 0;
}

#ifndef HOSTSIDE_SPARSE
HOST_EXPORT int WINAPI Velk_SendHotKey(const char *name) {
    if (g_side && name)
        g_side->SendHotKey(name);
    return 0;
}
#endif

#ifndef HOSTSIDE_SPARSE
HOST_EXPORT int WINAPI Velk_GetStatus(void *status1) {
    if (status1)
        *static_cast<uint8_t *>(status1) = g_side && g_side->HasFocus() ? 1 : 0;
    return 0;
}
#endif

#ifndef HOSTSIDE_SPARSE
HOST_EXPORT int WINAPI Velk_GetWindowHandles(HWND *first, HWND *second) {
    if (first)
        *first = g_side ? g_side->MainWindow() : nullptr;
    if (second)
        *second = nullptr;
    return 0;
}
#endif

#ifndef HOSTSIDE_SPARSE
HOST_EXPORT int WINAPI Velk_GetQuickOption(void *option8) {
    uint8_t option[8] = {};
    if (g_side)
        g_side->QuickOption(option);
    if (option8)
        std::memcpy(option8, option, sizeof option);
    return 0;
}
#endif

#ifndef HOSTSIDE_SPARSE
HOST_EXPORT int WINAPI Velk_ReloadMenu(const char *plugin_name) {
    if (g_side && plugin_name)
        g_side->ReloadMenu(plugin_name);
    return 0;
}
#endif

// The functions that the plug-in binds but never calls: present, doing nothing.
#define HOST_BOUND_ONLY(name) \
    HOST_EXPORT int WINAPI Velk_##name() { return 0; }
HOST_BOUND_ONLY(GetFocusHandleByItemIndex)
HOST_BOUND_ONLY(GetFocusHandleSelected)
HOST_BOUND_ONLY(GetHandleByItemIndex)
HOST_BOUND_ONLY(GetHandleSelected)
HOST_BOUND_ONLY(GetItemIndexSelected)
#ifndef HOSTSIDE_SPARSE
HOST_BOUND_ONLY(GetList)
HOST_BOUND_ONLY(IsMode)
#endif
HOST_BOUND_ONLY(GetInitialList)
HOST_BOUND_ONLY(GetPosition)
HOST_BOUND_ONLY(GetPositionSelected)
HOST_BOUND_ONLY(GetModePosition)
HOST_BOUND_ONLY(SetCursorByItemIndex)
HOST_BOUND_ONLY(SetCursorByHandle)
HOST_BOUND_ONLY(RegisterFocus)
HOST_BOUND_ONLY(UnregisterFocus)
HOST_BOUND_ONLY(RegisterCustomList)
HOST_BOUND_ONLY(UnregisterCustomList)
HOST_BOUND_ONLY(EnterMode)
HOST_BOUND_ONLY(ExitMode)
HOST_BOUND_ONLY(UpdateMode)
HOST_BOUND_ONLY(SuspendHook)
HOST_BOUND_ONLY(UpdateList)

template <typename Fn>
static void Find(HMODULE plugin, const char *name, Fn &fn) {
    fn = ProcAddress<Fn>(plugin, name);
}

bool PluginExports::Bind(HMODULE plugin) {
#define HOSTSIDE_FIND_EXPORT(short_name, name, result, params) Find(plugin, #name, short_name);
    CURSORWAKE_EXPORTS(HOSTSIDE_FIND_EXPORT)
#undef HOSTSIDE_FIND_EXPORT
    return OnGetPluginInfo && OnSetup && OnSetupSubMenu && OnTeardown && OnSuspendHook &&
           OnChangeQuickOption && MyToggleEnable;
}

void(WINAPI *PluginExports::Command(const char *name) const)(int) {
    if (!std::strcmp(name, "MyToggleEnable"))
        return MyToggleEnable;
    if (!std::strcmp(name, "MyOption"))
        return MyOption;
    if (!std::strcmp(name, "MyVersion"))
        return MyVersion;
    return nullptr;
}
