#pragma once

// The scan behind ReplaceEvery: finds in a code page 932 text each match that starts
// a character and reports the pair that matched. Shared by the copying and the
// in-place forms of the replace.

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
        const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
        const std::size_t n = text.size();
        std::size_t i = 0, copied = 0;
        // A position known to start a character, at or before i: the search for
        // candidates runs without looking at lead bytes, and only a candidate asks
        // whether it starts a character.
        std::size_t known = 0;
        while (true) {
            while (i < n && !first_[p[i]]) ++i;
            if (i >= n) break;
            if (!StartsCharacter(p, i, known)) {
                known = i + 1;  // i is a trail byte, so the next byte starts one
                ++i;
                continue;
            }
            known = i;
            if (const auto* pair = MatchAt(text, i)) {
                copy(copied, i);
                put(pair->second);
                i += pair->first.size();
                copied = i;
                known = i;  // the pattern ends on a whole character
                continue;
            }
            ++i;
            // i may now be a trail byte; `known` stays behind it for the next question.
        }
        copy(copied, n);
    }

private:
    // Does position i start a character, given that `known` (at or before i) does? The
    // run of lead-byte values right before i decides by its length; it is only walked
    // back to the last non-lead byte or to `known`, so each byte is walked once.
    static bool StartsCharacter(const unsigned char* p, std::size_t i, std::size_t known) {
        std::size_t k = i;
        while (k > known && IsLeadByte(p[k - 1])) --k;
        return (i - k) % 2 == 0;
    }

    static bool EndsOnCharacter(std::string_view s) {
        std::size_t i = 0;
        while (i < s.size()) i += IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
        return i == s.size();
    }

    const std::pair<std::string_view, std::string_view>* MatchAt(std::string_view text,
                                                                 std::size_t i) const {
        const std::size_t left = text.size() - i;
        const char* at = text.data() + i;
        for (std::size_t k : usable_) {
            std::string_view from = pairs_[k].first;
            if (from[0] != at[0] || from.size() > left) continue;
            // Patterns are a few bytes long: a plain loop beats a call to memcmp.
            std::size_t j = 1;
            while (j < from.size() && from[j] == at[j]) ++j;
            if (j == from.size()) return &pairs_[k];
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
