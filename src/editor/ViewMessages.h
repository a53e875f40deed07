#pragma once

// The window messages, scroll codes and virtual keys the editor's view answers, with
// their Windows values, and the two caret-position messages other windows send it.

#include <cstdint>

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

// Virtual keys the key table acts on.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_CONVERT = 0x1C;
constexpr int VK_NONCONVERT = 0x1D;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_OEM_COMMA = 0xBC;
constexpr int VK_OEM_PERIOD = 0xBE;

}  // namespace zentabo
