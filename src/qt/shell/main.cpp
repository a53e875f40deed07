// Program start: the command line, one instance per user (a later start hands its
// files to the running one), then the main window and the event loop.

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/CommandLine.h"
#include "qt/dialogs/FindDlg.h"
#include "qt/shell/AppSetup.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/SessionGuard.h"
#include "qt/shell/SingleInstance.h"

namespace {

std::string CurrentFolder() {
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    return ec ? std::string() : cwd.string();
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::string cwd = CurrentFolder();
    // --help and --version need no display, so they are answered before the toolkit
    // starts; its own options (-platform ...) are still among the arguments here.
    const zentabo::CommandLine early = zentabo::ParseCommandLine(args, cwd);
    if (early.action == zentabo::CommandLine::Action::Help) {
        std::fputs(zentabo::UsageText().c_str(), stdout);
        return 0;
    }
    if (early.action == zentabo::CommandLine::Action::Version) {
        std::fputs(zentabo::VersionText().c_str(), stdout);
        return 0;
    }
    // The toolkit sees only what stands before "--": after it come file names only.
    int qtArgc = argc;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            qtArgc = i;
            break;
        }
    }
    const std::vector<std::string> afterOptions(argv + qtArgc, argv + argc);
    QApplication app(qtArgc, argv);
    std::vector<std::string> rest(argv + 1, argv + qtArgc);
    rest.insert(rest.end(), afterOptions.begin(), afterOptions.end());
    const zentabo::CommandLine command = zentabo::ParseCommandLine(rest, cwd);
    if (command.action == zentabo::CommandLine::Action::Error) {
        std::fprintf(stderr, "zentabo: %s\nTry 'zentabo --help'.\n", command.error.c_str());
        return 2;
    }
    zentabo::SetUpApplication(app);

    // Another instance runs: it takes the files (or only comes to the front).
    zentabo::SingleInstanceLock lock;
    int handedOverExit = 0;
    if (zentabo::HandOverToRunningInstance(lock, command.files, handedOverExit))
        return handedOverExit;

    zentabo::TMainForm* running = nullptr;
    // Listening before the window exists: a later start that comes while the pages
    // load waits in the socket's queue instead of failing to connect.
    zentabo::InstanceServer server(
        lock.SocketPath(),
        {[&running] { return running && running->AcceptsFiles(); },
         [&running](const std::vector<std::string>& files) { running->OpenFiles(files); }});
    if (!server.Listen())
        std::fprintf(stderr, "zentabo: later starts cannot hand over their files\n");
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &server,
                     &zentabo::InstanceServer::Close);

    int result = 0;
    {
        zentabo::TMainForm form;
        // The other windows in their fixed order after the main window; each lives
        // for the whole run, owned by the main window.
        form.SetFindDialog(new zentabo::TFindDialog(&form));
        zentabo::SessionGuard guard(&form);
        form.show();
        // Only now: a page opened while the stored pages are restored would land
        // among them. Until then a later start is told to try again.
        running = &form;
        if (!command.files.empty()) form.OpenFiles(command.files);
        if (!guard.Ended()) result = app.exec();
        server.Close();
        running = nullptr;
    }  // the window writes the settings as it is destroyed, still under the lock
    return result;
}
