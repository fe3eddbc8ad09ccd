// Start-up as the program runs it (the start-up driver with its event loop, in this
// process), the application object's menu actions, and the report of unhandled
// errors that start-up installs.
#include "app/App.h"
#include "app/report_gui.h"
#include "app/startup.h"
#include "model/module1.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "windows/MenuBar1.h"
#include "windows/WIInfo.h"
#include "windows/WINdebug.h"
#include "windows/WINexport.h"
#include "windows/WINhaupt.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

QString cubePath() { return QStringLiteral(QEL_SOURCE_DIR "/examples/cube.qel"); }

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

private slots:
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
            toolkit::setOpenDialog([] { return std::optional<QString>(cubePath()); });
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
        qel::App* app = ::App();
        toolkit::setOpenDialog([] { return std::nullopt; });
        QCOMPARE(app->_FIload_Action(), false);
        QCOMPARE(app->_About_Action(), false);
        QCOMPARE(app->_FIoffhtml_Action(), false);
        qel::WIInfo::liveWindow()->Close();
        qel::WINexport::liveWindow()->Close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void loadCommand()
    {
        ::WINhaupt()->show();
        toolkit::setOpenDialog([] { return std::optional<QString>(cubePath()); });
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
        about->Close();
        exportWindow->Close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A failed load draws nothing; its error reaches the report start-up installed:
    // a message box once the handler has returned, one at a time, and the program
    // goes on.
    void errorsReachTheMessageBox()
    {
        ::WINhaupt()->show();
        Module1::zebild->fill(Qt::blue);
        toolkit::setOpenDialog([] { return std::optional<QString>(QStringLiteral("/nonexistent/x.qel")); });
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
        toolkit::setOpenDialog([] { return std::optional<QString>(cubePath()); });
        ::MenuBar1()->item("FIload")->trigger();
        QCOMPARE(Module1::zebild->pixel(10, 10), qRgb(0, 0, 0));
        QTRY_VERIFY(!qel::reportBoxPending());
    }

    void qtFileDialogs()
    {
        // Both dialogs are Qt's own; cancelling gives nothing.
        qel::installQtFileDialogs();
        QString title;
        QTimer::singleShot(100, [&] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                title = d->windowTitle();
                d->reject();
            }
        });
        QCOMPARE(toolkit::GetOpenFolderItem(), std::optional<QString>());
        QVERIFY(!title.isEmpty());

        QString proposed;
        QTimer::singleShot(100, [&] {
            if (auto* d = QApplication::activeModalWidget()) {
                if (auto* name = d->findChild<QLineEdit*>("fileNameEdit"))
                    proposed = name->text();
                static_cast<QDialog*>(d)->reject();
            }
        });
        QCOMPARE(toolkit::GetSaveFolderItem(QStringLiteral("cube.off")), std::optional<QString>());
        QCOMPARE(proposed, QStringLiteral("cube.off"));
    }

    void cleanupTestCase()
    {
        if (auto* w = qel::WINdebug::liveWindow())
            w->Close();
        if (auto* w = qel::WINhaupt::liveWindow())
            w->close();
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
