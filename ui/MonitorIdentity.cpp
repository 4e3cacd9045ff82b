#include "ui/MonitorIdentity.h"

#include <cstdint>

#include "base/Text.h"
#include "engine/Engine.h"
#include "ui/DialogLayout.h"

namespace {

const char IDENTITY_CLASS[] = "CursorwakeIdentity";
const UINT_PTR HIDE_TIMER_ID = 1;
const COLORREF ZONE_COLOUR = RGB(255, 96, 0);
const COLORREF NUMBER_BOX_COLOUR = RGB(0, 0, 128);
const BYTE OPACITY = 208;

// What the windows show, taken when they are shown: a change of the displays meanwhile does not
// move them.
struct Identity {
    HINSTANCE module;   // owns the class while it is registered
    HWND windows[MONITOR_LIST_CAP];
    Rect32 monitors[MONITOR_LIST_CAP];
    size_t count;
    uint32_t onmove, onmove_others;
    int32_t width, height;
};
Identity g_identity;

// An inclusive zone as pixels of the window over `own`; empty when the zone is.
RECT OnWindow(const Rect32 &zone, const Rect32 &own) {
    const auto clamp = [](int64_t v) { return static_cast<LONG>(v < -1 ? -1 : v > 1 << 20 ? 1 << 20 : v); };
    return {clamp(int64_t{zone.left} - own.left), clamp(int64_t{zone.top} - own.top),
            clamp(int64_t{zone.right} - own.left + 1), clamp(int64_t{zone.bottom} - own.top + 1)};
}

// What the window over monitor `index` shows, in its own pixels: the switched-on zones of every
// monitor, each where it lies on this one (most lie on their own), then the box of its number,
// a square a quarter of the monitor high in its middle. The window takes their shape.
struct Shapes {
    RECT rects[MONITOR_LIST_CAP * MONITOR_ZONE_COUNT + 1];
    size_t count;
};

Shapes ShapesOf(size_t index) {
    const Identity &id = g_identity;
    const Rect32 &own = id.monitors[index];
    Shapes shapes = {};
    for (size_t m = 0; m < id.count; ++m) {
        const uint32_t bits = MonitorZoneBits(id.onmove, id.onmove_others, m);
        Rect32 zones[MONITOR_ZONE_COUNT];
        MonitorZoneRects(id.monitors[m], id.width, id.height, zones);
        for (size_t z = 0; z < MONITOR_ZONE_COUNT; ++z)
            if (bits >> z & 1)
                shapes.rects[shapes.count++] = OnWindow(zones[z], own);
    }
    const LONG w = own.right - own.left, h = own.bottom - own.top, side = h / 4;
    shapes.rects[shapes.count++] = {(w - side) / 2, (h - side) / 2, (w + side) / 2, (h + side) / 2};
    return shapes;
}

HRGN RegionOf(const Shapes &shapes) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (size_t i = 0; i < shapes.count; ++i) {
        HRGN part = CreateRectRgnIndirect(&shapes.rects[i]);
        CombineRgn(region, region, part, RGN_OR);
        DeleteObject(part);
    }
    return region;
}

void Paint(HWND window, size_t index) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const Shapes shapes = ShapesOf(index);
    HBRUSH zone_brush = CreateSolidBrush(ZONE_COLOUR), box_brush = CreateSolidBrush(NUMBER_BOX_COLOUR);
    RECT box = shapes.rects[shapes.count - 1];
    for (size_t i = 0; i + 1 < shapes.count; ++i)
        FillRect(dc, &shapes.rects[i], zone_brush);
    FillRect(dc, &box, box_brush);
    LOGFONTA face = SystemMessageFont();
    face.lfHeight = -(box.bottom - box.top) * 2 / 3;
    face.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectA(&face);
    HGDIOBJ old_font = SelectObject(dc, font);
    char number[8];
    FormatCut(number, sizeof number, "%u", static_cast<unsigned>(index + 1));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, number, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old_font);
    DeleteObject(font);
    DeleteObject(box_brush);
    DeleteObject(zone_brush);
    EndPaint(window, &ps);
}

LRESULT CALLBACK IdentityProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT:
        Paint(window, static_cast<size_t>(GetWindowLongPtrA(window, GWLP_USERDATA)));
        return 0;
    case WM_TIMER:
        if (wparam == HIDE_TIMER_ID)
            HideMonitorIdentity();
        return 0;
    case WM_CLOSE:
        return 0;   // a tool that closes every window of the host does not end one early
    case WM_NCDESTROY:
        // Destroyed anyway: the handle is forgotten, so that the others' end cannot hit a window
        // that has taken it over meanwhile.
        for (HWND &own : g_identity.windows)
            if (own == window)
                own = nullptr;
        break;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

void ShowMonitorIdentity(HINSTANCE module, const Settings &shown) {
    HideMonitorIdentity();
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = IdentityProc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = IDENTITY_CLASS;
    // A class left behind by an earlier load at the same address goes first.
    if (!RegisterClassExA(&wc) && !(UnregisterClassA(IDENTITY_CLASS, module) && RegisterClassExA(&wc)))
        return;
    // With the plug-in switched off no engine window hears of display changes: the layout is
    // taken afresh.
    RefreshMonitorRects();
    Identity &id = g_identity;
    id = {module, {}, {}, g_monitor_count, shown.move.onmove, shown.move.onmove_others, shown.move.width,
          shown.move.height};
    for (size_t i = 0; i < id.count; ++i)
        id.monitors[i] = g_monitor_rects[i];
    for (size_t i = 0; i < id.count; ++i) {
        const Rect32 &m = id.monitors[i];
        // A layered window that is also transparent lets the clicks through, to the window below.
        HWND window = CreateWindowExA(
            WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, IDENTITY_CLASS,
            "", WS_POPUP, m.left, m.top, m.right - m.left, m.bottom - m.top, nullptr, nullptr, module, nullptr);
        if (!window)
            continue;
        id.windows[i] = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(i));
        const HRGN region = RegionOf(ShapesOf(i));
        if (!SetWindowRgn(window, region, FALSE))   // else the window owns it from here on
            DeleteObject(region);
        SetLayeredWindowAttributes(window, 0, OPACITY, LWA_ALPHA);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        // Created topmost, the window stands above the others on Wine's X display only once its
        // place is set.
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (HWND window : id.windows)
        if (window) {
            SetTimer(window, HIDE_TIMER_ID, IDENTITY_MS, nullptr);
            return;
        }
}

void HideMonitorIdentity() {
    Identity &id = g_identity;
    if (!id.module)
        return;
    for (HWND &window : id.windows) {
        if (window)
            DestroyWindow(window);
        window = nullptr;
    }
    UnregisterClassA(IDENTITY_CLASS, id.module);
    id.module = nullptr;
}
