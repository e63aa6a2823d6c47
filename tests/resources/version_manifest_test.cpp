// The version block and the application manifest.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/resources/compiled_resources.h"
#include "tests/resources/version_info.h"

namespace {

VersionNode LoadVersion() {
    return VersionNode::Parse(ResourceData(kRtVersion, 1));
}

TEST(VersionBlock, FixedPartIsVersion1001ForAWin32App) {
    const VersionNode root = LoadVersion();
    EXPECT_EQ(root.key, u"VS_VERSION_INFO");
    EXPECT_EQ(root.type, 0);
    const FixedFileInfo info = FixedFileInfo::Parse(root.value);
    EXPECT_EQ(info.signature, 0xFEEF04BDu);
    EXPECT_EQ(info.structVersion, 0x00010000u);
    EXPECT_EQ(info.fileVersionMs, 0x00010000u); // 1.0
    EXPECT_EQ(info.fileVersionLs, 0x00000001u); // .0.1
    EXPECT_EQ(info.productVersionMs, 0x00010000u);
    EXPECT_EQ(info.productVersionLs, 0x00000001u);
    EXPECT_EQ(info.fileFlagsMask, 0x3Fu);
    EXPECT_EQ(info.fileFlags, 0u);
    EXPECT_EQ(info.fileOs, 4u);   // VOS__WINDOWS32
    EXPECT_EQ(info.fileType, 1u); // VFT_APP
    EXPECT_EQ(info.fileSubtype, 0u);
    EXPECT_EQ(info.fileDateMs, 0u);
    EXPECT_EQ(info.fileDateLs, 0u);
}

TEST(VersionBlock, JapaneseStringTableHasExactlyTheSevenEntriesInOrder) {
    const VersionNode root = LoadVersion();
    const VersionNode* strings = root.Child(u"StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u);
    const VersionNode& table = strings->children[0];
    EXPECT_EQ(table.key, u"041104b0"); // Japanese, UTF-16

    struct Entry {
        std::u16string key, value;
    };
    // No CompanyName.
    const Entry want[] = {
        {u"FileDescription", u"Wispfold MFC ｱﾌﾟﾘｹｰｼｮﾝ"},
        {u"FileVersion", u"1, 0, 0, 1"},
        {u"InternalName", u"Wispfold"},
        {u"LegalCopyright", u"Copyright (C) 2026 Quenmarsh"},
        {u"OriginalFilename", u"Wispfold.EXE"},
        {u"ProductName", u"Wispfold ｱﾌﾟﾘｹｰｼｮﾝ"},
        {u"ProductVersion", u"1, 0, 0, 1"},
    };
    ASSERT_EQ(table.children.size(), std::size(want));
    for (std::size_t i = 0; i < std::size(want); ++i) {
        const VersionNode& entry = table.children[i];
        SCOPED_TRACE(Describe(want[i].key));
        EXPECT_EQ(entry.key, want[i].key);
        EXPECT_EQ(entry.type, 1);
        // Text values are stored with their terminating zero.
        EXPECT_EQ(entry.text, want[i].value + u'\0') << Describe(entry.text);
    }
}

TEST(VersionBlock, TranslationIsJapaneseUnicode) {
    const VersionNode root = LoadVersion();
    ASSERT_EQ(root.children.size(), 2u);
    const VersionNode* vars = root.Child(u"VarFileInfo");
    ASSERT_NE(vars, nullptr);
    ASSERT_EQ(vars->children.size(), 1u);
    const VersionNode& translation = vars->children[0];
    EXPECT_EQ(translation.key, u"Translation");
    EXPECT_EQ(translation.type, 0);
    // language 0x0411, code page 0x04B0, little-endian
    EXPECT_EQ(translation.value, (std::vector<std::uint8_t>{0x11, 0x04, 0xB0, 0x04}));
}

// ---------------------------------------------------------------------------------------
// Manifest

std::string ManifestText() {
    const auto& data = ResourceData(kRtManifest, 1, kLangEnglishUs);
    return std::string(data.begin(), data.end());
}

// The attributes of every element with this tag, in document order. The manifest is small,
// machine-written XML: tags and quoted attribute values are all this needs to understand.
std::vector<std::map<std::string, std::string>> Elements(const std::string& xml,
                                                         const std::string& tag) {
    std::vector<std::map<std::string, std::string>> found;
    const std::string open = "<" + tag;
    for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
        const std::size_t after = at + open.size();
        if (after >= xml.size() || (xml[after] != ' ' && xml[after] != '>' && xml[after] != '/' &&
                                    xml[after] != '\n' && xml[after] != '\r')) {
            continue; // a longer tag name with the same start
        }
        const std::size_t end = xml.find('>', after);
        if (end == std::string::npos) {
            break;
        }
        std::map<std::string, std::string> attributes;
        std::size_t pos = after;
        while (true) {
            const std::size_t eq = xml.find("=\"", pos);
            if (eq == std::string::npos || eq > end) {
                break;
            }
            const std::size_t nameStart = xml.find_last_of(" \t\r\n", eq) + 1;
            const std::size_t close = xml.find('"', eq + 2);
            attributes[xml.substr(nameStart, eq - nameStart)] = xml.substr(eq + 2, close - eq - 2);
            pos = close + 1;
        }
        found.push_back(std::move(attributes));
    }
    return found;
}

TEST(Manifest, IsPlainAsciiWithoutDeclarationOrByteOrderMark) {
    const std::string text = ManifestText();
    ASSERT_FALSE(text.empty());
    for (unsigned char c : text) {
        ASSERT_LT(c, 0x80) << "non-ASCII byte";
    }
    EXPECT_NE(text.rfind("\xEF\xBB\xBF", 0), 0u) << "starts with a byte-order mark";
    EXPECT_EQ(text.find("<?xml"), std::string::npos);
    EXPECT_EQ(text.rfind("<assembly", 0), 0u) << "the root element comes first";
}

TEST(Manifest, RunsAsInvokerWithoutUiAccess) {
    const std::string text = ManifestText();
    const auto root = Elements(text, "assembly");
    ASSERT_EQ(root.size(), 1u);
    EXPECT_EQ(root[0].at("xmlns"), "urn:schemas-microsoft-com:asm.v1");
    EXPECT_EQ(root[0].at("manifestVersion"), "1.0");

    const auto trust = Elements(text, "trustInfo");
    ASSERT_EQ(trust.size(), 1u);
    EXPECT_EQ(trust[0].at("xmlns"), "urn:schemas-microsoft-com:asm.v3");
    for (const char* tag : {"security", "requestedPrivileges"}) {
        EXPECT_EQ(Elements(text, tag).size(), 1u) << tag;
    }
    const auto level = Elements(text, "requestedExecutionLevel");
    ASSERT_EQ(level.size(), 1u);
    EXPECT_EQ(level[0],
              (std::map<std::string, std::string>{{"level", "asInvoker"}, {"uiAccess", "false"}}));
}

// Windows builds the process's activation context from the manifest before the program runs
// and refuses to start it when a named assembly is missing; the program loads none.
TEST(Manifest, NamesNoAssembly) {
    const std::string text = ManifestText();
    ASSERT_FALSE(Elements(text, "assembly").empty());
    for (const char* tag : {"dependency", "dependentAssembly", "assemblyIdentity"})
        EXPECT_TRUE(Elements(text, tag).empty()) << tag;
}

} // namespace
