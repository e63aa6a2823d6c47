#include "tests/resources/version_info.h"

#include <stdexcept>

#include "tests/resources/byte_reader.h"

namespace {
VersionNode ReadNode(std::span<const std::uint8_t> bytes, std::size_t start, std::size_t* end) {
    ByteReader in(bytes);
    in.Seek(start);
    const std::uint16_t length = in.U16();
    const std::uint16_t valueLength = in.U16();
    VersionNode node;
    node.type = in.U16();
    node.key = in.String();
    if (length < 6 || start + length > bytes.size()) {
        throw std::runtime_error("version block length out of range");
    }
    *end = start + length;
    in.AlignToDword();
    // A text value's length counts UTF-16 characters, a binary value's counts bytes.
    const std::size_t valueBytes = node.type == 1 ? std::size_t{valueLength} * 2 : valueLength;
    if (in.Offset() + valueBytes > *end) {
        throw std::runtime_error("version value runs past its block");
    }
    const auto value = in.Bytes(valueBytes);
    node.value.assign(value.begin(), value.end());
    if (node.type == 1) {
        ByteReader text(value);
        while (!text.AtEnd()) {
            node.text += static_cast<char16_t>(text.U16());
        }
    }
    in.AlignToDword();
    while (in.Offset() < *end) {
        std::size_t childEnd = 0;
        node.children.push_back(ReadNode(bytes.first(*end), in.Offset(), &childEnd));
        in.Seek(childEnd);
        in.AlignToDword();
    }
    return node;
}
} // namespace

const VersionNode* VersionNode::Child(const std::u16string& childKey) const {
    for (const auto& child : children) {
        if (child.key == childKey) {
            return &child;
        }
    }
    return nullptr;
}

VersionNode VersionNode::Parse(std::span<const std::uint8_t> bytes) {
    std::size_t end = 0;
    VersionNode root = ReadNode(bytes, 0, &end);
    if (end != bytes.size()) {
        throw std::runtime_error("version resource is longer than its root block");
    }
    return root;
}

FixedFileInfo FixedFileInfo::Parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != 52) {
        throw std::runtime_error("VS_FIXEDFILEINFO must be 52 bytes");
    }
    ByteReader in(bytes);
    FixedFileInfo info{};
    for (std::uint32_t* field :
         {&info.signature, &info.structVersion, &info.fileVersionMs, &info.fileVersionLs,
          &info.productVersionMs, &info.productVersionLs, &info.fileFlagsMask, &info.fileFlags,
          &info.fileOs, &info.fileType, &info.fileSubtype, &info.fileDateMs, &info.fileDateLs}) {
        *field = in.U32();
    }
    return info;
}
