// The options command, and applying the settings to every page with feedback while
// large pages are wrapped again.

#include <QAction>
#include <algorithm>

#include "app/Settings.h"
#include "editor/LumEdit.h"
#include "qt/dialogs/OptionDlg.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/PageControl.h"

namespace zentabo {

void TMainForm::ConnectOptionDialog() {
    optionDialog_ = new TOptionDialog(this);
    connect(Action(QStringLiteral("ToolOption1")), &QAction::triggered, this,
            [this] { ToolOption1Execute(); });
}

void TMainForm::ToolOption1Execute() {
    optionDialog_->LoadFromSettings(*settings_);
    if (optionDialog_->exec() == QDialog::Accepted) {
        const TSettings before = *settings_;
        optionDialog_->SaveToSettings(*settings_);
        ApplyFormSettings();
        if (!ApplySettingsToAllPages(true)) {
            // Cancelled: as if the dialog had been. The pages laid out anew go back; the
            // one stopped half-way and those behind it still have their old layout.
            *settings_ = before;
            ApplyFormSettings();
            ApplySettingsToAllPages();
        }
    }
    FocusActiveEditor();
}

bool TMainForm::ApplySettingsToAllPages(bool stoppable) {
    constexpr int kLargePageLines = 10000;
    double total = 0;
    bool large = false;
    for (int i = 0; i < PageCount(); ++i) {
        const int lines = Page(i)->Edit().Lines().Count();
        total += std::max(lines, 1);
        large = large || lines > kLargePageLines;
    }
    BusyProgress busy(this, QStringLiteral("表示を更新しています..."), large,
                      stoppable ? BusyProgress::Stop::Cancellable : BusyProgress::Stop::No);
    // The progress dialog lets paint events through; the pages show their new layout
    // only once it is complete.
    pageControl_->setUpdatesEnabled(false);
    double before = 0;
    bool applied = true;
    for (int i = 0; i < PageCount() && applied; ++i) {
        TLumEdit& e = Page(i)->Edit();
        const double weight = std::max(e.Lines().Count(), 1);
        e.OnWrapProgress = [&](double f) { return busy.Step((before + weight * f) / total); };
        applied = Page(i)->ApplySettings(*settings_);
        e.OnWrapProgress = nullptr;
        before += weight;
    }
    pageControl_->setUpdatesEnabled(true);
    return applied;
}

}  // namespace zentabo
