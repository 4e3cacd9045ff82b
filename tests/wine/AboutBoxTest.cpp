// The about box of the real plug-in: what it shows, where, and that it hands back every icon.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "appinfo/SystemDll.h"
#include "tests/wine/DialogDriver.h"
#include "tests/wine/WineTestHost.h"
#include "ui/FormAboutBoxUnit.h"

namespace {

const char CAPTION[] = "バージョン情報";
using C = TAboutBox::Control;

// The plug-in's own calls, seen through its import table and the functions it finds by name.
decltype(&ExtractIconExA) g_real_extract;
decltype(&DestroyIcon) g_real_destroy;
std::vector<std::string> g_extracted_files;
std::vector<HICON> g_extracted;
std::vector<HICON> g_destroyed;
struct ShellCall {
    HWND owner;
    std::string verb, file;
    bool has_parameters, has_directory;
    int show;
};
std::vector<ShellCall> g_shell_calls;

UINT WINAPI RecordExtract(LPCSTR file, int index, HICON *large, HICON *small, UINT count) {
    g_extracted_files.push_back(file);
    UINT result = g_real_extract(file, index, large, small, count);
    for (HICON *icon : {large, small})
        if (icon && *icon)
            g_extracted.push_back(*icon);
    return result;
}

BOOL WINAPI RecordDestroy(HICON icon) {
    BOOL ok = g_real_destroy(icon);
    if (ok)
        g_destroyed.push_back(icon);
    return ok;
}

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                    INT show) {
    g_shell_calls.push_back({owner, verb ? verb : "", file ? file : "", parameters != nullptr, directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(42);
}

// LoadLibraryExA as Windows 7 without its loader update has it: the flag that keeps the search
// to the system folder is an invalid parameter there.
decltype(&LoadLibraryExA) g_real_load_library_ex;
std::vector<std::pair<std::string, DWORD>> g_loads;

HMODULE WINAPI LoadLibraryExAOfWindows7(LPCSTR file, HANDLE reserved, DWORD flags) {
    g_loads.push_back({file, flags});
    if (flags & LOAD_LIBRARY_SEARCH_SYSTEM32) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return g_real_load_library_ex(file, reserved, flags);
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_host.Reset();
        g_extracted_files.clear();
        g_extracted.clear();
        g_destroyed.clear();
        g_shell_calls.clear();
        SetCursorPos(600, 500);
        DialogDpi();
    }
    LoadedPlugin &Start(const std::string &ini = "[General]\r\nEnable=1\r\nInterval=50\r\n") {
        plugin_.reset(new LoadedPlugin(CurrentTestName(), ini));
        EXPECT_TRUE(plugin_->Load());
        plugin_->Setup();
        return *plugin_;
    }
    void WatchIcons() {
        g_real_extract = reinterpret_cast<decltype(g_real_extract)>(
            PatchProcAddress(plugin_->module, "shell32.dll", "ExtractIconExA",
                             reinterpret_cast<void *>(RecordExtract)));
        g_real_destroy = reinterpret_cast<decltype(g_real_destroy)>(
            PatchImport(plugin_->module, "user32.dll", "DestroyIcon", reinterpret_cast<void *>(RecordDestroy)));
        ASSERT_NE(g_real_extract, nullptr);
        ASSERT_NE(g_real_destroy, nullptr);
    }
    void About(const std::function<void()> &script) {
        WhileDialogRuns(CAPTION, [&] { plugin_->api.MyVersion(0); }, script);
    }

    std::unique_ptr<LoadedPlugin> plugin_;
};

// At 96 DPI and, in a run of its own, at 144 DPI: every measure scaled, no text cut off.
TEST_F(AboutBoxTest, ShowsNameVersionAndIconCentredOnTheCursorsMonitor) {
    ASSERT_EQ(DialogDpi(), RunDpi());
    Start();
    WatchIcons();
    SetCursorPos(1500, 300);   // on monitor 2: 1280,0 - 2304,768
    About([&] {
        HWND box = WaitForWindow(CAPTION);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(FindControlByText(box, "Cursorwake"), FindControl(box, C::ProductName));
        EXPECT_EQ(FindControlByText(box, "0.1.0.8"), FindControl(box, C::Version));
        RECT client, frame;
        GetClientRect(box, &client);
        EXPECT_EQ(client.right, AtDpi(223, 335));
        EXPECT_EQ(client.bottom, AtDpi(149, 224));
        GetWindowRect(box, &frame);
        const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
        EXPECT_EQ(frame.left, 1280 + 512 - width / 2);
        EXPECT_EQ(frame.top, 384 - height / 2);
        RECT ok = RectIn(FindControl(box, C::OKButton), box);
        EXPECT_EQ(ok.left, AtDpi(71, 107));
        EXPECT_EQ(ok.top, AtDpi(116, 174));
        EXPECT_EQ(ok.right - ok.left, AtDpi(75, 113));
        EXPECT_EQ(ok.bottom - ok.top, AtDpi(25, 38));
        RECT panel = RectIn(FindControl(box, C::Panel1), box);
        EXPECT_EQ(panel.left, AtDpi(8, 12));
        EXPECT_EQ(panel.right - panel.left, AtDpi(201, 302));
        EXPECT_EQ(panel.bottom - panel.top, AtDpi(97, 146));
        HWND image = FindControl(box, C::ProgramIcon);
        EXPECT_EQ(GetParent(image), FindControl(box, C::Panel1));
        RECT picture = RectIn(image, GetParent(image));
        EXPECT_EQ(picture.right - picture.left, AtDpi(32, 48));
        EXPECT_EQ(TextsCutOff(box), std::vector<std::string>{});
        HICON shown = reinterpret_cast<HICON>(SendMessageA(image, STM_GETIMAGE, IMAGE_ICON, 0));
        EXPECT_NE(shown, nullptr);
        EXPECT_EQ(g_extracted.size(), 2u);
        if (!g_extracted.empty()) {
            EXPECT_EQ(shown, g_extracted[0]);
        }
        SaveScreenshot(box, ShotName("about"));
        Click(FindControl(box, C::OKButton));
        EXPECT_TRUE(WaitUntilGone(box));
    });
    ASSERT_EQ(g_extracted_files.size(), 1u);
    const std::string &file = g_extracted_files[0];
    EXPECT_EQ(file.find('%'), std::string::npos) << file;
    EXPECT_EQ(file.substr(file.size() - 21), "\\system32\\SHELL32.dll");
}

TEST_F(AboutBoxTest, TwentyOpeningsDestroyEveryIconPairThatWasExtracted) {
    Start();
    WatchIcons();
    for (int i = 0; i < 20; ++i) {
        About([&] {
            HWND box = WaitForWindow(CAPTION);
            ASSERT_NE(box, nullptr);
            if (i % 2)
                Click(FindControl(box, C::OKButton));
            else
                PostMessageA(box, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitUntilGone(box));
        });
    }
    EXPECT_EQ(g_extracted.size(), 40u);
    std::vector<HICON> extracted = g_extracted, destroyed = g_destroyed;
    std::sort(extracted.begin(), extracted.end());
    std::sort(destroyed.begin(), destroyed.end());
    EXPECT_EQ(destroyed, extracted);
    for (HICON icon : g_extracted) {
        ICONINFO info = {};
        EXPECT_FALSE(GetIconInfo(icon, &info)) << "icon still alive";
    }
}

TEST_F(AboutBoxTest, ClickOnTheWebAddressOpensItAndClosesTheBox) {
    Start();
    ASSERT_NE(PatchProcAddress(plugin_->module, "shell32.dll", "ShellExecuteA",
                               reinterpret_cast<void *>(RecordShellExecute)),
              nullptr);
    std::string address;
    About([&] {
        HWND box = WaitForWindow(CAPTION);
        ASSERT_NE(box, nullptr);
        HWND link = FindControl(box, C::WebSite);
        address = TextOf(link);
        PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        EXPECT_TRUE(WaitUntilGone(box));
    });
    EXPECT_EQ(address.rfind("https://", 0), 0u) << address;
    ASSERT_EQ(g_shell_calls.size(), 1u);
    EXPECT_EQ(g_shell_calls[0].owner, nullptr);
    EXPECT_EQ(g_shell_calls[0].verb, "open");
    EXPECT_EQ(g_shell_calls[0].file, address);
    EXPECT_FALSE(g_shell_calls[0].has_parameters);
    EXPECT_FALSE(g_shell_calls[0].has_directory);
    EXPECT_EQ(g_shell_calls[0].show, SW_SHOW);
}

TEST_F(AboutBoxTest, EscDoesNothingForTheBoxHasNoCancelButton) {
    Start();
    HWND host_window = CreateHostWindow("Velkora");
    About([&] {
        HWND box = WaitForWindow(CAPTION);
        ASSERT_NE(box, nullptr);
        HWND ok = FindControl(box, C::OKButton);
        PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(ok, WM_KEYUP, VK_ESCAPE, 0);
        ASSERT_TRUE(WaitForPostedMessages(host_window));
        EXPECT_TRUE(IsWindowVisible(box));
        PostMessageA(ok, WM_KEYDOWN, VK_RETURN, 0);   // Enter reaches the default button
        PostMessageA(ok, WM_KEYUP, VK_RETURN, 0);
        EXPECT_TRUE(WaitUntilGone(box));
    });
    DestroyWindow(host_window);
}

TEST_F(AboutBoxTest, EngineIsStoppedWhileTheBoxIsOpen) {
    Start("[General]\r\nEnable=1\r\nInterval=50\r\n[Wheel]\r\nOnWheel=1\r\n");
    About([&] {
        HWND box = WaitForWindow(CAPTION);
        ASSERT_NE(box, nullptr);
        for (int delta : {120, -120, 120, -120})
            InjectWheel(delta);
        Click(FindControl(box, C::OKButton));
        EXPECT_TRUE(WaitUntilGone(box));
    });
    EXPECT_TRUE(g_host.hotkeys.empty());
    WhilePumping([] {
        for (int delta : {120, -120, 120, -120})
            InjectWheel(delta);
    });
    EXPECT_TRUE(PumpUntil([] { return !g_host.hotkeys.empty(); }, 1000));
}

TEST_F(AboutBoxTest, WithoutTheLoaderUpdateOfWindows7TheSystemDllsComeByTheirFullPath) {
    Start();
    g_loads.clear();
    g_real_load_library_ex = reinterpret_cast<decltype(g_real_load_library_ex)>(PatchImport(
        plugin_->module, "kernel32.dll", "LoadLibraryExA", reinterpret_cast<void *>(LoadLibraryExAOfWindows7)));
    ASSERT_NE(g_real_load_library_ex, nullptr);
    About([&] {
        HWND box = WaitForWindow(CAPTION);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(TextOf(FindControl(box, C::Version)), "0.1.0.8");
        EXPECT_NE(SendMessageA(FindControl(box, C::ProgramIcon), STM_GETIMAGE, IMAGE_ICON, 0), 0);
        Click(FindControl(box, C::OKButton));
        EXPECT_TRUE(WaitUntilGone(box));
    });
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::vector<std::string> loaded;
    ASSERT_EQ(g_loads.size() % 2, 0u);
    for (size_t i = 0; i < g_loads.size(); i += 2) {
        EXPECT_EQ(g_loads[i].second, DWORD(LOAD_LIBRARY_SEARCH_SYSTEM32));
        EXPECT_EQ(g_loads[i + 1].first, std::string(system) + "\\" + g_loads[i].first);
        EXPECT_EQ(g_loads[i + 1].second, DWORD(LOAD_WITH_ALTERED_SEARCH_PATH));
        loaded.push_back(g_loads[i].first);
    }
    std::sort(loaded.begin(), loaded.end());
    EXPECT_EQ(loaded, (std::vector<std::string>{"COMCTL32.DLL", "SHELL32.DLL", "VERSION.DLL"}));
}

// A copy of the plug-in without any resources, its version resource included.
bool RemoveResources(const std::string &dll) {
    HANDLE update = BeginUpdateResourceA(dll.c_str(), TRUE);
    return update && EndUpdateResourceA(update, FALSE);
}

TEST_F(AboutBoxTest, WithoutAVersionResourceTheErrorBoxComesFirstAndTheVersionStaysEmpty) {
    plugin_.reset(new LoadedPlugin(CurrentTestName(), ""));
    ASSERT_TRUE(RemoveResources(plugin_->dll_path));
    DWORD handle = 0;
    ASSERT_EQ(system_dll::GetFileVersionInfoSizeA(plugin_->dll_path.c_str(), &handle), 0u);
    ASSERT_TRUE(plugin_->Load());
    About([&] {
        HWND error = WaitForWindow("ERROR");
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(FindWindowA(nullptr, CAPTION) && IsWindowVisible(FindWindowA(nullptr, CAPTION)), false);
        bool found = false;
        for (HWND text : ControlsOfClass(error, "Static"))
            found |= TextOf(text).rfind("GetFileVersionInfo() return 0. GetLastError()=", 0) == 0;
        EXPECT_TRUE(found);
        EXPECT_EQ(GetWindow(error, GW_OWNER), nullptr);
        Click(FindControlByText(error, "OK"));
        HWND box = WaitForWindow(CAPTION);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(TextOf(FindControl(box, C::ProductName)), "Cursorwake");
        EXPECT_EQ(TextOf(FindControl(box, C::Version)), "");
        Click(FindControl(box, C::OKButton));
        EXPECT_TRUE(WaitUntilGone(box));
    });
}

}  // namespace
