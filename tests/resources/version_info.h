// The version resource (VS_VERSIONINFO), decoded into its tree of keyed blocks.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One block of the tree: VS_VERSIONINFO itself, StringFileInfo, a string table, one string,
// VarFileInfo or Translation. Each has a key, an optional value and child blocks.
struct VersionNode {
    std::uint16_t type = 0; // 1: the value is text, 0: binary
    std::u16string key;
    std::vector<std::uint8_t> value;
    std::u16string text; // the value read as UTF-16 when type is 1, terminator included
    std::vector<VersionNode> children;

    const VersionNode* Child(const std::u16string& childKey) const;

    // Throws if the lengths of the blocks do not nest.
    static VersionNode Parse(std::span<const std::uint8_t> bytes);
};

// VS_FIXEDFILEINFO, the value of the root block.
struct FixedFileInfo {
    std::uint32_t signature, structVersion, fileVersionMs, fileVersionLs, productVersionMs,
        productVersionLs, fileFlagsMask, fileFlags, fileOs, fileType, fileSubtype, fileDateMs,
        fileDateLs;

    static FixedFileInfo Parse(std::span<const std::uint8_t> bytes);
};
