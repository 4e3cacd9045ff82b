// A host that lacks PrintRaw and several called functions (built with HOSTSIDE_SPARSE).
#include <gtest/gtest.h>

#include <winternl.h>

#include <algorithm>

#include "base/ProcAddress.h"
#include "tests/wine/WineTestHost.h"

namespace {

class SparseHostTest : public ::testing::Test {
protected:
    void SetUp() override { g_host.Reset(); }
};

std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const LogLine &l : g_host.log) {
        EXPECT_EQ(l.severity, -1) << "lines come through PrintErrRaw, without a severity";
        texts.push_back(l.text);
    }
    return texts;
}

TEST_F(SparseHostTest, RefusedVersionListsTheMissingFunctionsInTableOrder) {
    g_host.version = "0.9.6.4";
    LoadedPlugin plugin(CurrentTestName(), "");
    EXPECT_FALSE(plugin.Load());
    std::vector<std::string> texts = Texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], "* DLL_PROCESS_ATTACH");
    EXPECT_NE(texts[1].find("ver.0.9.6.4"), std::string::npos);
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 2, texts.begin() + std::min<size_t>(texts.size(), 9)),
              (std::vector<std::string>{"failed load VelkApi.GetList()", "failed load VelkApi.GetQuickOption()",
                                        "failed load VelkApi.GetStatus()", "failed load VelkApi.GetWindowHandles()",
                                        "failed load VelkApi.IsMode()", "failed load VelkApi.SendHotKey()",
                                        "failed load VelkApi.ReloadMenu()"}));
}

TEST_F(SparseHostTest, SupportedVersionRunsWithoutCallingWhatIsMissing) {
    LoadedPlugin plugin(CurrentTestName(),
                        "[General]\r\nInterval=50\r\n[Move]\r\nOnMove=65537\r\nDelay=20\r\n");
    ASSERT_TRUE(plugin.Load());
    plugin.Setup();
    SetCursorPos(600, 500);
    PumpTicks(2);
    WhilePumping([] { MoveCursor(1, 1); });
    PumpUntil([] { return g_host.Logged("g_VelkApi.SendHotKey(\"TrayInOut\")"); }, 10000);
    WhilePumping([] {
        for (int delta : {120, -120, 120, -120})
            InjectWheel(delta);
    });
    PumpTicks(2);   // the hook's hot key goes out after the hook, before the next tick
    plugin.api.MyToggleEnable(0);
    plugin.api.OnChangeQuickOption();
    for (const std::string &text : Texts())
        EXPECT_EQ(text.find("failed load"), std::string::npos) << text;
    // No status to ask: the host counts as not focused, and the activation is attempted.
    EXPECT_TRUE(g_host.Logged("stat.has_focus=0"));
    EXPECT_TRUE(g_host.Logged("g_VelkApi.SendHotKey(\"TrayInOut\")"));
}

// The system answers GetModuleHandle(NULL) from the image base in the process block.
PVOID &ImageBaseOfTheProcess() {
    auto query = ProcAddress<decltype(&NtQueryInformationProcess)>(GetModuleHandleA("ntdll.dll"),
                                                                  "NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION info = {};
    query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr);
    return info.PebBaseAddress->Reserved3[1];
}

// Where the process's executable cannot be found, no interface is bound at all: the attach
// fails, and not even its own line reaches the host. The image base is blanked for the load.
TEST_F(SparseHostTest, WithoutTheHostsExecutableTheAttachFailsSilently) {
    LoadedPlugin plugin(CurrentTestName(), "");
    PVOID &image_base = ImageBaseOfTheProcess();
    PVOID const saved = image_base;
    image_base = nullptr;
    const HMODULE found = GetModuleHandleA(nullptr);
    const bool loaded = plugin.Load();
    image_base = saved;
    ASSERT_EQ(found, nullptr) << "the executable is still found";
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(g_host.log.empty());
    EXPECT_TRUE(plugin.Load());   // found again, the same host is served
}

}  // namespace
