// The options dialog driven through its controls: which control carries which
// setting, the limits no value gets past, and the values that must reach the
// settings exactly as they are (typed font names, system colours, odd bytes).

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStringListModel>
#include <QtTest>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "qt/dialogs/ColorPicker.h"
#include "qt/dialogs/FontNameCombo.h"
#include "qt/dialogs/OptionDlg.h"
#include "qt/widget/SystemColors.h"

namespace zentabo {

namespace {

template <typename T>
T* Child(QWidget& d, const char* name) {
    T* w = d.findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("no child %s", name);
    return w;
}

struct BoolSetting {
    const char* control;
    bool TSettings::*field;
};

const BoolSetting kChecks[] = {
    {"WordWrapCheck", &TSettings::WordWrap},
    {"AlphaBlendCheck", &TSettings::AlphaBlend},
    {"IndexModeCheck", &TSettings::IndexMode},
    {"HorzScrollBarCheck", &TSettings::HorzScrollBar},
    {"VertScrollBarCheck", &TSettings::VertScrollBar},
    {"ShowCRCheck", &TSettings::ShowCR},
    {"ShowEOFCheck", &TSettings::ShowEOF},
    {"ShowDblSpaceCheck", &TSettings::ShowDblSpace},
    {"ShowTABCheck", &TSettings::ShowTAB},
    {"ShowLineNumberCheck", &TSettings::ShowLineNumber},
    {"ShowRulerCheck", &TSettings::ShowRuler},
    {"ShowRulerCurCheck", &TSettings::ShowRulerCur},
    {"ShowUnderline", &TSettings::ShowUnderLine},
    {"UrlColorCheck", &TSettings::ColorPrintF},
};

// Every setting as the file would hold it: two settings are equal when these are.
std::string FileText(const TSettings& s) {
    IniFile ini;
    s.WriteTo(ini);
    return ini.Text();
}

TSettings Defaults() {
    TSettings s;
    s.ReadFrom(IniFile(), TWindowDefaults{});
    return s;
}

// Saves into settings that differ from the loaded ones in every field the dialog
// shows, so a control that writes nothing is caught too.
TSettings SavedOver(const TOptionDialog& d, TSettings base) {
    d.SaveToSettings(base);
    return base;
}

}  // namespace

class OptionDlgTest : public QObject {
    Q_OBJECT

private slots:
    void eachCheckBoxCarriesItsOwnSetting() {
        TOptionDialog d;
        QCOMPARE(d.windowTitle(), QStringLiteral("オプション"));
        QCOMPARE(d.size(), QSize(305, 417));
        for (const BoolSetting& target : kChecks) {
            TSettings s = Defaults();
            for (const BoolSetting& b : kChecks) s.*b.field = false;
            s.*target.field = true;
            d.LoadFromSettings(s);
            for (const BoolSetting& b : kChecks)
                QVERIFY2(Child<QCheckBox>(d, b.control)->isChecked() == (&b == &target), b.control);
            QTest::mouseClick(Child<QCheckBox>(d, target.control), Qt::LeftButton);
            TSettings flipped = s;
            flipped.*target.field = false;
            TSettings saved = s;
            d.SaveToSettings(saved);
            QVERIFY2(FileText(saved) == FileText(flipped), target.control);
        }
    }

    void everyOtherValueRoundTripsExactly() {
        TSettings s = Defaults();
        s.Column = 123;
        s.AlphaBlendValue = 77;
        s.ImeMode = 2;
        s.Font.Name = "No Such Font \x82\xA0";  // "あ"
        s.Font.Size = 33;
        s.TabCount = 3;
        s.QuoteString = "\xFC\xFC|";  // a user-defined character
        s.QuoteMark = "\x87\x40 ";    // NEC ① and a trailing blank
        s.DateFormat = "yyyy";
        s.DateTimeFormat = "hh:nn";
        const TColor colors[] = {0x010203, 0x80000005, 0x8000000F, 0x0000FF, 0x123456,
                                 0xF0CAA6, 0x80000018, 0x000000,   0xFFFFFF, 0x8000001E};
        const auto fields = {&s.Font.Color, &s.Color,        &s.MarkColor, &s.SelColor,
                             &s.FindColor,  &s.QuoteColor,   &s.UrlColor,  &s.UlineColor,
                             &s.RulerColor, &s.RulerCurColor};
        int i = 0;
        for (TColor* f : fields) *f = colors[i++];
        TOptionDialog d;
        d.LoadFromSettings(s);
        QCOMPARE(Child<QRadioButton>(d, "StartImeRadio2")->isChecked(), true);
        QCOMPARE(Child<QLineEdit>(d, "AlphaBlendValueEdit")->text(), QStringLiteral("77"));
        QCOMPARE(Child<QComboBox>(d, "FontNameCombo")->currentText(),
                 QStringLiteral("No Such Font あ"));
        QCOMPARE(Child<TColorPicker>(d, "SelColorBox")->currentText(), QStringLiteral("赤"));
        QCOMPARE(Child<TColorPicker>(d, "ColorBox")->currentText(),
                 QStringLiteral("ウィンドウの背景"));

        TSettings other = Defaults();
        other.Column = 9;
        other.AlphaBlendValue = 1;
        other.Font.Name = "x";
        other.Font.Size = 7;
        other.TabCount = 8;
        other.QuoteString = other.QuoteMark = other.DateFormat = other.DateTimeFormat = "-";
        for (TColor* f : {&other.Font.Color, &other.Color, &other.MarkColor, &other.SelColor,
                          &other.FindColor, &other.QuoteColor, &other.UrlColor, &other.UlineColor,
                          &other.RulerColor, &other.RulerCurColor})
            *f = 0x777777;
        QCOMPARE(FileText(SavedOver(d, other)), FileText(s));

        // The radio group and the slider as the user works them.
        QTest::mouseClick(Child<QRadioButton>(d, "StartImeRadio1"), Qt::LeftButton);
        Child<QSlider>(d, "AlphaBlendTrackBar")->setValue(200);
        QCOMPARE(Child<QLineEdit>(d, "AlphaBlendValueEdit")->text(), QStringLiteral("200"));
        const TSettings worked = SavedOver(d, s);
        QCOMPARE(worked.ImeMode, 1);
        QCOMPARE(worked.AlphaBlendValue, 200);
    }

    void valuesOutsideTheRangesComeInAsTheNearestValidOnes() {
        TSettings s = Defaults();
        s.Column = 100000;
        s.Font.Size = 0;
        s.TabCount = 300;
        s.AlphaBlendValue = -4;
        s.ImeMode = 7;
        s.Font.Name = std::string(10000, 'F');
        s.Color = 0x1FFFFFFF;     // neither a colour nor a system code
        s.SelColor = 0x80000019;  // index 25 is no system colour
        TOptionDialog d;
        d.LoadFromSettings(s);
        const TSettings saved = SavedOver(d, s);
        QCOMPARE(saved.Column, 32767);
        QCOMPARE(saved.Font.Size, 1);
        QCOMPARE(saved.TabCount, 8);
        QCOMPARE(saved.AlphaBlendValue, 0);
        QCOMPARE(saved.ImeMode, 0);
        QCOMPARE(saved.Font.Name, std::string("Default"));
        QCOMPARE(saved.Color, TColor(0xFFFFFF));
        QCOMPARE(saved.SelColor, TColor(0x000019));

        s.Column = 2;
        s.Font.Size = 1000;
        s.TabCount = 0;
        s.Font.Name.clear();
        d.LoadFromSettings(s);
        const TSettings low = SavedOver(d, s);
        QCOMPARE(low.Column, 6);
        QCOMPARE(low.Font.Size, 100);
        QCOMPARE(low.TabCount, 1);
        QCOMPARE(low.Font.Name, std::string("Default"));

        // The arrows stop at the ends, and the edits beside them take no typing.
        auto* column = Child<QSpinBox>(d, "ColumnUpDown");
        column->stepDown();
        QCOMPARE(column->value(), 6);
        column->setValue(32767);
        column->stepUp();
        QCOMPARE(column->value(), 32767);
        auto* tabs = Child<QSpinBox>(d, "TabCountUpDown");
        tabs->setValue(8);
        tabs->stepUp();
        QCOMPARE(tabs->value(), 8);
        for (const char* edit : {"ColumnEdit", "FontSizeEdit", "TabCountEdit"})
            QVERIFY2(Child<QLineEdit>(d, edit)->isReadOnly(), edit);
        QTest::keyClicks(Child<QLineEdit>(d, "ColumnEdit"), "99");
        QCOMPARE(column->value(), 32767);
    }

    void theTransparencyEditOnlyShowsTheSlider() {
        TSettings s = Defaults();
        s.AlphaBlendValue = 128;
        TOptionDialog d;
        d.LoadFromSettings(s);
        auto* edit = Child<QLineEdit>(d, "AlphaBlendValueEdit");
        edit->selectAll();
        QTest::keyClicks(edit, "12");
        QCOMPARE(edit->text(), QStringLiteral("12"));
        QCOMPARE(SavedOver(d, s).AlphaBlendValue, 128);
    }

    void fontNamesAreTypedFreelyAndFoundByAnyPart() {
        TOptionDialog d;
        d.LoadFromSettings(Defaults());
        d.show();  // the list is filled on the first showing
        auto* combo = Child<TFontNameCombo>(d, "FontNameCombo");
        QVERIFY(combo->count() > 1);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        QVERIFY(items.contains(QStringLiteral("Default")));
        QStringList sorted = items;
        std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        QCOMPARE(items, sorted);
        QCOMPARE(combo->currentText(), QStringLiteral("FixedSys"));  // filling kept the text

        // A part from the middle of an installed family's name finds it.
        const QString family = items.last();
        const QString part = family.mid(1, 3).toLower();
        combo->completer()->setCompletionPrefix(part);
        QStringList found;
        for (int i = 0; combo->completer()->setCurrentRow(i); ++i)
            found << combo->completer()->currentCompletion();
        QVERIFY2(found.contains(family), qPrintable(part));

        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "Nirgends Mono");
        QCOMPARE(SavedOver(d, Defaults()).Font.Name, std::string("Nirgends Mono"));
        d.hide();
    }

    void colourPickersKeepSystemCodesAndTakeCustomColours() {
        TColorPicker picker;
        picker.SetValue(0x8000000D);
        QCOMPARE(picker.Value(), TColor(0x8000000D));
        QCOMPARE(picker.currentText(), QStringLiteral("選択項目の背景"));
        QCOMPARE(ResolveColor(0x8000000D), QGuiApplication::palette().color(QPalette::Highlight));
        QCOMPARE(ResolveColor(0x00336699), QColor(0x99, 0x66, 0x33));

        std::optional<TColor> answer = TColor(0x00336699);
        TColor startedFrom = 0;
        picker.ChooseCustom = [&](QWidget*, TColor start) {
            startedFrom = start;
            return answer;
        };
        picker.setFocus();
        QTest::keyClick(&picker, Qt::Key_Home);  // the custom entry is the first
        QCOMPARE(startedFrom, TColor(0x8000000D));
        QCOMPARE(picker.Value(), TColor(0x00336699));
        QVERIFY(picker.currentText().contains(QStringLiteral("#996633")));

        picker.SetValue(0x0000FF);
        answer.reset();  // Cancel in the colour dialog
        QTest::keyClick(&picker, Qt::Key_Home);
        QCOMPARE(picker.Value(), TColor(0x0000FF));
    }
};

}  // namespace zentabo

QTEST_MAIN(zentabo::OptionDlgTest)
#include "OptionDlgTest.moc"
