#pragma once

// What the program sets on the application object before any window exists: its
// name and the Japanese texts of Qt's own dialogs and buttons.

class QApplication;

namespace zentabo {

// Returns false when Qt's Japanese translations are not installed (Qt's dialogs then
// stay in English; the program runs all the same).
bool SetUpApplication(QApplication& app);

}  // namespace zentabo
