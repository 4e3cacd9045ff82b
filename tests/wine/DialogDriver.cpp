#include "tests/wine/DialogDriver.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

HWND WaitForWindow(const char *caption, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    do {
        HWND window = FindWindowA(nullptr, caption);
        if (window && IsWindowVisible(window))
            return window;
        Sleep(20);
    } while (GetTickCount() - start < timeout_ms);
    return nullptr;
}

bool WaitUntil(const std::function<bool()> &done, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeout_ms)
        Sleep(20);
    return done();
}

bool WaitUntilGone(HWND window, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < timeout_ms)
        Sleep(20);
    return !IsWindow(window);
}

namespace {
struct Search {
    std::function<bool(HWND)> match;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto *search = reinterpret_cast<Search *>(param);
    if (search->match(window))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> Descendants(HWND root, std::function<bool(HWND)> match) {
    Search search{std::move(match), {}};
    EnumChildWindows(root, Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
}  // namespace

HWND FindControl(HWND root, int id) {
    auto found = Descendants(root, [id](HWND w) { return GetDlgCtrlID(w) == id; });
    return found.empty() ? nullptr : found[0];
}

HWND FindControlByText(HWND root, const std::string &text) {
    auto found = Descendants(root, [&](HWND w) { return TextOf(w) == text; });
    return found.empty() ? nullptr : found[0];
}

std::vector<HWND> ControlsOfClass(HWND root, const char *cls) {
    return Descendants(root, [cls](HWND w) {
        char name[64] = {};
        GetClassNameA(w, name, sizeof name);
        return lstrcmpiA(name, cls) == 0;
    });
}

std::string TextOf(HWND window) {
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void SetText(HWND window, const std::string &text) {
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool IsChecked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND button, bool checked) {
    if (IsChecked(button) != checked)
        SendMessageA(button, BM_CLICK, 0, 0);
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void PressKey(WORD key, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD modifier : modifiers)
        add(modifier, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        add(*m, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

RECT ClientRectOnScreen(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

RECT RectIn(HWND window, HWND parent) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

namespace {
const UINT RUN_COMMAND = WM_APP + 7;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == RUN_COMMAND) {
        (*reinterpret_cast<const std::function<void()> *>(lparam))();
        return 1;
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

int Px(int pixels) { return MulDiv(pixels, DialogDpi(), 96); }

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
                room.right -= GetSystemMetrics(SM_CXMENUCHECK) + Px(4);
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

// PNG with stored (uncompressed) deflate blocks: small code, no library.
namespace {
uint32_t Crc(const uint8_t *data, size_t size, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutBigEndian(std::string &out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(v >> shift));
}

void PutChunk(std::string &out, const char *type, const std::string &data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    std::string typed = std::string(type, 4) + data;
    out += typed;
    PutBigEndian(out, Crc(reinterpret_cast<const uint8_t *>(typed.data()), typed.size()));
}

std::string EncodePng(int width, int height, const std::string &rows) {
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header += std::string("\x08\x02\x00\x00\x00", 5);   // 8-bit RGB
    PutChunk(png, "IHDR", header);
    std::string z = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (unsigned char c : rows) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    size_t pos = 0;
    do {
        const size_t n = std::min<size_t>(65535, rows.size() - pos);
        z.push_back(pos + n == rows.size() ? 1 : 0);   // last block
        z.push_back(static_cast<char>(n & 0xFF));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xFF));
        z.push_back(static_cast<char>((~n >> 8) & 0xFF));
        z.append(rows, pos, n);
        pos += n;
    } while (pos < rows.size());
    PutBigEndian(z, (b << 16) | a);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", "");
    return png;
}

std::string ScreenshotFolder() {
    const char *folder = std::getenv("CURSORWAKE_SCREENSHOTS");
    std::string path = folder ? folder : RunFolder("screenshots");
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}
}  // namespace

std::string SaveScreenshot(HWND window, const std::string &name) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::string rows;
    const auto *pixels = static_cast<const uint8_t *>(bits);
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);   // no filter
        for (int x = 0; x < width; ++x) {
            const uint8_t *p = pixels + (size_t(y) * width + x) * 4;
            rows.push_back(static_cast<char>(p[2]));
            rows.push_back(static_cast<char>(p[1]));
            rows.push_back(static_cast<char>(p[0]));
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const std::string path = ScreenshotFolder() + "\\" + name + ".png";
    WriteTextFile(path, EncodePng(width, height, rows));
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
