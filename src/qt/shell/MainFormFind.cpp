// The main window's side of find and replace: showing the find dialog and forwarding
// its two requests to the active page's editor, with progress for a replace-all.

#include <optional>

#include "app/EditorSearchAdapter.h"
#include "app/FindBridge.h"
#include "qt/dialogs/FindDlg.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/MainForm.h"

namespace zentabo {

namespace {

// A replace-all on a large page shows progress once it takes half a second. Cancelling
// leaves the page as it was, also once the editor has begun to replace (it takes its
// changes back); a run grown too large to take back loses the button. The dialog
// closes before the count is shown.
class ReplaceAllProgress {
public:
    ReplaceAllProgress(QWidget* parent, TLumEdit& edit)
        : edit_(edit),
          announce_(edit.OnFindChangeEnd),
          busy_(parent, QStringLiteral("置換しています..."), false,
                BusyProgress::Stop::Cancellable) {
        edit.OnReplaceProgress = [this](double f) { return busy_.Step(f); };
        edit.OnReplaceCommit = [this](TLumEdit&) { busy_.EndCancel(); };
        edit.OnFindChangeEnd = [this](TLumEdit& e, const std::string& findchr,
                                      const std::string& changeStr, int count) {
            busy_.Finish();
            if (announce_) announce_(e, findchr, changeStr, count);
        };
    }
    ~ReplaceAllProgress() {
        edit_.OnReplaceProgress = nullptr;
        edit_.OnReplaceCommit = nullptr;
        edit_.OnFindChangeEnd = announce_;
    }
    ReplaceAllProgress(const ReplaceAllProgress&) = delete;
    ReplaceAllProgress& operator=(const ReplaceAllProgress&) = delete;

private:
    TLumEdit& edit_;
    decltype(TLumEdit::OnFindChangeEnd) announce_;
    BusyProgress busy_;
};

}  // namespace

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
    std::optional<ReplaceAllProgress> progress;
    if (findDialog_->Options().Contains(frReplaceAll)) progress.emplace(this, page->Edit());
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
