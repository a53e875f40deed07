#include "qt/widget/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <iterator>

#include "qt/widget/QtColor.h"

namespace zentabo {
namespace {

struct PaletteEntry {
    SystemColor color;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr QPalette::ColorGroup kActive = QPalette::Active;
constexpr QPalette::ColorGroup kInactive = QPalette::Inactive;
constexpr QPalette::ColorGroup kDisabled = QPalette::Disabled;

// Index 25 is not a system colour.
const PaletteEntry kEntries[] = {
    {{0, "スクロールバー"}, kActive, QPalette::Button},
    {{1, "デスクトップ"}, kActive, QPalette::Dark},
    {{2, "アクティブなタイトルバー"}, kActive, QPalette::Highlight},
    {{3, "非アクティブなタイトルバー"}, kInactive, QPalette::Mid},
    {{4, "メニュー"}, kActive, QPalette::Window},
    {{5, "ウィンドウの背景"}, kActive, QPalette::Base},
    {{6, "ウィンドウの枠"}, kActive, QPalette::Shadow},
    {{7, "メニューの文字"}, kActive, QPalette::WindowText},
    {{8, "ウィンドウの文字"}, kActive, QPalette::Text},
    {{9, "タイトルバーの文字"}, kActive, QPalette::HighlightedText},
    {{10, "アクティブな境界"}, kActive, QPalette::Window},
    {{11, "非アクティブな境界"}, kInactive, QPalette::Window},
    {{12, "アプリケーションの作業領域"}, kActive, QPalette::Mid},
    {{13, "選択項目の背景"}, kActive, QPalette::Highlight},
    {{14, "選択項目の文字"}, kActive, QPalette::HighlightedText},
    {{15, "ボタンの表面"}, kActive, QPalette::Button},
    {{16, "ボタンの影"}, kActive, QPalette::Dark},
    {{17, "無効な文字"}, kDisabled, QPalette::Text},
    {{18, "ボタンの文字"}, kActive, QPalette::ButtonText},
    {{19, "非アクティブなタイトルバーの文字"}, kInactive, QPalette::HighlightedText},
    {{20, "ボタンのハイライト"}, kActive, QPalette::Light},
    {{21, "立体の濃い影"}, kActive, QPalette::Shadow},
    {{22, "立体の明るい面"}, kActive, QPalette::Midlight},
    {{23, "ヒントの文字"}, kActive, QPalette::ToolTipText},
    {{24, "ヒントの背景"}, kActive, QPalette::ToolTipBase},
    {{26, "ホットトラック"}, kActive, QPalette::Link},
    {{27, "アクティブなタイトルバーのグラデーション"}, kActive, QPalette::Highlight},
    {{28, "非アクティブなタイトルバーのグラデーション"}, kInactive, QPalette::Mid},
    {{29, "メニューの選択項目"}, kActive, QPalette::Highlight},
    {{30, "メニューバー"}, kActive, QPalette::Window},
};

const PaletteEntry* EntryOf(TColor value) {
    if ((value & 0xFF000000u) != kSystemColorFlag) return nullptr;
    const TColor index = value & 0x00FFFFFFu;
    for (const PaletteEntry& e : kEntries)
        if (static_cast<TColor>(e.color.index) == index) return &e;
    return nullptr;
}

const std::array<SystemColor, std::size(kEntries)> kColors = [] {
    std::array<SystemColor, std::size(kEntries)> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = kEntries[i].color;
    return out;
}();

}  // namespace

std::span<const SystemColor> SystemColors() {
    return kColors;
}

bool IsSystemColorCode(TColor value) {
    return EntryOf(value) != nullptr;
}

bool IsValidColor(TColor value) {
    return (value & 0xFF000000u) == 0 || IsSystemColorCode(value);
}

QColor ResolveColor(TColor value) {
    if (const PaletteEntry* e = EntryOf(value))
        return QGuiApplication::palette().color(e->group, e->role);
    return QColor::fromRgb(ToQRgb(value & 0x00FFFFFFu));
}

QRgb SystemCodeRgb(TColor code) {
    return ResolveColor(code).rgb();
}

}  // namespace zentabo
