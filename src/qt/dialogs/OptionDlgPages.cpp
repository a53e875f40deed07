// The four tab pages of the options dialog and their controls with the form defaults.

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "qt/dialogs/ColorPicker.h"
#include "qt/dialogs/Cp932Validator.h"
#include "qt/dialogs/FontNameCombo.h"
#include "qt/dialogs/OptionDlg.h"

namespace zentabo {
namespace {

QCheckBox* Check(QWidget* parent, const char* caption, const char* name, bool checked = false) {
    auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setChecked(checked);
    return c;
}

// An up-down with its edit beside it: the arrows change the value, typing does not.
QSpinBox* UpDown(QWidget* parent, const char* name, const char* editName, int min, int max,
                 int value) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(min, max);
    s->setSingleStep(1);
    s->setWrapping(false);
    s->setValue(value);
    s->setMinimumWidth(72);
    if (auto* edit = s->findChild<QLineEdit*>()) {
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setReadOnly(true);
    }
    return s;
}

QLabel* Label(QWidget* parent, const char* caption, QWidget* buddy) {
    auto* l = new QLabel(QString::fromUtf8(caption), parent);
    l->setBuddy(buddy);
    return l;
}

QLineEdit* TextEdit(QWidget* parent, const char* name, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setValidator(new Cp932Validator(e));
    return e;
}

QGroupBox* Group(QWidget* parent, const char* caption) {
    return new QGroupBox(QString::fromUtf8(caption), parent);
}

// A row of a label and its control, the control left-aligned at its own width.
void AddRow(QGridLayout* grid, int row, QLabel* label, QWidget* control) {
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1, Qt::AlignLeft);
}

QVBoxLayout* PageLayout(QWidget* page) {
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(6, 4, 6, 4);
    v->setSpacing(2);
    return v;
}

}  // namespace

QWidget* TOptionDialog::WindowPage() {
    auto* page = new QWidget;
    auto* v = PageLayout(page);

    QGroupBox* wrap = Group(page, "折り返し");
    WordWrapCheck = Check(wrap, "指定した桁数で折り返しを行う(&W)", "WordWrapCheck");
    ColumnUpDown = UpDown(wrap, "ColumnUpDown", "ColumnEdit", 6, 32767, 80);
    auto* wrapGrid = new QGridLayout(wrap);
    wrapGrid->addWidget(WordWrapCheck, 0, 0, 1, 2);
    AddRow(wrapGrid, 1, Label(wrap, "表示桁数(&C)", ColumnUpDown), ColumnUpDown);
    wrapGrid->setColumnStretch(1, 1);
    v->addWidget(wrap);

    QGroupBox* look = Group(page, "表示設定");
    AlphaBlendCheck = Check(look, "ウィンドウの透明化(&A)", "AlphaBlendCheck");
    AlphaBlendTrackBar = new QSlider(Qt::Horizontal, look);
    AlphaBlendTrackBar->setObjectName(QStringLiteral("AlphaBlendTrackBar"));
    AlphaBlendTrackBar->setRange(0, 255);
    AlphaBlendTrackBar->setTickInterval(10);
    AlphaBlendTrackBar->setTickPosition(QSlider::TicksBelow);
    AlphaBlendTrackBar->setValue(255);
    AlphaBlendValueEdit = new QLineEdit(QStringLiteral("255"), look);
    AlphaBlendValueEdit->setObjectName(QStringLiteral("AlphaBlendValueEdit"));
    AlphaBlendValueEdit->setFixedWidth(40);
    connect(AlphaBlendTrackBar, &QSlider::valueChanged, this,
            [this] { AlphaBlendTrackBarChange(); });
    auto* lookGrid = new QGridLayout(look);
    lookGrid->addWidget(AlphaBlendCheck, 0, 0, 1, 3);
    lookGrid->addWidget(Label(look, "透明度(&V)", AlphaBlendTrackBar), 1, 0);
    lookGrid->addWidget(AlphaBlendTrackBar, 1, 1);
    lookGrid->addWidget(AlphaBlendValueEdit, 1, 2);
    v->addWidget(look);

    QGroupBox* start = Group(page, "起動時の設定");
    IndexModeCheck = Check(start, "起動時にPage&0を表示する", "IndexModeCheck");
    (new QVBoxLayout(start))->addWidget(IndexModeCheck);
    v->addWidget(start);

    StartImeRadioGroup = Group(page, "起動時の&IME制御");
    StartImeRadioGroup->setObjectName(QStringLiteral("StartImeRadioGroup"));
    StartImeItems = new QButtonGroup(StartImeRadioGroup);
    auto* imeRow = new QHBoxLayout(StartImeRadioGroup);
    const char* items[] = {"行わない", "ONにする", "OFFにする"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(items[i]), StartImeRadioGroup);
        radio->setObjectName(QStringLiteral("StartImeRadio%1").arg(i));
        StartImeItems->addButton(radio, i);
        imeRow->addWidget(radio, 1);
    }
    StartImeItems->button(0)->setChecked(true);
    v->addWidget(StartImeRadioGroup);

    QGroupBox* bars = Group(page, "スクロールバー");
    HorzScrollBarCheck =
        Check(bars, "水平スクロールバーを表示する(&H)", "HorzScrollBarCheck", true);
    VertScrollBarCheck =
        Check(bars, "垂直スクロールバーを表示する(&V)", "VertScrollBarCheck", true);
    auto* barRows = new QVBoxLayout(bars);
    barRows->addWidget(HorzScrollBarCheck);
    barRows->addWidget(VertScrollBarCheck);
    v->addWidget(bars);
    v->addStretch(1);
    return page;
}

QWidget* TOptionDialog::Editor1Page() {
    auto* page = new QWidget;
    auto* v = PageLayout(page);

    QGroupBox* show = Group(page, "表示");
    auto* rows = new QVBoxLayout(show);
    rows->setSpacing(4);
    const struct {
        QCheckBox** box;
        const char* caption;
        const char* name;
    } checks[] = {
        {&ShowCRCheck, "改行コードを表示する(&R)", "ShowCRCheck"},
        {&ShowEOFCheck, "&EOFコードを表示する", "ShowEOFCheck"},
        {&ShowDblSpaceCheck, "全角空白を表示する(&D)", "ShowDblSpaceCheck"},
        {&ShowTABCheck, "&TABコードを表示する", "ShowTABCheck"},
        {&ShowLineNumberCheck, "行番号を表示する(&L)", "ShowLineNumberCheck"},
        {&ShowRulerCheck, "ルーラーを表示する(&R)", "ShowRulerCheck"},
        {&ShowRulerCurCheck, "ルーラーカーソルを表示する(&C)", "ShowRulerCurCheck"},
        {&ShowUnderline, "アンダーラインを表示する(&U)", "ShowUnderline"},
        {&UrlColorCheck, "URLや引用に色をつける(&Q)", "UrlColorCheck"},
    };
    for (const auto& c : checks) {
        *c.box = Check(show, c.caption, c.name);
        rows->addWidget(*c.box);
    }
    v->addWidget(show);

    QGroupBox* font = Group(page, "フォント");
    FontNameCombo = new TFontNameCombo(font);
    FontNameCombo->setObjectName(QStringLiteral("FontNameCombo"));
    FontSizeUpDown = UpDown(font, "FontSizeUpDown", "FontSizeEdit", 1, 100, 12);
    auto* fontGrid = new QGridLayout(font);
    fontGrid->addWidget(Label(font, "フォント名(&F)", FontNameCombo), 0, 0);
    fontGrid->addWidget(FontNameCombo, 0, 1);
    AddRow(fontGrid, 1, Label(font, "サイズ(&S)", FontSizeUpDown), FontSizeUpDown);
    fontGrid->setColumnStretch(1, 1);
    v->addWidget(font);
    v->addStretch(1);
    return page;
}

QWidget* TOptionDialog::Editor2Page() {
    auto* page = new QWidget;
    auto* v = PageLayout(page);

    QGroupBox* other = Group(page, "その他");
    QuoteStringEdit = TextEdit(other, "QuoteStringEdit", QStringLiteral(">|＞"));
    TabCountUpDown = UpDown(other, "TabCountUpDown", "TabCountEdit", 1, 8, 6);
    auto* otherGrid = new QGridLayout(other);
    otherGrid->addWidget(Label(other, "引用符(&Q)", QuoteStringEdit), 0, 0);
    otherGrid->addWidget(QuoteStringEdit, 0, 1);
    AddRow(otherGrid, 1, Label(other, "タブ幅(&C)", TabCountUpDown), TabCountUpDown);
    otherGrid->setColumnStretch(1, 1);
    v->addWidget(other);

    QGroupBox* format = Group(page, "書式");
    QuoteMarkEdit = TextEdit(format, "QuoteMarkEdit", QStringLiteral(">"));
    DateFormatEdit = TextEdit(format, "DateFormatEdit", QStringLiteral("(yyyy/mm/dd)"));
    DateTimeFormatEdit =
        TextEdit(format, "DateTimeFormatEdit", QStringLiteral("(yyyy/mm/dd hh:nn:ss)"));
    auto* formatRows = new QVBoxLayout(format);
    formatRows->setSpacing(2);
    const std::pair<const char*, QLineEdit*> fields[] = {
        {"引用貼り付け時の引用符(&M)", QuoteMarkEdit},
        {"「日付の貼り付け」の書式(&D)", DateFormatEdit},
        {"「日時の貼り付け」の書式(&T)", DateTimeFormatEdit},
    };
    for (const auto& [caption, edit] : fields) {
        formatRows->addWidget(Label(format, caption, edit));
        formatRows->addWidget(edit);
        formatRows->addSpacing(4);
    }
    v->addWidget(format);
    v->addStretch(1);
    return page;
}

QWidget* TOptionDialog::ColorPage() {
    auto* page = new QWidget;
    auto* v = PageLayout(page);
    QGroupBox* colors = Group(page, "色");
    auto* grid = new QGridLayout(colors);
    grid->setVerticalSpacing(6);
    const std::pair<const char*, const char*> boxes[kColorCount] = {
        {"FontColorBox", "フォント(&F)"},
        {"ColorBox", "背景色(&B)"},
        {"MarkColorBox", "マーク(&M)"},
        {"SelColorBox", "選択時の反転色(&S)"},
        {"FindColorBox", "検索時の反転色(&F)"},
        {"QuoteColorBox", "引用行(&Q)"},
        {"UrlColorBox", "&URL"},
        {"UlineColorBox", "アンダーライン(&U)"},
        {"RulerColorBox", "ルーラー(&R)"},
        {"RulerCurColorBox", "ルーラーカーソル(&C)"},
    };
    for (int i = 0; i < kColorCount; ++i) {
        auto* box = new TColorPicker(colors);
        box->setObjectName(QString::fromLatin1(boxes[i].first));
        colorBoxes_[i] = box;
        grid->addWidget(Label(colors, boxes[i].second, box), i, 0);
        grid->addWidget(box, i, 1);
    }
    grid->setColumnStretch(1, 1);
    v->addWidget(colors);
    v->addStretch(1);
    return page;
}

}  // namespace zentabo
