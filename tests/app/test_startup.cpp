// Start-up as the program runs it (the start-up driver with its event loop, in this
// process), the application object's menu actions, and the report of unhandled
// errors that start-up installs.
#include "app/App.h"
#include "app/report_gui.h"
#include "app/startup.h"
#include "app/window_focus.h"
#include "model/module1.h"
#include "tests/support/app.h"
#include "tests/support/modal.h"
#include "tests/support/model.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/report.h"
#include "windows/MenuBar1.h"
#include "windows/WIInfo.h"
#include "windows/WINdebug.h"
#include "windows/WINexport.h"
#include "windows/WINhaupt.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <map>

namespace {

QList<QWidget*> visibleWindows()
{
    QList<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            shown << w;
    return shown;
}

// Presses OK on every message box that shows up, and remembers their texts and the
// most that were open at once.
class BoxCloser : public QObject {
public:
    QStringList texts;
    int mostAtOnce = 0;

    BoxCloser()
    {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, [this] {
            QList<QMessageBox*> open;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                    open << box;
            mostAtOnce = std::max(mostAtOnce, int(open.size()));
            for (QMessageBox* box : open) {
                texts << box->text();
                box->accept();
            }
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private:
    QStringList errors_;

    // Start-up as the driver runs it up to its event loop: the focus, the window hooks, the
    // application object with its menu commands, the main window. Errors go to a
    // list (the program's message box would wait for a click), and the file
    // dialogs stay the tests' own.
    void startUp()
    {
        toolkit::setReport([this](const QString& m) { errors_ << m; });
        qel::installWindowFocus();
        qel::installWindowHooks();
        qel::_EarlyStartup();
        qel::_LateStartup();
    }

private slots:
    void init() { errors_.clear(); }

    void cleanup()
    {
        support::resetProgram();
        QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
    }

    // The whole start-up, its event loop and its end when the main window closes.
    void startsAndEndsWithExitCodeZero()
    {
        QStringList windowsAtStart; // titles of the visible windows
        QString zoomText;
        std::int64_t pointsLoaded = -1;
        // Runs once the event loop is going: the first menu command works at once.
        QTimer::singleShot(0, [&] {
            for (QWidget* w : visibleWindows())
                windowsAtStart << w->windowTitle();
            zoomText = ::WINhaupt()->EFzoom()->text();
            support::answerOpenDialog(support::cubePath());
            ::MenuBar1()->item("FIload")->trigger();
            pointsLoaded = Module1::anzpkt;
            ::WINhaupt()->close();
        });
        QTimer watchdog; // a loop that does not end fails instead of hanging
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { toolkit::Quit(99); });
        watchdog.start(10000);
        const int exitCode = qel::_Main();

        QCOMPARE(exitCode, 0);
        QCOMPARE(pointsLoaded, std::int64_t(8));
        QCOMPARE(windowsAtStart, QStringList({"Qel-Viewer"}));
        QCOMPARE(zoomText, QStringLiteral("10"));
        QVERIFY(Module1::zebild);
        QCOMPARE(qel::WINhaupt::liveWindow(), nullptr);
    }

    void applicationObject()
    {
        startUp();
        qel::App* app = ::App();
        QVERIFY(app);
        QCOMPARE(app->MajorVersion, 2);
        QCOMPARE(app->MinorVersion, 5);
        QCOMPARE(app->BugVersion, 0);
        QCOMPARE(app->NonReleaseVersion, 0);
        QCOMPARE(app->StageCode, 2);
        QVERIFY(app->LongVersion.isEmpty());
        QVERIFY(app->ShortVersion.isEmpty());
        QVERIFY(app->PackageInfo.isEmpty());
        QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("2.5.0"));
        QVERIFY(app->MenuBar == ::MenuBar1());
        for (const char* name : {"About", "FIload", "FIsave", "FIoff", "FIoffhtml"})
            QVERIFY2(app->hasMenuHandler(name), name);
        for (const char* name : {"FileQuit", "EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear",
                                 "EditSelectAll", "UntitledItem", "FileMenu"})
            QVERIFY2(!app->hasMenuHandler(name), name);
        // A new main window installs the same menu bar.
        QVERIFY(::WINhaupt()->menuBar() == ::MenuBar1());
    }

    void actionsReturnFalse()
    {
        startUp();
        qel::App* app = ::App();
        toolkit::setOpenDialog([] { return std::nullopt; });
        QCOMPARE(app->_FIload_Action(), false);
        QCOMPARE(app->_About_Action(), false);
        QCOMPARE(app->_FIoffhtml_Action(), false);
    }

    void loadCommand()
    {
        startUp();
        ::WINhaupt()->show();
        support::answerOpenDialog(support::cubePath());
        ::MenuBar1()->item("FIload")->trigger();
        QCOMPARE(Module1::anzpkt, std::int64_t(8));
        QCOMPARE(Module1::datname, QStringLiteral("cube.qel"));
        // The load draws: the cube's bottom edge 1-2 (code 12) near its middle.
        const QRgb edge = qRgb(255, 105, 105);
        auto edgeShown = [&] {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (Module1::zebild->pixel(164 + dx, 259 + dy) == edge)
                        return true;
            return false;
        };
        QVERIFY(edgeShown());

        // A cancelled dialog keeps the model and draws it again.
        Module1::zebild->fill(Qt::blue);
        toolkit::setOpenDialog([] { return std::nullopt; });
        ::MenuBar1()->item("FIload")->trigger();
        QCOMPARE(Module1::anzpkt, std::int64_t(8));
        QVERIFY(edgeShown());
    }

    // Showing the about or the export window again brings the same one forward.
    void windowCommandsShowOneWindow()
    {
        startUp();
        ::MenuBar1()->item("About")->trigger();
        qel::WIInfo* about = qel::WIInfo::liveWindow();
        QVERIFY(about && about->isVisible());
        ::MenuBar1()->item("About")->trigger();
        QCOMPARE(qel::WIInfo::liveWindow(), about);

        ::MenuBar1()->item("FIoffhtml")->trigger();
        qel::WINexport* exportWindow = qel::WINexport::liveWindow();
        QVERIFY(exportWindow && exportWindow->isVisible());
        ::MenuBar1()->item("FIoffhtml")->trigger();
        QCOMPARE(qel::WINexport::liveWindow(), exportWindow);
    }

    // A failed load draws nothing; its error reaches the program's report, which
    // start-up installs: a message box once the handler has returned, one at a time,
    // and the program goes on.
    void errorsReachTheMessageBox()
    {
        startUp();
        qel::installGuiReport();
        ::WINhaupt()->show();
        Module1::zebild->fill(Qt::blue);
        support::answerOpenDialog(QStringLiteral("/nonexistent/x.qel"));
        ::MenuBar1()->item("FIload")->trigger();
        ::MenuBar1()->item("FIload")->trigger();
        QCOMPARE(Module1::zebild->pixel(10, 10), qRgb(0, 0, 255)); // not drawn
        // Not shown from inside the handler: it waits for the event loop.
        QVERIFY(qel::reportBoxPending());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QMessageBox*>(w) || !w->isVisible());

        BoxCloser closer;
        QTRY_VERIFY(!qel::reportBoxPending());
        QCOMPARE(closer.texts.size(), 1);
        QVERIFY(closer.texts.first().contains("x.qel"));
        QCOMPARE(closer.mostAtOnce, 1);

        // Afterwards the next error gets its box again, and the commands still work.
        ::MenuBar1()->item("FIload")->trigger();
        QTRY_COMPARE(closer.texts.size(), 2);
        support::answerOpenDialog(support::cubePath());
        ::MenuBar1()->item("FIload")->trigger();
        QCOMPARE(Module1::zebild->pixel(10, 10), qRgb(0, 0, 0));
        QTRY_VERIFY(!qel::reportBoxPending());
    }

    // The box is a message to act on: a warning titled with the program's name (not
    // the main window's title, by which scripts find that window), modal to the
    // window in use only and centred over it. When none of the program's windows is
    // active (another program has the focus, or no window manager gave the focus
    // back after a dialog), that is the one used last while it is shown, else the
    // main window.
    void theBoxSitsOverTheWindowInUse_data()
    {
        QTest::addColumn<QString>("used");
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("owner");
        QTest::newRow("main window active") << "main"
                                            << ""
                                            << "main";
        QTest::newRow("export window active") << "export"
                                              << ""
                                              << "export";
        QTest::newRow("main window used, another program active") << "main"
                                                                  << "other"
                                                                  << "main";
        QTest::newRow("export window used, another program active") << "export"
                                                                    << "other"
                                                                    << "export";
        QTest::newRow("export window used and closed, another program active") << "export"
                                                                               << "close, other"
                                                                               << "main";
    }

    void theBoxSitsOverTheWindowInUse()
    {
        QFETCH(QString, used);
        QFETCH(QString, then);
        QFETCH(QString, owner);
        startUp();
        qel::installGuiReport();
        qel::WINhaupt* main = ::WINhaupt();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        main->move(40, 30);
        ::MenuBar1()->item("FIoffhtml")->trigger();
        QWidget* exportWindow = qel::WINexport::liveWindow();
        exportWindow->move(420, 260);
        QWidget* usedWindow = used == "main" ? static_cast<QWidget*>(main) : exportWindow;
        usedWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(usedWindow));
        if (then.startsWith("close"))
            usedWindow->close();
        QWindow other; // stands for a window of another program
        if (then.endsWith("other")) {
            other.show();
            other.requestActivate();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            QCOMPARE(QApplication::activeWindow(), nullptr);
        }
        QWidget* expectedOwner = owner == "main" ? static_cast<QWidget*>(main) : exportWindow;

        QMessageBox* seen = nullptr;
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QWidget* parent = nullptr;
        Qt::WindowModality modality = Qt::NonModal;
        QPoint centre;
        support::ModalAnswerer ok([&](QWidget* modal) {
            seen = qobject_cast<QMessageBox*>(modal);
            if (!seen)
                return;
            title = seen->windowTitle();
            icon = seen->icon();
            parent = seen->parentWidget();
            modality = seen->windowModality();
            centre = seen->frameGeometry().center();
            seen->accept();
        });
        support::answerOpenDialog(QStringLiteral("/nonexistent/x.qel"));
        ::MenuBar1()->item("FIload")->trigger();
        QTRY_VERIFY(seen);
        QTRY_VERIFY(!qel::reportBoxPending());

        QVERIFY2(title.contains("Qel-Viewer") && title != main->windowTitle(), qPrintable(title));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(parent, expectedOwner);
        QCOMPARE(modality, Qt::WindowModal);
        const QPoint ownerCentre = expectedOwner->frameGeometry().center();
        QVERIFY2((centre - ownerCentre).manhattanLength() <= 2,
                 qPrintable(QString("box centred at %1,%2, its window at %3,%4")
                                .arg(centre.x())
                                .arg(centre.y())
                                .arg(ownerCentre.x())
                                .arg(ownerCentre.y())));
    }

    // Without a window manager nothing gives the focus back when the window that
    // holds it closes: the program gives it to the window used before, and only
    // when the closed window held it.
    void focusGoesBackWhenTheFocusedWindowCloses_data()
    {
        QTest::addColumn<QStringList>("used"); // activated in turn; "other" is another program
        QTest::addColumn<QString>("closed");
        QTest::addColumn<QString>("active"); // afterwards; "none": no window of the program
        QTest::newRow("debug window") << QStringList{"main", "debug"} << "debug"
                                      << "main";
        QTest::newRow("export window") << QStringList{"main", "export"} << "export"
                                       << "main";
        QTest::newRow("debug window, the export window used before")
            << QStringList{"main", "export", "debug"} << "debug"
            << "export";
        QTest::newRow("dialog over the main window") << QStringList{"main", "dialog"} << "dialog"
                                                     << "main";
        QTest::newRow("dialog over the export window") << QStringList{"main", "export", "dialog"} << "dialog"
                                                       << "export";
        QTest::newRow("dialog, then at once the export window under it")
            << QStringList{"main", "export", "dialog"} << "dialog, export"
            << "main";
        QTest::newRow("debug window without the focus") << QStringList{"debug", "main"} << "debug"
                                                        << "main";
        QTest::newRow("debug window, another program active") << QStringList{"main", "debug", "other"} << "debug"
                                                              << "none";
    }
    void focusGoesBackWhenTheFocusedWindowCloses()
    {
        QFETCH(QStringList, used);
        QFETCH(QString, closed);
        QFETCH(QString, active);
        startUp();
        qel::WINhaupt* main = ::WINhaupt();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QWindow other; // stands for a window of another program
        QPointer<QDialog> dialog;
        std::map<QString, QWidget*> windows{{"main", main}};
        for (const QString& name : used) {
            if (name == "debug") {
                ::WINhaupt()->PushButton3()->click();
                windows[name] = qel::WINdebug::liveWindow();
            } else if (name == "export") {
                ::MenuBar1()->item("FIoffhtml")->trigger();
                windows[name] = qel::WINexport::liveWindow();
            } else if (name == "dialog") {
                dialog = new QDialog(windows[used.at(used.indexOf(name) - 1)]);
                dialog->setModal(true);
                dialog->show();
                windows[name] = dialog;
            }
            if (name == "other") {
                other.show();
                other.requestActivate();
                QVERIFY(QTest::qWaitForWindowActive(&other));
                continue;
            }
            QVERIFY(windows[name]);
            windows[name]->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), windows[name]);
            QCoreApplication::processEvents();
        }

        for (const QString& name : closed.split(QStringLiteral(", "))) {
            if (name == "dialog")
                dialog->hide();
            else
                windows[name]->close();
        }
        QCoreApplication::processEvents();
        QWidget* expected = active == "none" ? nullptr : windows[active];
        QTRY_COMPARE(QApplication::activeWindow(), expected);
        delete dialog;
    }

    void qtFileDialogs()
    {
        // Both dialogs are Qt's own; cancelling gives nothing.
        qel::installQtFileDialogs();
        QString title;
        {
            support::ModalAnswerer cancel([&](QWidget* modal) {
                if (auto* d = qobject_cast<QDialog*>(modal)) {
                    title = d->windowTitle();
                    d->reject();
                }
            });
            QCOMPARE(toolkit::GetOpenFolderItem(), std::optional<QString>());
        }
        QVERIFY(!title.isEmpty());

        QString proposed;
        {
            support::ModalAnswerer cancel([&](QWidget* modal) {
                if (auto* name = modal->findChild<QLineEdit*>("fileNameEdit"))
                    proposed = name->text();
                static_cast<QDialog*>(modal)->reject();
            });
            QCOMPARE(toolkit::GetSaveFolderItem(QStringLiteral("cube.off")), std::optional<QString>());
        }
        QCOMPARE(proposed, QStringLiteral("cube.off"));
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
