#pragma once

// The bridge between the find dialog and the active page's editor: what a find or a
// replace request does, written against a small interface so that it needs neither
// the dialog nor the editor.

#include <cstdint>
#include <initializer_list>
#include <string>

namespace zentabo {

// The find options of the dialog; bit n of the set is element n.
enum TFindOption {
    frDown,
    frFindNext,
    frHideMatchCase,
    frHideWholeWord,
    frHideUpDown,
    frMatchCase,
    frDisableMatchCase,
    frDisableUpDown,
    frDisableWholeWord,
    frReplace,
    frReplaceAll,
    frWholeWord,
    frShowHelp,
};

class TFindOptions {
public:
    constexpr TFindOptions() = default;
    constexpr TFindOptions(std::initializer_list<TFindOption> options) {
        for (TFindOption o : options) Include(o);
    }
    static constexpr TFindOptions FromBits(std::uint16_t bits) {
        TFindOptions o;
        o.bits_ = bits;
        return o;
    }

    constexpr bool Contains(TFindOption o) const { return (bits_ & Bit(o)) != 0; }
    constexpr void Include(TFindOption o) { bits_ = static_cast<std::uint16_t>(bits_ | Bit(o)); }
    constexpr void Exclude(TFindOption o) { bits_ = static_cast<std::uint16_t>(bits_ & ~Bit(o)); }
    constexpr std::uint16_t Bits() const { return bits_; }
    constexpr bool operator==(const TFindOptions&) const = default;

private:
    static constexpr std::uint16_t Bit(TFindOption o) {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(o));
    }
    std::uint16_t bits_ = 0;
};

// The search operations of the active page's editor that the bridge drives.
class EditorSearch {
public:
    virtual ~EditorSearch() = default;
    virtual void SetFindText(const std::string& text) = 0;
    virtual void FindFirst() = 0;
    virtual void FindNext() = 0;
    virtual void FindPrev() = 0;
    virtual void FindReplace(const std::string& findText, const std::string& replaceText,
                             bool fromTop, bool confirm, bool wholeText) = 0;
};

// A find request. pageFindText is the page's remembered search text; a new text
// restarts the search at the top, the same text searches on from the caret in the
// direction frDown gives.
void DoFind(const std::string& findText, TFindOptions options, std::string& pageFindText,
            EditorSearch& editor);

// A replace request. The page remembers findText afterwards, since the replace run
// has made it the editor's search text.
void DoReplace(const std::string& findText, const std::string& replaceText, TFindOptions options,
               std::string& pageFindText, EditorSearch& editor);

}  // namespace zentabo
