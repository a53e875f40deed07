#pragma once

// The options dialog: every preference the user changes by hand, on four tab pages.
// It keeps nothing of its own beyond its controls: LoadFromSettings fills them before
// each showing and SaveToSettings reads them back after OK.

#include <array>

#include "qt/dialogs/AttributeForm.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace zentabo {

struct TSettings;
class TColorPicker;
class TFontNameCombo;

class TOptionDialog : public TAttributeForm {
    Q_OBJECT
public:
    explicit TOptionDialog(QWidget* parent = nullptr);

    // Values the controls cannot take come in as the nearest they can.
    void LoadFromSettings(const TSettings& settings);
    void SaveToSettings(TSettings& settings) const;

    // The ten colour pickers, in the order of the colour page.
    static constexpr int kColorCount = 10;
    const std::array<TColorPicker*, kColorCount>& ColorBoxes() const { return colorBoxes_; }

protected:
    void FormShow() override;

private:
    QWidget* WindowPage();
    QWidget* Editor1Page();
    QWidget* Editor2Page();
    QWidget* ColorPage();
    void AlphaBlendTrackBarChange();

    QTabWidget* PageControl1 = nullptr;
    // ウィンドウ
    QCheckBox* WordWrapCheck = nullptr;
    QSpinBox* ColumnUpDown = nullptr;
    QCheckBox* AlphaBlendCheck = nullptr;
    QSlider* AlphaBlendTrackBar = nullptr;
    QLineEdit* AlphaBlendValueEdit = nullptr;
    QCheckBox* IndexModeCheck = nullptr;
    QGroupBox* StartImeRadioGroup = nullptr;
    QButtonGroup* StartImeItems = nullptr;
    QCheckBox* HorzScrollBarCheck = nullptr;
    QCheckBox* VertScrollBarCheck = nullptr;
    // エディタ1
    QCheckBox* ShowCRCheck = nullptr;
    QCheckBox* ShowEOFCheck = nullptr;
    QCheckBox* ShowDblSpaceCheck = nullptr;
    QCheckBox* ShowTABCheck = nullptr;
    QCheckBox* ShowLineNumberCheck = nullptr;
    QCheckBox* ShowRulerCheck = nullptr;
    QCheckBox* ShowRulerCurCheck = nullptr;
    QCheckBox* ShowUnderline = nullptr;
    QCheckBox* UrlColorCheck = nullptr;
    TFontNameCombo* FontNameCombo = nullptr;
    QSpinBox* FontSizeUpDown = nullptr;
    // エディタ2
    QLineEdit* QuoteStringEdit = nullptr;
    QSpinBox* TabCountUpDown = nullptr;
    QLineEdit* QuoteMarkEdit = nullptr;
    QLineEdit* DateFormatEdit = nullptr;
    QLineEdit* DateTimeFormatEdit = nullptr;
    // 色
    std::array<TColorPicker*, kColorCount> colorBoxes_{};

    // The bytes each text edit was filled from, so odd bytes come back unchanged.
    ShownBytes shown_;
};

}  // namespace zentabo
