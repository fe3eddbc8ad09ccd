// The menu bar: its menus and entries as built, the one instance, and the routing
// of a chosen entry by its item name (bound handlers, the quit command and the
// edit commands on the focused text field).
#include "model/module1.h"
#include "tests/support/modal.h"
#include "tests/support/windows.h"
#include "toolkit/application.h"
#include "toolkit/report.h"
#include "windows/MenuBar1.h"
#include "windows/WINhaupt.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

struct Entry {
    const char* menu;
    const char* name;
    const char* text; // nullptr for a separator
    const char* shortcut;
};

const Entry entries[] = {
    {"FileMenu", "FIload", "Qel laden ... ", "Ctrl+O"},
    {"FileMenu", "FIsave", "Bild speichern ... ", "Ctrl+S"},
    {"FileMenu", "FIoff", "OFF exportieren...", "Ctrl+E"},
    {"FileMenu", "FIoffhtml", "OFF+ exportieren...", "Ctrl+H"},
    {"FileMenu", "UntitledItem", nullptr, ""},
    {"FileMenu", "About",
     "\xC3\x9C"
     "ber... ",
     "Ctrl+I"},
    {"FileMenu", "UntitledItem", nullptr, ""},
    {"FileMenu", "FileQuit", "Quit", "Ctrl+Q"},
    {"EditMenu", "EditUndo", "&Undo", "Ctrl+Z"},
    {"EditMenu", "UntitledMenu1", nullptr, ""},
    {"EditMenu", "EditCut", "Cu&t", "Ctrl+X"},
    {"EditMenu", "EditCopy", "&Copy", "Ctrl+C"},
    {"EditMenu", "EditPaste", "&Paste", "Ctrl+V"},
    {"EditMenu", "EditClear", "&Delete", ""},
    {"EditMenu", "UntitledMenu0", nullptr, ""},
    {"EditMenu", "EditSelectAll", "Select &All", "Ctrl+A"},
};

// An application object whose bound commands only record their item name.
class RecordingApp : public toolkit::Application {
public:
    QStringList chosen;
    void bind(const QString& name)
    {
        _AddMenuHandler(name, [this, name] {
            chosen << name;
            return false;
        });
    }
};

} // namespace

class TestMenuBar : public QObject {
    Q_OBJECT

private:
    RecordingApp app_;
    QStringList errors_;

private slots:
    void initTestCase()
    {
        for (const char* name : {"About", "FIload", "FIsave", "FIoff", "FIoffhtml"})
            app_.bind(QString::fromLatin1(name));
    }

    // Every test starts with the recording application object registered and the
    // main window shown.
    void init()
    {
        app_.chosen.clear();
        errors_.clear();
        toolkit::setReport([this](const QString& m) { errors_ << m; });
        toolkit::_RuntimeRegisterAppObject(&app_);
        QVERIFY(QTest::qWaitForWindowExposed(support::openMainWindow()));
    }

    void cleanup()
    {
        support::resetSeamsAndWindows();
        QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
    }

    void oneInstance()
    {
        qel::MenuBar1* bar = ::MenuBar1();
        QCOMPARE(::MenuBar1(), bar);
        QVERIFY(::WINhaupt()->menuBar() == bar);
        QVERIFY(bar->isVisible());
    }

    void menusAndEntries()
    {
        const QList<QAction*> menus = ::MenuBar1()->actions();
        QCOMPARE(menus.size(), 2);
        const char* names[] = {"FileMenu", "EditMenu"};
        const char* texts[] = {"&File", "&Edit"};
        QStringList built;
        for (int i = 0; i < 2; ++i) {
            QAction* m = menus[i];
            QVERIFY(m->menu());
            QCOMPARE(m->objectName(), QString::fromLatin1(names[i]));
            QCOMPARE(m->text(), QString::fromLatin1(texts[i]));
            QVERIFY(m->shortcut().isEmpty());
            for (QAction* a : m->menu()->actions()) {
                built << QString::fromLatin1(names[i]) + " " + a->objectName() + " "
                        + (a->isSeparator() ? QStringLiteral("-") : "[" + a->text() + "]") + " "
                        + a->shortcut().toString(QKeySequence::PortableText);
                QVERIFY(a->isEnabled());
                QVERIFY(a->isVisible());
                QCOMPARE(a->menuRole(), QAction::NoRole);
            }
        }
        QStringList expected;
        for (const Entry& e : entries) {
            expected << QString::fromLatin1(e.menu) + " " + e.name + " "
                    + (e.text ? "[" + QString::fromUtf8(e.text) + "]" : QStringLiteral("-")) + " " + e.shortcut;
        }
        QCOMPARE(built, expected);
    }

    // Choosing an entry runs the command bound to its item name, once.
    void entriesRouteByName()
    {
        for (const char* name : {"FIload", "FIsave", "FIoff", "FIoffhtml", "About"}) {
            QAction* a = ::MenuBar1()->item(QString::fromLatin1(name));
            QVERIFY(a);
            a->trigger();
        }
        QCOMPARE(app_.chosen, QStringList({"FIload", "FIsave", "FIoff", "FIoffhtml", "About"}));
    }

    void shortcuts_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("name");
        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << "FIload";
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << "FIsave";
        QTest::newRow("Ctrl+E") << int(Qt::Key_E) << "FIoff";
        QTest::newRow("Ctrl+H") << int(Qt::Key_H) << "FIoffhtml";
        QTest::newRow("Ctrl+I") << int(Qt::Key_I) << "About";
    }

    void shortcuts()
    {
        QFETCH(int, key);
        QFETCH(QString, name);
        qel::WINhaupt* w = ::WINhaupt();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(app_.chosen, QStringList({name}));
    }

    // Every shortcut runs its entry whichever control of the main window has the
    // focus, and whatever keys came before; a text field keeps none of them for
    // itself (Ctrl+E is "end of line" to a line edit under X11, Ctrl+A, Ctrl+C and
    // the like are its own edit keys). An Alt press on its own puts the menu bar
    // into keyboard mode and back; a question box answered with Alt+Y sees Alt too.
    void shortcutsFromEveryControl_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("name");
        const char* controls[] = {"CBpunkte", "CBlinien", "CBachsen",    "PushButton1", "RBdrag0",
                                  "RBdrag1",  "EFzoom",   "PushButton2", "PushButton3"};
        for (const char* before : {"", "Alt", "Alt+Y"}) {
            for (const char* control : controls) {
                for (const Entry& e : entries) {
                    if (e.text && *e.shortcut)
                        QTest::addRow("%s%s%s, %s", before, *before ? " before, " : "", control, e.shortcut)
                            << before << control << e.shortcut << e.name;
                }
            }
        }
    }

    void shortcutsFromEveryControl()
    {
        QFETCH(QString, before);
        QFETCH(QString, control);
        QFETCH(QString, keys);
        QFETCH(QString, name);
        qel::WINhaupt* w = ::WINhaupt();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        if (before == "Alt") {
            QTest::keyClick(w->windowHandle(), Qt::Key_Alt);
        } else if (before == "Alt+Y") {
            support::ModalAnswerer yes([](QWidget* box) { QTest::keyClick(box, Qt::Key_Y, Qt::AltModifier); });
            QCOMPARE(QMessageBox::question(w, "Replace?", "Replace it?"), QMessageBox::Yes);
        }
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QWidget* focus = control.startsWith("RBdrag") ? w->RBdrag(control.right(1).toInt())
                                                      : w->findChild<QWidget*>(control);
        QVERIFY(focus);
        focus->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), focus);
        if (auto* field = qobject_cast<QLineEdit*>(focus))
            field->setText(QStringLiteral("12"));

        QAction* entry = ::MenuBar1()->item(name);
        QVERIFY(entry);
        QSignalSpy chosen(entry, &QAction::triggered);
        const QKeyCombination combination = QKeySequence(keys)[0];
        QTest::keyClick(w->windowHandle(), combination.key(), combination.keyboardModifiers());
        QCOMPARE(chosen.count(), 1);
        const bool bound = name.startsWith("FI") || name == "About";
        QCOMPARE(app_.chosen, bound ? QStringList({name}) : QStringList());
        QCOMPARE(QApplication::focusWidget(), focus);
        if (auto* field = qobject_cast<QLineEdit*>(focus)) {
            // The key was an entry's, not typed into the field (as a letter or a move
            // of the cursor); only the Edit entries change the field.
            if (name == "EditSelectAll")
                QCOMPARE(field->selectedText(), QStringLiteral("12"));
            else if (!name.startsWith("Edit"))
                QCOMPARE(field->text(), QStringLiteral("12"));
        }
    }

    // Typed in the zoom field, the Edit entries' shortcuts act on the field.
    void editShortcutsInTheField()
    {
        qel::WINhaupt* w = ::WINhaupt();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QLineEdit* field = w->EFzoom();
        field->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), field);
        field->setText(QStringLiteral("123"));
        QWindow* window = w->windowHandle();
        QSignalSpy undo(::MenuBar1()->item(QStringLiteral("EditUndo")), &QAction::triggered);

        QTest::keyClick(window, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(field->selectedText(), QStringLiteral("123"));
        QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("123"));
        QTest::keyClick(window, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(field->text(), QString());
        QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("123123"));
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("123"));
        QCOMPARE(undo.count(), 1);
        // Keys that are no entry's shortcut stay the field's own.
        QTest::keyClick(window, Qt::Key_Home);
        QTest::keyClick(window, Qt::Key_Delete);
        QCOMPARE(field->text(), QStringLiteral("23"));
        QVERIFY(app_.chosen.isEmpty());
    }

    // The edit commands work on the text field that has the focus.
    void editCommandsOnTheFocusedField()
    {
        qel::WINhaupt* w = ::WINhaupt();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QLineEdit* field = w->EFzoom();
        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), field);
        field->setText(QStringLiteral("123"));
        auto choose = [](const char* name) { ::MenuBar1()->item(QString::fromLatin1(name))->trigger(); };

        choose("EditSelectAll");
        QCOMPARE(field->selectedText(), QStringLiteral("123"));
        choose("EditCopy");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("123"));
        choose("EditCut");
        QCOMPARE(field->text(), QString());
        choose("EditPaste");
        choose("EditPaste");
        QCOMPARE(field->text(), QStringLiteral("123123"));
        choose("EditUndo");
        QCOMPARE(field->text(), QStringLiteral("123"));
        field->setSelection(0, 1);
        choose("EditClear");
        QCOMPARE(field->text(), QStringLiteral("23"));
        // Delete without a selection deletes nothing.
        field->deselect();
        field->setCursorPosition(0);
        choose("EditClear");
        QCOMPARE(field->text(), QStringLiteral("23"));
        QVERIFY(app_.chosen.isEmpty());
    }

    // Quit is the toolkit's own: it ends the event loop with exit code 0.
    void quitEndsTheEventLoop()
    {
        QTimer::singleShot(0, [] { ::MenuBar1()->item(QStringLiteral("FileQuit"))->trigger(); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { toolkit::Quit(99); });
        watchdog.start(5000);
        QCOMPARE(toolkit::RunEventLoop(), 0);
        QVERIFY(app_.chosen.isEmpty());
        // Outside the event loop quitting does nothing.
        toolkit::Quit(3);
        QTest::qWait(10);
    }
};

QTEST_MAIN(TestMenuBar)
#include "test_menubar.moc"
