// Reading a module's file version through the support library, on real modules.
#include <gtest/gtest.h>

#include "appinfo/AppInfo.h"
#include "tests/wine/WineTestHost.h"

namespace {

std::string BesideTheTests(const char *name) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir = exe;
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

class ModuleInfoTest : public ::testing::Test {
protected:
    void SetUp() override { g_host.Reset(); }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
    }
    HMODULE Load(const char *name) {
        module_ = LoadLibraryA(BesideTheTests(name).c_str());
        EXPECT_NE(module_, nullptr) << name;
        return module_;
    }
    static std::string Recorded() {
        AppInfoError error = GetAppInfoError();
        const char *text = error.GetText();
        return text ? text : "";
    }

    HMODULE module_ = nullptr;
};

TEST_F(ModuleInfoTest, ThePluginItselfGives0108) {
    LoadedPlugin plugin(CurrentTestName(), "");
    ASSERT_TRUE(plugin.Load());
    char version[64] = {};
    EXPECT_EQ(ModuleInfo(plugin.module).GetFileVersion(version, sizeof version), 0);
    EXPECT_STREQ(version, "0.1.0.8");
}

TEST_F(ModuleInfoTest, OnlyTheFirstTranslationIsRead) {
    char version[64] = "before";
    EXPECT_EQ(ModuleInfo(Load("version_first_with.dll")).GetFileVersion(version, sizeof version), 0);
    EXPECT_STREQ(version, "9.8.7.6");
}

TEST_F(ModuleInfoTest, FirstTranslationWithoutFileVersionFailsEvenThoughTheSecondHasOne) {
    char version[64] = "before";
    EXPECT_EQ(ModuleInfo(Load("version_first_without.dll")).GetFileVersion(version, sizeof version), -5);
    EXPECT_STREQ(version, "");
    EXPECT_EQ(Recorded().rfind("VerQueryValue() return 0. GetLastError()=", 0), 0u) << Recorded();
}

TEST_F(ModuleInfoTest, ModuleWithoutVersionResourceFailsWithTheVersionInfoMessage) {
    char version[64] = "before";
    EXPECT_EQ(ModuleInfo(Load("version_none.dll")).GetFileVersion(version, sizeof version), -5);
    EXPECT_STREQ(version, "");
    EXPECT_EQ(Recorded().rfind("GetFileVersionInfo() return 0. GetLastError()=", 0), 0u) << Recorded();
}

TEST_F(ModuleInfoTest, NoModuleFileNameLeavesTheStringAlone) {
    char version[64] = "before";
    EXPECT_EQ(ModuleInfo(reinterpret_cast<HMODULE>(0x7FFE0000)).GetFileVersion(version, sizeof version), -5);
    EXPECT_STREQ(version, "before");
    EXPECT_EQ(Recorded().rfind("failed GetModuleFileName() GetLastError()=", 0), 0u) << Recorded();
}

TEST_F(ModuleInfoTest, NullString) {
    ModuleInfo info(GetModuleHandleA(nullptr));
    EXPECT_EQ(info.GetFileVersion(nullptr, 64), -1);
    EXPECT_EQ(Recorded(), "o_str is NULL");
}

}  // namespace
