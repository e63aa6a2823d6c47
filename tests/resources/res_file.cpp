#include "tests/resources/res_file.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/resources/byte_reader.h"

std::ostream& operator<<(std::ostream& out, const ResKey& key) {
    return out << "{type " << key.type << ", name " << key.name << ", language 0x" << std::hex
               << key.language << std::dec << "}";
}

ResFile ResFile::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    return Parse(bytes);
}

ResFile ResFile::Parse(const std::vector<std::uint8_t>& bytes) {
    ResFile file;
    ByteReader reader(bytes);
    bool first = true;
    while (!reader.AtEnd()) {
        const std::size_t start = reader.Offset();
        const std::uint32_t dataSize = reader.U32();
        const std::uint32_t headerSize = reader.U32();
        ResEntry entry;
        entry.key.type = reader.NameOrOrd();
        entry.key.name = reader.NameOrOrd();
        reader.AlignToDword();
        reader.U32(); // DataVersion
        entry.memoryFlags = reader.U16();
        entry.key.language = reader.U16();
        reader.U32(); // Version
        reader.U32(); // Characteristics
        if (reader.Offset() != start + headerSize) {
            throw std::runtime_error("resource header size does not match its fields");
        }
        const auto data = reader.Bytes(dataSize);
        entry.data.assign(data.begin(), data.end());
        reader.AlignToDword();
        // The leading empty record (type 0, name 0, no data) is the 32-bit marker.
        if (first && dataSize == 0 && entry.key.type == NameOrOrdinal::Ord(0)) {
            first = false;
            continue;
        }
        first = false;
        file.m_entries.push_back(std::move(entry));
    }
    return file;
}

const ResEntry* ResFile::Find(const ResKey& key) const {
    for (const auto& entry : m_entries) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}
