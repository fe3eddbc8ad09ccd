#include "windows/MenuBar1.h"

#include "toolkit/application.h"
#include "toolkit/errors.h"
#include "toolkit/report.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>

namespace qel {

// Before a key reaches the focused control as a shortcut, Qt asks that control
// whether it wants the key itself (ShortcutOverride). This application-wide filter
// answers no for a control of the bar's window when the key is an entry's
// shortcut, so the entry runs instead. It is an object of its own, not the bar:
// QMenuBar installs itself as the application's filter while Alt is down and
// removes itself when Alt comes up, and would take a filter that is the bar with it.
class MenuBar1::ShortcutOverrides : public QObject {
public:
    explicit ShortcutOverrides(MenuBar1* bar) : QObject(bar), bar_(bar)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return false;
        auto* control = static_cast<QWidget*>(watched);
        if (control == bar_ || control->window() != bar_->window()
            || !bar_->isEntryShortcut(QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination())))
            return false;
        event->ignore();
        return true;
    }

private:
    MenuBar1* bar_;
};

MenuBar1::MenuBar1()
{
    setObjectName(QStringLiteral("MenuBar1"));
    Untitled0();
    Untitled1();
    new ShortcutOverrides(this);
}

bool MenuBar1::isEntryShortcut(const QKeySequence& keys) const
{
    for (QAction* top : actions()) {
        if (!top->menu())
            continue;
        for (QAction* a : top->menu()->actions()) {
            if (!a->shortcut().isEmpty() && a->shortcut() == keys)
                return true;
        }
    }
    return false;
}

QMenu* MenuBar1::addNamedMenu(const QString& name, const QString& text)
{
    auto* m = new QMenu(this);
    m->setObjectName(name);
    m->setTitle(text);
    m->menuAction()->setObjectName(name);
    addMenu(m);
    return m;
}

QMenu* MenuBar1::menu(const QString& name) const
{
    for (QAction* a : actions()) {
        if (a->objectName() == name && a->menu())
            return a->menu();
    }
    return nullptr;
}

QAction* MenuBar1::item(const QString& name) const
{
    for (QAction* top : actions()) {
        if (!top->menu())
            continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->objectName() == name)
                return a;
        }
    }
    return nullptr;
}

void MenuBar1::addEntry(const QString& menuName, const QString& name, const QString& text, const char* commandKey)
{
    auto* a = new QAction(this);
    a->setObjectName(name);
    a->setText(text);
    a->setShortcut(QKeySequence(QString::fromLatin1(commandKey)));
    // Every entry stays in the menu it is added to: without this, Qt on macOS would
    // move About and Quit into the application menu.
    a->setMenuRole(QAction::NoRole);
    connect(a, &QAction::triggered, this, [name] { toolkit::guard([&] { routeMenuCommand(name); }); });
    appendTo(menuName, a);
}

void MenuBar1::addSeparator(const QString& menuName, const QString& name)
{
    auto* a = new QAction(this);
    a->setObjectName(name);
    a->setSeparator(true);
    a->setMenuRole(QAction::NoRole);
    appendTo(menuName, a);
}

// Each entry is complete before it is placed in its menu, found on the bar by name.
void MenuBar1::appendTo(const QString& menuName, QAction* entry)
{
    QMenu* m = menu(menuName);
    if (!m)
        throw toolkit::NilObjectException(("No menu named " + menuName).toStdString());
    m->addAction(entry);
}

void MenuBar1::Untitled0()
{
    const QString file = QStringLiteral("FileMenu");
    addNamedMenu(file, QStringLiteral("&File"));
    addEntry(file, QStringLiteral("FIload"), QStringLiteral("Qel laden ... "), "Ctrl+O");
    addEntry(file, QStringLiteral("FIsave"), QStringLiteral("Bild speichern ... "), "Ctrl+S");
    addEntry(file, QStringLiteral("FIoff"), QStringLiteral("OFF exportieren..."), "Ctrl+E");
    addEntry(file, QStringLiteral("FIoffhtml"), QStringLiteral("OFF+ exportieren..."), "Ctrl+H");
    addSeparator(file, QStringLiteral("UntitledItem"));
    addEntry(file, QStringLiteral("About"),
             QString::fromUtf8("\xC3\x9C"
                               "ber... "),
             "Ctrl+I");
    addSeparator(file, QStringLiteral("UntitledItem"));
    addEntry(file, QStringLiteral("FileQuit"), QStringLiteral("Quit"), "Ctrl+Q");
}

void MenuBar1::Untitled1()
{
    const QString edit = QStringLiteral("EditMenu");
    addNamedMenu(edit, QStringLiteral("&Edit"));
    addEntry(edit, QStringLiteral("EditUndo"), QStringLiteral("&Undo"), "Ctrl+Z");
    addSeparator(edit, QStringLiteral("UntitledMenu1"));
    addEntry(edit, QStringLiteral("EditCut"), QStringLiteral("Cu&t"), "Ctrl+X");
    addEntry(edit, QStringLiteral("EditCopy"), QStringLiteral("&Copy"), "Ctrl+C");
    addEntry(edit, QStringLiteral("EditPaste"), QStringLiteral("&Paste"), "Ctrl+V");
    addEntry(edit, QStringLiteral("EditClear"), QStringLiteral("&Delete"), "");
    addSeparator(edit, QStringLiteral("UntitledMenu0"));
    addEntry(edit, QStringLiteral("EditSelectAll"), QStringLiteral("Select &All"), "Ctrl+A");
}

namespace {

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

void routeMenuCommand(const QString& itemName)
{
    toolkit::Application* app = toolkit::_GetAppObject();
    if (app && app->runMenuHandler(itemName))
        return;
    if (itemName == QLatin1String("FileQuit")) {
        toolkit::Quit(0);
        return;
    }
    runEditCommand(itemName);
}

MenuBar1* menuBarInstance()
{
    // Never deleted by us: it lives until the process ends (the main window holds
    // it while it is installed, and gives it back when it goes).
    static MenuBar1* instance = nullptr;
    if (!instance) {
        auto* bar = new MenuBar1();
        instance = bar;
    }
    return instance;
}

} // namespace qel
