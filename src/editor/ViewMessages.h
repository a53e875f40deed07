#pragma once

// The window messages, scroll codes and virtual keys the editor's view answers, with
// their Windows values, and the two caret-position messages other windows send it.

#include <cstdint>

#include "platform/VirtualKeys.h"

namespace zentabo {

constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_HSCROLL = 0x0114;
constexpr uint32_t WM_VSCROLL = 0x0115;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;

// Registered by name on Windows; here they have fixed numbers in the range Windows
// hands out for registered messages, so no window message can collide with them.
constexpr const char* kGetCaretPosName = "WM_TLUMEDIT_GETCARETPOS";
constexpr const char* kSetCaretPosName = "WM_TLUMEDIT_SETCARETPOS";
constexpr uint32_t WM_TLUMEDIT_GETCARETPOS = 0xC2A0;
constexpr uint32_t WM_TLUMEDIT_SETCARETPOS = 0xC2A1;

// Scroll-bar request codes (the low word of wParam; the high word is the thumb).
constexpr int SB_LINEUP = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_ENDSCROLL = 8;
constexpr int SB_LINELEFT = SB_LINEUP;
constexpr int SB_LINERIGHT = SB_LINEDOWN;
constexpr int SB_PAGELEFT = SB_PAGEUP;
constexpr int SB_PAGERIGHT = SB_PAGEDOWN;
constexpr int SB_LEFT = SB_TOP;
constexpr int SB_RIGHT = SB_BOTTOM;

}  // namespace zentabo
