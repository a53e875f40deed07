// The Edit menu's box selection switch: turns box mode of the active page on and off
// and shows the page's mode as its check mark.
#include <QAction>

#include "editor/LumEdit.h"
#include "qt/shell/EditSheet.h"
#include "qt/shell/MainForm.h"

namespace zentabo {

void TMainForm::ConnectBoxSelection() {
    QAction* box = Action(QStringLiteral("EditBoxSel1"));
    box->setCheckable(true);
    connect(box, &QAction::triggered, this, [this] {
        if (TEditSheet* page = ActiveSheet()) {
            page->Edit().SetBoxSelMode(!page->Edit().BoxSelMode());
            FocusActiveEditor();
        }
        UpdateActions();
    });
}

void TMainForm::UpdateBoxSelection(TEditSheet* page) {
    QAction* box = Action(QStringLiteral("EditBoxSel1"));
    box->setEnabled(page != nullptr);
    const bool boxMode = page && page->Edit().BoxSelMode();
    box->setChecked(boxMode);
}

}  // namespace zentabo
