#include "hostapi/VelkApi.h"

#include <cstring>

#include "base/ProcAddress.h"

// Bound by its constructor during the module's static initialisation, before DllMain.
VelkApi g_VelkApi;

void VelkApi::Load() {
    host_module = nullptr;
    log_severity = LOG_SEVERITY_NOT_ASKED;
    HMODULE exe = GetModuleHandleA(nullptr);
    if (!exe)
        return;
    host_module = exe;
    PrintRaw = ProcAddress<VelkPrintRawFn>(exe, "Velk_PrintRaw");
    PrintErrRaw = ProcAddress<VelkPrintErrRawFn>(exe, "Velk_PrintErrRaw");
    if (!PrintRaw && !PrintErrRaw)
        return;
#define VELK_API_BIND(name, type) name = ProcAddress<type>(exe, "Velk_" #name);
    VELK_API_FUNCTIONS(VELK_API_BIND)
#undef VELK_API_BIND
}

const char *VelkApi::ReadVersion(char (&buf)[HOST_VERSION_SIZE]) {
    std::memset(buf, 0, sizeof buf);
    if (GetVersion)
        GetVersion(buf, sizeof buf);
    TerminateAtCharacter(buf, sizeof buf);   // a host that fills all 80 bytes is cut at 79 or 78
    return buf;
}

bool VelkApi::CheckVersion(const char *minimum, const char *maximum) {
    if (!GetVersion || !minimum || !maximum)
        return false;
    char buf[HOST_VERSION_SIZE];
    return IsVersionInRange(ReadVersion(buf), minimum, maximum);
}

void VelkApi::PrintVersionError(const char *tag, const char *minimum, const char *maximum) {
    char buf[HOST_VERSION_SIZE];
    const char *version = SkipVersionPrefix(ReadVersion(buf));
    Print(3, tag, "%sプラグインはVelkoraver.%s以上ver.%s未満で使用できます。ver.%sには対応していません。",
          tag, minimum, maximum, version);
}

void VelkApi::PrintLoadErrors(const char *tag) {
    if (!host_module || (!PrintRaw && !PrintErrRaw))
        return;
#define VELK_API_REPORT(name, type) \
    if (!name)                      \
        Print(4, tag, "failed load VelkApi.%s()", #name);
    VELK_API_FUNCTIONS(VELK_API_REPORT)
#undef VELK_API_REPORT
}

void VelkApi::Print(int severity, const char *tag, const char *format, ...) {
    va_list args;
    va_start(args, format);
    VPrint(severity, tag, format, args);
    va_end(args);
}

void VelkApi::VPrint(int severity, const char *tag, const char *format, va_list args) {
    if ((!PrintRaw && !PrintErrRaw) || !tag || tag[0] == '\0')
        return;
    if (SeverityFromCell(log_severity) == LOG_SEVERITY_NOT_ASKED) {
        if (GetLogSeverity)
            GetLogSeverity(&log_severity);
        else
            log_severity = LOG_SEVERITY_WHEN_HOST_CANNOT_TELL;
    }
    if (!SeverityPasses(severity, log_severity))
        return;
    char line[LOG_LINE_SIZE];
    FormatLogLine(line, tag, format, args);
    if (PrintRaw)
        PrintRaw(severity, line);
    else
        PrintErrRaw(line);
}
