// A drag on the main window that a modal window, another window or a release that
// never reaches us cuts short, the program's own error box among them.
#include "app/report_gui.h"
#include "model/module1.h"
#include "tests/support/app.h"
#include "tests/support/modal.h"
#include "tests/support/model.h"
#include "toolkit/dialogs.h"
#include "toolkit/report.h"
#include "windows/Canvas.h"
#include "windows/WINdebug.h"
#include "windows/WINhaupt.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QWindow>

class TestDragCutShort : public QObject {
    Q_OBJECT

private:
    QStringList errors_;

private slots:
    void init()
    {
        errors_.clear();
        toolkit::setReport([this](const QString& m) { errors_ << m; });
    }

    void cleanup() { support::resetProgram(); }

    // A drag that a modal window, another window or a lost release cuts short leaves
    // nothing behind: a move without a fresh press turns nothing, every press on the
    // canvas is a new mouse-down, and one pixel right and back leaves the picture as
    // it was. Window system events, so that Qt's mouse grab, modality and activation
    // take part.
    void dragCutShort_data()
    {
        QTest::addColumn<QString>("cut");
        QTest::newRow("a modal dialog takes the release") << "dialog";
        QTest::newRow("the error box of a failing drag step") << "error box";
        QTest::newRow("another window takes the input") << "activated";
        QTest::newRow("another client takes the release") << "released elsewhere";
    }

    void dragCutShort()
    {
        QFETCH(QString, cut);
        qel::WINhaupt* w = support::openMainWindow();
        support::answerOpenDialog(support::cubePath());
        QTest::mouseClick(w->PushButton2(), Qt::LeftButton);
        QCOMPARE(Module1::anzpkt, std::int64_t(8));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->Timer1()->stop(); // its render must not come in between
        QWindow* win = w->windowHandle();
        const auto on = [w](int x, int y) { return w->CAhaupt()->mapTo(w, QPoint(x, y)); };

        // Closes each modal window once it shows, after the button was released over it.
        support::ModalAnswerer closer([](QWidget* modal) {
            QTest::mouseRelease(modal->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        });
        if (cut == "error box") {
            Module1::linie(1, 1) = 3001; // the next render fails
            toolkit::setReport(qel::guiReport);
        }
        QTest::mousePress(win, Qt::LeftButton, {}, on(100, 100));
        const double turn = Module1::rotwinkel(3);
        QTest::mouseMove(win, on(110, 100));
        QCOMPARE(Module1::mausx, std::int64_t(110));
        QVERIFY(Module1::rotwinkel(3) != turn);

        qel::WINdebug* other = nullptr;
        if (cut == "dialog") {
            QDialog dialog(w);
            dialog.setModal(true);
            dialog.exec();
        } else if (cut == "error box") {
            QTRY_COMPARE(closer.answered(), 1);
            QTRY_VERIFY(!qel::reportBoxPending());
            toolkit::setReport([this](const QString& m) { errors_ << m; });
            Module1::linie(1, 1) = 1;
            Module1::zeichnen(); // the failed pass left its picture half drawn
        } else if (cut == "released elsewhere") {
            // No release, leave or deactivation reaches us: the window system reports
            // the buttons as they are with each move. Qt passes no move without a
            // button to the canvas, so the right button is pressed and moved too.
            const double held = Module1::rotwinkel(3);
            const auto send = [&](QEvent::Type type, Qt::MouseButtons state, Qt::MouseButton button, int x) {
                const QPoint p = on(x, 100);
                qt_handleMouseEvent(win, p, win->mapToGlobal(p), state, button, type, {}, ++QTest::lastMouseTimestamp);
            };
            send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 120);
            send(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 120);
            send(QEvent::MouseMove, Qt::RightButton, Qt::NoButton, 130);
            send(QEvent::MouseButtonRelease, Qt::NoButton, Qt::RightButton, 130);
            QCOMPARE(Module1::rotwinkel(3), held);
            // QTest still counts the left button as held; its release changes nothing.
            QTest::mouseRelease(win, Qt::LeftButton, {}, on(130, 100));
        } else {
            other = ::WINdebug();
            other->Show();
            QVERIFY(QTest::qWaitForWindowActive(other));
        }
        closer.stop();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));

        // The mouse comes back over the canvas (the button held again only after a
        // window took the input): no drag goes on.
        const double after = Module1::rotwinkel(3);
        QTest::mouseMove(win, on(150, 120));
        QCOMPARE(Module1::rotwinkel(3), after);
        if (cut == "activated")
            QTest::mouseRelease(win, Qt::LeftButton, {}, on(150, 120));

        QTest::mousePress(win, Qt::LeftButton, {}, on(200, 150));
        QCOMPARE(Module1::mausx, std::int64_t(200));
        QCOMPARE(Module1::mausy, std::int64_t(150));
        const QImage before = Module1::zebild->copy(0, 0, 400, 400);
        QTest::mouseMove(win, on(201, 150));
        QVERIFY(Module1::zebild->copy(0, 0, 400, 400) != before);
        QTest::mouseMove(win, on(200, 150));
        QCOMPARE(Module1::zebild->copy(0, 0, 400, 400), before);
        QTest::mouseRelease(win, Qt::LeftButton, {}, on(200, 150));
        if (other)
            other->Close();
        QVERIFY(errors_.isEmpty());
    }
};

QTEST_MAIN(TestDragCutShort)
#include "test_drag_cut_short.moc"
