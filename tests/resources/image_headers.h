// The headers of the icon and bitmap resources: the icon group directory and the
// BITMAPINFOHEADER that starts every RT_ICON and RT_BITMAP resource.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// GRPICONDIRENTRY: one image of an icon group, naming its RT_ICON resource.
struct GroupIconEntry {
    std::uint8_t width = 0, height = 0, colourCount = 0, reserved = 0;
    std::uint16_t planes = 0, bitCount = 0;
    std::uint32_t bytesInRes = 0;
    std::uint16_t iconId = 0;
};

// GRPICONDIR: the icon group resource, one entry per image.
struct GroupIconDir {
    std::uint16_t reserved = 0, type = 0;
    std::vector<GroupIconEntry> entries;
    std::size_t trailingBytes = 0;

    static GroupIconDir Parse(std::span<const std::uint8_t> bytes);
};

// BITMAPINFOHEADER: the start of every DIB in the resource set.
struct BitmapInfoHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0, height = 0;
    std::uint16_t planes = 0, bitCount = 0;
    std::uint32_t compression = 0, sizeImage = 0;
    std::int32_t xPelsPerMeter = 0, yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0, clrImportant = 0;

    static BitmapInfoHeader Parse(std::span<const std::uint8_t> bytes);
};

// Bytes of one DIB row: rows are padded to whole DWORDs.
constexpr std::size_t DibStride(std::int32_t width, int bitCount) {
    return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
}

// True when the bytes start with the PNG signature (an icon image stored as PNG).
bool IsPng(std::span<const std::uint8_t> bytes);
