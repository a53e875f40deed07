#pragma once

// The scan behind ReplaceEvery: walks a code page 932 text character by character and
// reports, for each match at a character start, the pair that matched. Shared by the
// copying and the in-place forms of the replace.

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "store/LumEditSub.h"

namespace zentabo {

using ReplacePairs = std::vector<std::pair<std::string_view, std::string_view>>;

class ReplaceScan {
public:
    explicit ReplaceScan(const ReplacePairs& pairs) : pairs_(pairs) {
        for (std::size_t k = 0; k < pairs.size(); ++k) {
            std::string_view from = pairs[k].first;
            // A pattern that is empty or ends in a lead byte would match nothing or
            // cut the character that lead byte starts.
            if (from.empty() || !EndsOnCharacter(from)) continue;
            usable_.push_back(k);
            first_[static_cast<unsigned char>(from[0])] = true;
        }
    }

    // Calls copy(begin, end) for each unchanged span and put(to) for each replacement,
    // in text order.
    template <class Copy, class Put>
    void Run(std::string_view text, Copy&& copy, Put&& put) const {
        const std::size_t n = text.size();
        std::size_t i = 0, copied = 0;
        while (i < n) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (first_[c]) {
                if (const auto* pair = MatchAt(text, i)) {
                    copy(copied, i);
                    put(pair->second);
                    i += pair->first.size();
                    copied = i;
                    continue;
                }
            }
            i += IsLeadByte(c) ? 2 : 1;
        }
        copy(copied, n);
    }

private:
    static bool EndsOnCharacter(std::string_view s) {
        std::size_t i = 0;
        while (i < s.size()) i += IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
        return i == s.size();
    }

    const std::pair<std::string_view, std::string_view>* MatchAt(std::string_view text,
                                                                 std::size_t i) const {
        for (std::size_t k : usable_) {
            std::string_view from = pairs_[k].first;
            if (text.size() - i >= from.size() && text.compare(i, from.size(), from) == 0)
                return &pairs_[k];
        }
        return nullptr;
    }

    const ReplacePairs& pairs_;
    std::vector<std::size_t> usable_;
    std::array<bool, 256> first_{};
};

// Replaces in place; every replacement must be no longer than its pattern.
void ReplaceEveryInPlace(std::string& text, const ReplacePairs& pairs);

}  // namespace zentabo
