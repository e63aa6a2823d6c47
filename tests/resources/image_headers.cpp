#include "tests/resources/image_headers.h"

#include <algorithm>
#include <array>

#include "tests/resources/byte_reader.h"

GroupIconDir GroupIconDir::Parse(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    GroupIconDir dir;
    dir.reserved = in.U16();
    dir.type = in.U16();
    const std::uint16_t count = in.U16();
    for (int i = 0; i < count; ++i) {
        GroupIconEntry e;
        e.width = in.U8();
        e.height = in.U8();
        e.colourCount = in.U8();
        e.reserved = in.U8();
        e.planes = in.U16();
        e.bitCount = in.U16();
        e.bytesInRes = in.U32();
        e.iconId = in.U16();
        dir.entries.push_back(e);
    }
    dir.trailingBytes = in.Remaining();
    return dir;
}

BitmapInfoHeader BitmapInfoHeader::Parse(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    BitmapInfoHeader h;
    h.size = in.U32();
    h.width = static_cast<std::int32_t>(in.U32());
    h.height = static_cast<std::int32_t>(in.U32());
    h.planes = in.U16();
    h.bitCount = in.U16();
    h.compression = in.U32();
    h.sizeImage = in.U32();
    h.xPelsPerMeter = static_cast<std::int32_t>(in.U32());
    h.yPelsPerMeter = static_cast<std::int32_t>(in.U32());
    h.clrUsed = in.U32();
    h.clrImportant = in.U32();
    return h;
}

bool IsPng(std::span<const std::uint8_t> bytes) {
    static constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P',  'N',  'G',
                                                            0x0D, 0x0A, 0x1A, 0x0A};
    return bytes.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), bytes.begin());
}
