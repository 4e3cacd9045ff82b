#include "tools/devhost/DevHost.h"

#include <cstring>

namespace {

const char WINDOW_CLASS[] = "CursorwakeDevHost";
const int HOT_KEY_TRAY_IN_OUT = 1;

enum : UINT {
    ID_PLUGIN_FIRST = 100,   // one id per sub-menu entry, in table order
    ID_PLUGIN_LAST = 199,
    ID_SUSPEND = 200,
    ID_RESUME,
    ID_TRAY_IN_OUT,
    ID_QUICK_OPTION_0,
    ID_QUICK_OPTION_1,
    ID_EXIT,
};

// The host's own items, by the names that scripts use.
const struct {
    const char *name;
    UINT id;
} HOST_ITEMS[] = {
    {"suspend", ID_SUSPEND},         {"resume", ID_RESUME},
    {"trayinout", ID_TRAY_IN_OUT},   {"quickoption0", ID_QUICK_OPTION_0},
    {"quickoption1", ID_QUICK_OPTION_1}, {"exit", ID_EXIT},
};

std::string FieldText(const char *field, size_t width) { return std::string(field, strnlen(field, width)); }

}  // namespace

DevHost::DevHost(const DevHostOptions &options, Journal &journal) : options_(options), journal_(journal) {
    if (!options_.log_path.empty())
        log_file_.reset(new Utf8File(options_.log_path));
    SetHostSide(this);
}

DevHost::~DevHost() {
    SetHostSide(nullptr);
    if (log_font_)
        DeleteObject(log_font_);
}

bool DevHost::CreateMainWindow(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = WINDOW_CLASS;
    RegisterClassExA(&wc);

    // On the right half of the first monitor, clear of the corners and of where the
    // scripted sessions park the cursor.
    window_ = CreateWindowExA(0, WINDOW_CLASS, "Velkora - Cursorwake development host", WS_OVERLAPPEDWINDOW,
                              620, 40, 640, 440, nullptr, nullptr, instance, this);
    if (!window_)
        return false;
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    // The log is columns of numbers and Shift-JIS text: a fixed-pitch Japanese font, large
    // enough that the underscores of the plug-in's names stay inside their lines.
    log_font_ = CreateFontA(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "MS Gothic");
    status_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, 0, 0, 0, window_,
                              nullptr, instance, nullptr);
    log_pane_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT |
                                    LBS_NOSEL,
                                0, 0, 0, 0, window_, nullptr, instance, nullptr);
    SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(log_pane_, WM_SETFONT, reinterpret_cast<WPARAM>(log_font_), FALSE);
    SendMessageA(log_pane_, LB_SETHORIZONTALEXTENT, 1600, 0);
    RECT client;
    GetClientRect(window_, &client);
    SendMessageA(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    // Velkora's own TrayInOut hot key, so that a person can bring the host back by keyboard.
    RegisterHotKey(window_, HOT_KEY_TRAY_IN_OUT, MOD_CONTROL | MOD_ALT, 'V');
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    UpdateStatus();
    return true;
}

bool DevHost::StartPlugin() {
    const size_t first_line = journal_.LogCount();
    plugin_ = LoadLibraryA(options_.plugin_path.c_str());
    if (!plugin_) {
        const DWORD error = GetLastError();
        // A plug-in that refuses says why in the log while it is being loaded.
        std::string reasons, everything;
        for (const LogEntry &entry : journal_.LogSince(first_line)) {
            everything += "\n    " + entry.text;
            if (entry.severity <= 4)
                reasons += "\n    " + entry.text;
        }
        ShowFailure(Format("The plug-in %s did not load (error %lu).", options_.plugin_path.c_str(), error) +
                    (reasons.empty() ? everything : reasons));
        return false;
    }
    if (!exports_.Bind(plugin_)) {
        ShowFailure(Format("%s is not a Velkora plug-in: an export is missing.", options_.plugin_path.c_str()));
        FreeLibrary(plugin_);
        plugin_ = nullptr;
        return false;
    }
    char info[80] = {};
    exports_.OnGetPluginInfo(info);
    plugin_name_ = FieldText(info, sizeof info);
    Note(Format("loaded the plug-in \"%s\" from %s", plugin_name_.c_str(), options_.plugin_path.c_str()));

    exports_.OnSetup(0);
    set_up_ = true;
    BuildMenuBar();
    UpdateStatus();
    return true;
}

void DevHost::StopPlugin() {
    if (!set_up_)
        return;
    exports_.OnTeardown();
    set_up_ = false;
}

int DevHost::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (plugin_) {
        FreeLibrary(plugin_);
        plugin_ = nullptr;
    }
    return exit_code_;
}

void DevHost::Log(int severity, const char *line) {
    journal_.AddLog({GetTickCount(), severity, line});
    Show(severity < 0 ? " -" : Format("%2d", severity), line);
}

// The host's own notes are shown with the plug-in's lines but are not part of what it logged.
void DevHost::Note(const std::string &text) { Show("  ", "host: " + text); }

void DevHost::Show(const std::string &severity, const std::string &line) {
    const double seconds = (GetTickCount() - start_tick_) / 1000.0;
    const std::string shown = Format("%8.3f %s  %s", seconds, severity.c_str(), line.c_str());
    if (options_.echo_log)
        WriteStd(STD_OUTPUT_HANDLE, shown + "\n");
    if (log_file_)
        log_file_->WriteLine(shown);
    if (log_pane_) {
        // Keep the pane to a size a list box handles briskly.
        if (SendMessageA(log_pane_, LB_GETCOUNT, 0, 0) > 5000)
            SendMessageA(log_pane_, LB_DELETESTRING, 0, 0);
        LRESULT index = SendMessageA(log_pane_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
        SendMessageA(log_pane_, LB_SETTOPINDEX, index, 0);
    }
}

void DevHost::SendHotKey(const char *name) {
    if (std::strcmp(name, "TrayInOut") == 0)
        TrayInOut(true);
    else
        Note(Format("no hot key named \"%s\"", name));
}

bool DevHost::HasFocus() { return window_ && GetForegroundWindow() == window_; }

void DevHost::QuickOption(uint8_t (&option)[8]) { std::memcpy(option, quick_option_, sizeof option); }

void DevHost::ReloadMenu(const char *plugin_name) {
    if (plugin_name_ == plugin_name)
        RebuildPluginMenu();
    else
        Note(Format("ReloadMenu for an unknown plug-in \"%s\"", plugin_name));
}

void DevHost::BuildMenuBar() {
    HMENU bar = CreateMenu();
    host_menu_ = CreatePopupMenu();
    AppendMenuA(host_menu_, MF_STRING, ID_TRAY_IN_OUT, "&Tray in/out\tCtrl+Alt+V");
    AppendMenuA(host_menu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(host_menu_, MF_STRING, ID_QUICK_OPTION_0, "Quick option byte &0");
    AppendMenuA(host_menu_, MF_STRING, ID_QUICK_OPTION_1, "Quick option byte &1");
    AppendMenuA(host_menu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(host_menu_, MF_STRING, ID_EXIT, "E&xit");
    plugin_menu_ = CreatePopupMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(host_menu_), "&Velkora");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(plugin_menu_), plugin_name_.c_str());
    SetMenu(window_, bar);
    RebuildPluginMenu();
}

void DevHost::RebuildPluginMenu() {
    if (!plugin_menu_)
        return;
    int count = 0;
    exports_.OnSetupSubMenu(&count, nullptr);
    if (count < 0 || count > static_cast<int>(ID_PLUGIN_LAST - ID_PLUGIN_FIRST))
        count = 0;
    std::vector<SubMenuItem> items(count);
    if (count > 0)
        exports_.OnSetupSubMenu(&count, items.data());

    while (GetMenuItemCount(plugin_menu_) > 0)
        DeleteMenu(plugin_menu_, 0, MF_BYPOSITION);
    plugin_items_.clear();
    for (int i = 0; i < count; ++i) {
        const SubMenuItem &item = items[i];
        const UINT id = ID_PLUGIN_FIRST + i;
        UINT flags = MF_STRING;
        if (item.checked)
            flags |= MF_CHECKED;
        if (!item.enabled)
            flags |= MF_GRAYED;
        AppendMenuA(plugin_menu_, flags, id, FieldText(item.caption, sizeof item.caption).c_str());
        plugin_items_.push_back({id, FieldText(item.command, sizeof item.command)});
    }
    AppendMenuA(plugin_menu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(plugin_menu_, MF_STRING, ID_SUSPEND, "&Suspend (Velk_OnSuspendHook TRUE)");
    AppendMenuA(plugin_menu_, MF_STRING, ID_RESUME, "&Resume (Velk_OnSuspendHook FALSE)");
    DrawMenuBar(window_);
}

bool DevHost::IsHostItem(const std::string &name) {
    for (const auto &item : HOST_ITEMS)
        if (name == item.name)
            return true;
    return false;
}

UINT DevHost::FindItem(const std::string &name) const {
    for (const PluginItem &item : plugin_items_)
        if (item.command == name)
            return item.id;
    for (const auto &item : HOST_ITEMS)
        if (name == item.name)
            return item.id;
    return 0;
}

void DevHost::OnCommand(UINT id) {
    if (id >= ID_PLUGIN_FIRST && id <= ID_PLUGIN_LAST) {
        for (const PluginItem &item : plugin_items_) {
            if (item.id != id)
                continue;
            // Copied: the command may reload the menu, and with it this list.
            const std::string command = item.command;
            if (auto fn = exports_.Command(command.c_str())) {
                Note(Format("menu command %s", command.c_str()));
                fn(0);
            } else {
                Note(Format("the plug-in exports no %s", command.c_str()));
            }
            break;
        }
        ++commands_returned_;
        return;
    }
    switch (id) {
    case ID_SUSPEND:
    case ID_RESUME:
        Note(id == ID_SUSPEND ? "suspend" : "resume");
        exports_.OnSuspendHook(id == ID_SUSPEND);
        ++commands_returned_;
        break;
    case ID_QUICK_OPTION_0:
    case ID_QUICK_OPTION_1: {
        const int byte = id - ID_QUICK_OPTION_0;
        quick_option_[byte] = !quick_option_[byte];
        CheckMenuItem(host_menu_, id, quick_option_[byte] ? MF_CHECKED : MF_UNCHECKED);
        Note(Format("quick option byte %d = %d", byte, quick_option_[byte]));
        exports_.OnChangeQuickOption();
        UpdateStatus();
        ++commands_returned_;
        break;
    }
    case ID_TRAY_IN_OUT:
        TrayInOut(false);
        ++commands_returned_;
        break;
    case ID_EXIT:
        PostMessageA(window_, WM_CLOSE, 0, 0);
        break;
    }
}

void DevHost::TrayInOut(bool from_plugin) {
    const DWORD now = GetTickCount();
    const bool comes_in = !IsWindowVisible(window_);
    if (comes_in) {
        ShowWindow(window_, SW_SHOWNORMAL);
        SetForegroundWindow(window_);
    } else {
        ShowWindow(window_, SW_HIDE);
    }
    if (from_plugin) {
        ++hot_keys_;
        journal_.AddTrayMove({now, comes_in});
    }
    Note(comes_in ? "TrayInOut, Velkora comes in" : "TrayInOut, Velkora goes out to the tray");
    UpdateStatus();
}

void DevHost::DoAction(HostAction action) {
    switch (action) {
    case HOST_SHOW:   // on the screen while the person works in another program
        ShowWindow(window_, SW_SHOWNA);
        if (GetForegroundWindow() == window_)
            SetForegroundWindow(GetDesktopWindow());
        break;
    case HOST_HIDE:
        ShowWindow(window_, SW_HIDE);
        break;
    case HOST_FOCUS:   // as a person clicking into Velkora
        ShowWindow(window_, SW_SHOWNORMAL);
        SetForegroundWindow(window_);
        break;
    }
    UpdateStatus();
}

void DevHost::UpdateStatus() {
    if (!status_)
        return;
    std::string text = Format(" %s  |  hot keys from the plug-in: %u  |  quick option: %d %d  |  host version %s",
                              plugin_name_.empty() ? "(no plug-in)" : plugin_name_.c_str(), hot_keys_,
                              quick_option_[0], quick_option_[1], options_.version.c_str());
    SetWindowTextA(status_, text.c_str());
}

void DevHost::ShowFailure(const std::string &text) {
    WriteStd(STD_ERROR_HANDLE, "devhost: " + text + "\n");
    if (log_file_)
        log_file_->WriteLine(text);
    if (options_.interactive)
        MessageBoxA(window_, text.c_str(), "Velkora - Cursorwake development host", MB_OK | MB_ICONERROR);
}

LRESULT CALLBACK DevHost::WindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_NCCREATE) {
        auto *self = static_cast<DevHost *>(reinterpret_cast<CREATESTRUCTA *>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<DevHost *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return self ? self->HandleMessage(msg, wparam, lparam) : DefWindowProcA(window, msg, wparam, lparam);
}

LRESULT DevHost::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_SIZE: {
        const int width = LOWORD(lparam), height = HIWORD(lparam), status_height = 22;
        MoveWindow(status_, 0, 2, width, status_height - 2, TRUE);
        MoveWindow(log_pane_, 0, status_height, width, height - status_height, TRUE);
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wparam) == 0)   // a menu item
            OnCommand(LOWORD(wparam));
        return 0;
    case WM_HOTKEY:
        if (wparam == HOT_KEY_TRAY_IN_OUT)
            TrayInOut(false);
        return 0;
    case WM_DEVHOST_ACTION:
        DoAction(static_cast<HostAction>(wparam));
        return 0;
    case WM_DEVHOST_FIND_ITEM:
        return FindItem(reinterpret_cast<const char *>(lparam));
    case WM_DEVHOST_ITEM_CHECKED: {
        HMENU menu = wparam >= ID_PLUGIN_FIRST && wparam <= ID_RESUME ? plugin_menu_ : host_menu_;
        return menu && (GetMenuState(menu, static_cast<UINT>(wparam), MF_BYCOMMAND) & MF_CHECKED) ? 1 : 0;
    }
    case WM_DEVHOST_SESSION_DONE:
        exit_code_ = static_cast<int>(wparam);
        PostMessageA(window_, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        StopPlugin();
        DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        UnregisterHotKey(window_, HOT_KEY_TRAY_IN_OUT);
        log_pane_ = nullptr;
        status_ = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window_, msg, wparam, lparam);
}
