// The icon group with its nine images, and the fourteen button bitmaps: formats, sizes and
// depths exactly as the loaders expect them, and art that plays its role.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/resources/compiled_resources.h"
#include "tests/resources/image_headers.h"

namespace {

// ---------------------------------------------------------------------------------------
// Icon

// One image of the application icon: edge length and depth.
struct IconImage {
    std::uint8_t size;
    std::uint16_t bitCount;
};
// 48/32/16 pixels at 4 bits, then 8, then 32, in this order.
constexpr IconImage kIconImages[] = {{48, 4}, {32, 4},  {16, 4},  {48, 8}, {32, 8},
                                     {16, 8}, {48, 32}, {32, 32}, {16, 32}};

std::size_t PaletteEntries(int bitCount) {
    return bitCount <= 8 ? std::size_t{1} << bitCount : 0;
}

TEST(Icon, GroupListsNineImagesInOrder) {
    const ResEntry* group = FindResource(kRtGroupIcon, 128);
    ASSERT_NE(group, nullptr);
    const GroupIconDir dir = GroupIconDir::Parse(group->data);
    EXPECT_EQ(dir.reserved, 0);
    EXPECT_EQ(dir.type, 1); // icon, not cursor
    EXPECT_EQ(dir.trailingBytes, 0u);
    ASSERT_EQ(dir.entries.size(), std::size(kIconImages));
    for (std::size_t i = 0; i < dir.entries.size(); ++i) {
        SCOPED_TRACE("image #" + std::to_string(i + 1));
        const GroupIconEntry& e = dir.entries[i];
        EXPECT_EQ(e.width, kIconImages[i].size);
        EXPECT_EQ(e.height, kIconImages[i].size);
        EXPECT_EQ(e.colourCount, kIconImages[i].bitCount == 4 ? 16 : 0);
        EXPECT_EQ(e.reserved, 0);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.bitCount, kIconImages[i].bitCount);
        // The entry names its image and knows that image's exact size.
        const ResEntry* image = FindResource(kRtIcon, e.iconId);
        ASSERT_NE(image, nullptr) << "RT_ICON " << e.iconId;
        EXPECT_EQ(e.bytesInRes, image->data.size());
    }
}

TEST(Icon, EveryImageIsADibWithItsMask) {
    const GroupIconDir dir = GroupIconDir::Parse(ResourceData(kRtGroupIcon, 128));
    ASSERT_EQ(dir.entries.size(), std::size(kIconImages));
    for (std::size_t i = 0; i < dir.entries.size(); ++i) {
        SCOPED_TRACE("image #" + std::to_string(i + 1));
        const ResEntry* image = FindResource(kRtIcon, dir.entries[i].iconId);
        ASSERT_NE(image, nullptr);
        ASSERT_FALSE(IsPng(image->data)) << "stored as PNG";
        const BitmapInfoHeader h = BitmapInfoHeader::Parse(image->data);
        const int size = kIconImages[i].size;
        const int bits = kIconImages[i].bitCount;
        EXPECT_EQ(h.size, 40u);
        EXPECT_EQ(h.width, size);
        EXPECT_EQ(h.height, 2 * size); // colour part plus AND mask
        EXPECT_EQ(h.planes, 1);
        EXPECT_EQ(h.bitCount, bits);
        EXPECT_EQ(h.compression, 0u);
        const std::size_t colour = DibStride(size, bits) * size;
        const std::size_t mask = DibStride(size, 1) * size;
        EXPECT_EQ(image->data.size(), 40 + PaletteEntries(bits) * 4 + colour + mask);
    }
}

TEST(Icon, FourBitImagesUseTheStandardSixteenColours) {
    // black, maroon, green, olive, navy, purple, teal, silver, grey, red, lime, yellow, blue,
    // fuchsia, aqua, white, as RGB
    constexpr std::uint32_t kStandard[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    const GroupIconDir dir = GroupIconDir::Parse(ResourceData(kRtGroupIcon, 128));
    for (const GroupIconEntry& e : dir.entries) {
        if (e.bitCount != 4) {
            continue;
        }
        SCOPED_TRACE(std::to_string(e.width) + " px");
        const auto& data = ResourceData(kRtIcon, e.iconId);
        ASSERT_GE(data.size(), 40u + 64u);
        for (int i = 0; i < 16; ++i) {
            const std::uint8_t* q = &data[40 + 4 * i]; // RGBQUAD: blue, green, red, reserved
            EXPECT_EQ(std::uint32_t(q[2]) << 16 | q[1] << 8 | q[0], kStandard[i]) << "entry " << i;
        }
    }
}

// ---------------------------------------------------------------------------------------
// Button bitmaps

// One button bitmap: its size and the role it plays for its button.
struct ButtonBitmap {
    std::uint16_t id;
    const char* name;
    std::int32_t width;
    enum Role { kNormal, kPressed, kSpare } role;
    std::uint16_t normalId; // for a pressed image: the normal image of the same button
};

// The numbering does not follow the buttons; this is what each button loads.
const ButtonBitmap kBitmaps[] = {
    {131, "IDB_HELP_DOWN", 189, ButtonBitmap::kPressed, 136},
    {132, "IDB_NO_UP", 134, ButtonBitmap::kNormal, 0},
    {133, "IDB_NO_DOWN", 134, ButtonBitmap::kPressed, 132},
    {134, "IDB_YES_UP", 134, ButtonBitmap::kNormal, 0},
    {135, "IDB_YES_DOWN", 134, ButtonBitmap::kPressed, 134},
    {136, "IDB_HELP_UP", 189, ButtonBitmap::kNormal, 0},
    {137, "IDB_SITES_DOWN", 189, ButtonBitmap::kPressed, 140},
    {138, "IDB_SPARE_1", 134, ButtonBitmap::kSpare, 0},
    {139, "IDB_SPARE_2", 134, ButtonBitmap::kSpare, 0},
    {140, "IDB_SITES_UP", 189, ButtonBitmap::kNormal, 0},
    {141, "IDB_NEWS_DOWN", 189, ButtonBitmap::kPressed, 142},
    {142, "IDB_NEWS_UP", 189, ButtonBitmap::kNormal, 0},
    {143, "IDB_OPEN_UP", 189, ButtonBitmap::kNormal, 0},
    {144, "IDB_OPEN_DOWN", 189, ButtonBitmap::kPressed, 143},
};
constexpr std::int32_t kButtonHeight = 39;

TEST(Bitmaps, AreEightBitUncompressedBottomUpWithFullPalette) {
    for (const ButtonBitmap& want : kBitmaps) {
        SCOPED_TRACE(want.name);
        const ResEntry* entry = FindResource(kRtBitmap, want.id);
        ASSERT_NE(entry, nullptr);
        const BitmapInfoHeader h = BitmapInfoHeader::Parse(entry->data);
        EXPECT_EQ(h.size, 40u);
        EXPECT_EQ(h.width, want.width);
        EXPECT_EQ(h.height, kButtonHeight); // positive: bottom-up
        EXPECT_EQ(h.planes, 1);
        EXPECT_EQ(h.bitCount, 8);
        EXPECT_EQ(h.compression, 0u); // BI_RGB
        EXPECT_TRUE(h.clrUsed == 0 || h.clrUsed == 256) << h.clrUsed;
        // header, 256 colours, rows padded to DWORDs, nothing more
        EXPECT_EQ(entry->data.size(), 40 + 256 * 4 + DibStride(want.width, 8) * kButtonHeight);
    }
}

// A decoded bitmap as brightness values, top row first.
struct Brightness {
    int width = 0, height = 0;
    std::vector<double> values;
    double At(int x, int y) const { return values[static_cast<std::size_t>(y * width + x)]; }
};

Brightness Decode(std::uint16_t id) {
    const auto& data = ResourceData(kRtBitmap, id);
    const BitmapInfoHeader h = BitmapInfoHeader::Parse(data);
    Brightness out{h.width, h.height, {}};
    const std::size_t stride = DibStride(h.width, 8);
    for (int y = 0; y < h.height; ++y) {
        const std::size_t row = 40 + 1024 + stride * static_cast<std::size_t>(h.height - 1 - y);
        for (int x = 0; x < h.width; ++x) {
            const std::uint8_t* q = &data[40 + 4 * data.at(row + static_cast<std::size_t>(x))];
            out.values.push_back(0.299 * q[2] + 0.587 * q[1] + 0.114 * q[0]);
        }
    }
    return out;
}

double Mean(const Brightness& image) {
    double sum = 0;
    for (double v : image.values) {
        sum += v;
    }
    return sum / static_cast<double>(image.values.size());
}

// The label's dark glyph pixels, away from the rim: how many, and where their centre lies.
struct Ink {
    int pixels = 0;
    double centreX = 0, centreY = 0;
};
Ink LabelInk(const Brightness& image) {
    Ink ink;
    for (int y = 4; y < image.height - 4; ++y) {
        for (int x = 6; x < image.width - 6; ++x) {
            if (image.At(x, y) < 60) {
                ++ink.pixels;
                ink.centreX += x;
                ink.centreY += y;
            }
        }
    }
    if (ink.pixels > 0) {
        ink.centreX /= ink.pixels;
        ink.centreY /= ink.pixels;
    }
    return ink;
}

TEST(Bitmaps, LabelledFacesCarryALabelAndSpareFacesAreBlank) {
    for (const ButtonBitmap& want : kBitmaps) {
        SCOPED_TRACE(want.name);
        const Ink ink = LabelInk(Decode(want.id));
        if (want.role == ButtonBitmap::kSpare) {
            EXPECT_EQ(ink.pixels, 0);
        } else {
            EXPECT_GT(ink.pixels, 100); // even the shortest label, "はい", has more
        }
    }
}

TEST(Bitmaps, PressedImageIsDarkerWithItsLabelShiftedDownRight) {
    for (const ButtonBitmap& pressed : kBitmaps) {
        if (pressed.role != ButtonBitmap::kPressed) {
            continue;
        }
        SCOPED_TRACE(pressed.name);
        const Brightness down = Decode(pressed.id);
        const Brightness up = Decode(pressed.normalId);
        EXPECT_LT(Mean(down), Mean(up) - 20);
        const Ink downInk = LabelInk(down);
        const Ink upInk = LabelInk(up);
        EXPECT_NEAR(downInk.centreX - upInk.centreX, 1.5, 1.0);
        EXPECT_NEAR(downInk.centreY - upInk.centreY, 1.5, 1.0);
    }
}

} // namespace
