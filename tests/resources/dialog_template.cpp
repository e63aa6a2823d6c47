#include "tests/resources/dialog_template.h"

#include <stdexcept>

#include "tests/resources/byte_reader.h"

namespace {
constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::uint32_t kDsShellFont = 0x48; // DS_SETFONT | DS_FIXEDSYS
} // namespace

DialogTemplate DialogTemplate::Parse(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    DialogTemplate dialog;
    dialog.version = in.U16();
    dialog.signature = in.U16();
    if (dialog.version != 1 || dialog.signature != 0xFFFF) {
        throw std::runtime_error("not an extended dialog template");
    }
    dialog.helpId = in.U32();
    dialog.exStyle = in.U32();
    dialog.style = in.U32();
    dialog.controlCount = in.U16();
    dialog.x = in.I16();
    dialog.y = in.I16();
    dialog.cx = in.I16();
    dialog.cy = in.I16();
    dialog.menu = in.NameOrOrd();
    dialog.windowClass = in.NameOrOrd();
    dialog.caption = in.String();
    if ((dialog.style & kDsSetFont) != 0 || (dialog.style & kDsShellFont) == kDsShellFont) {
        dialog.pointSize = in.U16();
        dialog.weight = in.U16();
        dialog.italic = in.U8();
        dialog.charset = in.U8();
        dialog.face = in.String();
    }
    for (int i = 0; i < dialog.controlCount; ++i) {
        // Each control record starts on a DWORD boundary of the template.
        in.AlignToDword();
        DialogControl control;
        control.helpId = in.U32();
        control.exStyle = in.U32();
        control.style = in.U32();
        control.x = in.I16();
        control.y = in.I16();
        control.cx = in.I16();
        control.cy = in.I16();
        control.id = in.U32();
        control.windowClass = in.NameOrOrd();
        control.text = in.NameOrOrd();
        control.extraCount = in.U16();
        in.Bytes(control.extraCount);
        dialog.controls.push_back(std::move(control));
    }
    in.AlignToDword();
    dialog.trailingBytes = in.Remaining();
    return dialog;
}
