#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "appinfo/AppInfoError.h"

namespace {

class AppInfoErrorTest : public ::testing::Test {
protected:
    void SetUp() override { g_app_info_error = AppInfoError{}; }
};

TEST_F(AppInfoErrorTest, NothingRecordedGivesNullAndFlowError) {
    AppInfoError e = GetAppInfoError();
    EXPECT_EQ(e.GetText(), nullptr);
    char buffer[16];
    EXPECT_EQ(e.CopyText(buffer, sizeof buffer), APPINFO_FLOW_ERROR);
}

TEST_F(AppInfoErrorTest, BaseNameRule) {
    EXPECT_STREQ(AppInfoBaseName("C:\\src\\appinfo\\AppInfo.cpp"), "AppInfo.cpp");
    EXPECT_STREQ(AppInfoBaseName("AppInfo.cpp"), "AppInfo.cpp");
    EXPECT_STREQ(AppInfoBaseName("dir\\sub\\"), "sub\\");      // a trailing backslash is passed over
    EXPECT_STREQ(AppInfoBaseName("\\AppInfo.cpp"), "\\AppInfo.cpp");   // the first character is not examined
    EXPECT_STREQ(AppInfoBaseName("/build/appinfo/path.cpp"), "path.cpp");   // a cross-compiled source path
    EXPECT_STREQ(AppInfoBaseName(""), "");
}

TEST_F(AppInfoErrorTest, RecordsCutTo255AndTheLastFailureWins) {
    EXPECT_EQ(SetAppInfoError(nullptr, 1, "x"), APPINFO_INVALID_ARGUMENT);
    EXPECT_FALSE(g_app_info_error.is_set);

    std::string long_path = "C:\\" + std::string(300, 'f');
    std::string long_text(2000, 'm');
    EXPECT_EQ(SetAppInfoError(long_path.c_str(), 10, "%s", long_text.c_str()), 0);
    AppInfoError e = GetAppInfoError();
    EXPECT_EQ(std::strlen(e.file), 255u);
    EXPECT_EQ(std::strlen(e.message), 255u);
    EXPECT_EQ(std::strlen(e.GetText()), 255u);

    // 設 (0x90 0xDD) over and over: 255 bytes, or 7, would end in half a character.
    std::string kanji;
    for (int i = 0; i < 200; ++i)
        kanji += "\x90\xDD";
    SetAppInfoError(("C:\\" + kanji).c_str(), 11, "%s", kanji.c_str());
    e = GetAppInfoError();
    EXPECT_EQ(std::string(e.message), kanji.substr(0, 254));
    EXPECT_EQ(std::string(e.file), kanji.substr(0, 254));
    char eight[8];
    e.CopyText(eight, sizeof eight);
    EXPECT_EQ(std::string(eight), kanji.substr(0, 6));

    SetAppInfoError("a\\b.cpp", 42, "VerQueryValue() return %d. GetLastError()=%d.", 0, 1813);
    e = GetAppInfoError();
    EXPECT_STREQ(e.file, "b.cpp");
    EXPECT_EQ(e.line, 42);
    EXPECT_STREQ(e.GetText(), "VerQueryValue() return 0. GetLastError()=1813.");
    char small[8];
    EXPECT_EQ(e.CopyText(small, sizeof small), 0);
    EXPECT_STREQ(small, "VerQuer");
}

}  // namespace
