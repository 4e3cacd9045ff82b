#include <windows.h>

#include "base/FileName.h"
#include "engine/ExcludedProgram.h"
#include "hostapi/VelkApi.h"
#include "settings/Settings.h"

namespace {

// The window in front when a gesture last asked, its process and that program's path (empty
// when it could not be read).
struct ProgramInFront {
    HWND window;
    DWORD process_id;
    char path[MAX_PATH];
    bool reported;
};
ProgramInFront g_in_front;

void ReadProgramPath(DWORD process_id, char (&path)[MAX_PATH]) {
    path[0] = '\0';
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
    if (!process)
        return;
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(process, 0, path, &size))
        path[0] = '\0';
    CloseHandle(process);
}

}  // namespace

bool IsListedProgramInFront() {
    const char *list = g_cfg.general.exclude;
    if (!*list)
        return false;
    HWND front = GetForegroundWindow();
    DWORD process_id = 0;
    if (!front || !GetWindowThreadProcessId(front, &process_id))
        return false;
    if (front != g_in_front.window || process_id != g_in_front.process_id) {
        g_in_front.window = front;
        g_in_front.process_id = process_id;
        g_in_front.reported = false;
        ReadProgramPath(process_id, g_in_front.path);
    }
    if (!IsProgramListed(list, g_in_front.path))
        return false;
    if (!g_in_front.reported)
        VELK_TRACE("%s in front is listed in Exclude: gestures held back", FileNameOf(g_in_front.path));
    g_in_front.reported = true;
    return true;
}
