#include "tools/hostside/WindowDriver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <fstream>

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
}  // namespace

std::vector<HWND> Descendants(HWND root, std::function<bool(HWND)> match) {
    Search search{std::move(match), {}};
    EnumChildWindows(root, Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

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

DWORD HandPacedWheelStamp() {
    static DWORD last;
    const DWORD paced = last + HAND_PACE_MS, now = GetTickCount();
    last = static_cast<int32_t>(now - paced) > 0 ? now : paced;   // by difference: across the wrap
    if (last == 0)   // 0 would have the system stamp it
        last = 1;
    return last;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

RECT RectIn(HWND window, HWND parent) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

std::string TabText(HWND tabs, int index) {
    char text[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return text;
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
}  // namespace

// The window's thread paints now, and is through with it when it answers.
void PaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

bool SavePng(HWND window, const std::string &path) {
    PaintNow(window);   // whatever the last step changed
    RECT r;
    return GetWindowRect(window, &r) && SaveScreenPng(r, path);
}

bool SaveScreenPng(const RECT &r, const std::string &path) {
    if (r.right <= r.left || r.bottom <= r.top)
        return false;
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
    // Copied from the screen rather than printed by the window, so that the picture shows
    // what a person sees, child windows and all.
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << EncodePng(width, height, rows);
    return out.good();
}
