#include "tests/resources/menu_template.h"

#include "tests/resources/byte_reader.h"

namespace {
std::vector<MenuItem> ReadLevel(ByteReader& in) {
    std::vector<MenuItem> level;
    for (;;) {
        MenuItem item;
        item.flags = in.U16();
        if ((item.flags & kMfPopup) == 0) {
            item.id = in.U16();
        }
        item.text = in.String();
        if ((item.flags & kMfPopup) != 0) {
            item.children = ReadLevel(in);
        }
        const bool last = (item.flags & kMfEnd) != 0;
        level.push_back(std::move(item));
        if (last) {
            return level;
        }
    }
}
} // namespace

MenuTemplate MenuTemplate::Parse(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    MenuTemplate menu;
    menu.version = in.U16();
    menu.headerSize = in.U16();
    in.Bytes(menu.headerSize);
    menu.items = ReadLevel(in);
    menu.trailingBytes = in.Remaining();
    return menu;
}
