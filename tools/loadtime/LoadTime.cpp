// loadtime PLUGIN DO_NOTHING [REPETITIONS]
// Loads the plug-in and a do-nothing DLL with the same exports in turn, many times, and prints
// the median time of each LoadLibrary; then lists the modules that loading the plug-in and
// setting it up add to the process. The program exports the host's functions, as Velkora does.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tools/hostside/HostSide.h"

namespace {

std::set<std::string> ModuleNames() {
    std::set<std::string> names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return names;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
        std::string name = entry.szModule;
        CharLowerBuffA(&name[0], static_cast<DWORD>(name.size()));
        names.insert(name);
    }
    CloseHandle(snapshot);
    return names;
}

void PrintAdded(const char *when, const std::set<std::string> &before, const std::set<std::string> &after) {
    std::printf("%s:", when);
    int count = 0;
    for (const std::string &name : after)
        if (!before.count(name)) {
            std::printf(" %s", name.c_str());
            ++count;
        }
    std::printf(count ? "\n" : " none\n");
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The time of one LoadLibrary; the library is freed again outside the measurement.
double TimedLoad(const char *path) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    HMODULE module = LoadLibraryA(path);
    QueryPerformanceCounter(&end);
    if (!module) {
        std::fprintf(stderr, "loadtime: cannot load %s (error %lu)\n", path, GetLastError());
        std::exit(1);
    }
    FreeLibrary(module);
    return Milliseconds(start, end);
}

double Percentile(std::vector<double> times, double fraction) {
    std::sort(times.begin(), times.end());
    return times[static_cast<size_t>(fraction * static_cast<double>(times.size() - 1))];
}

void PrintTimes(const char *what, const std::vector<double> &times) {
    std::printf("  %-22s median %7.3f ms   10%% %7.3f   90%% %7.3f\n", what, Percentile(times, 0.5),
                Percentile(times, 0.1), Percentile(times, 0.9));
}

// A resting tick: the engine's timer message sent straight to its window, again and again, with
// the cursor still and a window of this process in front (the watchdog judges it at each tick).
std::vector<double> RestingTicks(int count) {
    std::vector<double> times;
    const HWND front = CreateWindowExA(0, "Static", "front", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr,
                                       nullptr, nullptr, nullptr);
    SetForegroundWindow(front);
    SetCursorPos(150, 150);
    const HWND engine = FindWindowA("CursorwakeEngine", nullptr);
    for (int i = 0; engine && i <= count; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        SendMessageA(engine, WM_TIMER, 1, 0);
        QueryPerformanceCounter(&end);
        if (i > 0)   // the first tick loads what the watchdog needs
            times.push_back(Milliseconds(start, end));
    }
    DestroyWindow(front);
    return times;
}

}  // namespace

int main(int argc, char **argv) {
    _setmode(_fileno(stdout), _O_BINARY);   // plain LF line ends for a Linux terminal
    if (argc < 3) {
        std::fprintf(stderr, "usage: loadtime PLUGIN DO_NOTHING [REPETITIONS]\n");
        return 2;
    }
    const char *plugin = argv[1], *do_nothing = argv[2];
    const int repetitions = argc > 3 ? std::max(1, std::atoi(argv[3])) : 200;
    // Velkora is a windowed program: USER32 and GDI32 are in its process before any plug-in.
    const HWND window = CreateWindowExA(0, "Static", "loadtime", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DeleteObject(CreateSolidBrush(0));

    const std::set<std::string> before = ModuleNames();
    HMODULE module = LoadLibraryA(plugin);
    if (!module) {
        std::fprintf(stderr, "loadtime: cannot load %s (error %lu)\n", plugin, GetLastError());
        return 1;
    }
    const std::set<std::string> loaded = ModuleNames();
    PluginExports api = {};
    if (api.Bind(module)) {
        api.OnSetup(0);
        PrintAdded("mapped by loading the plug-in", before, loaded);
        PrintAdded("mapped by its set-up too", loaded, ModuleNames());
        const std::vector<double> ticks = RestingTicks(repetitions);
        if (!ticks.empty()) {
            std::printf("A resting tick, %d times:\n", repetitions);
            PrintTimes("tick", ticks);
        }
        api.OnTeardown();
    }
    FreeLibrary(module);

    // In turn, so that both see the same machine load; the first round only warms the cache.
    TimedLoad(plugin);
    TimedLoad(do_nothing);
    std::vector<double> plugin_ms, do_nothing_ms;
    for (int i = 0; i < repetitions; ++i) {
        plugin_ms.push_back(TimedLoad(plugin));
        do_nothing_ms.push_back(TimedLoad(do_nothing));
    }
    std::printf("LoadLibrary, %d times each, in turn:\n", repetitions);
    PrintTimes("plug-in", plugin_ms);
    PrintTimes("do-nothing DLL", do_nothing_ms);
    std::printf("  ratio of the medians %.2f\n", Percentile(plugin_ms, 0.5) / Percentile(do_nothing_ms, 0.5));
    DestroyWindow(window);
    return 0;
}
