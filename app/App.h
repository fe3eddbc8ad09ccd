#pragma once
// The application object. Application is what the toolkit gives every program:
// version data, the application's menu bar and the table of menu handlers by item
// name. App adds the program's five menu actions.
#include <QHash>
#include <QString>
#include <functional>

class QMenuBar;

namespace qel {

class Application {
public:
    virtual ~Application() = default;

    // Version data, set once at start-up and never read back by the program.
    int MajorVersion = 0;
    int MinorVersion = 0;
    int BugVersion = 0;
    int NonReleaseVersion = 0;
    int StageCode = 0;
    QString LongVersion;
    QString ShortVersion;
    QString PackageInfo;

    // The application's menu bar (the one MenuBar1 instance).
    QMenuBar* MenuBar = nullptr;

    // Binds a menu command to an item name; a chosen item of that name runs it.
    void _AddMenuHandler(const QString& itemName, std::function<bool()> handler);
    bool hasMenuHandler(const QString& itemName) const { return handlers_.contains(itemName); }
    // Runs the handler bound to that name; false when none is bound.
    bool runMenuHandler(const QString& itemName);

private:
    QHash<QString, std::function<bool()>> handlers_;
};

class App : public Application {
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

// The registered application object (nullptr before start-up registers one).
void _RuntimeRegisterAppObject(Application* app);
Application* _GetAppObject();

// The one way a chosen menu entry reaches the program: the handler bound to the
// item name, else the toolkit's own command for it (quit, the edit commands on the
// focused text field); anything else does nothing.
void routeMenuCommand(const QString& itemName);

// The event loop: runs until Quit, returns the exit code given to Quit.
int RunEventLoop();
// Ends the event loop with that exit code; does nothing when no event loop runs
// (so a window closed in a test does not end a later one).
void Quit(int exitCode);

// The application accessor.
App* appInstance();

} // namespace qel

inline qel::App* App() { return qel::appInstance(); }
