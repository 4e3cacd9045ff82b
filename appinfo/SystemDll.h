// The functions of COMCTL32, UxTheme, SHELL32, VERSION and ADVAPI32 that the dialogs, the about
// box, the version query, the full-screen check and the hook's watchdog call. Loading the plug-in
// maps no more than KERNEL32, USER32, GDI32 and the C runtime; each of these DLLs is loaded from
// the system folder the first time one of its functions is called, and then stays loaded for the
// rest of the process, since a window that it subclassed or a class that it registered may
// outlive the call.
// A function whose DLL cannot be loaded fails as the system's would, with the last error set.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace system_dll {

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX *controls);
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id);
LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

HRESULT EnableThemeDialogTexture(HWND window, DWORD flags);

UINT ExtractIconExA(LPCSTR file, int index, HICON *large, HICON *small, UINT count);
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show);
HRESULT SHQueryUserNotificationState(QUERY_USER_NOTIFICATION_STATE *state);

DWORD GetFileVersionInfoSizeA(LPCSTR file, LPDWORD handle);
BOOL GetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD size, LPVOID data);
BOOL VerQueryValueA(LPCVOID block, LPCSTR sub_block, LPVOID *value, PUINT size);

BOOL OpenProcessToken(HANDLE process, DWORD access, PHANDLE token);
BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, LPVOID data, DWORD size, PDWORD returned);

}  // namespace system_dll
