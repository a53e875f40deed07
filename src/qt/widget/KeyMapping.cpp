#include "qt/widget/KeyMapping.h"

#include <QKeyEvent>
#include <algorithm>

namespace zentabo {
namespace {

struct KeyPair {
    int qt;
    int vk;
};

// Keys that are not letters, digits or function keys. Shifted punctuation maps to the
// key it is typed with on the usual layouts, so Ctrl+Shift+comma is still comma.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, vk::kBack},
    {Qt::Key_Tab, vk::kTab},
    {Qt::Key_Backtab, vk::kTab},
    {Qt::Key_Clear, vk::kClear},
    {Qt::Key_Return, vk::kReturn},
    {Qt::Key_Enter, vk::kReturn},
    {Qt::Key_Shift, vk::kShift},
    {Qt::Key_Control, vk::kControl},
    {Qt::Key_Alt, vk::kMenu},
    {Qt::Key_AltGr, vk::kMenu},
    {Qt::Key_Pause, vk::kPause},
    {Qt::Key_CapsLock, vk::kCapital},
    {Qt::Key_Kana_Lock, vk::kKana},
    {Qt::Key_Hiragana_Katakana, vk::kKana},
    {Qt::Key_Kanji, vk::kKanji},
    {Qt::Key_Zenkaku_Hankaku, vk::kKanji},
    {Qt::Key_Escape, vk::kEscape},
    {Qt::Key_Henkan, vk::kConvert},
    {Qt::Key_Muhenkan, vk::kNonConvert},
    {Qt::Key_Space, vk::kSpace},
    {Qt::Key_PageUp, vk::kPrior},
    {Qt::Key_PageDown, vk::kNext},
    {Qt::Key_End, vk::kEnd},
    {Qt::Key_Home, vk::kHome},
    {Qt::Key_Left, vk::kLeft},
    {Qt::Key_Up, vk::kUp},
    {Qt::Key_Right, vk::kRight},
    {Qt::Key_Down, vk::kDown},
    {Qt::Key_Print, vk::kSnapshot},
    {Qt::Key_Insert, vk::kInsert},
    {Qt::Key_Delete, vk::kDelete},
    {Qt::Key_Help, vk::kHelp},
    {Qt::Key_Meta, vk::kLeftWin},
    {Qt::Key_Menu, vk::kApps},
    {Qt::Key_NumLock, vk::kNumLock},
    {Qt::Key_ScrollLock, vk::kScroll},
    {Qt::Key_Semicolon, vk::kOemSemicolon},
    {Qt::Key_Colon, vk::kOemSemicolon},
    {Qt::Key_Equal, vk::kOemPlus},
    {Qt::Key_Plus, vk::kOemPlus},
    {Qt::Key_Comma, vk::kOemComma},
    {Qt::Key_Less, vk::kOemComma},
    {Qt::Key_Minus, vk::kOemMinus},
    {Qt::Key_Underscore, vk::kOemMinus},
    {Qt::Key_Period, vk::kOemPeriod},
    {Qt::Key_Greater, vk::kOemPeriod},
    {Qt::Key_Slash, vk::kOemSlash},
    {Qt::Key_Question, vk::kOemSlash},
    {Qt::Key_QuoteLeft, vk::kOemBackquote},
    {Qt::Key_AsciiTilde, vk::kOemBackquote},
    {Qt::Key_BracketLeft, vk::kOemOpenBracket},
    {Qt::Key_BraceLeft, vk::kOemOpenBracket},
    {Qt::Key_Backslash, vk::kOemBackslash},
    {Qt::Key_Bar, vk::kOemBackslash},
    {Qt::Key_BracketRight, vk::kOemCloseBracket},
    {Qt::Key_BraceRight, vk::kOemCloseBracket},
    {Qt::Key_Apostrophe, vk::kOemQuote},
    {Qt::Key_QuoteDbl, vk::kOemQuote},
};

constexpr KeyPair kKeypad[] = {
    {Qt::Key_Asterisk, vk::kMultiply}, {Qt::Key_Plus, vk::kAdd},
    {Qt::Key_Minus, vk::kSubtract},    {Qt::Key_Period, vk::kDecimal},
    {Qt::Key_Comma, vk::kDecimal},     {Qt::Key_Slash, vk::kDivide},
};

int Lookup(const KeyPair* begin, const KeyPair* end, int qtKey) {
    const KeyPair* it = std::find_if(begin, end, [&](const KeyPair& p) { return p.qt == qtKey; });
    return it == end ? 0 : it->vk;
}

}  // namespace

int VirtualKeyOf(int qtKey, bool keypad) {
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vk::kNumpad0 + (qtKey - Qt::Key_0);
        if (int k = Lookup(std::begin(kKeypad), std::end(kKeypad), qtKey)) return k;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::kF1 + (qtKey - Qt::Key_F1);
    return Lookup(std::begin(kKeys), std::end(kKeys), qtKey);
}

VirtualKeyPress MapKeyEvent(const QKeyEvent& event) {
    const Qt::KeyboardModifiers m = event.modifiers();
    VirtualKeyPress press;
    press.key = VirtualKeyOf(event.key(), m.testFlag(Qt::KeypadModifier));
    press.shift = m.testFlag(Qt::ShiftModifier) || event.key() == Qt::Key_Backtab;
    press.ctrl = m.testFlag(Qt::ControlModifier);
    press.alt = m.testFlag(Qt::AltModifier);
    return press;
}

TypedText EncodeTypedText(const QString& text) {
    Cp932EncodeResult r = Utf16ToCp932(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
    // Control bytes are never trail bytes, so they can be dropped byte by byte; the
    // reported offsets stay those of the text given.
    std::erase_if(r.bytes, [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
    return {std::move(r.bytes), std::move(r.unmappable)};
}

TypedText TypedTextOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers m = event.modifiers();
    if (m.testFlag(Qt::ControlModifier) && !m.testFlag(Qt::AltModifier)) return {};
    return EncodeTypedText(event.text());
}

}  // namespace zentabo
