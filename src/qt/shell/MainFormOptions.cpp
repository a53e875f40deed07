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
        optionDialog_->SaveToSettings(*settings_);
        ApplyFormSettings();
        ApplySettingsToAllPages();
    }
    FocusActiveEditor();
}

void TMainForm::ApplySettingsToAllPages() {
    constexpr int kLargePageLines = 10000;
    double total = 0;
    bool large = false;
    for (int i = 0; i < PageCount(); ++i) {
        const int lines = Page(i)->Edit().Lines().Count();
        total += std::max(lines, 1);
        large = large || lines > kLargePageLines;
    }
    BusyProgress busy(this, QStringLiteral("表示を更新しています..."), large);
    // The progress dialog lets paint events through; the pages show their new layout
    // only once it is complete.
    pageControl_->setUpdatesEnabled(false);
    double before = 0;
    for (int i = 0; i < PageCount(); ++i) {
        TLumEdit& e = Page(i)->Edit();
        const double weight = std::max(e.Lines().Count(), 1);
        e.OnWrapProgress = [&](int done, int lines) {
            busy.Step((before + weight * done / std::max(lines, 1)) / total);
        };
        Page(i)->ApplySettings(*settings_);
        e.OnWrapProgress = nullptr;
        before += weight;
    }
    pageControl_->setUpdatesEnabled(true);
}

}  // namespace zentabo
