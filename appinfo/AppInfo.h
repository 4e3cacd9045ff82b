// Module information and error text: the file version of a loaded module, the system's text
// for an error code, and one process-wide record of the last failure.
#pragma once
#include <windows.h>

#include <cstddef>

#include "appinfo/AppInfoError.h"

// The text of a Win32 error code (empty for 0), without the line break that ends it, into the
// caller's 1024-byte buffer.
void FormatSystemError(DWORD code, char (&text)[1024]);

// The same text as a value, for a log line or a message box.
struct SystemErrorText {
    explicit SystemErrorText(DWORD code) { FormatSystemError(code, text); }
    char text[1024];
};

class ModuleInfo {
public:
    explicit ModuleInfo(HMODULE module) : module(module) {}
    virtual ~ModuleInfo() = default;
    // The FileVersion text of the module's first translation into the caller's buffer o_str of
    // `size` bytes, cut to fit and always terminated.
    int GetFileVersion(char *o_str, size_t size);

    HMODULE module;
};
