// The support library's result codes and its process-wide record of the last failure.
// Free of windows.h.
#pragma once
#include <cstddef>
#include <cstdint>

enum AppInfoResult : int32_t {
    APPINFO_NORMAL = 0,
    APPINFO_INVALID_ARGUMENT = -1,
    APPINFO_GIVEUP_TO_RETRY = -2,
    APPINFO_FAILED_ALLOCATE_MEMORY = -3,
    APPINFO_C_LIBRARY_ERROR = -4,
    APPINFO_WINDOWS_API_ERROR = -5,
    APPINFO_FILE_IO_ERROR = -6,
    APPINFO_FLOW_ERROR = -7,
    APPINFO_NO_EXIST = -8,
    APPINFO_NO_SPACE = -9,
    APPINFO_INTERNAL_ERROR = -99,
    APPINFO_END_OF_TABLE = -9999,
};

struct AppInfoResultText {
    int32_t code;
    char text[64];
};
// The codes with their texts, ending with APPINFO_END_OF_TABLE and an empty text.
extern const AppInfoResultText APP_INFO_RESULT_TEXTS[];
const char *AppInfoResultTextOf(int32_t code);

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
    __attribute__((format(gnu_printf, 3, 4)));
AppInfoError GetAppInfoError();

// The part of a source path after its last backslash (one in the last position does not count).
const char *AppInfoBaseName(const char *path);

// printf into a fixed buffer, cutting what does not fit (always terminated).
void FormatCut(char *buffer, size_t size, const char *format, ...) __attribute__((format(gnu_printf, 3, 4)));
