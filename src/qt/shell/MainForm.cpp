#include "qt/shell/MainForm.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QToolBar>
#include <QWindow>

#include "app/FileIo.h"
#include "app/Settings.h"
#include "qt/dialogs/DesignFont.h"
#include "qt/dialogs/FindDlg.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/PageControl.h"
#include "qt/shell/SnapshotTimer.h"
#include "qt/widget/LumEditWidget.h"

namespace zentabo {

ShellDialogs StandardDialogs() {
    ShellDialogs d;
    const QString filters = QStringLiteral("すべてのファイル (*);;テキストファイル(txt) (*.txt)");
    const QString textFilter = QStringLiteral("テキストファイル(txt) (*.txt)");
    d.openFile = [=](QWidget* parent) {
        QFileDialog dlg(parent);
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        dlg.setNameFilter(filters);
        dlg.selectNameFilter(textFilter);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
        return dlg.selectedFiles().first();
    };
    d.saveFile = [=](QWidget* parent, const QString& preset) {
        QFileDialog dlg(parent);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setNameFilter(filters);
        dlg.selectNameFilter(textFilter);
        dlg.setDefaultSuffix(QStringLiteral("txt"));
        if (!preset.isEmpty()) dlg.selectFile(preset);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
        return dlg.selectedFiles().first();
    };
    d.inputText = [](QWidget* parent, const QString& title, const QString& prompt,
                     const QString& initial) {
        bool ok = false;
        const QString text =
            QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, initial, &ok);
        return ok ? text : initial;
    };
    d.message = [](QWidget* parent, const QString& text) {
        QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
    };
    d.askYesNo = [](QWidget* parent, const QString& text) {
        return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    d.askReplace = [](QWidget* parent) {
        QMessageBox box(
            QMessageBox::Question, QApplication::applicationDisplayName(),
            QStringLiteral("置換しますか？"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort | QMessageBox::YesToAll,
            parent);
        // Esc and closing the box skip this hit, as No does; only Abort ends the run.
        box.setEscapeButton(QMessageBox::No);
        switch (box.exec()) {
            case QMessageBox::Yes:
                return SheetPrompts::ReplaceAnswer::Yes;
            case QMessageBox::No:
                return SheetPrompts::ReplaceAnswer::No;
            case QMessageBox::Abort:
                return SheetPrompts::ReplaceAnswer::Abort;
            case QMessageBox::YesToAll:
                return SheetPrompts::ReplaceAnswer::All;
            default:
                return SheetPrompts::ReplaceAnswer::Other;
        }
    };
    d.choosePrinter = [](QWidget* parent, QPrinter& printer) {
        QPrintDialog dlg(&printer, parent);
        return dlg.exec() == QDialog::Accepted;
    };
    return d;
}

TMainForm::TMainForm(const QString& dataDir, ShellDialogs dialogs)
    : dialogs_(std::move(dialogs)), paths_(ResolveAppPaths(dataDir)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zentabo"));
    setGeometry(192, 107, 640, 480);
    // Set before the children exist, so the tabs and the status bar take it too.
    setFont(DesignFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));

    pageControl_ = new PageControl(this);
    pageControl_->setObjectName(QStringLiteral("PageControl1"));
    setCentralWidget(pageControl_);

    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    ConnectActions();
    ConnectUrlDrops();

    // Key preview: the window sees every key before the focused editor.
    qApp->installEventFilter(this);

    auto* clipboard = QGuiApplication::clipboard();
    auto refreshClipboard = [this, clipboard] {
        const QMimeData* data = clipboard->mimeData();
        clipboardHasText_ = data && data->hasText();
    };
    connect(clipboard, &QClipboard::dataChanged, this, refreshClipboard);
    refreshClipboard();

    FormCreate();
    snapshots_ = new SnapshotTimer(*this, QFile::encodeName(paths_.PageStorePath).toStdString());
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    if (!closed_) {
        // Destroyed without a close (the program is being torn down): keep the pages.
        SaveSession();
    }
    FormDestroy();
}

void TMainForm::FormCreate() {
    settings_ = std::make_unique<TSettings>();
    CaptureFormSettings();
    // The window's design bounds are the defaults for a missing settings file.
    const QRect g = geometry();
    TWindowDefaults window;
    window.Top = g.top();
    window.Left = g.left();
    window.Height = g.height();
    window.Width = g.width();
    window.WindowState = 0;
    window.AlphaBlend = settings_->AlphaBlend;
    window.AlphaBlendValue = settings_->AlphaBlendValue;
    // Writes a killed run left unfinished; this run alone writes these two files now.
    RemoveUnfinishedWrites(QFile::encodeName(paths_.SettingsPath).toStdString());
    RemoveUnfinishedWrites(QFile::encodeName(paths_.PageStorePath).toStdString());
    // A settings file that cannot be read gives the defaults; Save then leaves it alone.
    settings_->Load(QFile::encodeName(paths_.SettingsPath).toStdString(), window);
    ApplyFormSettings();
}

void TMainForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TMainForm::FormShow() {
    LoadPageStore();
    if (PageCount() == 0) AddPage(QStringLiteral("Page&0"));

    auto& s = *settings_;
    if (s.Index > PageCount() - 1) s.Index = PageCount() - 1;
    if (s.Index < 0) s.Index = 0;  // a hand-edited negative index would leave no page active
    ActivatePage(s.IndexMode ? 0 : s.Index);

    setGeometry(s.Left, s.Top, std::max(s.Width, 100), std::max(s.Height, 100));
    switch (s.WindowState) {
        case 1:
            setWindowState(Qt::WindowMinimized);
            break;
        case 2:
            setWindowState(Qt::WindowMaximized);
            break;
        default:
            setWindowState(Qt::WindowNoState);
            break;
    }
    pageControl_->Bar()->SetMultiLine(s.TabMultiLine);
    SetToolBarsVisible(s.ToolBarVisible);
    FocusActiveEditor();
    ConnectFindDialog();
    UpdateActions();
    snapshots_->Begin(!pageStoreIncomplete_);
}

void TMainForm::closeEvent(QCloseEvent* e) {
    if (storeWriting_ || restoringPages_) {
        // A close asked again while the first one writes the pages: that one closes.
        // Asked while the pages are read, it would write only those read so far.
        e->ignore();
        return;
    }
    if (closed_ || FormClose()) {
        e->accept();
    } else {
        e->ignore();
    }
}

bool TMainForm::FormClose() {
    QString error;
    if (!SavePageStore(&error, true)) {
        // Closing now would lose every page: say so and stay open.
        ShowMessage(QStringLiteral("ページを保存できませんでした。ウィンドウは閉じません。\n%1\n%2")
                        .arg(QDir::toNativeSeparators(paths_.PageStorePath), error));
        return false;
    }
    // Written: a snapshot of the emptied window must never follow.
    snapshots_->Stop();
    CapturePlacement();
    if (findDialog_) findDialog_->SaveToSettings(*settings_);
    // Closed before the pages go: taking a thousand pages down must not update the
    // actions and show each page in turn.
    closed_ = true;
    pageControl_->hide();
    for (int i = PageCount() - 1; i >= 0; --i) DeletePage(Page(i));
    return true;
}

void TMainForm::CapturePlacement() {
    auto& s = *settings_;
    // The normal bounds, so a maximised window comes back restorable.
    const QRect r =
        (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
            ? normalGeometry()
            : geometry();
    if (r.isValid()) {
        s.Top = r.top();
        s.Left = r.left();
        s.Height = r.height();
        s.Width = r.width();
    }
    if (windowState() & Qt::WindowMinimized)
        s.WindowState = 1;
    else if (windowState() & Qt::WindowMaximized)
        s.WindowState = 2;
    else
        s.WindowState = 0;
    s.Index = std::max(ActiveIndex(), 0);
    s.TabMultiLine = pageControl_->Bar()->MultiLine();
    s.ToolBarVisible = ToolBarsVisible();
}

void TMainForm::FormDestroy() {
    CaptureFormSettings();
    const FileResult saved = settings_->Save(QFile::encodeName(paths_.SettingsPath).toStdString());
    if (!saved) {
        ShowMessage(QStringLiteral("設定を保存できませんでした。\n%1")
                        .arg(QString::fromLocal8Bit(saved.error.c_str())));
    }
}

bool TMainForm::PagesInFlux() const {
    return restoringPages_ || BusyProgress::Running();
}

bool TMainForm::SaveSession() {
    // A page half read from its file must not reach the store; the session's quit
    // that follows writes the pages once the task is done.
    if (closed_ || PagesInFlux()) return true;
    QString error;
    const bool ok = SavePageStore(&error);
    CapturePlacement();
    if (findDialog_) findDialog_->SaveToSettings(*settings_);
    CaptureFormSettings();
    settings_->Save(QFile::encodeName(paths_.SettingsPath).toStdString());
    return ok;
}

void TMainForm::CaptureFormSettings() {
    settings_->AlphaBlend = alphaBlend_;
    settings_->AlphaBlendValue = alphaBlendValue_;
}

void TMainForm::ApplyFormSettings() {
    // The value is kept while the switch is off, so switching it on again brings back
    // the opacity the user chose.
    alphaBlend_ = settings_->AlphaBlend;
    alphaBlendValue_ = settings_->AlphaBlendValue & 0xFF;
    setWindowOpacity(alphaBlend_ ? alphaBlendValue_ / 255.0 : 1.0);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) CycleKey(watched, e);
    if (e->type() == QEvent::MouseButtonDblClick && watched == panel2_) {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() == Qt::LeftButton) {
            ToggleSaveMode();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

bool TMainForm::CycleKey(QObject* watched, QEvent* e) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return false;
    // Application filters see a key once per parent it propagates to; act on the
    // first delivery only.
    QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    if (w != first) return false;
    auto* ke = static_cast<QKeyEvent*>(e);
    if (!(ke->modifiers() & Qt::AltModifier)) return false;
    const int n = PageCount();
    if (n == 0) return false;
    // Not consumed: the key still reaches the focused control.
    if (ke->key() == Qt::Key_Left) {
        ActivatePage((ActiveIndex() - 1 + n) % n);
    } else if (ke->key() == Qt::Key_Right) {
        ActivatePage((ActiveIndex() + 1) % n);
    }
    return false;
}

void TMainForm::ShowMessage(const QString& text) {
    dialogs_.message(this, text);
}

SheetPrompts::ReplaceAnswer TMainForm::AskReplace() {
    return dialogs_.askReplace(this);
}

bool TMainForm::AskYesNo(const QString& text) {
    return dialogs_.askYesNo && dialogs_.askYesNo(this, text);
}

}  // namespace zentabo
