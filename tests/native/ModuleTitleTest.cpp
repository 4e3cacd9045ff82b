// The file-name rules of the module title and the settings file, and the centring rule of the
// dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/FileName.h"
#include "base/Text.h"
#include "ui/Placement.h"

namespace {

std::string BaseName(const char *path) {
    char name[260];
    const size_t length = CopyFileStem(path, name, sizeof name);
    EXPECT_EQ(length, std::strlen(name));
    return name;
}

TEST(ModuleTitle, FolderAndExtensionAreRemoved) {
    EXPECT_EQ(BaseName("C:\\Program Files\\Velkora\\plugins\\VelkCursorwake.dll"), "VelkCursorwake");
    EXPECT_EQ(BaseName("VelkCursorwake.dll"), "VelkCursorwake");
    EXPECT_EQ(BaseName("Z:/build/x/VelkCursorwake.dll"), "VelkCursorwake");
    EXPECT_EQ(BaseName("C:\\a.b\\Plugin"), "Plugin");
    EXPECT_EQ(BaseName("C:\\dir\\"), "");
    EXPECT_EQ(BaseName(""), "");
}

TEST(ModuleTitle, CutAtTheFirstDot) {
    EXPECT_EQ(BaseName("C:\\p\\Velk.Cursor.wake.dll"), "Velk");
    EXPECT_EQ(BaseName("C:\\p\\.hidden.dll"), "");
}

TEST(ModuleTitle, TrailByteThatLooksLikeABackslashIsPartOfTheName) {
    // "ソフト" in Shift-JIS: the trail byte of "ソ" is 0x5C.
    const char path[] = "C:\\p\\\x83\x5C\x83\x74\x83\x67.dll";
    EXPECT_EQ(BaseName(path), "\x83\x5C\x83\x74\x83\x67");
    EXPECT_EQ(BaseName("C:\\\x83\x5C\\Velk.dll"), "Velk");
}

TEST(ModuleTitle, ANameLongerThanTheBufferIsCutBetweenCharacters) {
    char name[4];
    EXPECT_EQ(CopyFileStem("C:\\p\\Velk.dll", name, sizeof name), 3u);
    EXPECT_STREQ(name, "Vel");
    EXPECT_EQ(CopyFileStem("C:\\p\\V\x83\x41X.dll", name, sizeof name), 3u);   // "VアX"
    EXPECT_STREQ(name, "V\x83\x41");
    EXPECT_EQ(CopyFileStem("C:\\p\\Ve\x83\x41.dll", name, sizeof name), 2u);
    EXPECT_STREQ(name, "Ve");
}

TEST(ModuleTitle, FirstCharacterMayTakeTwoBytes) {
    EXPECT_EQ(CharLengthAt("Velk"), 1u);
    EXPECT_EQ(CharLengthAt("\x83\x41X"), 2u);   // "アX"
    EXPECT_EQ(CharLengthAt("\x83"), 1u);         // a lone lead byte
    EXPECT_EQ(CharLengthAt(""), 0u);
}

TEST(Placement, CentredWithHalvesRoundedDown) {
    // A 229 x 180 box on a monitor of 1280 x 1024 to the left of the primary one.
    EXPECT_EQ(CentredStart(-1280, 0, 229), -754);
    EXPECT_EQ(CentredStart(0, 1024, 180), 422);
    EXPECT_EQ(CentredStart(1280, 2304, 229), 1678);
    EXPECT_EQ(CentredStart(0, 1025, 100), 462);
    EXPECT_EQ(CentredStart(0, 100, 101), 0);
    EXPECT_EQ(CentredStart(-2147483647 - 1, 2147483647, 0), -1);
}

}  // namespace
