#pragma once
// The program's only menu bar: File and Edit. Built once, on the accessor's first
// call, shared by the application and the main window. Every entry is a QAction
// whose object name is its item name; a chosen entry is routed by that name
// (routeMenuCommand).
//
// The entries' shortcuts work whatever control of the bar's window has the focus
// and whatever keys came before: a text field would otherwise keep keys such as
// Ctrl+E (end of line under X11) or Ctrl+C for itself. The Edit entries then act on
// the focused text field.
#include <QMenuBar>

class QAction;
class QKeySequence;
class QMenu;

namespace qel {

class MenuBar1 : public QMenuBar {
    Q_OBJECT
public:
    MenuBar1();

    // The entry of that item name, searched through both menus (first match).
    QAction* item(const QString& name) const;
    // The menu of that name ("FileMenu", "EditMenu").
    QMenu* menu(const QString& name) const;

private:
    class ShortcutOverrides;

    bool isEntryShortcut(const QKeySequence& keys) const;

    void Untitled0(); // File
    void Untitled1(); // Edit

    QMenu* addNamedMenu(const QString& name, const QString& text);
    void addEntry(const QString& menuName, const QString& name, const QString& text, const char* commandKey);
    void addSeparator(const QString& menuName, const QString& name);
    void appendTo(const QString& menuName, QAction* entry);
};

// The accessor: the one instance, built on the first call.
MenuBar1* menuBarInstance();

// The one way a chosen menu entry reaches the program: the handler that the
// registered application object binds to the item name, else the toolkit's own
// command for it (quit, the edit commands on the focused text field); anything else
// does nothing.
void routeMenuCommand(const QString& itemName);

} // namespace qel

inline qel::MenuBar1* MenuBar1() { return qel::menuBarInstance(); }
