#pragma once

// TEditSheet: one page of the main window. It owns the editor widget filling it,
// remembers the bound file and whether its text is kept in the page store, follows
// the editor's undo/redo availability and answers the editor's search events.

#include <QString>
#include <QWidget>
#include <string>

#include "app/FileIo.h"
#include "platform/FontTypes.h"

class QMenu;

namespace zentabo {

class LumEditWidget;
class TLumEdit;
struct TSettings;

// What the page asks of the window around it: the replace question and the plain
// messages go through here, so tests can answer them.
class SheetPrompts {
public:
    virtual ~SheetPrompts() = default;
    enum class ReplaceAnswer { Yes, No, Abort, All, Other };
    virtual void ShowMessage(const QString& text) = 0;
    virtual ReplaceAnswer AskReplace() = 0;
    // A question answered Yes (true) or No.
    virtual bool AskYesNo(const QString& text) = 0;
    virtual bool MatchCase() const = 0;
    // The editor's reconversion request, when it hands it on (imrManual).
    virtual void ImeReconvert(LumEditWidget* /*editor*/) {}
};

// "Could not read" with the path as the user knows it and the system's reason.
QString ReadFailureMessage(const std::string& path, const std::string& reason);

class TEditSheet : public QWidget {
    Q_OBJECT
public:
    TEditSheet(SheetPrompts* prompts, QMenu* editPopupMenu, QWidget* parent = nullptr);
    ~TEditSheet() override;

    TLumEdit& Edit();
    LumEditWidget* EditWidget() const { return widget_; }

    // The bound file in the file system's own bytes (QFile::encodeName), empty when
    // the page is not bound: names code page 932 or UTF-8 cannot hold still work.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string path) { fileName_ = std::move(path); }
    // The bound file as shown to the user.
    QString DisplayFileName() const;

    // Loads the file into the editor; on opening (offerConversion), a UTF-8 file is
    // named as such and may be converted to code page 932. A file that cannot be
    // read leaves the page as it was; the result says why.
    FileResult LoadFile(const std::string& path, bool offerConversion);

    bool SaveMode() const { return saveMode_; }
    void SetSaveMode(bool on);
    // Tab image: 0 while the text is kept in the page store, 1 while it is not.
    int ImageIndex() const { return saveMode_ ? 0 : 1; }

    bool CanUndo() const { return canUndo_; }
    bool CanRedo() const { return canRedo_; }

    const std::string& FindText() const { return findText_; }
    void SetFindText(const std::string& text) { findText_ = text; }
    TColor FindColor() const { return findColor_; }
    void SetFindColor(TColor c) { findColor_ = c; }

    // False: the editor's progress stopped the page's new layout; the page keeps its
    // old one until the settings it was made for are applied again.
    bool ApplySettings(const TSettings& settings);

    // Replaces the selection (empty when none) with open + selection + close.
    void WrapSelection(const std::string& open, const std::string& close);
    void InsertAtSelection(const std::string& text);

signals:
    // The tab image must follow the save mode.
    void SaveModeChanged(TEditSheet* sheet);

private:
    void WireEditorEvents();
    // True when the user had the UTF-8 file converted and the page holds it.
    bool LoadConvertedUtf8(const std::string& path, const std::string& bytes);
    FileResult LoadAsItIs(const std::string& path);

    SheetPrompts* prompts_;
    LumEditWidget* widget_;
    std::string fileName_;
    bool saveMode_ = true;
    bool canUndo_ = false;
    bool canRedo_ = false;
    std::string findText_;
    TColor findColor_ = 0x0000FFFF;
};

}  // namespace zentabo
