#include "application.h"

#include <QGuiApplication>

namespace toolkit {

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

namespace {
Application* registered = nullptr;
int loopDepth = 0;
} // namespace

void _RuntimeRegisterAppObject(Application* app) { registered = app; }
Application* _GetAppObject() { return registered; }

int RunEventLoop()
{
    ++loopDepth;
    struct Leave {
        ~Leave() { --loopDepth; }
    } leave;
    return QGuiApplication::exec();
}

void Quit(int exitCode)
{
    if (loopDepth > 0)
        QCoreApplication::exit(exitCode);
}

} // namespace toolkit
