#include <gtest/gtest.h>

#include "sweep/cookie_sweeper.h"
#include "tests/unit/fake_sweep_port.h"

namespace {
const char kUnsupported[] = "このOSでは、ご使用いただけません。";

struct GateCase {
    const char* pszName;
    uint32_t dwPlatformId, dwMajor, dwMinor;
    SweepMode expected;
};

void PrintTo(const GateCase& c, std::ostream* os) {
    *os << c.pszName;
}

class PlatformGate : public ::testing::TestWithParam<GateCase> {};

const GateCase kCases[] = {
    {"Windows2000", kPlatformWin32NT, 5, 0, SWEEP_FOLDER},
    {"WindowsXP", kPlatformWin32NT, 5, 1, SWEEP_FOLDER},
    {"WindowsVista", kPlatformWin32NT, 6, 0, SWEEP_FOLDER_AND_LOW},
    {"Windows2003", kPlatformWin32NT, 5, 2, SWEEP_NONE},
    {"NT53", kPlatformWin32NT, 5, 3, SWEEP_NONE},
    {"Windows7", kPlatformWin32NT, 6, 1, SWEEP_NONE},
    {"Windows8", kPlatformWin32NT, 6, 2, SWEEP_NONE},
    {"NT4", kPlatformWin32NT, 4, 0, SWEEP_NONE},
    {"Major7", kPlatformWin32NT, 7, 0, SWEEP_NONE},
    {"Windows10", kPlatformWin32NT, 10, 0, SWEEP_NONE},
    {"Windows98", kPlatformWin32Windows, 4, 10, SWEEP_NONE},
    {"Windows9xClaimingNT5", kPlatformWin32Windows, 5, 1, SWEEP_NONE},
    {"Win32s", 0, 5, 1, SWEEP_NONE},
    {"CE", 3, 5, 0, SWEEP_NONE},
};
} // namespace

TEST_P(PlatformGate, ClassifiesAndRefusesWithTheOneMessage) {
    const GateCase& c = GetParam();
    CFakeSweepPort port;
    port.m_version = {c.dwPlatformId, c.dwMajor, c.dwMinor};
    CCookieSweeper sweeper(port);
    sweeper.m_strCookieDir = "stale";

    const bool bPassed = sweeper.RunPlatformGate();

    EXPECT_EQ(sweeper.m_nSweepMode, c.expected);
    if (c.expected == SWEEP_NONE) {
        EXPECT_FALSE(bPassed);
        ASSERT_EQ(port.Questions().size(), 1u);
        EXPECT_EQ(port.Questions()[0].strText, kUnsupported);
        EXPECT_EQ(port.Questions()[0].nType, kMbOk);
        EXPECT_EQ(port.m_nCancels, 1);
        EXPECT_EQ(port.m_nCookieFolderCalls, 0) << "the folder is not asked for when refused";
        EXPECT_TRUE(sweeper.m_strCookieDir.IsEmpty());
    } else {
        EXPECT_TRUE(bPassed);
        EXPECT_TRUE(port.Questions().empty());
        EXPECT_EQ(port.m_nCancels, 0);
        EXPECT_EQ(sweeper.m_strCookieDir, "C:\\Cookies\\");
    }
}

INSTANTIATE_TEST_SUITE_P(VersionTable, PlatformGate, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

TEST(PlatformGateFolder, AppendsExactlyOneBackslashEvenToADriveRoot) {
    CFakeSweepPort port;
    port.m_strCookieFolder = "D:\\";
    CCookieSweeper sweeper(port);
    ASSERT_TRUE(sweeper.RunPlatformGate());
    EXPECT_EQ(sweeper.m_strCookieDir, "D:\\\\");
}

TEST(PlatformGateFolder, KeepsDoubleByteFolderNamesWhole) {
    CFakeSweepPort port;
    port.m_strCookieFolder = "C:\\ユーザー\\表";
    CCookieSweeper sweeper(port);
    ASSERT_TRUE(sweeper.RunPlatformGate());
    EXPECT_EQ(sweeper.m_strCookieDir, "C:\\ユーザー\\表\\");
}

TEST(PlatformGateFolder, AnUnresolvedFolderIsRefusedLikeAnUnsupportedPlatform) {
    CFakeSweepPort port;
    port.m_version = {kPlatformWin32NT, 6, 0};
    port.m_strCookieFolder = "";
    CCookieSweeper sweeper(port);

    EXPECT_FALSE(sweeper.RunPlatformGate());
    ASSERT_EQ(port.Questions().size(), 1u);
    EXPECT_EQ(port.Questions()[0].strText, kUnsupported);
    EXPECT_EQ(port.m_nCancels, 1);
    EXPECT_TRUE(sweeper.m_strCookieDir.IsEmpty());
}
