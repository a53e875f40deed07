#include "qt/dialogs/FindDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSlider>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/Settings.h"
#include "qt/dialogs/Cp932Validator.h"
#include "store/Cp932Codec.h"

namespace zentabo {
namespace {

std::u16string ToU16(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()),
                          static_cast<std::size_t>(s.size()));
}

}  // namespace

TFindDialog::TFindDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("検索と置換"));
    setModal(false);
    BuildControls();
    setFixedSize(481, 193);

    options_ = TFindOptions{frDown};
    TabControl1Change();
}

void TFindDialog::BuildControls() {
    TabControl1 = new QTabBar(this);
    TabControl1->setObjectName("TabControl1");
    TabControl1->addTab(QStringLiteral("検索"));
    TabControl1->addTab(QStringLiteral("置換"));
    TabControl1->setExpanding(false);
    connect(TabControl1, &QTabBar::currentChanged, this, [this] { TabControl1Change(); });

    auto* page = new QFrame(this);
    page->setFrameShape(QFrame::StyledPanel);

    FindLabel = new QLabel(QStringLiteral("検索する文字列(&N)"), page);
    FindLabel->setObjectName("FindLabel");
    FindTextEdit = new QLineEdit(page);
    FindTextEdit->setObjectName("FindTextEdit");
    FindTextEdit->setValidator(new Cp932Validator(FindTextEdit));
    FindLabel->setBuddy(FindTextEdit);

    ReplaceLabel = new QLabel(QStringLiteral("置換後の文字列(&P)"), page);
    ReplaceLabel->setObjectName("ReplaceLabel");
    ReplaceTextEdit = new QLineEdit(page);
    ReplaceTextEdit->setObjectName("ReplaceTextEdit");
    ReplaceTextEdit->setValidator(new Cp932Validator(ReplaceTextEdit));
    ReplaceLabel->setBuddy(ReplaceTextEdit);

    WholeWordCheck = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), page);
    WholeWordCheck->setObjectName("WholeWordCheck");
    connect(WholeWordCheck, &QCheckBox::toggled, this,
            [this](bool checked) { WholeWordCheckClick(checked); });

    UpDownRadio = new QGroupBox(QStringLiteral("検索する方向"), page);
    UpDownRadio->setObjectName("UpDownRadio");
    UpDownItems = new QButtonGroup(UpDownRadio);
    auto* radioRow = new QHBoxLayout(UpDownRadio);
    radioRow->setContentsMargins(6, 2, 6, 2);
    const QString items[] = {QStringLiteral("上へ(&U)"), QStringLiteral("下へ(&D)")};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(items[i], UpDownRadio);
        radio->setObjectName(QStringLiteral("UpDownRadio%1").arg(i));
        UpDownItems->addButton(radio, i);
        radioRow->addWidget(radio);
    }
    UpDownItems->button(1)->setChecked(true);
    connect(UpDownItems, &QButtonGroup::idClicked, this, [this](int id) { UpDownRadioClick(id); });

    AlphaCheck = new QCheckBox(QStringLiteral("ダイアログの透明化(&A)"), page);
    AlphaCheck->setObjectName("AlphaCheck");
    connect(AlphaCheck, &QCheckBox::toggled, this, [this] { ApplyTransparency(); });

    AlphaTrackBar = new QSlider(Qt::Horizontal, page);
    AlphaTrackBar->setObjectName("AlphaTrackBar");
    AlphaTrackBar->setRange(0, 255);
    AlphaTrackBar->setTickInterval(10);
    AlphaTrackBar->setTickPosition(QSlider::TicksBelow);
    AlphaTrackBar->setValue(255);
    connect(AlphaTrackBar, &QSlider::valueChanged, this, [this] { ApplyTransparency(); });

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 6, 8, 4);
    grid->setVerticalSpacing(4);
    grid->addWidget(FindLabel, 0, 0);
    grid->addWidget(FindTextEdit, 0, 1);
    grid->addWidget(ReplaceLabel, 1, 0);
    grid->addWidget(ReplaceTextEdit, 1, 1);
    grid->addWidget(WholeWordCheck, 2, 0);
    grid->addWidget(UpDownRadio, 2, 1);
    grid->addWidget(AlphaCheck, 3, 0);
    grid->addWidget(AlphaTrackBar, 3, 1);

    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(TabControl1);
    left->addWidget(page, 1);

    FindBtn = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    FindBtn->setObjectName("FindBtn");
    FindBtn->setDefault(true);
    connect(FindBtn, &QPushButton::clicked, this, [this] { FindBtnClick(); });
    ReplaceBtn = new QPushButton(QStringLiteral("置換開始(&R)"), this);
    ReplaceBtn->setObjectName("ReplaceBtn");
    connect(ReplaceBtn, &QPushButton::clicked, this, [this] { ReplaceBtnClick(); });
    AllReplaceBtn = new QPushButton(QStringLiteral("すべて置換(&A)"), this);
    AllReplaceBtn->setObjectName("AllReplaceBtn");
    connect(AllReplaceBtn, &QPushButton::clicked, this, [this] { AllReplaceBtnClick(); });
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName("CancelBtn");
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    for (QPushButton* b : {FindBtn, ReplaceBtn, AllReplaceBtn, CancelBtn}) right->addWidget(b);
    right->addStretch(1);

    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->addLayout(left, 1);
    root->addLayout(right);
}

std::string TFindDialog::TextOf(const QLineEdit* edit, const EditBytes& given) {
    if (edit->text() == given.shown) return given.bytes;
    return Utf16ToCp932(ToU16(edit->text())).bytes;
}

void TFindDialog::SetTextOf(QLineEdit* edit, EditBytes& given, std::string_view bytes) {
    const std::u16string u = Cp932ToUtf16(bytes);
    given.bytes.assign(bytes);
    given.shown = QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
    edit->setText(given.shown);
}

std::string TFindDialog::FindText() const {
    return TextOf(FindTextEdit, findGiven_);
}
void TFindDialog::SetFindText(std::string_view bytes) {
    SetTextOf(FindTextEdit, findGiven_, bytes);
}
std::string TFindDialog::ReplaceText() const {
    return TextOf(ReplaceTextEdit, replaceGiven_);
}
void TFindDialog::SetReplaceText(std::string_view bytes) {
    SetTextOf(ReplaceTextEdit, replaceGiven_, bytes);
}

TDialogMode TFindDialog::DialogMode() const {
    return TabControl1->currentIndex() == 1 ? dmReplace : dmFind;
}

void TFindDialog::SetDialogMode(TDialogMode mode) {
    // The handler runs once, whether or not the index really changes.
    const QSignalBlocker block(TabControl1);
    TabControl1->setCurrentIndex(mode == dmReplace ? 1 : 0);
    TabControl1Change();
}

void TFindDialog::LoadFromSettings(const TSettings& settings) {
    AlphaCheck->setChecked(settings.FindDialogAlphaBlend);
    AlphaTrackBar->setValue(settings.FindDialogAlphaBlendValue);  // the slider clamps to 0..255
    ApplyTransparency();
}

void TFindDialog::SaveToSettings(TSettings& settings) const {
    settings.FindDialogAlphaBlend = AlphaCheck->isChecked();
    settings.FindDialogAlphaBlendValue = AlphaTrackBar->value();
}

void TFindDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    if (!placed_) {
        // Centred the first time; afterwards it stays where the user put it.
        placed_ = true;
        if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    }
    FindTextEdit->setFocus(Qt::OtherFocusReason);
    FindTextEdit->selectAll();
}

void TFindDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // A minimised main window hides its dialogs without the user closing them.
    if (!event->spontaneous()) options_.Exclude(frFindNext);
}

void TFindDialog::TabControl1Change() {
    const bool replace = TabControl1->currentIndex() == 1;
    for (QWidget* w : {static_cast<QWidget*>(ReplaceLabel), static_cast<QWidget*>(ReplaceTextEdit),
                       static_cast<QWidget*>(ReplaceBtn), static_cast<QWidget*>(AllReplaceBtn)})
        w->setEnabled(replace);
    UpDownRadio->setEnabled(!replace);
    if (replace) {
        // Replacing always runs downward, and the direction stays so afterwards.
        UpDownItems->button(1)->setChecked(true);
        options_.Include(frDown);
    }
}

void TFindDialog::UpDownRadioClick(int item) {
    if (item == 0) {
        options_.Exclude(frDown);
    } else {
        options_.Include(frDown);
    }
}

void TFindDialog::WholeWordCheckClick(bool checked) {
    if (checked) {
        options_.Include(frMatchCase);
    } else {
        options_.Exclude(frMatchCase);
    }
}

void TFindDialog::FindBtnClick() {
    options_.Include(frFindNext);
    if (OnFind) OnFind(*this);
}

void TFindDialog::ReplaceBtnClick() {
    options_.Exclude(frReplaceAll);
    options_.Include(frReplace);
    if (OnReplace) OnReplace(*this);
}

void TFindDialog::AllReplaceBtnClick() {
    options_.Exclude(frReplace);
    options_.Include(frReplaceAll);
    if (OnReplace) OnReplace(*this);
}

void TFindDialog::ApplyTransparency() {
    setWindowOpacity(AlphaCheck->isChecked() ? AlphaTrackBar->value() / 255.0 : 1.0);
}

}  // namespace zentabo
