#include "tests/resources/compiled_resources.h"

#include <stdexcept>
#include <string>

const ResFile& CompiledResources() {
    // WISPFOLD_RES_FILE is the .res that the build compiled from res/wispfold.rc.
    static const ResFile file = ResFile::Load(WISPFOLD_RES_FILE);
    return file;
}

const ResEntry* FindResource(std::uint16_t type, std::uint16_t name, std::uint16_t language) {
    return CompiledResources().Find(
        ResKey{NameOrOrdinal::Ord(type), NameOrOrdinal::Ord(name), language});
}

const std::vector<std::uint8_t>& ResourceData(std::uint16_t type, std::uint16_t name,
                                              std::uint16_t language) {
    const ResEntry* entry = FindResource(type, name, language);
    if (entry == nullptr) {
        throw std::runtime_error("no resource of type " + std::to_string(type) + ", name " +
                                 std::to_string(name) + ", language " + std::to_string(language));
    }
    return entry->data;
}
