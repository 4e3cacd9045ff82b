#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/PluginCore.h"
#include "settings/Settings.h"
#include "base/Text.h"
#include "hostapi/VelkApiCore.h"

namespace {

bool Supported(const char *host) { return IsVersionInRange(host, "0.9.6.42", "1.0.0.0"); }

TEST(VersionTest, RangeIsByteWiseNotNumeric) {
    EXPECT_TRUE(Supported("0.9.6.42"));
    EXPECT_TRUE(Supported("version 0.9.6.42"));
    EXPECT_TRUE(Supported("0.9.6.5"));
    EXPECT_TRUE(Supported("0.9.7"));
    EXPECT_TRUE(Supported("0.9.6.42a"));
    EXPECT_TRUE(Supported("0.9.9"));
    EXPECT_TRUE(Supported("0.99"));
    EXPECT_TRUE(Supported("1.0"));   // a prefix of the maximum sorts below it
    EXPECT_FALSE(Supported("0.9.6.4"));
    EXPECT_FALSE(Supported("0.9.6.100"));
    EXPECT_FALSE(Supported("0.9.10.0"));
    EXPECT_FALSE(Supported("1.0.0.0"));
    EXPECT_FALSE(Supported("1.0.1"));
    EXPECT_FALSE(Supported("Version 0.9.6.42"));
    EXPECT_FALSE(Supported(""));
}

TEST(VersionTest, ComparisonUsesUnsignedBytes) {
    EXPECT_LT(CompareVersionText("0.9", "0.9\x81"), 0);
    EXPECT_GT(CompareVersionText("\x81", "9"), 0);
    EXPECT_EQ(CompareVersionText("abc", "abc"), 0);
}

// 0x88 0x9F is one character; its second byte would pass for a first byte on its own.
TEST(VersionTest, AFullBufferIsCutBetweenCharacters) {
    const std::string kanji = "\x88\x9F";
    auto cut = [](const std::string &text) {
        char buf[HOST_VERSION_SIZE];
        std::memcpy(buf, text.data(), sizeof buf);
        TerminateAtCharacter(buf, sizeof buf);
        return std::string(buf);
    };
    std::string pairs;
    for (int i = 0; i < 40; ++i)
        pairs += kanji;
    EXPECT_EQ(cut(pairs), pairs.substr(0, 78));
    EXPECT_EQ(cut("1" + pairs), "1" + pairs.substr(0, 78));
    EXPECT_EQ(cut(std::string(79, '5') + "6"), std::string(79, '5'));
    EXPECT_EQ(cut(std::string("0.9.7\x88\0", 7) + std::string(73, 'x')), "0.9.7");
}

TEST(SeverityTest, LowByteIsASignedEightBitValue) {
    EXPECT_TRUE(SeverityPasses(7, 7));
    EXPECT_FALSE(SeverityPasses(7, 3));
    EXPECT_TRUE(SeverityPasses(3, 3));
    EXPECT_TRUE(SeverityPasses(7, 0x12345607));   // only the low byte
    EXPECT_FALSE(SeverityPasses(0, 0xFF));         // -1: nothing passes
}

std::string Line(const char *tag, const char *format, ...) {
    char line[LOG_LINE_SIZE];
    va_list args;
    va_start(args, format);
    FormatLogLine(line, tag, format, args);
    va_end(args);
    return line;
}

TEST(LogLineTest, TagBlankMessageCutTo255) {
    EXPECT_EQ(Line("Cursorwake", "point.x=%d y=%d", -1, 20), "Cursorwake point.x=-1 y=20");
    std::string long_message(300, 'm');
    std::string line = Line("Cursorwake", "%s", long_message.c_str());
    EXPECT_EQ(line.size(), 255u);
    EXPECT_EQ(line.substr(0, 12), "Cursorwake m");
    // "Cursorwake x" leaves 243 bytes: 121 two-byte characters and the first byte of one more,
    // which goes.
    std::string kanji_message = "x";
    for (int i = 0; i < 130; ++i)
        kanji_message += "\x90\xDD";   // 設
    EXPECT_EQ(Line("Cursorwake", "%s", kanji_message.c_str()), "Cursorwake " + kanji_message.substr(0, 243));
}

// Velkora reads each 666-byte record byte for byte: enabled, checked, a 72-byte caption in
// Shift-JIS and a 592-byte command name, both zero-filled after their text.
std::string SubMenuRecord(char checked, const std::string &caption, const std::string &command) {
    std::string record(666, '\0');
    record[0] = 1;
    record[1] = checked;
    record.replace(2, caption.size(), caption);
    record.replace(74, command.size(), command);
    return record;
}

TEST(PluginCoreTest, SubMenuBytes) {
    const std::string expected = SubMenuRecord(1, "\x97\x4C\x8C\xF8(&T)", "MyToggleEnable") +
                                 SubMenuRecord(0, "\x90\xDD\x92\xE8(&O)", "MyOption") +
                                 SubMenuRecord(0, "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93(&A)", "MyVersion");
    ASSERT_EQ(sizeof g_submenu, expected.size());
    const std::string actual(reinterpret_cast<const char *>(g_submenu), sizeof g_submenu);
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(actual[i]), static_cast<unsigned char>(expected[i]))
            << "record " << i / 666 << ", offset " << i % 666;
}

TEST(PluginCoreTest, IniPathReplacesOnlyTheFileNamesExtension) {
    char ini[INI_PATH_SIZE];
    DeriveIniPath("C:\\Tools\\VelkCursorwake.dll", ini);
    EXPECT_STREQ(ini, "C:\\Tools\\VelkCursorwake.ini");
    DeriveIniPath("C:\\Velkora 1.0\\plugins\\VelkCursorwake", ini);
    EXPECT_STREQ(ini, "C:\\Velkora 1.0\\plugins\\VelkCursorwake.ini");
    DeriveIniPath("Z:/a.b/c.d/Velk.Cursorwake.dll", ini);
    EXPECT_STREQ(ini, "Z:/a.b/c.d/Velk.Cursorwake.ini");
    std::string longest(260, 'p');
    DeriveIniPath(longest.c_str(), ini);
    EXPECT_EQ(std::strlen(ini), 261u);   // bounded by the 262-byte field
}

TEST(PluginCoreTest, PluginInfoIsZeroPadded) {
    char info[PLUGIN_INFO_SIZE];
    std::memset(info, 'x', sizeof info);
    FillPluginInfo(info, "Cursorwake");
    EXPECT_STREQ(info, "Cursorwake");
    for (int i = 10; i < PLUGIN_INFO_SIZE; ++i)
        ASSERT_EQ(info[i], 0);
    std::string longer(100, 'n');
    FillPluginInfo(info, longer.c_str());
    EXPECT_EQ(std::strlen(info), 79u);
}

}  // namespace
