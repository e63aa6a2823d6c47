// An extended dialog template (DLGTEMPLATEEX with its DLGITEMTEMPLATEEX records), decoded.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tests/resources/name_or_ordinal.h"

// One control record (DLGITEMTEMPLATEEX) of a template.
struct DialogControl {
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
    std::uint16_t extraCount = 0;
};

// The template header with its font and controls.
struct DialogTemplate {
    std::uint16_t version = 0;
    std::uint16_t signature = 0;
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    std::uint16_t controlCount = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::u16string caption;
    // Present only with DS_SETFONT.
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t charset = 0;
    std::u16string face;
    std::vector<DialogControl> controls;
    // Bytes left over after the last control (there should be none but padding).
    std::size_t trailingBytes = 0;

    // Throws std::out_of_range or std::runtime_error if the bytes are no extended template.
    static DialogTemplate Parse(std::span<const std::uint8_t> bytes);
};
