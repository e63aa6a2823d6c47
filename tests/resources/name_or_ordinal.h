// The resource formats' "name or ordinal" value: a resource type or name, a dialog's menu or
// class, a control's class or text.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>

// Either a number (stored as 0xFFFF + number) or a UTF-16 string; an empty string stands for
// the field being absent (stored as a single 0x0000).
struct NameOrOrdinal {
    bool isOrdinal = false;
    std::uint16_t ordinal = 0;
    std::u16string text;

    static NameOrOrdinal Ord(std::uint16_t number) { return {true, number, {}}; }
    static NameOrOrdinal Text(std::u16string value) { return {false, 0, std::move(value)}; }
    static NameOrOrdinal None() { return {}; }

    friend bool operator==(const NameOrOrdinal&, const NameOrOrdinal&) = default;
    friend auto operator<=>(const NameOrOrdinal&, const NameOrOrdinal&) = default;
};

// Readable test failures: ordinals as #n, texts as \uXXXX escapes beyond ASCII.
std::ostream& operator<<(std::ostream& out, const NameOrOrdinal& value);
std::string Describe(const std::u16string& text);
