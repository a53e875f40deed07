// The main window's page operations.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethod>
#include <QTabBar>
#include <filesystem>

#include "app/Settings.h"
#include "editor/LumEdit.h"
#include "qt/services/InputMethodSwitch.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/Icons.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/PageControl.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

namespace zentabo {

int TMainForm::PageCount() const {
    return pageControl_->count();
}

TEditSheet* TMainForm::Page(int index) const {
    return qobject_cast<TEditSheet*>(pageControl_->widget(index));
}

TEditSheet* TMainForm::ActiveSheet() const {
    return qobject_cast<TEditSheet*>(pageControl_->currentWidget());
}

int TMainForm::ActiveIndex() const {
    return pageControl_->currentIndex();
}

void TMainForm::ActivatePage(int index) {
    if (index >= 0 && index < PageCount()) pageControl_->setCurrentIndex(index);
}

QString TMainForm::PageCaption(int index) const {
    return pageControl_->tabText(index);
}

void TMainForm::SetPageCaption(int index, const QString& caption) {
    pageControl_->setTabText(index, caption);
}

void TMainForm::FocusActiveEditor() {
    if (TEditSheet* p = ActiveSheet()) p->EditWidget()->setFocus(Qt::OtherFocusReason);
}

TEditSheet* TMainForm::CreatePage() {
    auto* page = new TEditSheet(this, editPopupMenu_, pageControl_);
    connect(page, &TEditSheet::SaveModeChanged, this, [this](TEditSheet* p) {
        const int i = pageControl_->indexOf(p);
        if (i >= 0) pageControl_->setTabIcon(i, TabImage(p->ImageIndex()));
    });
    const int index = pageControl_->addTab(page, TabImage(0), QString());
    page->ApplySettings(*settings_);
    pageControl_->setCurrentIndex(index);
    switch (settings_->ImeMode) {
        case 1:
            SetImeOpen(page, true);
            break;
        case 2:
            SetImeOpen(page, false);
            break;
        default:
            break;
    }
    return page;
}

TEditSheet* TMainForm::AddPage(const QString& caption, const std::string& path) {
    // A file that vanished after the dialog gives an empty page without a file name.
    std::error_code ec;
    if (!path.empty() && std::filesystem::exists(path, ec)) {
        FileResult loaded;
        TEditSheet* page = LoadFilePage(caption, path, loaded);
        if (!page && !loaded.cancelled) ShowMessage(ReadFailureMessage(path, loaded.reason));
        return page;
    }
    TEditSheet* page = CreatePage();
    SetPageCaption(pageControl_->indexOf(page), caption);
    ActivatePage(pageControl_->indexOf(page));
    return page;
}

TEditSheet* TMainForm::LoadFilePage(const QString& caption, const std::string& path,
                                    FileResult& loaded) {
    // The new page stays empty while the UTF-8 question is open: it is no page to
    // keep in a snapshot until its text is in.
    BusyProgress::Scope opening;
    TEditSheet* page = CreatePage();
    SetPageCaption(pageControl_->indexOf(page), caption);
    loaded = page->LoadFile(path, true);
    if (!loaded) {
        // A file that cannot be read opens no page: nothing else changes.
        DeletePage(page);
        return nullptr;
    }
    page->SetFileName(path);
    ActivatePage(pageControl_->indexOf(page));
    return page;
}

TEditSheet* TMainForm::CopyPage(TEditSheet* source) {
    const QString caption = PageCaption(pageControl_->indexOf(source));
    const std::string text = source->Edit().GetAllText();
    const std::string fileName = source->FileName();
    TEditSheet* page = CreatePage();
    SetPageCaption(pageControl_->indexOf(page), caption);
    page->Edit().SetAllText(text);
    page->SetSaveMode(true);
    page->SetFileName(fileName);
    return page;
}

void TMainForm::DeletePage(TEditSheet* page) {
    if (!page || PageCount() < 1) return;
    pageControl_->removeTab(pageControl_->indexOf(page));
    delete page;
    if (PageCount() > 0 && !closed_) FocusActiveEditor();
}

void TMainForm::RenamePage(TEditSheet* page) {
    const int index = pageControl_->indexOf(page);
    if (index < 0) return;
    const QString old = PageCaption(index);
    const QString text =
        dialogs_.inputText(this, QStringLiteral("ページの名前を変更"),
                           QStringLiteral("新しいページの名前を入力してください"), old);
    // Names are kept as code page 932 in the page store; a character it cannot hold
    // would be lost at the next start, so such a name is refused.
    const Cp932EncodeResult encoded = Utf16ToCp932(text.toStdU16String());
    if (!encoded.ok()) {
        ShowMessage(QStringLiteral("ページの名前に使えない文字が含まれています: %1")
                        .arg(QString::fromUcs4(&encoded.unmappable.front().codePoint, 1)));
        return;
    }
    SetPageCaption(index, text);
}

void TMainForm::SetImeOpen(TEditSheet* page, bool open) {
    LumEditWidget* w = page->EditWidget();
    w->setFocus(Qt::OtherFocusReason);
    // The input method itself is switched; the page keeps taking Japanese input,
    // so that the user can turn it on again.
    SwitchInputMethod(w, open);
}

void TMainForm::ImeReconvert(LumEditWidget* editor) {
    // The input method reads the selection itself and composes its reading; it only
    // needs to be told what is selected now, in the editor it is typing into.
    if (editor && editor->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
}

void TMainForm::ToggleSaveMode() {
    if (TEditSheet* p = ActiveSheet()) p->SetSaveMode(!p->SaveMode());
    UpdateActions();
}

}  // namespace zentabo
