// The contents of a compiled .res file: every resource with its type, name and language.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/resources/name_or_ordinal.h"

// The identity of one resource; a resource set holds each at most once.
struct ResKey {
    NameOrOrdinal type;
    NameOrOrdinal name;
    std::uint16_t language = 0;

    friend bool operator==(const ResKey&, const ResKey&) = default;
    friend auto operator<=>(const ResKey&, const ResKey&) = default;
};
std::ostream& operator<<(std::ostream& out, const ResKey& key);

// One resource: its identity, load flags and raw data.
struct ResEntry {
    ResKey key;
    std::uint16_t memoryFlags = 0;
    std::vector<std::uint8_t> data;
};

// A .res file is a sequence of RESOURCEHEADER + data records, each DWORD aligned, starting
// with one empty record that only marks the file as 32-bit. Load() throws on a malformed file.
class ResFile {
public:
    static ResFile Load(const std::string& path);
    static ResFile Parse(const std::vector<std::uint8_t>& bytes);

    const std::vector<ResEntry>& Entries() const { return m_entries; }
    const ResEntry* Find(const ResKey& key) const;

private:
    std::vector<ResEntry> m_entries;
};
