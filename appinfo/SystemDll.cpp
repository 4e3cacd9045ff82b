#include "appinfo/SystemDll.h"

#include <uxtheme.h>

#include "base/ProcAddress.h"

namespace {

enum Dll { COMCTL32, UXTHEME, SHELL32, VERSION, ADVAPI32, DLL_COUNT };
const char *const DLL_FILES[DLL_COUNT] = {"COMCTL32.DLL", "UXTHEME.DLL", "SHELL32.DLL", "VERSION.DLL", "ADVAPI32.DLL"};
HMODULE g_dlls[DLL_COUNT];

// The DLL from the system folder only, never from wherever the DLL search path would find a
// file of that name. Windows 7 without its loader update knows no LOAD_LIBRARY_SEARCH_SYSTEM32
// and refuses the flag as an invalid parameter: the full path into the system folder does the
// same there.
HMODULE LoadFromSystemFolder(const char *file) {
    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenA(file) >= MAX_PATH)
        return nullptr;
    path[length] = '\\';
    lstrcpynA(path + length + 1, file, MAX_PATH - length - 1);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Fills `fn` on the first call. Null while the DLL or function is missing.
template <typename Fn>
Fn Find(Dll dll, const char *name, Fn &fn) {
    if (!fn) {
        if (!g_dlls[dll])
            g_dlls[dll] = LoadFromSystemFolder(DLL_FILES[dll]);
        if (g_dlls[dll])
            fn = ProcAddress<Fn>(g_dlls[dll], name);
    }
    return fn;
}

}  // namespace

BOOL system_dll::InitCommonControlsEx(const INITCOMMONCONTROLSEX *controls) {
    static decltype(&::InitCommonControlsEx) fn;
    return Find(COMCTL32, "InitCommonControlsEx", fn) ? fn(controls) : FALSE;
}

BOOL system_dll::SetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    static decltype(&::SetWindowSubclass) fn;
    return Find(COMCTL32, "SetWindowSubclass", fn) ? fn(window, proc, id, data) : FALSE;
}

BOOL system_dll::RemoveWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id) {
    static decltype(&::RemoveWindowSubclass) fn;
    return Find(COMCTL32, "RemoveWindowSubclass", fn) ? fn(window, proc, id) : FALSE;
}

// Only a window that SetWindowSubclass subclassed gets here, so COMCTL32 is loaded already.
LRESULT system_dll::DefSubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    static decltype(&::DefSubclassProc) fn;
    return Find(COMCTL32, "DefSubclassProc", fn) ? fn(window, message, wparam, lparam) : 0;
}

HRESULT system_dll::EnableThemeDialogTexture(HWND window, DWORD flags) {
    static decltype(&::EnableThemeDialogTexture) fn;
    return Find(UXTHEME, "EnableThemeDialogTexture", fn) ? fn(window, flags) : HRESULT_FROM_WIN32(GetLastError());
}

UINT system_dll::ExtractIconExA(LPCSTR file, int index, HICON *large, HICON *small, UINT count) {
    static decltype(&::ExtractIconExA) fn;
    return Find(SHELL32, "ExtractIconExA", fn) ? fn(file, index, large, small, count) : 0;
}

HINSTANCE system_dll::ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                    INT show) {
    static decltype(&::ShellExecuteA) fn;
    if (!Find(SHELL32, "ShellExecuteA", fn))
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
    return fn(owner, verb, file, parameters, folder, show);
}

HRESULT system_dll::SHQueryUserNotificationState(QUERY_USER_NOTIFICATION_STATE *state) {
    static decltype(&::SHQueryUserNotificationState) fn;
    return Find(SHELL32, "SHQueryUserNotificationState", fn) ? fn(state) : HRESULT_FROM_WIN32(GetLastError());
}

DWORD system_dll::GetFileVersionInfoSizeA(LPCSTR file, LPDWORD handle) {
    static decltype(&::GetFileVersionInfoSizeA) fn;
    return Find(VERSION, "GetFileVersionInfoSizeA", fn) ? fn(file, handle) : 0;
}

BOOL system_dll::GetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD size, LPVOID data) {
    static decltype(&::GetFileVersionInfoA) fn;
    return Find(VERSION, "GetFileVersionInfoA", fn) ? fn(file, handle, size, data) : FALSE;
}

BOOL system_dll::VerQueryValueA(LPCVOID block, LPCSTR sub_block, LPVOID *value, PUINT size) {
    static decltype(&::VerQueryValueA) fn;
    return Find(VERSION, "VerQueryValueA", fn) ? fn(block, sub_block, value, size) : FALSE;
}

BOOL system_dll::OpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
    static decltype(&::OpenProcessToken) fn;
    return Find(ADVAPI32, "OpenProcessToken", fn) ? fn(process, access, token) : FALSE;
}

BOOL system_dll::GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, LPVOID data, DWORD size,
                                     PDWORD returned) {
    static decltype(&::GetTokenInformation) fn;
    return Find(ADVAPI32, "GetTokenInformation", fn) ? fn(token, kind, data, size, returned) : FALSE;
}
