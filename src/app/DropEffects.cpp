#include "app/DropEffects.h"

namespace zentabo {

uint32_t EffectToMask(TDropEffect effect) {
    switch (effect) {
        case ekCopy:
            return DROPEFFECT_COPY;
        case ekMove:
            return DROPEFFECT_MOVE;
        case ekLink:
            return DROPEFFECT_LINK;
        default:
            return DROPEFFECT_NONE;
    }
}

uint32_t EffectsToMask(TDropEffects effects) {
    uint32_t mask = 0;
    for (TDropEffect e : {ekCopy, ekMove, ekLink})
        if (effects & EffectSet(e)) mask |= EffectToMask(e);
    return mask;
}

TDropEffects MaskToEffects(uint32_t mask) {
    TDropEffects effects = 0;
    for (TDropEffect e : {ekCopy, ekMove, ekLink})
        if (mask & EffectToMask(e)) effects |= EffectSet(e);
    return effects;
}

TDropEffect PreferredEffect(uint32_t keyState) {
    const bool shift = keyState & MK_SHIFT;
    const bool ctrl = keyState & MK_CONTROL;
    if (shift && ctrl) return ekLink;
    if (shift) return ekMove;
    return ekCopy;
}

FormatChoice ChooseFormat(const std::vector<FormatOffer>& formats, uint32_t allowedMask,
                          uint32_t keyState) {
    const TDropEffects allowed = MaskToEffects(allowedMask);
    const TDropEffect preferred = PreferredEffect(keyState);
    for (int i = 0; i < static_cast<int>(formats.size()); ++i) {
        if (!formats[i].offered) continue;
        const TDropEffects effects = formats[i].effects & allowed;
        if (!effects) continue;
        if (effects & EffectSet(preferred)) return {i, preferred};
        for (TDropEffect e : {ekCopy, ekMove, ekLink})
            if (effects & EffectSet(e)) return {i, e};
    }
    return {};
}

}  // namespace zentabo
