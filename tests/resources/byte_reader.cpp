#include "tests/resources/byte_reader.h"

#include <stdexcept>

void ByteReader::Need(std::size_t count) const {
    if (count > Remaining()) {
        throw std::out_of_range("resource data ends " + std::to_string(count - Remaining()) +
                                " byte(s) early at offset " + std::to_string(m_offset));
    }
}

std::uint8_t ByteReader::U8() {
    Need(1);
    return m_bytes[m_offset++];
}

std::uint16_t ByteReader::U16() {
    Need(2);
    const auto value = static_cast<std::uint16_t>(m_bytes[m_offset] | m_bytes[m_offset + 1] << 8);
    m_offset += 2;
    return value;
}

std::uint32_t ByteReader::U32() {
    const std::uint32_t low = U16();
    const std::uint32_t high = U16();
    return low | high << 16;
}

std::span<const std::uint8_t> ByteReader::Bytes(std::size_t count) {
    Need(count);
    const auto bytes = m_bytes.subspan(m_offset, count);
    m_offset += count;
    return bytes;
}

std::u16string ByteReader::String() {
    std::u16string text;
    for (char16_t c = U16(); c != 0; c = U16()) {
        text += c;
    }
    return text;
}

NameOrOrdinal ByteReader::NameOrOrd() {
    Need(2);
    const std::uint16_t first =
        static_cast<std::uint16_t>(m_bytes[m_offset] | m_bytes[m_offset + 1] << 8);
    if (first == 0xFFFF) {
        U16();
        return NameOrOrdinal::Ord(U16());
    }
    return NameOrOrdinal::Text(String());
}

void ByteReader::AlignToDword() {
    const std::size_t aligned = (m_offset + 3) & ~std::size_t{3};
    // Padding at the very end of a resource may be missing; never step past the end.
    m_offset = aligned < m_bytes.size() ? aligned : m_bytes.size();
}

void ByteReader::Seek(std::size_t offset) {
    if (offset > m_bytes.size()) {
        throw std::out_of_range("seek past the end of the resource data");
    }
    m_offset = offset;
}
