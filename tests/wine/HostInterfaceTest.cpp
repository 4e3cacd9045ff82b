// The plug-in as the host sees it: its exports, the version check, the log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "hostapi/VelkApiCore.h"
#include "tests/wine/DialogDriver.h"
#include "tests/wine/WineTestHost.h"

namespace {

class HostInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override { g_host.Reset(); }
};

std::vector<std::string> ExportNames(HMODULE module) {
    auto *base = reinterpret_cast<const BYTE *>(module);
    auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto *exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + dir.VirtualAddress);
    auto *names = reinterpret_cast<const DWORD *>(base + exports->AddressOfNames);
    std::vector<std::string> result;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        result.push_back(reinterpret_cast<const char *>(base + names[i]));
    std::sort(result.begin(), result.end());
    return result;
}

TEST_F(HostInterfaceTest, ExportsExactlyTheEntryPointsUnderBareNames) {
    LoadedPlugin plugin(CurrentTestName(), "");
    ASSERT_TRUE(plugin.Load());
    EXPECT_EQ(ExportNames(plugin.module),
              (std::vector<std::string>{"MyOption", "MyToggleEnable", "MyVersion", "Velk_OnChangeQuickOption",
                                        "Velk_OnGetPluginInfo", "Velk_OnSetup", "Velk_OnSetupSubMenu",
                                        "Velk_OnSuspendHook", "Velk_OnTeardown"}));
}

TEST_F(HostInterfaceTest, AttachLogsAtSeverity7AndNamesThePlugin) {
    LoadedPlugin plugin(CurrentTestName(), "");
    ASSERT_TRUE(plugin.Load());
    ASSERT_FALSE(g_host.log.empty());
    EXPECT_EQ(g_host.log[0].severity, 7);
    EXPECT_EQ(g_host.log[0].text, "* DLL_PROCESS_ATTACH");
    char info[80];
    std::memset(info, 'x', sizeof info);
    plugin.api.OnGetPluginInfo(info);
    EXPECT_STREQ(info, "Cursorwake");
    EXPECT_EQ(std::count(info + 10, info + 80, 0), 70);
    int count = 0;
    plugin.api.OnSetupSubMenu(&count, nullptr);
    EXPECT_EQ(count, 3);
    unsigned char items[2000];
    std::memset(items, 0xEE, sizeof items);
    plugin.api.OnSetupSubMenu(&count, items);
    EXPECT_EQ(items[1997], 0);   // the last byte of the third entry's command field
    EXPECT_EQ(items[1998], 0xEE);
    EXPECT_STREQ(reinterpret_cast<const char *>(items + 666 + 74), "MyOption");
    plugin.api.OnSetupSubMenu(nullptr, nullptr);   // nothing to write to: nothing written
    plugin.Unload();
    EXPECT_EQ(g_host.log.back().text, "* DLL_PROCESS_DETACH");
}

TEST_F(HostInterfaceTest, VersionPrefixIsSkippedAndTheRangeIsByteWise) {
    const struct {
        const char *version;
        bool loads;
    } CASES[] = {{"version 0.9.6.42", true}, {"0.9.7", true},      {"1.0", true},
                 {"0.9.6.4", false},         {"0.9.6.100", false}, {"1.0.0.0", false},
                 {"Version 0.9.6.42", false}, {"version version 0.9.6.42", false}};
    for (const auto &c : CASES) {
        g_host.Reset();
        g_host.version = c.version;
        LoadedPlugin plugin(CurrentTestName(), "");
        EXPECT_EQ(plugin.Load(), c.loads) << c.version;
    }
}

TEST_F(HostInterfaceTest, RefusedVersionFailsTheLoadWithTheMessageAtSeverity3) {
    g_host.version = "version 1.0.1";
    LoadedPlugin plugin(CurrentTestName(), "");
    EXPECT_FALSE(plugin.Load());
    EXPECT_EQ(plugin.module, nullptr);
    bool found = false;
    for (const LogLine &l : g_host.log)
        if (l.severity == 3) {
            EXPECT_EQ(l.text, "Cursorwakeプラグインは" "Velkoraver.0.9.6.42以上ver.1.0.0.0未満で使用できます。"
                              "ver.1.0.1には対応していません。");
            found = true;
        }
    EXPECT_TRUE(found);
    // Every host function is exported, so no missing-function line follows.
    for (const LogLine &l : g_host.log)
        EXPECT_NE(l.severity, 4) << l.text;
}

TEST_F(HostInterfaceTest, UnterminatedVersionIsCutAt79) {
    g_host.version = "0.9.6.42" + std::string(100, '5');
    LoadedPlugin plugin(CurrentTestName(), "");
    EXPECT_TRUE(plugin.Load());
    g_host.version = "2" + std::string(100, '0');
    LoadedPlugin refused(CurrentTestName() + "2", "");
    EXPECT_FALSE(refused.Load());
    std::string expected_tail = "ver." + std::string("2") + std::string(78, '0') + "には対応していません。";
    ASSERT_FALSE(g_host.log.empty());
    const std::string &line = g_host.log.back().severity == 3 ? g_host.log.back().text : g_host.log.end()[-2].text;
    EXPECT_NE(line.find(std::string(78, '0') + "には"), std::string::npos);
    EXPECT_EQ(line.find(std::string(79, '0')), std::string::npos);
}

TEST_F(HostInterfaceTest, HostSeverityIsAskedOnceAndFiltersBeforeSending) {
    g_host.severity = 3;
    LoadedPlugin plugin(CurrentTestName(), "");
    ASSERT_TRUE(plugin.Load());
    g_host.severity = 7;   // a later change is not seen
    plugin.Setup();
    plugin.Teardown();
    EXPECT_TRUE(g_host.log.empty());
}

std::vector<std::string> ImportedDlls(HMODULE module) {
    auto *base = reinterpret_cast<const BYTE *>(module);
    auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> result;
    for (auto *imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress); imp->Name; ++imp) {
        std::string name = reinterpret_cast<const char *>(base + imp->Name);
        CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
        result.push_back(name);
    }
    std::sort(result.begin(), result.end());
    return result;
}

// Those of the DLLs that only the dialogs and the about box need that this process has loaded.
// Under Wine, USER32 brings VERSION into every process and a first window UxTheme.
std::vector<std::string> DialogDllsLoaded() {
    std::vector<std::string> loaded;
    for (const char *dll : {"COMCTL32.DLL", "UXTHEME.DLL", "SHELL32.DLL", "VERSION.DLL"})
        if (GetModuleHandleA(dll))
            loaded.push_back(dll);
    return loaded;
}

TEST_F(HostInterfaceTest, DialogDllsWaitForTheFirstDialog) {
    // Velkora has its window before it loads any plug-in.
    HWND host_window =
        CreateWindowExA(0, "Static", "Velkora", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const std::vector<std::string> before = DialogDllsLoaded();
    ASSERT_EQ(GetModuleHandleA("COMCTL32.DLL"), nullptr) << "loaded by the test host itself";
    LoadedPlugin plugin(CurrentTestName(), "");
    ASSERT_TRUE(plugin.Load());
    EXPECT_EQ(ImportedDlls(plugin.module),
              (std::vector<std::string>{"GDI32.DLL", "KERNEL32.DLL", "MSVCRT.DLL", "USER32.DLL"}));
    plugin.Setup();
    EXPECT_EQ(DialogDllsLoaded(), before);
    const char caption[] = "Velkcursorwakeの設定";
    bool shown = false;
    WhileDialogRuns(caption, [&] { plugin.api.MyOption(0); }, [&] {
        HWND dialog = WaitForWindow(caption);
        shown = dialog != nullptr;
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntilGone(dialog));
    });
    EXPECT_TRUE(shown);
    EXPECT_NE(GetModuleHandleA("COMCTL32.DLL"), nullptr);   // for the dialog's tab control
    DestroyWindow(host_window);
}


// The C runtime's formatter leaves a text that fills its buffer unterminated.
TEST_F(HostInterfaceTest, LogLinesAreCutTo255ByTheRuntimesFormatter) {
    for (size_t length : {243u, 244u, 245u, 300u})
        EXPECT_EQ(FormattedLogLine("%s", std::string(length, 'm').c_str()),
                  "Cursorwake " + std::string(std::min<size_t>(length, 244), 'm'))
            << length;
    EXPECT_EQ(FormattedLogLine("%d %u %s %08x", -7, 4294967295u, "ソ", 0xbeefu), "Cursorwake -7 4294967295 ソ 0000beef");
}

}  // namespace

std::string FormattedLogLine(const char *format, ...) {
    char line[LOG_LINE_SIZE];
    std::memset(line, 'x', sizeof line);
    va_list args;
    va_start(args, format);
    FormatLogLine(line, "Cursorwake", format, args);
    va_end(args);
    return std::string(line, strnlen(line, sizeof line));
}
