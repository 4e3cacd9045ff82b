#include "tests/wine/WineTestHost.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "engine/TimerTick.h"
#include "tools/hostside/WindowDriver.h"

TestHost g_host;
static const bool g_host_installed = (SetHostSide(&g_host), true);
// Lines end in LF alone, as CTest expects when it reads the list of tests; the C runtime's text
// mode would add a CR to each.
static const int g_stdout_mode = _setmode(_fileno(stdout), _O_BINARY);
std::atomic<double> g_last_input_ms;

double MonotonicMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void TestHost::Reset() {
    version = "0.9.6.42";
    severity = 7;
    has_focus = false;
    hotkey_sleep_ms = 0;
    slow_ms = 0;
    on_hotkey = nullptr;
    ticks = 0;
    std::memset(quick_option, 0, sizeof quick_option);
    log.clear();
    reloads.clear();
    hotkeys.clear();
    hotkey_ms.clear();
}

void TestHost::Log(int sev, const char *line) {
    std::string text = line;
    const std::string tag = "Cursorwake ";
    if (text.compare(0, tag.size(), tag) == 0)
        text.erase(0, tag.size());
    log.push_back({sev, text});
    if (text.compare(0, 8, "point.x=") == 0)
        ++ticks;
    if (slow_ms)
        Sleep(slow_ms);
}

HWND TestHost::MainWindow() {
    if (slow_ms)
        Sleep(slow_ms);
    return window;
}

void TestHost::SendHotKey(const char *name) {
    hotkeys.push_back(name);
    hotkey_ms.push_back(MonotonicMs());
    if (hotkey_sleep_ms)
        Sleep(hotkey_sleep_ms);
    if (on_hotkey)
        on_hotkey();
}

void TestHost::QuickOption(uint8_t (&option)[8]) { std::memcpy(option, quick_option, sizeof option); }

void TestHost::ReloadMenu(const char *plugin_name) { reloads.push_back(plugin_name); }

int TestHost::CountLogged(const std::string &text) const {
    int n = 0;
    for (const LogLine &l : log)
        n += l.text == text;
    return n;
}

int TestHost::CountStartingWith(const std::string &prefix) const {
    int n = 0;
    for (const LogLine &l : log)
        n += l.text.compare(0, prefix.size(), prefix) == 0;
    return n;
}

bool TestHost::Logged(const std::string &text) const { return CountLogged(text) > 0; }

std::string ReadTextFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteTextFile(const std::string &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> FilesIn(const std::string &folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string CurrentTestName() {
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name();
}

std::string RunFolder(const std::string &name) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir = exe;
    dir.erase(dir.find_last_of("\\/"));
    std::string run = dir + "\\run";
    CreateDirectoryA(run.c_str(), nullptr);
    std::string folder = run + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

static std::string BuiltPluginPath() {
    const char *path = std::getenv("CURSORWAKE_DLL");
    return path ? path : "VelkCursorwake.dll";
}

LoadedPlugin::LoadedPlugin(const std::string &folder, const std::string &ini_text, bool write_ini)
    : dir(RunFolder(folder)), dll_path(dir + "\\VelkCursorwake.dll"), ini_path(dir + "\\VelkCursorwake.ini") {
    for (const std::string &name : FilesIn(dir)) {   // whatever an earlier run left
        SetFileAttributesA((dir + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((dir + "\\" + name).c_str());
    }
    CopyFileA(BuiltPluginPath().c_str(), dll_path.c_str(), FALSE);
    if (write_ini)
        WriteTextFile(ini_path, ini_text);
}

LoadedPlugin::~LoadedPlugin() {
    if (set_up_)
        Teardown();
    Unload();
}

bool LoadedPlugin::Load() {
    module = LoadLibraryA(dll_path.c_str());
    if (!module)
        return false;
    return api.Bind(module);
}

void LoadedPlugin::Setup() {
    api.OnSetup(0);
    set_up_ = true;
}

void LoadedPlugin::Teardown() {
    api.OnTeardown();
    set_up_ = false;
}

void LoadedPlugin::Unload() {
    if (module)
        FreeLibrary(module);
    module = nullptr;
    set_up_ = false;
}

const SubMenuItem &LoadedPlugin::MenuItem(int index) {
    int count = 0;
    api.OnSetupSubMenu(&count, menu_);
    return menu_[index];
}

void PumpMessages(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    } while (true);
}

bool PumpUntil(const std::function<bool()> &done, DWORD timeout_ms) {
    DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeout_ms)
        PumpMessages(5);
    return done();
}

bool PumpTicks(int ticks, DWORD timeout_ms) {
    const int target = g_host.CountStartingWith("point.x=") + ticks;
    return PumpUntil([&] { return g_host.CountStartingWith("point.x=") >= target; }, timeout_ms);
}

bool PumpPastCoolDown() {
    // The plug-in takes its activation's tick before the hot key goes out; the tick count moves
    // in steps of up to 16 ms.
    const double pause_ms = ACTIVATION_COOL_DOWN_MS + 16;
    return PumpUntil([&] { return g_host.hotkey_ms.empty() || MonotonicMs() - g_host.hotkey_ms.back() > pause_ms; },
                     10000);
}

void WhilePumping(const std::function<void()> &inject, DWORD settle_ms) {
    std::atomic<bool> finished(false);
    std::thread injector([&] {
        inject();
        finished = true;
    });
    while (!finished)
        PumpMessages(5);
    injector.join();
    PumpMessages(settle_ms);
}

static void Send(INPUT &input) {
    g_last_input_ms = MonotonicMs();
    SendInput(1, &input, sizeof input);
}

void InjectWheel(int delta, DWORD time) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(delta);
    input.mi.time = time ? time : HandPacedWheelStamp();
    Send(input);
}

void InjectButton(DWORD flag, DWORD time, ULONG_PTR extra_info) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    input.mi.time = time;
    input.mi.dwExtraInfo = extra_info;
    Send(input);
}

void MoveCursor(int x, int y) {
    g_last_input_ms = MonotonicMs();
    SetCursorPos(x, y);
}

void InjectMoves(std::initializer_list<POINT> deltas) {
    std::vector<INPUT> inputs;
    for (const POINT &d : deltas) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = MOUSEEVENTF_MOVE;
        input.mi.dx = d.x;
        input.mi.dy = d.y;
        inputs.push_back(input);
    }
    g_last_input_ms = MonotonicMs();
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void InjectKeyDown(WORD vk, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    Send(input);
}

void InjectKey(WORD vk) {
    InjectKeyDown(vk, true);
    InjectKeyDown(vk, false);
}
