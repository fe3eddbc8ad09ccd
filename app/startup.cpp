#include "app/startup.h"

#include "app/App.h"
#include "app/file_dialog.h"
#include "app/report_gui.h"
#include "app/window_focus.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/report.h"
#include "toolkit/unixsignals.h"
#include "toolkit/version.h"
#include "windows/MenuBar1.h"
#include "windows/WINhaupt.h"
#include "windows/hooks.h"

#include <QApplication>

#include <csignal>

namespace qel {

int processEntry(int argc, char** argv)
{
    QApplication toolkit(argc, argv);
    installQuitOnSignals();
    return _Main();
}

void installQuitOnSignals()
{
    // As File > Quit: every event loop ends, the nested ones of open dialogs too, each
    // dialog returning as cancelled, and the program ends through its normal end
    // with 0. A handler in progress (an export) finishes first. Without the watch
    // (it could not be set up) the signals end the program the default way.
    toolkit::guard([] { toolkit::quitOnSignals({SIGTERM, SIGINT, SIGHUP}, [](int) { toolkit::Quit(0); }); });
}

int _Main()
{
    installWindowFocus();
    installGuiReport();
    installWindowHooks();
    installQtFileDialogs();
    try {
        _EarlyStartup();
        _LateStartup();
        return toolkit::RunEventLoop();
    } catch (...) {
        toolkit::reportUnhandled(std::current_exception());
        // No event loop will run to show it.
        showPendingReportNow();
        return 1;
    }
}

void _EarlyStartup()
{
    // High-resolution screens: Qt 6 scales by itself, nothing to switch on.
    // The control classes need no registering: moc gives each its meta-object.
    _InitFileTypes();
    _NewAppInstance();
    _ApplicationAddMenuHandlers();
}

void _InitFileTypes() {}

void _NewAppInstance()
{
    auto* app = new App(); // lives until the process ends
    app->MajorVersion = toolkit::versionMajor;
    app->MinorVersion = toolkit::versionMinor;
    app->BugVersion = toolkit::versionPatch;
    app->NonReleaseVersion = 0;
    app->StageCode = 2;
    app->LongVersion = QString();
    app->ShortVersion = QString();
    app->PackageInfo = QString();
    QCoreApplication::setApplicationVersion(QString::fromLatin1(toolkit::versionText));
    app->MenuBar = ::MenuBar1();
    toolkit::_RuntimeRegisterAppObject(app);
}

void _ApplicationAddMenuHandlers()
{
    struct Binding {
        const char* itemName;
        bool (qel::App::*action)();
    };
    static const Binding bindings[] = {
        {"About", &qel::App::_About_Action},         {"FIload", &qel::App::_FIload_Action},
        {"FIsave", &qel::App::_FIsave_Action},       {"FIoff", &qel::App::_FIoff_Action},
        {"FIoffhtml", &qel::App::_FIoffhtml_Action},
    };
    for (const Binding& b : bindings) {
        qel::App* app = ::App();
        auto action = b.action;
        app->_AddMenuHandler(QString::fromLatin1(b.itemName), [app, action] { return (app->*action)(); });
    }
}

void _LateStartup() { _MakeDefaultView(); }

void _MakeDefaultView() { (void)::WINhaupt(); }

void installQtFileDialogs()
{
    // Qt's own dialogs: the same everywhere, and a typed full path with Return works.
    toolkit::setOpenDialog([] { return FileDialog::askOpen(QApplication::activeWindow()); });
    toolkit::setSaveDialog(
        [](const QString& proposedName) { return FileDialog::askSave(QApplication::activeWindow(), proposedName); });
}

} // namespace qel
