// MGlobal: the start routine and ShowMainWindow.
#include "app/shell/MGlobal.h"

#include "app/shell/CSingleInstance.h"
#include "app/shell/HelpFile.h"
#include "app/shell/frmMain.h"
#include "classlib/files/CFile.h"
#include "classlib/general/ClassLibrary.h"

#include <QApplication>

namespace velloran::MGlobal {

int Main(int argc, char** argv)
{
    // Taken before Qt removes the arguments it knows from argv: the whole
    // command line is the script's path.
    const std::string command = CommandLine(argc, argv);
    QApplication app(argc, argv);
    // The desktop matches the windows with the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("velloran"));
    // The program ends with its main window, not with its last visible one
    // (the window may be hidden behind the tray icon).
    QApplication::setQuitOnLastWindowClosed(false);
    quorvantell::SharedInstances& shared = quorvantell::ClassLibrary::Shared();
    frmMain form;
    bool unloaded = false;
    QObject::connect(&form, &frmMain::Unloaded, &app, [&unloaded] {
        unloaded = true;
        QApplication::quit();
    });
    CSingleInstance guard;
    if (!guard.Init(form, shared.File->StripQuotes(command)))
        return 0;
    // A script's quit line may have closed the window before the loop runs.
    return unloaded ? 0 : QApplication::exec();
}

void ShowMainWindow(frmMain& form, const std::string& Command, bool wakeUp)
{
    if (wakeUp) {
        form.formUtils.SetForeground();
        if (form.isMinimized())
            form.showNormal();
    } else {
        form.show();
        form.SetHelpFile(HelpFilePath());
    }
    if (!Command.empty())
        form.Read(Command);
}

std::string CommandLine(int argc, char** argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? " " : "") + std::string(argv[i]);
    return line;
}

int32_t Revision()
{
    const std::string version = VELLORAN_VERSION;
    return std::stoi(version.substr(version.rfind('.') + 1));
}

}  // namespace velloran::MGlobal
