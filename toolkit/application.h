#pragma once
// What the toolkit gives every program besides its windows: the application object
// (version data, the application's menu bar, the table of menu handlers by item
// name), the one registered instance of it, and the event loop. A menu bar hands a
// chosen item's name to the registered object without knowing the program's class.
#include <QHash>
#include <QString>
#include <functional>

class QMenuBar;

namespace toolkit {

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

    // The application's menu bar.
    QMenuBar* MenuBar = nullptr;

    // Binds a menu command to an item name; a chosen item of that name runs it.
    void _AddMenuHandler(const QString& itemName, std::function<bool()> handler);
    bool hasMenuHandler(const QString& itemName) const { return handlers_.contains(itemName); }
    // Runs the handler bound to that name; false when none is bound.
    bool runMenuHandler(const QString& itemName);

private:
    QHash<QString, std::function<bool()>> handlers_;
};

// The registered application object (nullptr before start-up registers one).
void _RuntimeRegisterAppObject(Application* app);
Application* _GetAppObject();

// The event loop: runs until Quit, returns the exit code given to Quit.
int RunEventLoop();
// Ends the event loop with that exit code; does nothing when no event loop runs
// (so a window closed in a test does not end a later one).
void Quit(int exitCode);

} // namespace toolkit
