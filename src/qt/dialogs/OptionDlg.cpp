#include "qt/dialogs/OptionDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>

#include "app/Settings.h"
#include "qt/dialogs/ColorPicker.h"
#include "qt/dialogs/FontNameCombo.h"

namespace zentabo {
namespace {

// The setting behind each colour picker, in the order of the colour page.
template <typename Settings>
auto ColorFields(Settings& s) {
    return std::array{&s.Font.Color, &s.Color,    &s.MarkColor,  &s.SelColor,   &s.FindColor,
                      &s.QuoteColor, &s.UrlColor, &s.UlineColor, &s.RulerColor, &s.RulerCurColor};
}

int16_t As16Bit(int value) {
    return static_cast<int16_t>(value);
}

}  // namespace

TOptionDialog::TOptionDialog(QWidget* parent)
    : TAttributeForm(parent, 305, 417, QStringLiteral("ＭＳ Ｐゴシック"), 12) {
    setWindowTitle(QStringLiteral("オプション"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(WindowPage(), QStringLiteral("ウィンドウ"));
    PageControl1->addTab(Editor1Page(), QStringLiteral("エディタ1"));
    PageControl1->addTab(Editor2Page(), QStringLiteral("エディタ2"));
    PageControl1->addTab(ColorPage(), QStringLiteral("色"));

    // The style's group margins are made for roomier dialogs than this fixed size.
    for (QGroupBox* g : findChildren<QGroupBox*>()) {
        g->layout()->setContentsMargins(8, 2, 8, 4);
        g->layout()->setSpacing(3);
    }

    QPushButton* ok = OkButton(QStringLiteral("OK"), "OKBtn");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cancel = CancelButton(QStringLiteral("キャンセル"), "CancelBtn");
    auto* fields = new QVBoxLayout;
    fields->addWidget(PageControl1, 1);
    Arrange(fields, ok, cancel);
}

void TOptionDialog::FormShow() {
    FontNameCombo->FillList();
}

void TOptionDialog::AlphaBlendTrackBarChange() {
    AlphaBlendValueEdit->setText(QString::number(AlphaBlendTrackBar->value()));
}

void TOptionDialog::LoadFromSettings(const TSettings& s) {
    WordWrapCheck->setChecked(s.WordWrap);
    ColumnUpDown->setValue(s.Column);  // the up-downs clamp to their ranges
    AlphaBlendCheck->setChecked(s.AlphaBlend);
    AlphaBlendTrackBar->setValue(s.AlphaBlendValue);
    AlphaBlendTrackBarChange();
    IndexModeCheck->setChecked(s.IndexMode);
    // An unknown mode is read as the one that leaves the input method alone.
    StartImeItems->button(s.ImeMode >= 0 && s.ImeMode <= 2 ? s.ImeMode : 0)->setChecked(true);
    HorzScrollBarCheck->setChecked(s.HorzScrollBar);
    VertScrollBarCheck->setChecked(s.VertScrollBar);

    ShowCRCheck->setChecked(s.ShowCR);
    ShowEOFCheck->setChecked(s.ShowEOF);
    ShowDblSpaceCheck->setChecked(s.ShowDblSpace);
    ShowTABCheck->setChecked(s.ShowTAB);
    ShowLineNumberCheck->setChecked(s.ShowLineNumber);
    ShowRulerCheck->setChecked(s.ShowRuler);
    ShowRulerCurCheck->setChecked(s.ShowRulerCur);
    ShowUnderline->setChecked(s.ShowUnderLine);
    UrlColorCheck->setChecked(s.ColorPrintF);
    FontNameCombo->SetName(s.Font.Name);
    FontSizeUpDown->setValue(s.Font.Size);

    QuoteStringEdit->setText(shown_.Show(s.QuoteString));
    TabCountUpDown->setValue(s.TabCount);
    QuoteMarkEdit->setText(shown_.Show(s.QuoteMark));
    DateFormatEdit->setText(shown_.Show(s.DateFormat));
    DateTimeFormatEdit->setText(shown_.Show(s.DateTimeFormat));

    const auto colors = ColorFields(s);
    for (int i = 0; i < kColorCount; ++i) colorBoxes_[i]->SetValue(*colors[i]);
}

void TOptionDialog::SaveToSettings(TSettings& s) const {
    s.WordWrap = WordWrapCheck->isChecked();
    s.Column = As16Bit(ColumnUpDown->value());
    s.AlphaBlend = AlphaBlendCheck->isChecked();
    s.AlphaBlendValue = AlphaBlendTrackBar->value();  // the edit beside it only shows it
    s.IndexMode = IndexModeCheck->isChecked();
    s.ImeMode = std::max(StartImeItems->checkedId(), 0);
    s.HorzScrollBar = HorzScrollBarCheck->isChecked();
    s.VertScrollBar = VertScrollBarCheck->isChecked();

    s.ShowCR = ShowCRCheck->isChecked();
    s.ShowEOF = ShowEOFCheck->isChecked();
    s.ShowDblSpace = ShowDblSpaceCheck->isChecked();
    s.ShowTAB = ShowTABCheck->isChecked();
    s.ShowLineNumber = ShowLineNumberCheck->isChecked();
    s.ShowRuler = ShowRulerCheck->isChecked();
    s.ShowRulerCur = ShowRulerCurCheck->isChecked();
    s.ShowUnderLine = ShowUnderline->isChecked();
    s.ColorPrintF = UrlColorCheck->isChecked();
    s.Font.Name = FontNameCombo->Name();
    s.Font.Size = FontSizeUpDown->value();

    // The edits refuse characters code page 932 cannot hold, so every text has bytes.
    auto bytes = [this](const QLineEdit* e, const std::string& old) {
        return shown_.BytesOf(e->text()).value_or(old);
    };
    s.QuoteString = bytes(QuoteStringEdit, s.QuoteString);
    s.TabCount = As16Bit(TabCountUpDown->value());
    s.QuoteMark = bytes(QuoteMarkEdit, s.QuoteMark);
    s.DateFormat = bytes(DateFormatEdit, s.DateFormat);
    s.DateTimeFormat = bytes(DateTimeFormatEdit, s.DateTimeFormat);

    const auto colors = ColorFields(s);
    for (int i = 0; i < kColorCount; ++i) *colors[i] = colorBoxes_[i]->Value();
}

}  // namespace zentabo
