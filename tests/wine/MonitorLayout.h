// Suites that need other monitors than the session's usual two run only in a session that has
// them, named by CURSORWAKE_MONITORS: "left" (tests/wine/with-monitors-left), "3"
// (CURSORWAKE_MONITORS=3 scripts/wine-session). Elsewhere they are skipped.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline constexpr char MONITOR_2_LEFT[] = "left";
inline constexpr char THREE_MONITORS[] = "3";

template <typename Fixture, const char *Layout>
class OnMonitors : public Fixture {
protected:
    void SetUp() override {
        const char *layout = std::getenv("CURSORWAKE_MONITORS");
        if (!layout || std::string(layout) != Layout)
            GTEST_SKIP() << "needs the monitors of CURSORWAKE_MONITORS=" << Layout;
        Fixture::SetUp();
    }
};
