#include "tests/wine/DialogDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "tests/wine/WineTestHost.h"

void WhileDialogRuns(const char *caption, const std::function<void()> &command,
                     const std::function<void()> &script) {
    std::atomic<bool> script_done(false);
    std::thread driver([&] {
        script();
        script_done = true;
        // A dialog left open by a failed script is closed, message boxes first.
        for (int i = 0; i < 20; ++i) {
            HWND window = FindWindowA(nullptr, caption);
            if (!window)
                break;
            HWND popup = GetWindow(window, GW_ENABLEDPOPUP);
            PostMessageA(popup && popup != window ? popup : window, WM_CLOSE, 0, 0);
            Sleep(100);
        }
    });
    command();
    driver.join();
}

namespace {
const UINT RUN_COMMAND = WM_APP + 7;
const UINT RUN_POSTED_COMMAND = WM_APP + 8;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == RUN_COMMAND) {
        (*reinterpret_cast<const std::function<void()> *>(lparam))();
        return 1;
    }
    if (message == RUN_POSTED_COMMAND) {
        std::unique_ptr<std::function<void()>> command(reinterpret_cast<std::function<void()> *>(lparam));
        (*command)();
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
}  // namespace

HWND CreateHostWindow(const char *title, bool enabled) {
    static const ATOM host_class = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        wc.lpszClassName = "CursorwakeTestHostWindow";
        return RegisterClassA(&wc);
    }();
    HWND window = CreateWindowExA(0, MAKEINTATOM(host_class), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                                  200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EnableWindow(window, enabled);
    return window;
}

bool RunOnThreadOf(HWND window, const std::function<void()> &command, DWORD timeout_ms) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, RUN_COMMAND, 0, reinterpret_cast<LPARAM>(&command), SMTO_NORMAL, timeout_ms,
                               &result) &&
           result == 1;
}

void PostToThreadOf(HWND window, const std::function<void()> &command) {
    auto *copy = new std::function<void()>(command);
    if (!PostMessageA(window, RUN_POSTED_COMMAND, 0, reinterpret_cast<LPARAM>(copy)))
        delete copy;
}

bool WaitForPostedMessages(HWND host_window, DWORD timeout_ms) {
    const auto taken = std::make_shared<std::atomic<bool>>(false);
    PostToThreadOf(host_window, [taken] { *taken = true; });
    for (const DWORD start = GetTickCount(); !*taken; Sleep(1))
        if (GetTickCount() - start > timeout_ms)
            return false;
    return true;
}

int DialogDpi() {
    static const int dpi = [] {
        SetProcessDPIAware();
        HDC screen = GetDC(nullptr);
        const int caps = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return caps;
    }();
    return dpi;
}

int AtDpi(int at96, int at144) {
    switch (DialogDpi()) {
    case 96: return at96;
    case 144: return at144;
    default:
        ADD_FAILURE() << "no measures written out for " << DialogDpi() << " DPI";
        return -1;
    }
}

int RunDpi() {
    const char *dpi = std::getenv("CURSORWAKE_DPI");
    return dpi ? std::atoi(dpi) : 96;
}

std::string ShotName(const std::string &name) {
    return DialogDpi() == 96 ? name : name + "-" + std::to_string(DialogDpi()) + "dpi";
}

std::vector<std::string> TextsCutOff(HWND root) {
    std::vector<std::string> cut;
    for (HWND control : Descendants(root, [](HWND) { return true; })) {
        char cls[32] = {};
        GetClassNameA(control, cls, sizeof cls);
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        const std::string text = TextOf(control);
        UINT format = DT_CALCRECT;
        RECT room;
        GetClientRect(control, &room);
        if (lstrcmpiA(cls, "Static") == 0) {
            const LONG kind = style & SS_TYPEMASK;
            if (style & SS_NOPREFIX)
                format |= DT_NOPREFIX;
            if (kind == SS_LEFTNOWORDWRAP || (style & SS_CENTERIMAGE))
                format |= DT_SINGLELINE;
            else if (kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT)
                format |= DT_WORDBREAK;
            else
                continue;   // pictures and frames
        } else if (lstrcmpiA(cls, "Button") == 0) {
            format = DT_CALCRECT | DT_SINGLELINE;
            if ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX)
                room.right -= GetSystemMetrics(SM_CXMENUCHECK) + AtDpi(4, 6);
        } else {
            continue;
        }
        if (text.empty())
            continue;
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
        RECT need = {0, 0, room.right, 0};
        DrawTextA(dc, text.c_str(), -1, &need, format);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        if (need.right > room.right || need.bottom > room.bottom)
            cut.push_back(text);
    }
    return cut;
}

namespace {
std::string ScreenshotFolder() {
    const char *folder = std::getenv("CURSORWAKE_SCREENSHOTS");
    std::string path = folder ? folder : RunFolder("screenshots");
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}
}  // namespace

std::string SaveScreenshot(HWND window, const std::string &name) {
    const std::string path = ScreenshotFolder() + "\\" + name + ".png";
    SavePng(window, path);
    return path;
}

std::string SaveScreenshotOfAllMonitors(const std::string &name) {
    const std::string path = ScreenshotFolder() + "\\" + name + ".png";
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    SaveScreenPng({left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)},
                  path);
    return path;
}

void *PatchImport(HMODULE module, const char *dll, const char *function, void *replacement) {
    auto *base = reinterpret_cast<BYTE *>(module);
    auto *nt = reinterpret_cast<IMAGE_NT_HEADERS32 *>(base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto *imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (lstrcmpiA(reinterpret_cast<char *>(base + imp->Name), dll) != 0)
            continue;
        auto *names = reinterpret_cast<IMAGE_THUNK_DATA32 *>(base + imp->OriginalFirstThunk);
        auto *slots = reinterpret_cast<IMAGE_THUNK_DATA32 *>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL32(names->u1.Ordinal))
                continue;
            auto *by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<char *>(by_name->Name), function) != 0)
                continue;
            DWORD protection;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            void *old = reinterpret_cast<void *>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<DWORD>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return old;
        }
    }
    return nullptr;
}

namespace {

struct ProcReplacement {
    std::string function;
    void *replacement;
};
HMODULE g_proc_patched_module;
std::vector<ProcReplacement> g_proc_replacements;
decltype(&GetProcAddress) g_real_get_proc_address;

FARPROC WINAPI ReplacingGetProcAddress(HMODULE module, LPCSTR name) {
    if (reinterpret_cast<uintptr_t>(name) > 0xFFFF)   // a name, not an ordinal
        for (const ProcReplacement &r : g_proc_replacements)
            if (r.function == name)
                return reinterpret_cast<FARPROC>(r.replacement);
    return g_real_get_proc_address(module, name);
}

}  // namespace

void *PatchProcAddress(HMODULE module, const char *dll, const char *function, void *replacement) {
    if (module != g_proc_patched_module) {
        g_proc_replacements.clear();
        void *real =
            PatchImport(module, "kernel32.dll", "GetProcAddress", reinterpret_cast<void *>(ReplacingGetProcAddress));
        if (!real)
            return nullptr;
        g_real_get_proc_address = reinterpret_cast<decltype(g_real_get_proc_address)>(real);
        g_proc_patched_module = module;
    }
    g_proc_replacements.push_back({function, replacement});
    HMODULE system = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return system ? reinterpret_cast<void *>(GetProcAddress(system, function)) : nullptr;
}
