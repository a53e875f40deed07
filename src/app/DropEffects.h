#pragma once

// Drop effects and their negotiation: which of a drop target's formats a drag gets and
// with which effect, from what the source allows and the modifier keys held.

#include <cstdint>
#include <vector>

namespace zentabo {

enum TDropEffect : uint8_t { ekNone, ekCopy, ekMove, ekLink };
// A set of effects; bit n stands for the element n.
using TDropEffects = uint8_t;

constexpr TDropEffects EffectSet(TDropEffect e) {
    return static_cast<TDropEffects>(1u << e);
}

// The effect masks a drag source and target exchange.
constexpr uint32_t DROPEFFECT_NONE = 0;
constexpr uint32_t DROPEFFECT_COPY = 1;
constexpr uint32_t DROPEFFECT_MOVE = 2;
constexpr uint32_t DROPEFFECT_LINK = 4;

// Key-state bits handed to the drag handlers.
constexpr uint32_t MK_LBUTTON = 0x1;
constexpr uint32_t MK_RBUTTON = 0x2;
constexpr uint32_t MK_SHIFT = 0x4;
constexpr uint32_t MK_CONTROL = 0x8;
constexpr uint32_t MK_MBUTTON = 0x10;
constexpr uint32_t MK_ALT = 0x20;

uint32_t EffectToMask(TDropEffect effect);
uint32_t EffectsToMask(TDropEffects effects);
TDropEffects MaskToEffects(uint32_t mask);

// Shift and Ctrl link, Shift alone moves, anything else copies.
TDropEffect PreferredEffect(uint32_t keyState);

// One format of a drop target as a drag meets it.
struct FormatOffer {
    bool offered = false;  // the dragged data holds the format
    TDropEffects effects = EffectSet(ekCopy);
};

struct FormatChoice {
    int item = -1;  // index of the chosen format, -1 for none
    TDropEffect effect = ekNone;
};

// The first offered format with an effect in common with the source wins: the
// preferred effect when it allows that, else the first of copy, move and link it does.
FormatChoice ChooseFormat(const std::vector<FormatOffer>& formats, uint32_t allowedMask,
                          uint32_t keyState);

}  // namespace zentabo
