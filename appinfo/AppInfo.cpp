#include "appinfo/AppInfo.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "appinfo/SystemDll.h"
#include "base/Text.h"

void FormatSystemError(DWORD code, char (&text)[1024]) {
    std::memset(text, 0, sizeof text);
    if (code == 0)
        return;
    char code_text[48] = {};
    FormatCut(code_text, sizeof code_text, "GetLastError()=%d(0x%08x)", static_cast<int>(code),
              static_cast<unsigned>(code));

    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM |
                  (255 & FORMAT_MESSAGE_MAX_WIDTH_MASK);
    HMODULE wininet = nullptr;
    if (code >= 12000 && code <= 15999) {
        // The Internet functions' texts live in WININET.DLL; take it from the system folder
        // only, never from wherever the DLL search path would find a file of that name.
        wininet = LoadLibraryExA("WININET.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    }
    char *system_text = nullptr;
    DWORD length = FormatMessageA(flags, wininet, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char *>(&system_text), 0, nullptr);
    if (length != 0) {
        FormatCut(text, sizeof text, "%s", system_text);
        // The texts end in a line break or a blank, which a sentence that quotes them must not.
        // Neither byte can be the second byte of a double-byte character.
        size_t end = std::strlen(text);
        while (end > 0 && std::strchr(" \r\n", text[end - 1]))
            text[--end] = '\0';
    } else {
        DWORD failure = GetLastError();
        FormatCut(text, sizeof text, "Failed FormatMessage(%s)=%d(0x%08x)", code_text, static_cast<int>(failure),
                  static_cast<unsigned>(failure));
    }
    if (system_text)
        LocalFree(system_text);
    if (wininet)
        FreeLibrary(wininet);
}


int ModuleInfo::GetFileVersion(char *o_str, size_t size) {
    if (!o_str) {
        RECORD_ERROR("o_str is NULL");
        return APPINFO_INVALID_ARGUMENT;
    }
    char file_name[MAX_PATH + 1] = {};
    if (GetModuleFileNameA(module, file_name, MAX_PATH) == 0) {
        char system_text[1024];
        FormatSystemError(GetLastError(), system_text);
        RECORD_ERROR("failed GetModuleFileName() GetLastError()=%s", system_text);
        return APPINFO_WINDOWS_API_ERROR;
    }

    DWORD handle = 0;
    const DWORD info_size = system_dll::GetFileVersionInfoSizeA(file_name, &handle);
    void *info = std::malloc(info_size ? info_size : 1);
    int result = APPINFO_WINDOWS_API_ERROR;
    BOOL ret = info ? system_dll::GetFileVersionInfoA(file_name, handle, info_size, info) : FALSE;
    if (!ret) {
        RECORD_ERROR("GetFileVersionInfo() return %d. GetLastError()=%d.", ret, static_cast<int>(GetLastError()));
    } else {
        void *value = nullptr;
        UINT value_size = 0;
        ret = system_dll::VerQueryValueA(info, "\\VarFileInfo\\Translation", &value, &value_size);
        // A translation is a language and a code page, 16 bits each; anything shorter is no
        // translation at all.
        if (ret && value_size < 4) {
            SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
            ret = FALSE;
        }
        if (!ret) {
            RECORD_ERROR("VerQueryValue() return %d. GetLastError()=%d.", ret, static_cast<int>(GetLastError()));
        } else {
            const WORD *translation = static_cast<const WORD *>(value);
            char sub_block[1024] = {};
            FormatCut(sub_block, sizeof sub_block, "\\StringFileInfo\\%04x%04x\\FileVersion", translation[0],
                      translation[1]);
            char *version = nullptr;
            ret = system_dll::VerQueryValueA(info, sub_block, reinterpret_cast<void **>(&version), &value_size);
            if (!ret) {
                RECORD_ERROR("VerQueryValue() return %d. GetLastError()=%d.", ret, static_cast<int>(GetLastError()));
            } else {
                FormatCut(o_str, size, "%s", version);
                result = APPINFO_NORMAL;
            }
        }
    }
    if (result != APPINFO_NORMAL && size > 0)
        o_str[0] = '\0';
    std::free(info);
    return result;
}
