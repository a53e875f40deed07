// Program start: one instance per user, then the main window and the event loop.

#include <QApplication>

#include "qt/dialogs/FindDlg.h"
#include "qt/shell/AppSetup.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/SessionGuard.h"
#include "qt/shell/SingleInstance.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    zentabo::SetUpApplication(app);

    // Another instance runs: end at once, showing nothing.
    zentabo::SingleInstanceLock lock;
    if (!lock.Acquire()) return 0;

    int result = 0;
    {
        zentabo::TMainForm form;
        // The other windows in their fixed order after the main window; each lives
        // for the whole run, owned by the main window.
        form.SetFindDialog(new zentabo::TFindDialog(&form));
        zentabo::SessionGuard guard(&form);
        form.show();
        result = app.exec();
    }  // the window writes the settings as it is destroyed, still under the lock
    return result;
}
