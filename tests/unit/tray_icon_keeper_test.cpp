// The icon keeper against a shell that refuses adds: the icon is tried again on a two-second
// timer until it is taken, one timer at a time, and a new taskbar gets it again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/tray_icon_keeper.h"

namespace {

// A shell that refuses the first adds, and may already hold the icon (a busy shell that took an
// add but reported a time-out). Records every call in order.
class CFakeTrayShell : public CTrayIconPort {
public:
    int m_nRefusals = 0;
    bool m_bHoldsIcon = false;
    std::vector<std::string> m_calls;
    bool m_bTimerRunning = false;

    bool AddIcon() override {
        m_calls.push_back("add");
        if (m_bHoldsIcon || m_nRefusals > 0) {
            if (m_nRefusals > 0)
                --m_nRefusals;
            return false;
        }
        m_bHoldsIcon = true;
        return true;
    }
    bool ModifyIcon() override {
        m_calls.push_back("modify");
        return m_bHoldsIcon;
    }
    void StartRetryTimer(unsigned nElapseMs) override {
        EXPECT_FALSE(m_bTimerRunning) << "a second retry timer";
        EXPECT_EQ(nElapseMs, 2000u);
        m_calls.push_back("timer");
        m_bTimerRunning = true;
    }
    void StopRetryTimer() override {
        EXPECT_TRUE(m_bTimerRunning);
        m_calls.push_back("kill");
        m_bTimerRunning = false;
    }
};

using Calls = std::vector<std::string>;

TEST(TrayIconKeeper, ARefusedAddIsTriedEveryTickUntilTakenThenNeverAgain) {
    CFakeTrayShell shell;
    shell.m_nRefusals = 3;
    CTrayIconKeeper keeper(shell);
    keeper.Add();
    EXPECT_EQ(shell.m_calls, (Calls{"add", "modify", "timer"}));

    shell.m_calls.clear();
    keeper.OnRetryTimer(); // second refusal: the shell does not have it either
    keeper.OnRetryTimer(); // third
    EXPECT_TRUE(shell.m_bTimerRunning);
    keeper.OnRetryTimer(); // taken
    EXPECT_EQ(shell.m_calls, (Calls{"add", "modify", "add", "modify", "add", "kill"}));

    // A tick queued before the timer died changes nothing.
    shell.m_calls.clear();
    keeper.OnRetryTimer();
    EXPECT_TRUE(shell.m_calls.empty());
}

TEST(TrayIconKeeper, AnIconTheShellHoldsDespiteTheRefusalCountsAsTaken) {
    CFakeTrayShell shell;
    shell.m_nRefusals = 1;
    CTrayIconKeeper keeper(shell);
    keeper.Add();
    shell.m_bHoldsIcon = true; // the late add went through after all
    keeper.OnRetryTimer();
    EXPECT_FALSE(shell.m_bTimerRunning);

    // A taskbar announced as new that still holds the icon: taken at once, no timer.
    shell.m_calls.clear();
    keeper.Add();
    EXPECT_EQ(shell.m_calls, (Calls{"add", "modify"}));
}

TEST(TrayIconKeeper, ANewTaskbarGetsTheIconAgainWithOneTimerAtMost) {
    CFakeTrayShell shell;
    CTrayIconKeeper keeper(shell);
    keeper.Add(); // taken the first time: no timer
    EXPECT_EQ(shell.m_calls, (Calls{"add"}));

    // The new taskbar knows no icons but is still too busy for the first add.
    shell.m_bHoldsIcon = false;
    shell.m_nRefusals = 2;
    shell.m_calls.clear();
    keeper.Add();
    keeper.Add(); // another "TaskbarCreated" while retrying: the same timer goes on
    EXPECT_EQ(shell.m_calls, (Calls{"add", "modify", "timer", "add", "modify"}));
    keeper.OnRetryTimer();
    EXPECT_FALSE(shell.m_bTimerRunning);

    // A taskbar that comes while retrying takes the icon and ends the retries.
    shell.m_bHoldsIcon = false;
    shell.m_nRefusals = 1;
    keeper.Add();
    ASSERT_TRUE(shell.m_bTimerRunning);
    keeper.Add();
    EXPECT_FALSE(shell.m_bTimerRunning);
}

} // namespace
