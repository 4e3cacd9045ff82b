// The host's functions, bound by name from the host's executable when the module is loaded.
#pragma once
#include <windows.h>

#include <cstdint>

#include "hostapi/VelkApiCore.h"

// Written by the host's GetStatus: exactly one byte.
struct VelkStatus {
    uint8_t has_focus;
};
static_assert(sizeof(VelkStatus) == 1, "the host writes one byte");

// Written by the host's GetQuickOption: eight bytes, of which the plug-in reads the first two.
struct VelkQuickOption {
    uint8_t bytes[8];
};
static_assert(sizeof(VelkQuickOption) == 8, "the host writes eight bytes");

// Every function crossing the boundary is __stdcall; results are ignored.
typedef int(WINAPI *VelkBoundOnlyFn)();
typedef int(WINAPI *VelkPrintRawFn)(int severity, const char *line);
typedef int(WINAPI *VelkPrintErrRawFn)(const char *line);
typedef int(WINAPI *VelkGetLogSeverityFn)(int32_t *severity);
typedef int(WINAPI *VelkGetVersionFn)(char *buf, int size);
typedef int(WINAPI *VelkSendHotKeyFn)(const char *name);
typedef int(WINAPI *VelkGetStatusFn)(VelkStatus *status);
typedef int(WINAPI *VelkGetWindowHandlesFn)(HWND *first, HWND *second);
typedef int(WINAPI *VelkGetQuickOptionFn)(VelkQuickOption *option);
typedef int(WINAPI *VelkReloadMenuFn)(const char *plugin_name);

// Fields 1 to 29, in binding and reporting order; each is bound to "Velk_" + its name.
#define VELK_API_FUNCTIONS(X)                              \
    X(GetFocusHandleByItemIndex, VelkBoundOnlyFn)          \
    X(GetFocusHandleSelected, VelkBoundOnlyFn)             \
    X(GetHandleByItemIndex, VelkBoundOnlyFn)               \
    X(GetHandleSelected, VelkBoundOnlyFn)                  \
    X(GetItemIndexSelected, VelkBoundOnlyFn)               \
    X(GetList, VelkBoundOnlyFn)                            \
    X(GetInitialList, VelkBoundOnlyFn)                     \
    X(GetPosition, VelkBoundOnlyFn)                        \
    X(GetPositionSelected, VelkBoundOnlyFn)                \
    X(GetQuickOption, VelkGetQuickOptionFn)                \
    X(GetStatus, VelkGetStatusFn)                          \
    X(GetVersion, VelkGetVersionFn)                        \
    X(GetWindowHandles, VelkGetWindowHandlesFn)            \
    X(GetModePosition, VelkBoundOnlyFn)                    \
    X(GetLogSeverity, VelkGetLogSeverityFn)                \
    X(SetCursorByItemIndex, VelkBoundOnlyFn)               \
    X(SetCursorByHandle, VelkBoundOnlyFn)                  \
    X(RegisterFocus, VelkBoundOnlyFn)                      \
    X(UnregisterFocus, VelkBoundOnlyFn)                    \
    X(RegisterCustomList, VelkBoundOnlyFn)                 \
    X(UnregisterCustomList, VelkBoundOnlyFn)               \
    X(EnterMode, VelkBoundOnlyFn)                          \
    X(ExitMode, VelkBoundOnlyFn)                           \
    X(UpdateMode, VelkBoundOnlyFn)                         \
    X(IsMode, VelkBoundOnlyFn)                             \
    X(SuspendHook, VelkBoundOnlyFn)                        \
    X(UpdateList, VelkBoundOnlyFn)                         \
    X(SendHotKey, VelkSendHotKeyFn)                        \
    X(ReloadMenu, VelkReloadMenuFn)

class VelkApi {
public:
    VelkApi() { Load(); }

#define VELK_API_FIELD(name, type) type name;
    VELK_API_FUNCTIONS(VELK_API_FIELD)
#undef VELK_API_FIELD
    HMODULE host_module;
    // The tag of every line the plug-in writes, set by the plug-in before its first line.
    const char *log_tag;
    int32_t log_severity;   // low byte only; LOG_SEVERITY_NOT_ASKED until the first line
    VelkPrintRawFn PrintRaw;
    VelkPrintErrRawFn PrintErrRaw;

    void Load();
    // Whether the host's executable was found: without it nothing is bound.
    bool IsEnable() const { return host_module != nullptr; }
    bool CheckVersion(const char *minimum, const char *maximum);
    void PrintVersionError(const char *tag, const char *minimum, const char *maximum);
    void PrintLoadErrors(const char *tag);
    void Print(int severity, const char *tag, const char *format, ...)
        __attribute__((format(printf, 4, 5)));
    void VPrint(int severity, const char *tag, const char *format, va_list args);

private:
    // Fills the 80-byte buffer with the host's version text as written; empty when unbound.
    const char *ReadVersion(char (&buf)[HOST_VERSION_SIZE]);
};

extern VelkApi g_VelkApi;

#define VELK_TRACE(...) g_VelkApi.Print(7, g_VelkApi.log_tag, __VA_ARGS__)
