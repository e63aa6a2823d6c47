#include "tests/resources/name_or_ordinal.h"

#include <cstdio>

std::string Describe(const std::u16string& text) {
    std::string out = "u\"";
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\') {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
            out += escape;
        }
    }
    return out + "\"";
}

std::ostream& operator<<(std::ostream& out, const NameOrOrdinal& value) {
    if (value.isOrdinal) {
        return out << "#" << value.ordinal;
    }
    if (value.text.empty()) {
        return out << "(none)";
    }
    return out << Describe(value.text);
}
