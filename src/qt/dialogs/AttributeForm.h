#pragma once

// What the small modal attribute dialogs share: a fixed client size and font, the
// placing at the screen centre on every showing, OK and cancel buttons, and the check
// that turns a field's text into the code page 932 bytes of an attribute value.

#include <QDialog>
#include <QHash>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QComboBox;
class QLayout;
class QPushButton;

namespace zentabo {

// Remembers the bytes a shown text was decoded from: bytes that do not decode
// (stray lead bytes, duplicate codes) come back unchanged while the text is.
class ShownBytes {
public:
    QString Show(std::string_view bytes);
    // nullopt when the text holds a character code page 932 cannot hold.
    std::optional<std::string> BytesOf(const QString& text) const;

    // A combo's items from comma text and back (the class history).
    void SetItems(QComboBox* combo, std::string_view commaText);
    std::string ItemsOf(const QComboBox* combo) const;

private:
    QHash<QString, std::string> given_;
};

// The text without the characters of code 32 or less at either end, as a dropped
// address arrives with a line break or blanks around it.
QString TrimControls(const QString& text);

class TAttributeForm : public QDialog {
    Q_OBJECT
public:
    TAttributeForm(QWidget* parent, int clientWidth, int clientHeight, const QString& fontFace,
                   int fontPixels);

protected:
    QPushButton* OkButton(const QString& caption, const char* name);
    QPushButton* CancelButton(const QString& caption, const char* name);
    // The fields at the top, the OK and cancel buttons at the bottom right.
    void Arrange(QLayout* fields, QPushButton* ok, QPushButton* cancel);
    // An editable combo that changes its items only when the program says so.
    QComboBox* FieldCombo(const char* name);

    // The bytes of an attribute value typed into field, or nullopt after telling the
    // user why it cannot be used: a double quote would end the attribute early, and
    // a character code page 932 cannot hold would be stored as something else.
    std::optional<std::string> AttributeValue(QWidget* field, const QString& attribute,
                                              const QString& text, const ShownBytes& shown);

    void showEvent(QShowEvent* event) override;
    // Runs on every showing, after the dialog is placed.
    virtual void FormShow() {}
};

}  // namespace zentabo
