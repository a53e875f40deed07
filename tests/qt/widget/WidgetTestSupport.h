#pragma once

// The editor widget as the widget tests start it: shown, active and focused, with
// its messages collected instead of shown.

#include <QStringList>
#include <memory>

#include "qt/widget/LumEditWidget.h"

namespace zentabo::testing {

inline std::unique_ptr<LumEditWidget> FocusedEditor(QStringList* messages = nullptr) {
    auto w = std::make_unique<LumEditWidget>();
    w->resize(400, 300);
    if (messages) {
        messages->clear();
        w->SetMessageSink([messages](const QString& m) { *messages << m; });
    }
    w->show();
    w->activateWindow();
    w->setFocus();
    return w;
}

}  // namespace zentabo::testing
