// The main window's side of find and replace: showing the find dialog and forwarding
// its two requests to the active page's editor.

#include "app/EditorSearchAdapter.h"
#include "app/FindBridge.h"
#include "qt/dialogs/FindDlg.h"
#include "qt/shell/MainForm.h"

namespace zentabo {

void TMainForm::SetFindDialog(TFindDialog* dialog) {
    findDialog_ = dialog;
}

TFindDialog* TMainForm::FindDialog() const {
    return findDialog_;
}

void TMainForm::ConnectFindDialog() {
    if (!findDialog_) return;
    findDialog_->LoadFromSettings(*settings_);
    findDialog_->OnFind = [this](TFindDialog&) { FindDialogFind(); };
    findDialog_->OnReplace = [this](TFindDialog&) { FindDialogReplace(); };
}

bool TMainForm::MatchCase() const {
    // Read at every comparison, so a change in the open dialog counts at once.
    return findDialog_ && findDialog_->Options().Contains(frMatchCase);
}

void TMainForm::FindDialogFind() {
    TEditSheet* page = ActiveSheet();
    if (!page || !findDialog_) return;
    EditorSearchAdapter editor(page->Edit());
    std::string pageText = page->FindText();
    DoFind(findDialog_->FindText(), findDialog_->Options(), pageText, editor);
    page->SetFindText(pageText);
}

void TMainForm::FindDialogReplace() {
    TEditSheet* page = ActiveSheet();
    if (!page || !findDialog_) return;
    EditorSearchAdapter editor(page->Edit());
    std::string pageText = page->FindText();
    DoReplace(findDialog_->FindText(), findDialog_->ReplaceText(), findDialog_->Options(), pageText,
              editor);
    page->SetFindText(pageText);
}

void TMainForm::ShowFindDialog(bool replace) {
    if (!findDialog_) return;
    findDialog_->SetDialogMode(replace ? dmReplace : dmFind);
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
}

}  // namespace zentabo
