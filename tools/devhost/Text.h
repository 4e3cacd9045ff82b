// Text in and out of the development host. Inside the program every narrow text is in the
// ANSI code page (932 under the Japanese locale), as the plug-in writes it; files and the
// Linux terminal want UTF-8, a Windows console wants UTF-16.
#pragma once
#include <windows.h>

#include <string>

std::string AnsiToUtf8(const std::string &ansi);
std::string Utf8ToAnsi(const std::string &utf8);

// Writes ANSI text to standard output or standard error, converted for whatever is there.
void WriteStd(DWORD std_handle, const std::string &ansi);

// A text file written in UTF-8, line by line as the run goes, so that a crash keeps what came before.
class Utf8File {
public:
    explicit Utf8File(const std::string &path);
    ~Utf8File();
    Utf8File(const Utf8File &) = delete;
    Utf8File &operator=(const Utf8File &) = delete;
    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    void WriteLine(const std::string &ansi);

private:
    HANDLE file_;
};

std::string Format(const char *format, ...) __attribute__((format(gnu_printf, 1, 2)));
