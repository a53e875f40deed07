#include "qt/dialogs/ColorPicker.h"

#include <QColorDialog>
#include <QPixmap>

#include "qt/widget/QtColor.h"
#include "qt/widget/SystemColors.h"

namespace zentabo {
namespace {

struct NamedColor {
    TColor value;
    const char* name;
};

// The sixteen standard colours and the four extended ones, as 0x00BBGGRR.
constexpr NamedColor kNamedColors[] = {
    {0x000000, "黒"},
    {0x000080, "マルーン"},
    {0x008000, "緑"},
    {0x008080, "オリーブ"},
    {0x800000, "紺"},
    {0x800080, "紫"},
    {0x808000, "ティール"},
    {0x808080, "灰色"},
    {0xC0C0C0, "銀色"},
    {0x0000FF, "赤"},
    {0x00FF00, "ライム"},
    {0x00FFFF, "黄"},
    {0xFF0000, "青"},
    {0xFF00FF, "フクシア"},
    {0xFFFF00, "水色"},
    {0xFFFFFF, "白"},
    {0xC0DCC0, "マネーグリーン"},
    {0xF0CAA6, "スカイブルー"},
    {0xF0FBFF, "クリーム"},
    {0xA4A0A0, "ミディアムグレー"},
};

constexpr int kCustomIndex = 0;

QPixmap Swatch(TColor value) {
    QPixmap p(24, 12);
    p.fill(ResolveColor(value));
    return p;
}

QString Hex(TColor rgb) {
    return QColor::fromRgb(ToQRgb(rgb)).name(QColor::HexRgb).toUpper();
}

}  // namespace

TColorPicker::TColorPicker(QWidget* parent) : QComboBox(parent) {
    setIconSize(QSize(24, 12));
    setMaxVisibleItems(16);
    addItem(QString(), QVariant::fromValue<uint>(0));
    SetCustom(0);
    for (const NamedColor& c : kNamedColors) {
        addItem(Swatch(c.value), QString::fromUtf8(c.name), QVariant::fromValue<uint>(c.value));
        setItemData(count() - 1, Hex(c.value), Qt::ToolTipRole);
    }
    insertSeparator(count());
    for (const SystemColor& c : SystemColors()) {
        const TColor code = kSystemColorFlag | static_cast<TColor>(c.index);
        addItem(Swatch(code), QString::fromUtf8(c.name), QVariant::fromValue<uint>(code));
    }
    ChooseCustom = [](QWidget* parent, TColor start) -> std::optional<TColor> {
        const QColor c = QColorDialog::getColor(ResolveColor(start), parent);
        if (!c.isValid()) return std::nullopt;
        return FromQRgb(c.rgb());
    };
    connect(this, &QComboBox::activated, this, [this](int index) { ItemActivated(index); });
    setCurrentIndex(1);
    lastIndex_ = 1;
}

TColor TColorPicker::Value() const {
    return currentData().value<uint>();
}

void TColorPicker::SetValue(TColor value) {
    if (!IsValidColor(value)) value &= 0x00FFFFFFu;
    int index = -1;
    for (int i = kCustomIndex + 1; i < count() && index < 0; ++i)
        if (itemData(i).isValid() && itemData(i).value<uint>() == value) index = i;
    if (index < 0) {
        SetCustom(value);
        index = kCustomIndex;
    }
    setCurrentIndex(index);
    lastIndex_ = index;
}

void TColorPicker::ItemActivated(int index) {
    if (index != kCustomIndex) {
        lastIndex_ = index;
        return;
    }
    const std::optional<TColor> chosen = ChooseCustom(this, itemData(lastIndex_).value<uint>());
    if (chosen) {
        SetValue(*chosen & 0x00FFFFFFu);
    } else {
        setCurrentIndex(lastIndex_);  // Cancel keeps the colour chosen before
    }
}

void TColorPicker::SetCustom(TColor color) {
    setItemData(kCustomIndex, QVariant::fromValue<uint>(color));
    setItemIcon(kCustomIndex, Swatch(color));
    setItemText(kCustomIndex, QStringLiteral("カスタム %1...").arg(Hex(color)));
}

}  // namespace zentabo
