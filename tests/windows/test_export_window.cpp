// The export window: its layout, the ticks becoming the export flags for one
// export, how it closes, what an error leaves, and the default-button key.
#include "export/export.h"
#include "model/module1.h"
#include "tests/support/child_process.h"
#include "tests/support/files.h"
#include "tests/support/model.h"
#include "tests/support/windows.h"
#include "toolkit/report.h"
#include "windows/WINexport.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

namespace {
const QStringList classFiles{"Face.class", "Matrix3D.class", "OOGL_OFF.class", "Viewer41.class"};

// In a child process: the export window with both boxes ticked exports the square
// to args[0]; what the report received and the window shows afterwards.
const support::ChildJob exportButtonJob("export button", [](const QStringList& args) {
    support::loadSquare();
    QStringList reported;
    toolkit::setReport([&](const QString& m) { reported << m; });
    support::SaveDialog dialog(args.at(0));
    qel::WINexport* w = WINexport();
    w->Show();
    w->CBhtml()->setChecked(true);
    w->CBjava()->setChecked(true);
    w->PushButton1()->click();
    const bool open = qel::WINexport::liveWindow() == w && w->isVisible();
    const QString seen = QStringLiteral("reported: %1; open: %2; ticks: %3 %4; flags clear: %5")
                             .arg(reported.join(QLatin1Char('|')))
                             .arg(open)
                             .arg(w->CBhtml()->isChecked())
                             .arg(w->CBjava()->isChecked())
                             .arg(!Module1::htmlsave && !Module1::javasave);
    support::resetSeamsAndWindows();
    return seen;
});
} // namespace

class TestExportWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QStringList reported;
    QString path(const QString& name) const { return dir.filePath(name); }

    static qel::WINexport* openTicked(bool html, bool java)
    {
        qel::WINexport* w = WINexport();
        w->Show();
        w->CBhtml()->setChecked(html);
        w->CBjava()->setChecked(java);
        return w;
    }
    static bool flagsClear() { return !Module1::htmlsave && !Module1::javasave; }

private slots:
    void init()
    {
        support::loadSquare();
        reported.clear();
        toolkit::setReport([this](const QString& m) { reported << m; });
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }
    void cleanup() { support::resetSeamsAndWindows(); }

    void layout()
    {
        qel::WINexport* w = WINexport();
        QCOMPARE(WINexport(), w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("OFF+ Export"));
        QCOMPARE(w->size(), QSize(212, 128));
        QCOMPARE(w->minimumSize(), QSize(212, 128));
        QCOMPARE(w->maximumSize(), QSize(212, 128));
        QCOMPARE(w->windowModality(), Qt::NonModal);
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);

        const struct {
            QAbstractButton* control;
            const char* name;
            const char* text;
            QRect geometry;
        } controls[] = {
            {w->CBhtml(), "CBhtml", "HTML-Datei", {56, 14, 100, 20}},
            {w->CBjava(), "CBjava", "Java-Plugins", {56, 46, 100, 20}},
            {w->PushButton1(), "PushButton1", "Export", {20, 88, 80, 20}},
            {w->PushButton2(), "PushButton2", "Abbruch", {112, 88, 80, 20}},
        };
        for (const auto& c : controls) {
            QCOMPARE(c.control->objectName(), QString::fromLatin1(c.name));
            QCOMPARE(c.control->text(), QString::fromLatin1(c.text));
            QCOMPARE(c.control->geometry(), c.geometry);
            QVERIFY(c.control->isEnabled() && c.control->isVisible());
        }
        QVERIFY(!w->CBhtml()->isChecked() && !w->CBjava()->isChecked());
        QVERIFY(w->PushButton1()->isDefault());
        QVERIFY(!w->PushButton2()->isDefault());
        // Tab order follows the creation order.
        QCOMPARE(w->CBhtml()->nextInFocusChain(), static_cast<QWidget*>(w->CBjava()));
        QCOMPARE(w->CBjava()->nextInFocusChain(), static_cast<QWidget*>(w->PushButton1()));
        QCOMPARE(w->PushButton1()->nextInFocusChain(), static_cast<QWidget*>(w->PushButton2()));
    }

    void showAgainKeepsTicks()
    {
        qel::WINexport* w = openTicked(true, false);
        WINexport()->Show();
        QCOMPARE(WINexport(), w);
        QVERIFY(w->CBhtml()->isChecked() && !w->CBjava()->isChecked());
        QVERIFY(flagsClear()); // ticking sets no flag
    }

    void exportButton_data()
    {
        QTest::addColumn<bool>("html");
        QTest::addColumn<bool>("java");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("neither") << false << false << QStringList{"m.off"};
        QTest::newRow("HTML-Datei") << true << false << QStringList{"m.htm", "m.off"};
        QTest::newRow("Java-Plugins") << false << true << (classFiles + QStringList{"m.off"});
        QTest::newRow("both") << true << true << (classFiles + QStringList{"m.htm", "m.off"});
    }
    void exportButton()
    {
        QFETCH(bool, html);
        QFETCH(bool, java);
        QFETCH(QStringList, files);
        support::SaveDialog dialog(path(QStringLiteral("m.off")));
        openTicked(html, java)->PushButton1()->click();

        QCOMPARE(dialog.flagsSeen.size(), std::size_t(1));
        QCOMPARE(dialog.flagsSeen[0], std::make_pair(html, java));
        QVERIFY(flagsClear());
        QCOMPARE(qel::WINexport::liveWindow(), nullptr);
        files.sort();
        QCOMPARE(support::entries(dir.path()), files);
        QCOMPARE(support::bytesOf(path(QStringLiteral("m.off"))), support::squareOff);
        QCOMPARE(reported, QStringList{});
        // The next window starts unticked.
        QVERIFY(!WINexport()->CBhtml()->isChecked() && !WINexport()->CBjava()->isChecked());
    }

    void cancelledDialogClosesTheWindow()
    {
        support::SaveDialog dialog;
        openTicked(true, true)->PushButton1()->click();
        QCOMPARE(dialog.proposed, QStringList{QStringLiteral("square.off")});
        QVERIFY(flagsClear());
        QCOMPARE(qel::WINexport::liveWindow(), nullptr);
        QCOMPARE(support::entries(dir.path()), QStringList{});
    }

    void closingWithoutExport_data()
    {
        QTest::addColumn<bool>("abbruch");
        QTest::newRow("close button") << false;
        QTest::newRow("Abbruch") << true;
    }
    void closingWithoutExport()
    {
        QFETCH(bool, abbruch);
        support::SaveDialog dialog(path(QStringLiteral("m.off")));
        qel::WINexport* w = openTicked(true, true);
        if (abbruch)
            QTest::mouseClick(w->PushButton2(), Qt::LeftButton);
        else
            w->close();
        QCOMPARE(qel::WINexport::liveWindow(), nullptr);
        QVERIFY(dialog.proposed.isEmpty());
        QVERIFY(flagsClear());
        QCOMPARE(support::entries(dir.path()), QStringList{});
        QVERIFY(!WINexport()->CBhtml()->isChecked() && !WINexport()->CBjava()->isChecked());
    }

    // A failed export: the error reaches the report naming the file, both flags are
    // false, and the window stays open with its ticks for another try.
    void errorKeepsTheWindowOpen_data()
    {
        QTest::addColumn<QString>("offName");
        QTest::addColumn<QString>("blocker");   // made a folder before the export
        QTest::addColumn<QString>("named");     // the file the message names
        QTest::addColumn<QStringList>("files"); // what is on disk afterwards
        QTest::newRow("OFF file's folder missing") << "no/such/m.off"
                                                   << ""
                                                   << "no/such/m.off" << QStringList{};
        QTest::newRow("OFF name is a folder") << "m.off"
                                              << "m.off"
                                              << "m.off" << QStringList{"m.off"};
        QTest::newRow("page name is a folder") << "m.off"
                                               << "m.htm"
                                               << "m.htm" << QStringList{"m.htm", "m.off"};
        QTest::newRow("class file name is a folder")
            << "m.off"
            << "Matrix3D.class"
            << "Matrix3D.class" << QStringList{"Face.class", "Matrix3D.class", "Viewer41.class", "m.htm", "m.off"};
    }
    void errorKeepsTheWindowOpen()
    {
        QFETCH(QString, offName);
        QFETCH(QString, blocker);
        QFETCH(QString, named);
        QFETCH(QStringList, files);
        if (!blocker.isEmpty())
            QVERIFY(QDir(dir.path()).mkdir(blocker));
        support::SaveDialog dialog(path(offName));
        qel::WINexport* w = openTicked(true, true);
        w->PushButton1()->click();

        QCOMPARE(reported.size(), 1);
        QVERIFY2(reported[0].contains(path(named)), qPrintable(reported[0]));
        QVERIFY(flagsClear());
        QCOMPARE(qel::WINexport::liveWindow(), w);
        QVERIFY(w->isVisible() && w->CBhtml()->isChecked() && w->CBjava()->isChecked());
        QCOMPARE(support::entries(dir.path()), files);
        if (blocker != offName && files.contains(QStringLiteral("m.off")))
            QCOMPARE(support::bytesOf(path(QStringLiteral("m.off"))), support::squareOff);
    }

    // A class file that fails late (the file may not grow past 4 KB): the window
    // does not close as if the export had worked, and the old class file stays.
    void lateWriteFailureKeepsTheWindowOpen()
    {
        support::writeBytes(path(QStringLiteral("Viewer41.class")), "the old class file");
        const QString seen = support::inChildProcess(exportButtonJob, {path(QStringLiteral("m.off"))},
                                                     support::fileSizeLimit(4096));
        QCOMPARE(seen,
                 QStringLiteral("reported: Cannot write the file \"%1\": %2; open: 1; ticks: 1 1; "
                                "flags clear: 1")
                     .arg(path(QStringLiteral("Viewer41.class")), QString::fromLocal8Bit(std::strerror(EFBIG))));
        QCOMPARE(support::bytesOf(path(QStringLiteral("Viewer41.class"))), QByteArray("the old class file"));
        QCOMPARE(support::entries(dir.path()), (QStringList{"Viewer41.class", "m.htm", "m.off"}));
    }

    // The plain "OFF exportieren..." calls saveoff with the flags as they stand.
    void plainExportWhileTheWindowIsOpen()
    {
        support::SaveDialog dialog(path(QStringLiteral("m.off")));
        qel::WINexport* w = openTicked(true, true);
        Module1::saveoff();
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("m.off")});
        QCOMPARE(qel::WINexport::liveWindow(), w);
        QVERIFY(w->CBhtml()->isChecked() && w->CBjava()->isChecked());
        QVERIFY(flagsClear());
    }

    // Return and Enter, sent to the control that has the focus: a push button takes
    // them itself (Abbruch closes the window), from anywhere else they press Export.
    void returnAndEnter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus"); // the control with the focus
        QTest::addColumn<bool>("exports");  // else the window closes without an export
        const struct {
            Qt::Key key;
            const char* name;
        } keys[] = {{Qt::Key_Return, "Return"}, {Qt::Key_Enter, "Enter"}};
        for (const auto& k : keys) {
            QTest::addRow("%s on Export", k.name) << int(k.key) << "PushButton1" << true;
            QTest::addRow("%s on Abbruch", k.name) << int(k.key) << "PushButton2" << false;
            QTest::addRow("%s on a check box", k.name) << int(k.key) << "CBjava" << true;
        }
        QTest::newRow("Return on the window itself") << int(Qt::Key_Return) << "" << true;
    }
    void returnAndEnter()
    {
        QFETCH(int, key);
        QFETCH(QString, focus);
        QFETCH(bool, exports);
        support::SaveDialog dialog(path(QStringLiteral("m.off")));
        qel::WINexport* w = openTicked(true, false);
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QWidget* target = focus.isEmpty() ? w : w->findChild<QWidget*>(focus);
        QVERIFY(target);
        target->setFocus();
        QCOMPARE(QApplication::focusWidget(), target);
        QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCoreApplication::processEvents();

        QCOMPARE(qel::WINexport::liveWindow(), nullptr);
        QVERIFY(flagsClear());
        QCOMPARE(reported, QStringList{});
        if (exports) {
            QCOMPARE(dialog.flagsSeen.size(), std::size_t(1));
            QCOMPARE(dialog.flagsSeen[0], std::make_pair(true, false));
            QCOMPARE(support::entries(dir.path()), (QStringList{"m.htm", "m.off"}));
        } else {
            QVERIFY(dialog.proposed.isEmpty());
            QCOMPARE(support::entries(dir.path()), QStringList{});
        }
    }

    // A name the page cannot hold is refused from the window too, before anything
    // is written; the window stays open with its ticks for another name.
    void nameThePageCannotHold()
    {
        support::SaveDialog dialog(path(QString::fromUtf8("Κύβος.off")));
        qel::WINexport* w = openTicked(true, true);
        w->PushButton1()->click();
        QCOMPARE(reported.size(), 1);
        QVERIFY2(reported[0].contains(QStringLiteral("Windows-1252")), qPrintable(reported[0]));
        QVERIFY(flagsClear());
        QCOMPARE(qel::WINexport::liveWindow(), w);
        QVERIFY(w->CBhtml()->isChecked() && w->CBjava()->isChecked());
        QCOMPARE(support::entries(dir.path()), QStringList{});
    }
};

QEL_TEST_MAIN(TestExportWindow)
#include "test_export_window.moc"
