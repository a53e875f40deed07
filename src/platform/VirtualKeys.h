#pragma once

// The platform's virtual-key codes: the editor's key table is written in them, and the
// Qt widget maps its key events onto them.

namespace zentabo {

namespace vk {
constexpr int kBack = 0x08;
constexpr int kTab = 0x09;
constexpr int kClear = 0x0C;
constexpr int kReturn = 0x0D;
constexpr int kShift = 0x10;
constexpr int kControl = 0x11;
constexpr int kMenu = 0x12;  // Alt
constexpr int kPause = 0x13;
constexpr int kCapital = 0x14;
constexpr int kKana = 0x15;
constexpr int kKanji = 0x19;
constexpr int kEscape = 0x1B;
constexpr int kConvert = 0x1C;
constexpr int kNonConvert = 0x1D;
constexpr int kSpace = 0x20;
constexpr int kPrior = 0x21;  // Page Up
constexpr int kNext = 0x22;   // Page Down
constexpr int kEnd = 0x23;
constexpr int kHome = 0x24;
constexpr int kLeft = 0x25;
constexpr int kUp = 0x26;
constexpr int kRight = 0x27;
constexpr int kDown = 0x28;
constexpr int kSnapshot = 0x2C;
constexpr int kInsert = 0x2D;
constexpr int kDelete = 0x2E;
constexpr int kHelp = 0x2F;
constexpr int kLeftWin = 0x5B;
constexpr int kApps = 0x5D;
constexpr int kNumpad0 = 0x60;
constexpr int kMultiply = 0x6A;
constexpr int kAdd = 0x6B;
constexpr int kSubtract = 0x6D;
constexpr int kDecimal = 0x6E;
constexpr int kDivide = 0x6F;
constexpr int kF1 = 0x70;  // F1..F24 follow in order
constexpr int kNumLock = 0x90;
constexpr int kScroll = 0x91;
constexpr int kOemSemicolon = 0xBA;
constexpr int kOemPlus = 0xBB;
constexpr int kOemComma = 0xBC;
constexpr int kOemMinus = 0xBD;
constexpr int kOemPeriod = 0xBE;
constexpr int kOemSlash = 0xBF;
constexpr int kOemBackquote = 0xC0;
constexpr int kOemOpenBracket = 0xDB;
constexpr int kOemBackslash = 0xDC;
constexpr int kOemCloseBracket = 0xDD;
constexpr int kOemQuote = 0xDE;
}  // namespace vk

}  // namespace zentabo
