#pragma once

// A drop-down of colours by name: a custom colour first, then the standard and the
// extended colours, then the system colours. Its value is the stored form: 0x00BBGGRR,
// or 0x80000000 plus the index for a system colour.

#include <QComboBox>
#include <functional>
#include <optional>

#include "platform/FontTypes.h"

namespace zentabo {

class TColorPicker : public QComboBox {
    Q_OBJECT
public:
    explicit TColorPicker(QWidget* parent = nullptr);

    // Asks the user for a custom colour, starting from the given one; nullopt for
    // Cancel. Tests replace it; by default it is QColorDialog.
    std::function<std::optional<TColor>(QWidget* parent, TColor start)> ChooseCustom;

    TColor Value() const;
    // A value that is neither a colour nor a known system code selects the colour it
    // is drawn in: its low three bytes.
    void SetValue(TColor value);

private:
    void ItemActivated(int index);
    void SetCustom(TColor color);

    int lastIndex_ = 0;
};

}  // namespace zentabo
