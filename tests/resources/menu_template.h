// A standard (not extended) menu template, decoded into its tree of items.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One item or popup of a menu template, with a popup's own items.
struct MenuItem {
    std::uint16_t flags = 0;
    std::uint16_t id = 0; // popups carry no identifier
    std::u16string text;
    std::vector<MenuItem> children;
};

// The menu header (MENUHEADER) and its top-level items.
struct MenuTemplate {
    std::uint16_t version = 0;
    std::uint16_t headerSize = 0;
    std::vector<MenuItem> items;
    std::size_t trailingBytes = 0;

    // Items follow the 4-byte header; MF_POPUP items are followed by their children, and
    // MF_END marks the last item of each level.
    static MenuTemplate Parse(std::span<const std::uint8_t> bytes);
};

inline constexpr std::uint16_t kMfPopup = 0x0010;
inline constexpr std::uint16_t kMfEnd = 0x0080;
