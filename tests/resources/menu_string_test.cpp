// The tray menu template and the string table with the About entry's text.
#include <gtest/gtest.h>

#include "tests/resources/byte_reader.h"
#include "tests/resources/compiled_resources.h"
#include "tests/resources/menu_template.h"

namespace {

TEST(TrayMenu, IsOneStandardPopupWithOpenAndExit) {
    const ResEntry* entry = FindResource(kRtMenu, 129);
    ASSERT_NE(entry, nullptr);
    const MenuTemplate menu = MenuTemplate::Parse(entry->data);
    // Version 0 with an empty header is the standard form, not MENUEX.
    EXPECT_EQ(menu.version, 0);
    EXPECT_EQ(menu.headerSize, 0);
    EXPECT_EQ(menu.trailingBytes, 0u);

    ASSERT_EQ(menu.items.size(), 1u);
    const MenuItem& popup = menu.items[0];
    EXPECT_EQ(popup.flags, kMfPopup | kMfEnd);
    EXPECT_EQ(popup.text, u"LMENEW");

    // No separator, no check mark, nothing greyed or disabled: the only flag is MF_END.
    struct Item {
        std::uint16_t flags, id;
        std::u16string text;
    };
    const Item want[] = {{0, 32771, u"開く"}, {kMfEnd, 32772, u"終了"}};
    ASSERT_EQ(popup.children.size(), std::size(want));
    for (std::size_t i = 0; i < std::size(want); ++i) {
        SCOPED_TRACE("item #" + std::to_string(i + 1));
        EXPECT_EQ(popup.children[i].flags, want[i].flags);
        EXPECT_EQ(popup.children[i].id, want[i].id);
        EXPECT_EQ(popup.children[i].text, want[i].text) << Describe(popup.children[i].text);
        EXPECT_TRUE(popup.children[i].children.empty());
    }
}

TEST(StringTable, Block7HoldsOnlyTheAboutEntryAtIndex5) {
    // String n lives in block n / 16 + 1 at index n % 16: 101 is block 7, index 5.
    const ResEntry* entry = FindResource(kRtString, 7);
    ASSERT_NE(entry, nullptr);
    ByteReader in(entry->data);
    for (int index = 0; index < 16; ++index) {
        SCOPED_TRACE("index " + std::to_string(index));
        const std::uint16_t length = in.U16();
        std::u16string text;
        for (int i = 0; i < length; ++i) {
            text += static_cast<char16_t>(in.U16());
        }
        if (index == 5) {
            // Half-width katakana, and three full stops at the end.
            EXPECT_EQ(text, u"Wispfold のﾊﾞｰｼﾞｮﾝ情報(&A)...") << Describe(text);
        } else {
            EXPECT_EQ(length, 0);
        }
    }
    EXPECT_TRUE(in.AtEnd());
}

} // namespace
