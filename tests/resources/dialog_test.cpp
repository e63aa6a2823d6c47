// The two dialog templates, field by field: header, font and every control record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/resources/compiled_resources.h"
#include "tests/resources/dialog_template.h"

namespace {

constexpr std::uint16_t kButton = 0x0080;
constexpr std::uint16_t kStatic = 0x0082;
constexpr std::uint32_t kIdStatic = 0xFFFFFFFF;
constexpr std::uint32_t kIdOk = 1;
constexpr std::uint32_t kIdCancel = 2;
constexpr std::uint32_t kWsExTransparent = 0x20;

// A control record as the dialog must hold it.
struct ExpectedControl {
    std::uint32_t id;
    std::uint16_t windowClass;
    NameOrOrdinal text;
    std::uint32_t style;
    std::uint32_t exStyle;
    std::int16_t x, y, cx, cy;
};

// A dialog template as it must be: frame, font and controls in template order.
struct ExpectedDialog {
    const char* name;
    std::uint16_t id;
    std::u16string caption;
    std::uint32_t style;
    std::uint32_t exStyle;
    std::int16_t cx, cy;
    std::uint8_t charset;
    std::vector<ExpectedControl> controls;
};

void PrintTo(const ExpectedDialog& dialog, std::ostream* out) {
    *out << dialog.name;
}

NameOrOrdinal T(std::u16string text) {
    return NameOrOrdinal::Text(std::move(text));
}

const ExpectedDialog kAboutBox{
    "IDD_ABOUTBOX",
    100,
    u"Wispfoldのﾊﾞｰｼﾞｮﾝ情報",
    0x80C800C0,
    0,
    235,
    55,
    0, // ANSI_CHARSET
    {
        {kIdStatic, kStatic, NameOrOrdinal::Ord(128), 0x50000003, 0, 11, 17, 18, 21},
        {kIdStatic, kStatic, T(u"Wispfold Version 1.03"), 0x50020080, 0, 40, 10, 119, 8},
        {kIdStatic, kStatic, T(u"Copyright (C) 2026 Quenmarsh"), 0x50020000, 0, 40, 25, 119, 8},
        {kIdOk, kButton, T(u"OK"), 0x50030001, 0, 178, 7, 50, 14},
    },
};

const ExpectedDialog kMainDialog{
    "IDD_WISPFOLD_DIALOG",
    102,
    u"Wispfold Ver1.06",
    0x90C800C0,
    0x00040000, // WS_EX_APPWINDOW
    279,
    156,
    1, // DEFAULT_CHARSET
    {
        {kIdOk, kButton, T(u"はい"), 0x40010001, kWsExTransparent, 213, 114, 50, 14},
        {kIdCancel, kButton, T(u"いいえ"), 0x40010000, kWsExTransparent, 213, 119, 50, 14},
        {kIdStatic, kStatic,
         T(u"ブラウザーを起動していない状態の時にクッキーファイルを削除しますか？"), 0x50020000, 0,
         7, 9, 218, 12},
        {1000, kButton, T(u"はい"), 0x5000000B, 0, 116, 22, 54, 15},
        {1001, kButton, T(u"いいえ"), 0x5000000B, 0, 200, 22, 54, 15},
        {1002, kButton, T(u"ヘルプ"), 0x4001000B, 0, 7, 113, 89, 18},
        {1003, kButton, T(u"開く"), 0x4000000B, 0, 134, 111, 89, 18},
        {1004, kButton, T(u"お勧めサイト"), 0x4000000B, 0, 7, 115, 89, 18},
        {1005, kButton, T(u"最新情報"), 0x4001000B, 0, 134, 115, 89, 18},
        {1006, kButton, T(u"スタティック"), 0x50000007, 0, 7, 69, 264, 83},
        {1007, kButton, T(u"ソフト起動時にソフトを開始する。"), 0x50010003, 0, 7, 41, 111, 10},
        {1008, kButton, T(u"お気に入りに登録したサイトのクッキーは残す。"), 0x50010003, 0, 7, 53,
         150, 10},
    },
};

// Runs every check on both dialog templates.
class DialogTemplateTest : public testing::TestWithParam<ExpectedDialog> {
protected:
    DialogTemplate Load() const {
        return DialogTemplate::Parse(ResourceData(kRtDialog, GetParam().id));
    }
};

TEST_P(DialogTemplateTest, HeaderIsAnExtendedTemplateWithTheFixedFrame) {
    const ExpectedDialog& want = GetParam();
    const DialogTemplate dialog = Load();
    EXPECT_EQ(dialog.version, 1);
    EXPECT_EQ(dialog.signature, 0xFFFF);
    EXPECT_EQ(dialog.helpId, 0u);
    EXPECT_EQ(dialog.exStyle, want.exStyle);
    EXPECT_EQ(dialog.style, want.style);
    EXPECT_EQ(dialog.controlCount, want.controls.size());
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, want.cx);
    EXPECT_EQ(dialog.cy, want.cy);
    EXPECT_EQ(dialog.menu, NameOrOrdinal::None());
    EXPECT_EQ(dialog.windowClass, NameOrOrdinal::None());
    EXPECT_EQ(dialog.caption, want.caption) << Describe(dialog.caption);
    EXPECT_EQ(dialog.trailingBytes, 0u);
}

TEST_P(DialogTemplateTest, FontIsNinePointProportionalGothic) {
    const DialogTemplate dialog = Load();
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.weight, 0);
    EXPECT_EQ(dialog.italic, 0);
    EXPECT_EQ(dialog.charset, GetParam().charset);
    // Full-width letters: "ＭＳ Ｐゴシック".
    EXPECT_EQ(dialog.face, u"ＭＳ Ｐゴシック") << Describe(dialog.face);
}

TEST_P(DialogTemplateTest, ControlsMatchInOrder) {
    const DialogTemplate dialog = Load();
    const auto& want = GetParam().controls;
    ASSERT_EQ(dialog.controls.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        const DialogControl& got = dialog.controls[i];
        EXPECT_EQ(got.helpId, 0u);
        EXPECT_EQ(got.exStyle, want[i].exStyle);
        EXPECT_EQ(got.style, want[i].style) << std::hex << got.style;
        EXPECT_EQ(got.x, want[i].x);
        EXPECT_EQ(got.y, want[i].y);
        EXPECT_EQ(got.cx, want[i].cx);
        EXPECT_EQ(got.cy, want[i].cy);
        EXPECT_EQ(got.id, want[i].id);
        // Predefined classes are stored as numbers, never as "Button"/"Static".
        EXPECT_EQ(got.windowClass, NameOrOrdinal::Ord(want[i].windowClass));
        EXPECT_EQ(got.text, want[i].text);
        EXPECT_EQ(got.extraCount, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, DialogTemplateTest, testing::Values(kAboutBox, kMainDialog),
                         [](const testing::TestParamInfo<ExpectedDialog>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
