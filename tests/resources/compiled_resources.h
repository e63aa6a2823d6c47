// Access to the resource set as windres compiled it for this test run.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/resources/res_file.h"

// Resource types and languages as the .res format stores them.
inline constexpr std::uint16_t kRtBitmap = 2;
inline constexpr std::uint16_t kRtIcon = 3;
inline constexpr std::uint16_t kRtMenu = 4;
inline constexpr std::uint16_t kRtDialog = 5;
inline constexpr std::uint16_t kRtString = 6;
inline constexpr std::uint16_t kRtGroupIcon = 14;
inline constexpr std::uint16_t kRtVersion = 16;
inline constexpr std::uint16_t kRtManifest = 24;

inline constexpr std::uint16_t kLangJapanese = 0x0411;
inline constexpr std::uint16_t kLangEnglishUs = 0x0409;

// The compiled .res file, read once; throws if it is missing or malformed.
const ResFile& CompiledResources();

// The resource (type, name) stored under the given language, or nullptr.
const ResEntry* FindResource(std::uint16_t type, std::uint16_t name,
                             std::uint16_t language = kLangJapanese);
// Its data; throws std::runtime_error (a failed test) when there is no such resource.
const std::vector<std::uint8_t>& ResourceData(std::uint16_t type, std::uint16_t name,
                                              std::uint16_t language = kLangJapanese);
