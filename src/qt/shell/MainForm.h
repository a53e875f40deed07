#pragma once

// TMainForm: the one main window. It owns the settings, the pages (a tab each), the
// actions with their menus and tool bars, and the status bar; it reads the settings
// and the page store at start and writes both at close.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qt/shell/AppPaths.h"
#include "qt/shell/EditSheet.h"

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QToolBar;

namespace zentabo {

class MarkupCommands;
class XhtmlBackgroundCheck;
class XhtmlCheckPanel;
class XhtmlCommands;
class XhtmlPreview;
class PageControl;
class SnapshotTimer;
class TFindDialog;
class TOptionDialog;
struct TSettings;

// The dialogs the window opens, replaceable so tests can answer them without a user.
struct ShellDialogs {
    // Returns the chosen path, or an empty string for Cancel.
    std::function<QString(QWidget*)> openFile;
    std::function<QString(QWidget*, const QString& preset)> saveFile;
    // Returns the text entered, or `initial` for Cancel.
    std::function<QString(QWidget*, const QString& title, const QString& prompt,
                          const QString& initial)>
        inputText;
    std::function<void(QWidget*, const QString& text)> message;
    std::function<SheetPrompts::ReplaceAnswer(QWidget*)> askReplace;
    // Yes (true) or No; unset, every question is answered No.
    std::function<bool(QWidget*, const QString& text)> askYesNo;
    // Asked only where the system has no default printer; false for Cancel.
    std::function<bool(QWidget*, QPrinter& printer)> choosePrinter;
};

ShellDialogs StandardDialogs();

// A file named from outside that did not open, and why in the system's words.
struct FileOpenFailure {
    std::string path;
    std::string reason;
};

class TMainForm : public QMainWindow, public SheetPrompts {
    Q_OBJECT
public:
    // dataDir: tests put the settings and the page store there; empty in the program.
    explicit TMainForm(const QString& dataDir = QString(),
                       ShellDialogs dialogs = StandardDialogs());
    ~TMainForm() override;

    TSettings& Settings() { return *settings_; }
    const AppPaths& Paths() const { return paths_; }
    PageControl* Pages() const { return pageControl_; }
    QToolBar* ToolBar(int i) const { return i == 1 ? toolBar1_ : toolBar2_; }
    QLabel* StatusPanel(int i) const { return i == 1 ? panel1_ : panel2_; }
    QAction* Action(const QString& name) const { return actions_.value(name); }
    QMenu* TabPopupMenu() const { return tabPopupMenu_; }
    QMenu* EditPopupMenu() const { return editPopupMenu_; }
    XhtmlCheckPanel* XhtmlPanel() const { return xhtmlPanel_; }
    XhtmlBackgroundCheck* XhtmlWorker() const;
    XhtmlPreview* Preview() const;

    int PageCount() const;
    TEditSheet* Page(int index) const;
    TEditSheet* ActiveSheet() const;
    int ActiveIndex() const;
    void ActivatePage(int index);
    QString PageCaption(int index) const;
    void SetPageCaption(int index, const QString& caption);

    // Page operations.
    TEditSheet* CreatePage();
    // path: the file system's bytes (QFile::encodeName), empty for an empty page.
    TEditSheet* AddPage(const QString& caption, const std::string& path = {});
    TEditSheet* CopyPage(TEditSheet* source);
    // Files named from outside (the command line, a second start): each readable
    // one opens in a new page as the Open command opens it; the rest are reported
    // in one message. Brings the window to the front. Paths: the file system's bytes.
    void OpenFiles(const std::vector<std::string>& paths);
    void BringToFront();
    // False once the window has closed: files handed over then would be lost.
    bool AcceptsFiles() const { return shown_ && !closed_; }
    void DeletePage(TEditSheet* page);
    void RenamePage(TEditSheet* page);
    // Stoppable: the busy dialog offers cancel while a page is wrapped again; false
    // when it was cancelled, the pages from that one on left as they were.
    bool ApplySettingsToAllPages(bool stoppable = false);
    void ApplyFormSettings();
    void SetImeOpen(TEditSheet* page, bool open);

    // The idle pass: caption, status bar and every action's state.
    void UpdateActions();

    // Writes the page store and the settings as a close does, without closing:
    // for a session end or a termination signal. Returns false when the page store
    // could not be written. While the pages are in flux it writes nothing.
    bool SaveSession();
    // The stored pages are being read (the file holds them all, the window only some),
    // or a task such as a page's load is under way: the pages are not to be written.
    bool PagesInFlux() const;

    // Writes the page store while the program runs.
    SnapshotTimer* Snapshots() const { return snapshots_; }

    // Tests print to this PDF file instead of the default printer.
    void SetPrintToFile(const QString& pdfPath) { printerOverride_ = pdfPath; }

    // The find dialog, created by the program after the main window; FormShow
    // connects it and FormClose lets it store its values.
    void SetFindDialog(TFindDialog* dialog);
    TFindDialog* FindDialog() const;

    // SheetPrompts
    void ShowMessage(const QString& text) override;
    ReplaceAnswer AskReplace() override;
    bool AskYesNo(const QString& text) override;
    bool MatchCase() const override;
    void ImeReconvert(LumEditWidget* editor) override;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void FormCreate();
    void FormShow();
    bool FormClose();
    void FormDestroy();
    void CaptureFormSettings();
    void CapturePlacement();
    // showProgress: the busy dialog once the write takes half a second (the close;
    // not a session's end, which must not wait on a window).
    bool SavePageStore(QString* error, bool showProgress = false);
    void LoadPageStore();

    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    static void FitPanel(QLabel* panel, const QString& text);
    void ConnectActions();
    // The markup and text commands with their dialogs (MainFormMarkup.cpp).
    void ConnectMarkupActions();
    void UpdateMarkupActions();
    // Web addresses dropped on the pages and the dialogs' address fields (MainFormDrops.cpp).
    void ConnectUrlDrops();
    // The Edit menu's box selection switch (MainFormBox.cpp).
    void ConnectBoxSelection();
    void UpdateBoxSelection(TEditSheet* page);
    // The XHTML check, preview and tag commands (MainFormXhtml.cpp).
    void ConnectXhtmlActions();
    void UpdateXhtmlActions();
    bool CycleKey(QObject* watched, QEvent* e);

    // Find and replace: the dialog's requests and the two commands that show it.
    void ConnectFindDialog();
    void FindDialogFind();
    void FindDialogReplace();
    void ShowFindDialog(bool replace);

    // The options dialog, created once with the window (MainFormOptions.cpp).
    void ConnectOptionDialog();
    void ToolOption1Execute();

    TEditSheet* PopupSheet() const;
    void FileSave(bool saveAs);
    void FileOpen();
    // A new page holding the file, active; nullptr (and `loaded` says why) when it
    // cannot be read.
    TEditSheet* LoadFilePage(const QString& caption, const std::string& path, FileResult& loaded);
    std::vector<FileOpenFailure> OpenQueuedFiles();
    void FilePrint();
    void ToggleSaveMode();
    void FocusActiveEditor();
    void SetToolBarsVisible(bool visible);
    bool ToolBarsVisible() const;

    ShellDialogs dialogs_;
    AppPaths paths_;
    std::unique_ptr<TSettings> settings_;
    PageControl* pageControl_ = nullptr;
    QToolBar* toolBar1_ = nullptr;
    QToolBar* toolBar2_ = nullptr;
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    QMenu* tabPopupMenu_ = nullptr;
    QMenu* editPopupMenu_ = nullptr;
    QHash<QString, QAction*> actions_;
    bool shown_ = false;
    bool closed_ = false;
    bool storeWriting_ = false;    // the page store is being written (SavePageStore)
    bool restoringPages_ = false;  // the page store is being read (LoadPageStore)
    bool clipboardHasText_ = false;
    bool updating_ = false;
    // The stored pages were not all read: the next write sets the old file aside.
    bool pageStoreIncomplete_ = false;
    SnapshotTimer* snapshots_ = nullptr;  // a child of the window
    // The window's translucency: the switch and the opacity used while it is on.
    bool alphaBlend_ = false;
    int alphaBlendValue_ = 255;
    QString printerOverride_;
    // Files waiting while an earlier batch is still opening (its questions run a
    // nested event loop in which the next batch can arrive).
    std::vector<std::string> filesToOpen_;
    bool openingFiles_ = false;
    QPointer<TFindDialog> findDialog_;
    TOptionDialog* optionDialog_ = nullptr;  // a child of the window
    MarkupCommands* markup_ = nullptr;       // a child of the window
    XhtmlCommands* xhtml_ = nullptr;         // a child of the window
    XhtmlCheckPanel* xhtmlPanel_ = nullptr;
};

}  // namespace zentabo
