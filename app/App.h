#pragma once
// The application object: the toolkit's Application with the program's five menu
// actions. Start-up registers the one instance and binds each action to its item
// name; the menu bar reaches them through the toolkit by that name.
#include "toolkit/application.h"

namespace qel {

class App : public toolkit::Application {
public:
    App() { Constructor(); }

    bool _About_Action();
    bool _FIload_Action();
    bool _FIsave_Action();
    bool _FIoff_Action();
    bool _FIoffhtml_Action();

private:
    void Constructor() {}
};

// The application accessor.
App* appInstance();

} // namespace qel

inline qel::App* App() { return qel::appInstance(); }
