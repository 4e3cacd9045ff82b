// What happened during a run, as the session runner reads it from its own thread: the lines
// the plug-in logged and each time its hot key moved Velkora in or out.
#pragma once
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

struct LogEntry {
    DWORD tick;
    int severity;       // -1 for a line that came without one (PrintErrRaw)
    std::string text;   // as the plug-in wrote it, tag included
};

struct TrayMove {
    DWORD tick;
    bool came_in;
};

class Journal {
public:
    void AddLog(const LogEntry &entry);
    void AddTrayMove(const TrayMove &move);
    size_t LogCount() const;
    size_t TrayMoveCount() const;
    std::vector<LogEntry> LogSince(size_t first) const;
    std::vector<TrayMove> TrayMovesSince(size_t first) const;

private:
    mutable std::mutex mutex_;
    std::vector<LogEntry> log_;
    std::vector<TrayMove> moves_;
};
