// The inventory of the resource set: which resources exist, under which language, and that
// the identifiers the program compiles against are the ones the resources use.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "res/resource.h"
#include "tests/resources/compiled_resources.h"

namespace {

ResKey Key(std::uint16_t type, std::uint16_t name, std::uint16_t language = kLangJapanese) {
    return {NameOrOrdinal::Ord(type), NameOrOrdinal::Ord(name), language};
}

TEST(ResourceSet, HoldsExactlyTheExpectedResourcesAndNothingElse) {
    std::vector<ResKey> expected = {
        Key(kRtDialog, 100),
        Key(kRtDialog, 102),                 // About box, main dialog
        Key(kRtMenu, 129),                   // tray menu
        Key(kRtString, 7),                   // block 7 holds string 101
        Key(kRtGroupIcon, 128),              // the application icon ...
        Key(kRtVersion, 1),                  //
        Key(kRtManifest, 1, kLangEnglishUs), // the one resource that is not Japanese
    };
    for (std::uint16_t image = 1; image <= 9; ++image) {
        expected.push_back(Key(kRtIcon, image)); // ... and its nine images
    }
    for (std::uint16_t bitmap = 131; bitmap <= 144; ++bitmap) {
        expected.push_back(Key(kRtBitmap, bitmap));
    }

    std::vector<ResKey> actual;
    for (const auto& entry : CompiledResources().Entries()) {
        actual.push_back(entry.key);
    }
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    // No accelerators, toolbar, dialog init data or title string either: the sets must match.
    EXPECT_EQ(actual, expected);
}

TEST(ResourceSet, HeaderIdentifiersHaveTheirFixedNumbers) {
    struct Id {
        const char* name;
        long value;
        long expected;
    };
    const Id ids[] = {
        {"IDD_ABOUTBOX", IDD_ABOUTBOX, 100},
        {"IDS_ABOUTBOX", IDS_ABOUTBOX, 101},
        {"IDD_WISPFOLD_DIALOG", IDD_WISPFOLD_DIALOG, 102},
        {"IDR_MAINFRAME", IDR_MAINFRAME, 128},
        {"IDR_TRAYMENU", IDR_TRAYMENU, 129},
        {"IDB_HELP_DOWN", IDB_HELP_DOWN, 131},
        {"IDB_NO_UP", IDB_NO_UP, 132},
        {"IDB_NO_DOWN", IDB_NO_DOWN, 133},
        {"IDB_YES_UP", IDB_YES_UP, 134},
        {"IDB_YES_DOWN", IDB_YES_DOWN, 135},
        {"IDB_HELP_UP", IDB_HELP_UP, 136},
        {"IDB_SITES_DOWN", IDB_SITES_DOWN, 137},
        {"IDB_SPARE_1", IDB_SPARE_1, 138},
        {"IDB_SPARE_2", IDB_SPARE_2, 139},
        {"IDB_SITES_UP", IDB_SITES_UP, 140},
        {"IDB_NEWS_DOWN", IDB_NEWS_DOWN, 141},
        {"IDB_NEWS_UP", IDB_NEWS_UP, 142},
        {"IDB_OPEN_UP", IDB_OPEN_UP, 143},
        {"IDB_OPEN_DOWN", IDB_OPEN_DOWN, 144},
        {"IDM_ABOUTBOX", IDM_ABOUTBOX, 0x10},
        {"ID_TRAY_OPEN", ID_TRAY_OPEN, 32771},
        {"ID_TRAY_EXIT", ID_TRAY_EXIT, 32772},
        {"IDC_BTN_YES", IDC_BTN_YES, 1000},
        {"IDC_BTN_NO", IDC_BTN_NO, 1001},
        {"IDC_BTN_HELP", IDC_BTN_HELP, 1002},
        {"IDC_BTN_OPEN", IDC_BTN_OPEN, 1003},
        {"IDC_BTN_SITES", IDC_BTN_SITES, 1004},
        {"IDC_BTN_NEWS", IDC_BTN_NEWS, 1005},
        {"IDC_BROWSER_HOST", IDC_BROWSER_HOST, 1006},
        {"IDC_CHK_AUTOSTART", IDC_CHK_AUTOSTART, 1007},
        {"IDC_CHK_KEEPFAVORITES", IDC_CHK_KEEPFAVORITES, 1008},
        {"IDC_STATIC", IDC_STATIC, -1},
    };
    for (const auto& id : ids) {
        EXPECT_EQ(id.value, id.expected) << id.name;
    }
}

} // namespace
