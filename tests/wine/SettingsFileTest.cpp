// The INI file beside the module, through the real profile functions.
#include <gtest/gtest.h>

#include <algorithm>

#include "appinfo/AppInfo.h"
#include "tests/DefaultSettingsFile.h"
#include "tests/wine/DialogDriver.h"
#include "tests/wine/WineTestHost.h"
#include "ui/OptionFields.h"

namespace {

const char ABOUT_CAPTION[] = "バージョン情報";
const char OPTIONS_CAPTION[] = "Velkcursorwakeの設定";

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { g_host.Reset(); }
};

TEST_F(SettingsFileTest, MissingFileGivesDefaultsAndTeardownWritesEveryKey) {
    LoadedPlugin plugin(CurrentTestName(), "", false);
    ASSERT_TRUE(plugin.Load());
    plugin.Setup();
    EXPECT_EQ(plugin.MenuItem(0).checked, 1);
    plugin.Teardown();
    EXPECT_EQ(ReadTextFile(plugin.ini_path), DEFAULT_SETTINGS_FILE);
}

// A list of programs longer than its field is cut before the character that does not fit whole.
TEST_F(SettingsFileTest, ValuesSurviveARoundTripAsTheFileHoldsThem) {
    const std::string long_list = std::string(258, 'a') + "ゲーム.exe";
    LoadedPlugin plugin(CurrentTestName(),
                        "; the user's own note\r\n"
                        "[General]\r\nEnable=5\r\nInterval=0\r\nFullScreen=7\r\nColour=blue\r\n"
                        "Exclude=  " + long_list + "  \r\n"
                        "[Elsewhere]\r\nKept=yes\r\n"
                        "[ShortcutKey]\r\nToggleEnable=Ctrl+Alt+Shift+F12 + more than 23\r\n"
                        "[Wheel]\r\nTimeOut=-1\r\nUp=0x10\r\n"
                        "[Move]\r\nOnMove=65551\r\nWidth=  250\r\n"
                        "[Click]\r\nMsecDblClick=4294967295\r\nOnClick=abc\r\nMoveAllowance=99999999999\r\n");
    ASSERT_TRUE(plugin.Load());
    plugin.Setup();
    EXPECT_EQ(plugin.MenuItem(0).checked, 1);   // 5 counts as enabled
    SetFileAttributesA(plugin.ini_path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    plugin.Teardown();
    EXPECT_EQ(GetFileAttributesA(plugin.ini_path.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD(FILE_ATTRIBUTE_HIDDEN));
    SetFileAttributesA(plugin.ini_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FilesIn(plugin.dir), (std::vector<std::string>{"VelkCursorwake.dll", "VelkCursorwake.ini"}));
    const std::string file = ReadTextFile(plugin.ini_path);
    EXPECT_EQ(file.rfind("; the user's own note\r\n[General]\r\nEnable=5\r\nInterval=0\r\nFullScreen=7\r\nColour=blue\r\n"
                         "Exclude=" + std::string(258, 'a') + "\r\n[Elsewhere]\r\nKept=yes\r\n", 0), 0u) << file;
    for (const char *line : {"Enable=5\r\n", "Interval=0\r\n", "FullScreen=7\r\n", "ToggleEnable=Ctrl+Alt+Shift+F12 + mo\r\n",
                             "TimeOut=-1\r\n", "Up=16\r\n", "OnMove=65551\r\n", "Width=250\r\n",
                             "OnClick=0\r\n", "MoveAllowance=1215752191\r\n", "Allowance=4\r\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line << " in\n" << file;
    // Whatever 4294967295 reads as, it is written back as a signed decimal.
    EXPECT_EQ(file.find("MsecDblClick=4294967295"), std::string::npos);
}

// Before set-up and after tear-down the record in memory is not the user's.
TEST_F(SettingsFileTest, OutsideSetUpNothingWritesTheFileOrStartsTheEngine) {
    const std::string user_file = "[General]\r\nEnable=1\r\nInterval=50\r\n";
    LoadedPlugin plugin(CurrentTestName(), user_file);
    ASSERT_TRUE(plugin.Load());
    auto every_command = [&] {
        plugin.api.OnTeardown();
        plugin.api.MyToggleEnable(0);
        plugin.api.OnSuspendHook(FALSE);
        WhileDialogRuns(ABOUT_CAPTION, [&] { plugin.api.MyVersion(0); }, [] {
            HWND box = WaitForWindow(ABOUT_CAPTION);
            PostMessageA(box, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitUntilGone(box));
        });
        WhileDialogRuns(OPTIONS_CAPTION, [&] { plugin.api.MyOption(0); }, [] {
            HWND dialog = WaitForWindow(OPTIONS_CAPTION);
            SetText(FindControl(dialog, EdtInterval), "77");
            Click(FindControl(dialog, OKBtn));
            EXPECT_TRUE(WaitUntilGone(dialog));
        });
    };
    every_command();
    EXPECT_EQ(ReadTextFile(plugin.ini_path), user_file);
    EXPECT_EQ(g_host.CountStartingWith("try ::SetWindowsHookEx("), 0);
    plugin.Setup();
    plugin.Teardown();
    const std::string saved = ReadTextFile(plugin.ini_path);
    every_command();
    EXPECT_EQ(ReadTextFile(plugin.ini_path), saved);
    EXPECT_EQ(g_host.CountStartingWith("try ::SetWindowsHookEx("), 1);   // set-up's own
    EXPECT_TRUE(g_host.reloads.empty());
}

TEST_F(SettingsFileTest, AFileThatCouldNotBeReadAtSetUpIsNotWrittenOver) {
    const std::string user_file = "[General]\r\nEnable=0\r\n[Move]\r\nWidth=33\r\n";
    LoadedPlugin plugin(CurrentTestName(), user_file);
    ASSERT_TRUE(plugin.Load());
    // Another program holds the file open and shares it with nobody.
    HANDLE held = CreateFileA(plugin.ini_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    plugin.Setup();
    CloseHandle(held);
    EXPECT_EQ(plugin.MenuItem(0).checked, 1);   // the defaults
    char reason[1024];
    FormatSystemError(ERROR_SHARING_VIOLATION, reason);
    // A long folder cuts the line: the host gets what fits in 255 bytes.
    const std::string error_line = FormattedLogLine("設定ファイル%sを読み込めません。%s 既定の設定で動作し、設定ダイアログで OK を押すまでファイルは上書きしません。",
                                                    plugin.ini_path.c_str(), reason).substr(sizeof "Cursorwake " - 1);
    ASSERT_FALSE(g_host.log.empty());
    EXPECT_TRUE(g_host.Logged(error_line)) << error_line;
    for (const LogLine &l : g_host.log)
        EXPECT_EQ(l.severity, l.text == error_line ? 3 : 7) << l.text;
    plugin.api.MyToggleEnable(0);
    plugin.Teardown();
    EXPECT_EQ(ReadTextFile(plugin.ini_path), user_file);

    g_host.Reset();
    plugin.Setup();   // reads again, and this time it can
    EXPECT_EQ(plugin.MenuItem(0).checked, 0);
    plugin.Teardown();
    EXPECT_NE(ReadTextFile(plugin.ini_path).find("Width=33\r\n"), std::string::npos);
    EXPECT_EQ(g_host.CountLogged(error_line), 0);
}

TEST_F(SettingsFileTest, HostileValuesLoadAndTheEngineRunsWithThem) {
    std::string long_value(5000, '9');
    LoadedPlugin plugin(CurrentTestName(),
                        "[General]\r\nEnable=1\r\nInterval=1\r\n"
                        "[Wheel]\r\nAllowance=-99999999999\r\nUp=-2147483648\r\nDown=" + long_value + "\r\n"
                        "[Move]\r\nOnMove=-1\r\nWidth=2147483647\r\nHeight=-2147483648\r\nDelay=\r\n"
                        "[Click]\r\nOnClick=0xFFFFFFFF\r\nMsecHoldDown=-5\r\nMoveAllowance=2147483647\r\n");
    ASSERT_TRUE(plugin.Load());
    plugin.Setup();
    WhilePumping([] {
        MoveCursor(5, 5);
        for (int i = 0; i < 4; ++i)
            InjectWheel(i % 2 ? -120 : 120);
        InjectButton(MOUSEEVENTF_LEFTDOWN);
        InjectButton(MOUSEEVENTF_LEFTUP);
        MoveCursor(600, 600);
    }, 100);
    plugin.Teardown();
    EXPECT_NE(ReadTextFile(plugin.ini_path).find("Width=2147483647\r\n"), std::string::npos);
}

// Switched off and torn down: the save must reach the file and leave nothing else behind.
void SavesEnable0AndLeavesNothingElse(LoadedPlugin &plugin) {
    plugin.api.MyToggleEnable(0);
    plugin.Teardown();
    EXPECT_NE(ReadTextFile(plugin.ini_path).find("[General]\r\nEnable=0\r\n"), std::string::npos);
    EXPECT_EQ(FilesIn(plugin.dir), (std::vector<std::string>{"VelkCursorwake.dll", "VelkCursorwake.ini"}));
}

// As root, the immutable flag on a folder refuses new files there, while a file already inside
// can still be rewritten: a folder where only the settings file may be written. The flag goes
// again on every way out of the test.
class FolderRefusingNewFiles {
public:
    // Wine deletes a file when its last handle closes: a probe deleted as the flag comes stays.
    // It is taken away, and the flag set again, until none is left.
    explicit FolderRefusingNewFiles(const std::string &folder) : folder_(folder) {
        set_ = Chattr("+i", false);
        for (int tries = 0; set_ && !Probes().empty() && tries < 5; ++tries) {
            Unset();
            set_ = Chattr("+i", false);
        }
        if (set_ && !Probes().empty()) {
            Unset();
            set_ = false;
        }
    }
    ~FolderRefusingNewFiles() {
        if (set_)
            Unset();
    }
    bool IsSet() const { return set_; }

private:
    std::vector<std::string> Probes() const {
        std::vector<std::string> probes;
        for (const std::string &name : FilesIn(folder_))
            if (name.rfind("probe", 0) == 0)
                probes.push_back(folder_ + "\\" + name);
        return probes;
    }
    void Unset() {
        Chattr("-i", true);
        for (const std::string &probe : Probes())
            DeleteFileA(probe.c_str());
    }
    // A probe of a name of its own each time, so that one left behind does not count.
    bool CanCreateFile() {
        const std::string probe = folder_ + "\\probe" + std::to_string(probes_++);
        HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(file);
        return DeleteFileA(probe.c_str()) != FALSE;
    }
    // Wine starts a Unix program as it starts a Windows one; its effect is waited for.
    bool Chattr(const char *flag, bool can_create) {
        if (folder_.rfind("Z:", 0) != 0)
            return false;
        std::string command = std::string("/usr/bin/chattr ") + flag + " " + folder_.substr(2);
        std::replace(command.begin(), command.end(), '\\', '/');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return PumpUntil([&] { return CanCreateFile() == can_create; }, 5000);
    }

    std::string folder_;
    bool set_;
    int probes_ = 0;
};

TEST_F(SettingsFileTest, AFolderThatRefusesNewFilesHasTheFileRewrittenInPlace) {
    LoadedPlugin plugin(CurrentTestName(), "; mine\r\n[General]\r\nEnable=1\r\n");
    ASSERT_TRUE(plugin.Load());
    plugin.Setup();
    FolderRefusingNewFiles refusing(plugin.dir);
    if (!refusing.IsSet())
        GTEST_SKIP() << "chattr +i needs root and a file system that has the flag";
    SavesEnable0AndLeavesNothingElse(plugin);
    EXPECT_EQ(ReadTextFile(plugin.ini_path).rfind("; mine\r\n", 0), 0u);
    const std::string line = "一時ファイル" + plugin.dir + "\\VelkCursorwake.new";
    int logged = 0;
    for (const LogLine &l : g_host.log)
        if (l.text.rfind(line, 0) == 0) {
            ++logged;
            EXPECT_EQ(l.severity, 7);
        }
    EXPECT_EQ(logged, 1) << line;
}

// The longest path that the system opens without a long-path prefix: 259 characters.
TEST_F(SettingsFileTest, SettingsFileWithThePathOfTheLongestLengthSaves) {
    const std::string base = RunFolder(CurrentTestName());
    const size_t name_length = 259 - std::string("\\VelkCursorwake.ini").size() - base.size() - 1;
    LoadedPlugin plugin(CurrentTestName() + "-" + std::string(name_length, 'x'), "[General]\r\nEnable=1\r\n");
    ASSERT_EQ(plugin.ini_path.size(), 259u);
    ASSERT_TRUE(plugin.Load());
    plugin.Setup();
    SavesEnable0AndLeavesNothingElse(plugin);
}

TEST_F(SettingsFileTest, DotInAFolderNameIsNotTheExtension) {
    LoadedPlugin plugin(CurrentTestName() + ".d", "[Move]\r\nWidth=33\r\n");
    ASSERT_TRUE(plugin.Load());
    plugin.Setup();
    plugin.Teardown();
    EXPECT_NE(ReadTextFile(plugin.ini_path).find("Width=33\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, ModuleWithoutExtensionGetsIniAppended) {
    std::string dir = RunFolder(CurrentTestName() + ".d");
    std::string dll = dir + "\\VelkCursorwake";
    CopyFileA(std::getenv("CURSORWAKE_DLL"), dll.c_str(), FALSE);
    DeleteFileA((dir + "\\VelkCursorwake.ini").c_str());
    HMODULE module = LoadLibraryA((dll + ".").c_str());   // trailing dot: no ".dll" appended
    ASSERT_NE(module, nullptr);
    PluginExports api = {};
    ASSERT_TRUE(api.Bind(module));
    api.OnSetup(0);
    api.OnTeardown();
    FreeLibrary(module);
    EXPECT_NE(ReadTextFile(dir + "\\VelkCursorwake.ini").find("[General]"), std::string::npos);
}

}  // namespace
