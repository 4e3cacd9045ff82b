// The support library's result codes and its process-wide record of the last failure.
// Free of windows.h.
#pragma once
#include <cstddef>
#include <cstdint>

// Results of the support library: 0, or a negative code.
enum AppInfoResult : int32_t {
    APPINFO_NORMAL = 0,
    APPINFO_INVALID_ARGUMENT = -1,
    APPINFO_WINDOWS_API_ERROR = -5,
    APPINFO_FLOW_ERROR = -7,
};

struct AppInfoError {
    bool is_set;
    char file[256];
    int32_t line;
    char message[256];
    char text[1024];

    const char *GetText();                          // null when nothing was recorded
    int CopyText(char *buffer, size_t size) const;  // 0, or APPINFO_FLOW_ERROR
};

extern AppInfoError g_app_info_error;

int SetAppInfoError(const char *file, int line, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
#define RECORD_ERROR(...) SetAppInfoError(__FILE__, __LINE__, __VA_ARGS__)
AppInfoError GetAppInfoError();

// The part of a source path after its last '\\' or '/' (one in the last position does not count).
const char *AppInfoBaseName(const char *path);
