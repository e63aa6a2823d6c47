// The start-at-launch rule against a fake profile and a fake check box whose reaction to a state
// it is handed can be chosen (a two-state box that keeps what it is given, or one that clamps).
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/start_at_launch.h"

namespace {

class FakeSettingsPort : public ISettingsPort {
public:
    // How the box turns a BM_SETCHECK state into what BM_GETCHECK reports.
    enum class Box { KeepsState, ClampsToChecked };

    explicit FakeSettingsPort(Box box = Box::KeepsState) : m_box(box) {}

    unsigned ReadProfileInt(const char* pszSection, const char* pszEntry, int nDefault) override {
        m_reads.push_back({pszSection, pszEntry});
        m_nReadDefault = nDefault;
        const auto it = m_profile.find({pszSection, pszEntry});
        return it == m_profile.end() ? static_cast<unsigned>(nDefault) : it->second;
    }
    void WriteProfileInt(const char* pszSection, const char* pszEntry, int nValue) override {
        m_writes.push_back({{pszSection, pszEntry}, nValue});
        m_profile[{pszSection, pszEntry}] = static_cast<unsigned>(nValue);
    }
    void SetCheck(unsigned nState) override {
        m_setChecks.push_back(nState);
        if (m_box == Box::ClampsToChecked)
            m_nBoxState = nState != 0 ? 1 : 0;
        else
            m_nBoxState = static_cast<int>(nState);
    }
    int GetCheck() override { return m_nBoxState; }
    void StartWatching() override { ++m_nStarts; }

    using Key = std::pair<std::string, std::string>;
    Box m_box;
    std::map<Key, unsigned> m_profile;
    std::vector<Key> m_reads;
    std::optional<int> m_nReadDefault;
    std::vector<std::pair<Key, int>> m_writes;
    std::vector<unsigned> m_setChecks;
    int m_nBoxState = 0;
    int m_nStarts = 0;
};

const FakeSettingsPort::Key kPlace{"AppSeting", "StartAppDo"};

TEST(StartAtLaunchApply, MissingValueReadsAsZeroLeavesTheBoxClearAndStartsNothing) {
    FakeSettingsPort port;
    port.m_nBoxState = 1; // whatever the template had: the stored value decides
    EXPECT_FALSE(CStartAtLaunch(port).Apply());
    ASSERT_EQ(port.m_reads.size(), 1u);
    EXPECT_EQ(port.m_reads[0], kPlace);
    EXPECT_EQ(port.m_nReadDefault, 0);
    EXPECT_EQ(port.m_setChecks, std::vector<unsigned>{0});
    EXPECT_EQ(port.m_nBoxState, 0);
    EXPECT_EQ(port.m_nStarts, 0);
    EXPECT_TRUE(port.m_writes.empty()) << "reading writes nothing";
}

TEST(StartAtLaunchApply, StoredOneChecksTheBoxAndStartsTheWatchOnce) {
    FakeSettingsPort port;
    port.m_profile[kPlace] = 1;
    EXPECT_TRUE(CStartAtLaunch(port).Apply());
    EXPECT_EQ(port.m_setChecks, std::vector<unsigned>{1});
    EXPECT_EQ(port.m_nStarts, 1);
}

TEST(StartAtLaunchApply, OtherValuesGoToTheBoxUnchangedAndOnlyACheckedBoxStarts) {
    struct Case {
        unsigned nStored;
        FakeSettingsPort::Box box;
        bool bStarts;
    };
    const Case cases[] = {
        // A box that keeps 2 reports indeterminate, not checked.
        {2, FakeSettingsPort::Box::KeepsState, false},
        // A box that clamps reports checked.
        {2, FakeSettingsPort::Box::ClampsToChecked, true},
        {7, FakeSettingsPort::Box::KeepsState, false},
        {0xFFFFFFFFu, FakeSettingsPort::Box::ClampsToChecked, true},
        {0, FakeSettingsPort::Box::ClampsToChecked, false},
    };
    for (const Case& c : cases) {
        FakeSettingsPort port(c.box);
        port.m_profile[kPlace] = c.nStored;
        EXPECT_EQ(CStartAtLaunch(port).Apply(), c.bStarts) << "stored " << c.nStored;
        EXPECT_EQ(port.m_setChecks, std::vector<unsigned>{c.nStored}) << "stored " << c.nStored;
        EXPECT_EQ(port.m_nStarts, c.bStarts ? 1 : 0) << "stored " << c.nStored;
    }
}

TEST(StartAtLaunchApply, ValuesOfOtherSectionsOrEntriesAreNotTheSetting) {
    FakeSettingsPort port;
    port.m_profile[{"AppSetting", "StartAppDo"}] = 1;
    port.m_profile[{"AppSeting", "StartApp"}] = 1;
    EXPECT_FALSE(CStartAtLaunch(port).Apply());
    EXPECT_EQ(port.m_nStarts, 0);
}

TEST(StartAtLaunchClick, WritesExactlyWhatTheBoxReportsAtEachClick) {
    FakeSettingsPort port;
    CStartAtLaunch setting(port);
    for (int nState : {1, 0, 2, 1}) {
        port.m_nBoxState = nState;
        setting.OnBoxClicked();
    }
    ASSERT_EQ(port.m_writes.size(), 4u);
    const int expected[] = {1, 0, 2, 1};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(port.m_writes[i].first, kPlace);
        EXPECT_EQ(port.m_writes[i].second, expected[i]) << "click " << i;
    }
    EXPECT_EQ(port.m_profile[kPlace], 1u);
    EXPECT_EQ(port.m_nStarts, 0) << "a click never starts the watch";
    EXPECT_TRUE(port.m_setChecks.empty()) << "a click leaves the box as the user set it";
}

TEST(StartAtLaunchClick, AClickedStateIsWhatTheNextLaunchApplies) {
    FakeSettingsPort port;
    port.m_nBoxState = 1;
    CStartAtLaunch(port).OnBoxClicked();
    port.m_nBoxState = 0;
    EXPECT_TRUE(CStartAtLaunch(port).Apply());
    EXPECT_EQ(port.m_nStarts, 1);
}

} // namespace
