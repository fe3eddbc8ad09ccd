#include "app/App.h"

#include "export/export.h"
#include "model/module1.h"
#include "toolkit/errors.h"
#include "windows/WIInfo.h"
#include "windows/WINexport.h"

namespace qel {

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

App* appInstance()
{
    toolkit::Application* registered = toolkit::_GetAppObject();
    if (!registered)
        throw toolkit::NilObjectException("No application object is registered");
    auto* app = dynamic_cast<App*>(registered);
    if (!app)
        throw toolkit::RuntimeException("The application object is not an App");
    return app;
}

} // namespace qel
