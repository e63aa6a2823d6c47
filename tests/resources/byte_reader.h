// Reads little-endian fields of the Windows resource formats from a byte buffer, in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "tests/resources/name_or_ordinal.h"

// A cursor over one resource's bytes. Every read is bounds-checked and throws
// std::out_of_range past the end, so a malformed resource fails its test instead of reading
// beyond the buffer.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::span<const std::uint8_t> Bytes(std::size_t count);

    // A zero-terminated UTF-16 string (the terminator is consumed, not returned).
    std::u16string String();
    // The formats' "name or ordinal" field: 0x0000 (none), 0xFFFF + number, or a string.
    NameOrOrdinal NameOrOrd();

    // Skips to the next multiple of four bytes from the start of the buffer.
    void AlignToDword();
    void Seek(std::size_t offset);

    std::size_t Offset() const { return m_offset; }
    std::size_t Remaining() const { return m_bytes.size() - m_offset; }
    bool AtEnd() const { return m_offset == m_bytes.size(); }

private:
    void Need(std::size_t count) const;

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
};
