#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <string>

#include "engine/FullScreen.h"
#include "engine/HotZones.h"
#include "engine/MonitorOrder.h"
#include "settings/Settings.h"

namespace {

const Rect32 FULL_HD = {0, 0, 1920, 1080};

TEST(HotZoneTest, CornersOfAFullHdMonitorWithTenPixels) {
    // Top-left reaches 0..10 (eleven columns), top-right 1910..1920.
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 10, 10, 0, 0));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 10, 10, 10, 10));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 10, 10, 11, 10));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 10, 10, -1, 0));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_RT, FULL_HD, 10, 10, 1910, 0));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_RT, FULL_HD, 10, 10, 1909, 0));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_RB, FULL_HD, 10, 10, 1919, 1079));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LB, FULL_HD, 10, 10, 0, 1070));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LB, FULL_HD, 10, 10, 0, 1069));
}

TEST(HotZoneTest, EdgeStripsSpanTheWholeSide) {
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_T, FULL_HD, 10, 10, 960, 10));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_T, FULL_HD, 10, 10, 960, 11));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_R, FULL_HD, 10, 10, 1915, 540));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_B, FULL_HD, 10, 10, 960, 1075));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_L, FULL_HD, 10, 10, 3, 540));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_L, FULL_HD, 10, 10, 960, 540));
    // Only the switched-on zones count.
    EXPECT_FALSE(IsInMonitorZones(0xFF & ~MOVE_ZONE_L & ~MOVE_ZONE_LT & ~MOVE_ZONE_LB, FULL_HD, 10, 10, 3, 540));
}

TEST(HotZoneTest, ZeroWidthShrinksZonesToTheEdgeLine) {
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 0, 0, 0, 0));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 0, 0, 1, 0));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_L, FULL_HD, 0, 10, 0, 700));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_L, FULL_HD, 0, 10, 1, 700));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_B, FULL_HD, 10, 0, 5, 1080));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_B, FULL_HD, 10, 0, 5, 1079));
}

TEST(HotZoneTest, HugeSizesWrapInsteadOfOverflowing) {
    // L + INT_MAX and R - INT_MAX stay representable: the zones reach far off the screen.
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, INT_MAX, INT_MAX, 5000, 5000));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_RT, FULL_HD, INT_MAX, 10, -5000, 0));
    // A monitor far right: L + W wraps negative and the zone becomes empty.
    const Rect32 far = {INT_MAX - 100, 0, INT_MAX, 100};
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LT, far, 1000, 10, INT_MAX - 50, 5));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LT, far, 10, 10, INT_MAX - 95, 5));
    // R - INT_MIN wraps to a large negative left bound, L + INT_MIN to an empty zone.
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_R, FULL_HD, INT_MIN, INT_MIN, 960, 540));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LT | MOVE_ZONE_L, FULL_HD, INT_MIN, INT_MIN, 960, 540));
}

TEST(HotZoneTest, TwoMonitorsSideBySideShareTheirBorder) {
    const Rect32 left = {0, 0, 1280, 1024}, right = {1280, 0, 2304, 768};
    const uint32_t pri_right_strip = MOVE_ZONE_R, sec_left_strip = MOVE_ZONE_L << 8;
    EXPECT_TRUE(IsInAnyMonitorZone(pri_right_strip, left, true, right, 10, 10, 1280, 500));
    EXPECT_TRUE(IsInAnyMonitorZone(sec_left_strip, left, true, right, 10, 10, 1280, 500));
    EXPECT_TRUE(IsInAnyMonitorZone(sec_left_strip, left, true, right, 10, 10, 1290, 500));
    EXPECT_FALSE(IsInAnyMonitorZone(sec_left_strip, left, true, right, 10, 10, 1270, 500));
    // The secondary's bits count only when a second monitor was found.
    EXPECT_FALSE(IsInAnyMonitorZone(sec_left_strip, left, false, right, 10, 10, 1285, 500));
    // The dead space below the shorter monitor is outside its bottom zones.
    EXPECT_FALSE(IsInAnyMonitorZone(MOVE_ZONE_B << 8, left, true, right, 10, 10, 1500, 1000));
    EXPECT_TRUE(IsInAnyMonitorZone(MOVE_ZONE_B << 8, left, true, right, 10, 10, 1500, 760));
}

// Each monitor as the system lists it, upper case for the one flagged primary; a list of four.
std::string MonitorOrder(const std::string &listed) {
    char entries[4];
    size_t count = 0;
    for (char m : listed)
        AddInMonitorOrder(entries, count, m, std::isupper(static_cast<unsigned char>(m)) != 0);
    return std::string(entries, count);
}

TEST(HotZoneTest, PrimaryMonitorIsMonitor1WhereverTheSystemListsIt) {
    EXPECT_EQ(MonitorOrder("abCd"), "Cabd");
    EXPECT_EQ(MonitorOrder("bA"), "Ab");
    EXPECT_EQ(MonitorOrder("Abc"), "Abc");
    EXPECT_EQ(MonitorOrder("ab"), "ab");   // no monitor flagged: the system's order
    EXPECT_EQ(MonitorOrder("abcdeF"), "Fabc");   // full: only the primary still gets in
}

TEST(HotZoneTest, SecondaryAtNegativeCoordinates) {
    const Rect32 primary = {0, 0, 1280, 1024}, secondary = {-1024, 0, 0, 768};
    const uint32_t sec_lt = MOVE_ZONE_LT << 8, sec_rb = MOVE_ZONE_RB << 8;
    EXPECT_TRUE(IsInAnyMonitorZone(sec_lt, primary, true, secondary, 10, 10, -1024, 0));
    EXPECT_TRUE(IsInAnyMonitorZone(sec_lt, primary, true, secondary, 10, 10, -1014, 10));
    EXPECT_FALSE(IsInAnyMonitorZone(sec_lt, primary, true, secondary, 10, 10, -1013, 10));
    EXPECT_TRUE(IsInAnyMonitorZone(sec_rb, primary, true, secondary, 10, 10, -5, 765));
    EXPECT_FALSE(IsInAnyMonitorZone(MOVE_ZONE_LT, primary, true, secondary, 10, 10, -1024, 0));
}

TEST(HotZoneTest, HostFrameZoneFollowsTheQuickOptions) {
    uint8_t quick[8] = {};
    EXPECT_TRUE(IsHostFrameZoneOn(MOVE_ZONE_HOST_FRAME, quick));
    quick[1] = 1;
    EXPECT_FALSE(IsHostFrameZoneOn(MOVE_ZONE_HOST_FRAME, quick));
    quick[0] = 1;
    EXPECT_TRUE(IsHostFrameZoneOn(MOVE_ZONE_HOST_FRAME, quick));
    EXPECT_FALSE(IsHostFrameZoneOn(0xFFFF, quick));
}

TEST(HotZoneTest, FullScreenHoldsGesturesBackAsItsSettingSays) {
    const int32_t accepts_notifications = 5;
    for (int32_t state : {NOTIFICATION_STATE_D3D_FULL_SCREEN, NOTIFICATION_STATE_PRESENTATION_MODE}) {
        EXPECT_FALSE(IsHeldBackByFullScreen(FULLSCREEN_REACT_ALWAYS, state, true));
        EXPECT_TRUE(IsHeldBackByFullScreen(FULLSCREEN_EXCLUSIVE, state, false));
        EXPECT_TRUE(IsHeldBackByFullScreen(FULLSCREEN_ANY_WINDOW, state, false));
        EXPECT_TRUE(IsHeldBackByFullScreen(7, state, false));   // an unknown value acts as 1
    }
    // "Busy" (a slide show, a borderless game, or only an overlay) counts at 1 with a window that
    // covers its monitor.
    for (int32_t state : {int32_t{NOTIFICATION_STATE_BUSY}, accepts_notifications}) {
        const bool busy = state == NOTIFICATION_STATE_BUSY;
        EXPECT_EQ(IsHeldBackByFullScreen(FULLSCREEN_EXCLUSIVE, state, true), busy);
        EXPECT_EQ(IsHeldBackByFullScreen(-1, state, true), busy);
        EXPECT_FALSE(IsHeldBackByFullScreen(FULLSCREEN_EXCLUSIVE, state, false));
        EXPECT_FALSE(IsHeldBackByFullScreen(FULLSCREEN_REACT_ALWAYS, state, true));
        EXPECT_TRUE(IsHeldBackByFullScreen(FULLSCREEN_ANY_WINDOW, state, true));
        EXPECT_FALSE(IsHeldBackByFullScreen(FULLSCREEN_ANY_WINDOW, state, false));
        EXPECT_EQ(NeedsForegroundCover(FULLSCREEN_EXCLUSIVE, state), busy);
        EXPECT_TRUE(NeedsForegroundCover(FULLSCREEN_ANY_WINDOW, state));
        EXPECT_FALSE(NeedsForegroundCover(FULLSCREEN_REACT_ALWAYS, state));
    }
    // Borderless full screen covers the monitor exactly; a frame hanging over the edges covers it too.
    EXPECT_TRUE(CoversRect(FULL_HD, FULL_HD));
    EXPECT_TRUE(CoversRect({-8, -8, 1928, 1088}, FULL_HD));
    EXPECT_FALSE(CoversRect({0, 0, 1920, 1040}, FULL_HD));   // the taskbar stays visible
    EXPECT_FALSE(CoversRect({1, 0, 1920, 1080}, FULL_HD));
}

}  // namespace
