#pragma once

// The edit-control messages TLumEdit::Perform answers, with their Windows values.

#include <cstdint>

namespace zentabo {

constexpr uint32_t WM_GETTEXT = 0x000D;
constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
constexpr uint32_t EM_GETSEL = 0x00B0;
constexpr uint32_t EM_SETSEL = 0x00B1;
constexpr uint32_t EM_GETLINECOUNT = 0x00BA;
constexpr uint32_t EM_LINELENGTH = 0x00C1;
constexpr uint32_t EM_GETLINE = 0x00C4;
constexpr uint32_t EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr uint32_t WM_CUT = 0x0300;
constexpr uint32_t WM_COPY = 0x0301;
constexpr uint32_t WM_PASTE = 0x0302;
constexpr uint32_t WM_CLEAR = 0x0303;

constexpr uint32_t MakeLong(uint32_t low, uint32_t high) {
    return (low & 0xFFFF) | ((high & 0xFFFF) << 16);
}

}  // namespace zentabo
