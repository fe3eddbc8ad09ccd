#include "app/App.h"

#include "export/WINexport.h"
#include "export/export.h"
#include "model/module1.h"
#include "toolkit/errors.h"
#include "windows/WIInfo.h"

#include <QApplication>
#include <QLineEdit>

namespace qel {

void Application::_AddMenuHandler(const QString& itemName, std::function<bool()> handler)
{
    handlers_.insert(itemName, std::move(handler));
}

bool Application::runMenuHandler(const QString& itemName)
{
    auto it = handlers_.constFind(itemName);
    if (it == handlers_.constEnd())
        return false;
    (void)it.value()(); // the action's result means nothing to the dispatch
    return true;
}

bool App::_About_Action()
{
    ::WIInfo()->Show();
    return false;
}

bool App::_FIload_Action()
{
    Module1::datenlesen();
    Module1::zeichnen();
    return false;
}

bool App::_FIsave_Action()
{
    Module1::savepic();
    return false;
}

bool App::_FIoff_Action()
{
    Module1::saveoff();
    return false;
}

bool App::_FIoffhtml_Action()
{
    ::WINexport()->Show();
    return false;
}

namespace {
Application* registered = nullptr;

// The standard edit commands work on the text field that has the focus.
bool runEditCommand(const QString& itemName)
{
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (itemName == QLatin1String("EditUndo")) {
        if (field)
            field->undo();
    } else if (itemName == QLatin1String("EditCut")) {
        if (field)
            field->cut();
    } else if (itemName == QLatin1String("EditCopy")) {
        if (field)
            field->copy();
    } else if (itemName == QLatin1String("EditPaste")) {
        if (field)
            field->paste();
    } else if (itemName == QLatin1String("EditClear")) {
        if (field && field->hasSelectedText())
            field->del();
    } else if (itemName == QLatin1String("EditSelectAll")) {
        if (field)
            field->selectAll();
    } else {
        return false;
    }
    return true;
}
} // namespace

namespace {
int loopDepth = 0;
} // namespace

int RunEventLoop()
{
    ++loopDepth;
    struct Leave {
        ~Leave() { --loopDepth; }
    } leave;
    return QApplication::exec();
}

void Quit(int exitCode)
{
    if (loopDepth > 0)
        QCoreApplication::exit(exitCode);
}

void _RuntimeRegisterAppObject(Application* app) { registered = app; }
Application* _GetAppObject() { return registered; }

void routeMenuCommand(const QString& itemName)
{
    if (registered && registered->runMenuHandler(itemName))
        return;
    if (itemName == QLatin1String("FileQuit")) {
        Quit(0);
        return;
    }
    runEditCommand(itemName);
}

App* appInstance()
{
    if (!registered)
        throw toolkit::NilObjectException("No application object is registered");
    auto* app = dynamic_cast<App*>(registered);
    if (!app)
        throw toolkit::RuntimeException("The application object is not an App");
    return app;
}

} // namespace qel
