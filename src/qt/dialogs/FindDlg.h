#pragma once

// The modeless find and replace window. It searches nothing itself: it keeps the
// search text, the replacement and the find options, and its buttons raise OnFind
// and OnReplace for the main window to act on the active page.

#include <QDialog>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "app/FindBridge.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabBar;

namespace zentabo {

struct TSettings;

enum TDialogMode { dmFind, dmReplace };

class TFindDialog : public QDialog {
    Q_OBJECT

public:
    explicit TFindDialog(QWidget* parent = nullptr);

    // Raised by the find button, and by the replace and replace-all buttons. Either
    // may be empty; the buttons then only change Options.
    std::function<void(TFindDialog& sender)> OnFind;
    std::function<void(TFindDialog& sender)> OnReplace;

    TFindOptions Options() const { return options_; }
    void SetOptions(TFindOptions options) { options_ = options; }

    // The two texts as code page 932 bytes.
    std::string FindText() const;
    void SetFindText(std::string_view bytes);
    std::string ReplaceText() const;
    void SetReplaceText(std::string_view bytes);

    TDialogMode DialogMode() const;
    void SetDialogMode(TDialogMode mode);

    void LoadFromSettings(const TSettings& settings);
    void SaveToSettings(TSettings& settings) const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Bytes given through SetFindText/SetReplaceText, handed back unchanged while the
    // edit still shows them: decoding and encoding again would not keep odd bytes or
    // the NEC and IBM duplicate codes.
    struct EditBytes {
        std::string bytes;
        QString shown;
    };
    static std::string TextOf(const QLineEdit* edit, const EditBytes& given);
    static void SetTextOf(QLineEdit* edit, EditBytes& given, std::string_view bytes);

    void BuildControls();
    void TabControl1Change();
    void UpDownRadioClick(int item);
    void WholeWordCheckClick(bool checked);
    void FindBtnClick();
    void ReplaceBtnClick();
    void AllReplaceBtnClick();
    void ApplyTransparency();

    TFindOptions options_;
    EditBytes findGiven_;
    EditBytes replaceGiven_;
    bool placed_ = false;

    QTabBar* TabControl1 = nullptr;
    QLabel* FindLabel = nullptr;
    QLineEdit* FindTextEdit = nullptr;
    QLabel* ReplaceLabel = nullptr;
    QLineEdit* ReplaceTextEdit = nullptr;
    QCheckBox* WholeWordCheck = nullptr;  // the match-case box, despite its name
    QGroupBox* UpDownRadio = nullptr;
    QButtonGroup* UpDownItems = nullptr;
    QPushButton* FindBtn = nullptr;
    QPushButton* ReplaceBtn = nullptr;
    QPushButton* AllReplaceBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QCheckBox* AlphaCheck = nullptr;
    QSlider* AlphaTrackBar = nullptr;
};

}  // namespace zentabo
