// devhost: Velkora's stand-in for trying the plug-in without Velkora, by hand or by script.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "tools/devhost/DevHost.h"
#include "tools/devhost/Session.h"

namespace {

const char USAGE[] =
    "usage: devhost [options]\n"
    "  --plugin PATH         the plug-in to load (default: VelkCursorwake.dll beside devhost.exe)\n"
    "  --host-version TEXT   the version Velkora reports (default 0.9.6.42)\n"
    "  --severity N          Velkora's log severity (default 7: every line of the plug-in)\n"
    "  --log FILE            also write the log to FILE (UTF-8)\n"
    "  --quiet               do not echo the log on standard output\n"
    "  --script FILE         play a scripted session instead of waiting for a person\n"
    "  --transcript FILE     write the session's transcript to FILE too (UTF-8)\n"
    "  --shots DIR           where the session's pictures go (default: the current folder)\n"
    "Ctrl+Alt+V is Velkora's own TrayInOut hot key: it brings the host back from the tray.\n";

std::string ModuleFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

}  // namespace

int main(int argc, char **argv) {
    DevHostOptions options;
    options.plugin_path = ModuleFolder() + "VelkCursorwake.dll";
    std::string script, transcript, shots;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--plugin" && has_value)
            options.plugin_path = argv[++i];
        else if (arg == "--host-version" && has_value)
            options.version = argv[++i];
        else if (arg == "--severity" && has_value)
            options.log_severity = std::atoi(argv[++i]);
        else if (arg == "--log" && has_value)
            options.log_path = argv[++i];
        else if (arg == "--script" && has_value)
            script = argv[++i];
        else if (arg == "--transcript" && has_value)
            transcript = argv[++i];
        else if (arg == "--shots" && has_value)
            shots = argv[++i];
        else if (arg == "--quiet")
            quiet = true;
        else {
            WriteStd(STD_ERROR_HANDLE, USAGE);
            return arg == "--help" ? 0 : 2;
        }
    }
    // A scripted session prints its transcript; the log goes to --log unless asked for.
    options.interactive = script.empty();
    options.echo_log = script.empty() && !quiet;

    Journal journal;
    DevHost host(options, journal);
    std::unique_ptr<Session> session;
    if (!script.empty()) {
        session.reset(new Session(host, journal, transcript, shots));
        std::string error;
        if (!session->Load(script, error)) {
            WriteStd(STD_ERROR_HANDLE, "devhost: " + error + "\n");
            return 2;
        }
    }
    if (!host.CreateMainWindow(GetModuleHandleA(nullptr))) {
        WriteStd(STD_ERROR_HANDLE, "devhost: cannot create the main window (is there a display?)\n");
        return 2;
    }
    if (!host.StartPlugin())
        return 2;
    if (session)
        session->Start();
    const int exit_code = host.Run();
    session.reset();
    return exit_code;
}
