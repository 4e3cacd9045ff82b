#include "tools/devhost/Text.h"

#include <cstdarg>
#include <cstdio>

static std::wstring ToWide(UINT code_page, const std::string &text) {
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

static std::string FromWide(UINT code_page, const std::wstring &wide) {
    if (wide.empty())
        return std::string();
    int n = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string text(n, '\0');
    WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), &text[0], n, nullptr,
                        nullptr);
    return text;
}

std::string AnsiToUtf8(const std::string &ansi) { return FromWide(CP_UTF8, ToWide(CP_ACP, ansi)); }

std::string Utf8ToAnsi(const std::string &utf8) { return FromWide(CP_ACP, ToWide(CP_UTF8, utf8)); }

void WriteStd(DWORD std_handle, const std::string &ansi) {
    HANDLE out = GetStdHandle(std_handle);
    if (out == nullptr || out == INVALID_HANDLE_VALUE)
        return;
    DWORD mode, written;
    if (GetConsoleMode(out, &mode)) {
        std::wstring wide = ToWide(CP_ACP, ansi);
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        // A pipe or a file: under Wine that is the Linux terminal or a log, which read UTF-8.
        std::string utf8 = AnsiToUtf8(ansi);
        WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    }
}

Utf8File::Utf8File(const std::string &path)
    : file_(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {}

Utf8File::~Utf8File() {
    if (IsOpen())
        CloseHandle(file_);
}

void Utf8File::WriteLine(const std::string &ansi) {
    if (!IsOpen())
        return;
    std::string utf8 = AnsiToUtf8(ansi) + "\n";
    DWORD written;
    WriteFile(file_, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::string Format(const char *format, ...) {
    char buf[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}
