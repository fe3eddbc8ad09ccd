// The main window: its start state and layout, and what each handler does to the
// shared state and to the picture, driven through Qt events where Qt has them.
#include "model/module1.h"
#include "tests/support/model.h"
#include "tests/support/windows.h"
#include "toolkit/dialogs.h"
#include "toolkit/report.h"
#include "windows/Canvas.h"
#include "windows/MenuBar1.h"
#include "windows/UpDownArrows.h"
#include "windows/WINdebug.h"
#include "windows/WINhaupt.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>

namespace {

const QRgb red = qRgb(255, 0, 0);
const QRgb black = qRgb(0, 0, 0);

QRgb pixelAt(std::int64_t x, std::int64_t y) { return Module1::zebild->pixel(int(x), int(y)); }

// Canvas position of the model point (x, y, z) at the current view.
QPoint onCanvas(double x, double y, double z)
{
    using namespace Module1;
    const double sx = ((x * basis(1, 1) + y * basis(2, 1)) + z * basis(3, 1)) + double(origx);
    const double sy = ((x * basis(1, 2) + y * basis(2, 2)) + z * basis(3, 2)) + double(origy);
    return QPoint(int(std::floor(sx)), int(std::floor(sy)));
}

// True when a pixel next to p (3 x 3) has that colour: line pixels may lie one off
// the exact geometric point.
bool colourNear(QPoint p, QRgb colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (Module1::zebild->pixel(p.x() + dx, p.y() + dy) == colour)
                return true;
    return false;
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    const QPointF local(at);
    QMouseEvent e(type, local, w->mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void press(QWidget* w, QPoint at) { sendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton); }
void dragTo(QWidget* w, QPoint at) { sendMouse(w, QEvent::MouseMove, at, Qt::LeftButton); }
void release(QWidget* w, QPoint at) { sendMouse(w, QEvent::MouseButtonRelease, at, Qt::NoButton); }

// One wheel event; angleDelta in eighths of a degree, 120 per notch, positive away
// from the user. Returns whether the event was left accepted.
bool wheel(QWidget* w, int angleDeltaY)
{
    const QPointF at(10, 10);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, angleDeltaY), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    return e.isAccepted();
}

// Resizes the window so that its content area gets that size.
void resizeContent(qel::WINhaupt* w, int width, int height)
{
    const int bar = w->height() - w->centralWidget()->height();
    w->resize(width, height + bar);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    QStringList errors_;
    int renders_ = 0;

    // A fresh main window from start values, shown; renders are counted from its
    // first one on.
    qel::WINhaupt* openWindow()
    {
        renders_ = 0;
        return support::openMainWindow([this](Module1::WindowHooks& hooks) {
            auto repaint = hooks.invalidateCanvas;
            hooks.invalidateCanvas = [this, repaint] {
                ++renders_;
                repaint();
            };
        });
    }

private slots:
    void init()
    {
        errors_.clear();
        toolkit::setReport([this](const QString& m) { errors_ << m; });
    }

    void cleanup() { support::resetSeamsAndWindows(); }

    void startState()
    {
        qel::WINhaupt* w = openWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("Qel-Viewer"));
        QVERIFY(!w->CBpunkte()->isChecked());
        QVERIFY(w->CBlinien()->isChecked());
        QVERIFY(w->CBachsen()->isChecked());
        QVERIFY(w->RBdrag(0)->isChecked());
        QVERIFY(!w->RBdrag(1)->isChecked());
        QCOMPARE(w->RBdrag(0)->text(), QStringLiteral("rotieren"));
        QCOMPARE(w->RBdrag(1)->text(), QStringLiteral("verschieben"));
        QCOMPARE(w->EFzoom()->text(), QStringLiteral("10"));
        QCOMPARE(w->centralWidget()->size(), QSize(576, 435));
        QCOMPARE(w->CAhaupt()->geometry(), QRect(156, 15, 400, 400));
        QCOMPARE(Module1::breite, std::int64_t(400));
        QCOMPARE(Module1::hoehe, std::int64_t(400));
        QVERIFY(w->menuBar() == ::MenuBar1());
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);
        // The start view's one render: the origin dot in red on black.
        QCOMPARE(renders_, 1);
        QCOMPARE(pixelAt(200, 200), red);
        QCOMPARE(pixelAt(10, 10), black);
        QVERIFY(errors_.isEmpty());
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("rect"); // in content-area coordinates
        QTest::addColumn<QString>("text");
        QTest::newRow("GroupBox1") << "GroupBox1"
                                   << "" << QRect(16, 15, 132, 97) << "Anzeige";
        QTest::newRow("CBpunkte") << "CBpunkte"
                                  << "GroupBox1" << QRect(27, 37, 72, 22) << "Punkte";
        QTest::newRow("CBlinien") << "CBlinien"
                                  << "GroupBox1" << QRect(27, 56, 72, 22) << "Linien";
        QTest::newRow("CBachsen") << "CBachsen"
                                  << "GroupBox1" << QRect(27, 85, 114, 22) << "Achsen";
        QTest::newRow("GroupBox2") << "GroupBox2"
                                   << "" << QRect(16, 124, 132, 159) << "Ansicht";
        QTest::newRow("PushButton1") << "PushButton1"
                                     << "GroupBox2" << QRect(49, 246, 68, 20) << "reset";
        QTest::newRow("UPDzoom") << "UPDzoom"
                                 << "GroupBox2" << QRect(121, 153, 13, 23) << "";
        QTest::newRow("RBdrag 0") << "RBdrag0"
                                  << "GroupBox2" << QRect(25, 188, 100, 20) << "rotieren";
        QTest::newRow("RBdrag 1") << "RBdrag1"
                                  << "GroupBox2" << QRect(25, 214, 100, 20) << "verschieben";
        QTest::newRow("Label1") << "Label1"
                                << "GroupBox2" << QRect(28, 153, 45, 20) << "Zoom";
        QTest::newRow("EFzoom") << "EFzoom"
                                << "GroupBox2" << QRect(73, 153, 40, 22) << "10";
        QTest::newRow("CAhaupt") << "CAhaupt"
                                 << "" << QRect(156, 15, 400, 400) << "";
        QTest::newRow("PushButton2") << "PushButton2"
                                     << "" << QRect(29, 304, 109, 20) << "Qel laden";
        QTest::newRow("PushButton3") << "PushButton3"
                                     << "" << QRect(29, 358, 109, 20) << "Debug";
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, rect);
        QFETCH(QString, text);
        qel::WINhaupt* w = openWindow();
        QWidget* c = name.startsWith("RBdrag") ? w->RBdrag(name.right(1).toInt()) : w->findChild<QWidget*>(name);
        QVERIFY(c);
        QCOMPARE(c->parentWidget(), parent.isEmpty() ? w->centralWidget() : w->findChild<QWidget*>(parent));
        QCOMPARE(QRect(c->mapTo(w->centralWidget(), QPoint(0, 0)), c->size()), rect);
        QString shown;
        if (auto* b = qobject_cast<QAbstractButton*>(c))
            shown = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(c))
            shown = g->title();
        else if (auto* l = qobject_cast<QLabel*>(c))
            shown = l->text();
        else if (auto* e = qobject_cast<QLineEdit*>(c))
            shown = e->text();
        QCOMPARE(shown, text);
        if (auto* b = qobject_cast<QPushButton*>(c)) {
            QVERIFY(!b->isDefault());
            QVERIFY(!b->autoDefault());
        }
    }

    // Tab visits the controls in their order within each container; the canvas and
    // the arrows never take the focus.
    void tabOrder()
    {
        qel::WINhaupt* w = openWindow();
        QStringList visited;
        QWidget* start = w->CBpunkte();
        QWidget* c = start;
        do {
            if ((c->focusPolicy() & Qt::TabFocus) && c->isVisibleTo(w) && w->isAncestorOf(c)) {
                QString name = c->objectName();
                if (auto* m = dynamic_cast<qel::WINhaupt::RBdragMember*>(c))
                    name += QString::number(m->Index);
                visited << name;
            }
            c = c->nextInFocusChain();
        } while (c != start);
        QCOMPARE(visited,
                 QStringList({"CBpunkte", "CBlinien", "CBachsen", "PushButton1", "RBdrag0", "RBdrag1", "EFzoom",
                              "PushButton2", "PushButton3"}));
        QCOMPARE(w->CAhaupt()->focusPolicy(), Qt::NoFocus);
        QCOMPARE(w->UPDzoom()->focusPolicy(), Qt::NoFocus);
        QCOMPARE(w->UPDzoom()->upButton()->focusPolicy(), Qt::NoFocus);
        QCOMPARE(w->UPDzoom()->downButton()->focusPolicy(), Qt::NoFocus);
    }

    void radioButtonsAreOneGroup()
    {
        qel::WINhaupt* w = openWindow();
        QTest::mouseClick(w->RBdrag(1), Qt::LeftButton);
        QVERIFY(w->RBdrag(1)->isChecked());
        QVERIFY(!w->RBdrag(0)->isChecked());
        QTest::mouseClick(w->RBdrag(0), Qt::LeftButton);
        QVERIFY(w->RBdrag(0)->isChecked());
        QVERIFY(!w->RBdrag(1)->isChecked());
    }

    // The open event renders once; the timer renders once more about 500 ms later,
    // and never again.
    void timerRendersOnceMore()
    {
        qel::WINhaupt* w = openWindow();
        QTimer* t = w->Timer1();
        QVERIFY(t->isSingleShot());
        QCOMPARE(t->interval(), 500);
        QCOMPARE(renders_, 1);
        Module1::basis(1, 1) = 0.0; // the timer recomputes the matrix before it renders
        QTRY_COMPARE_WITH_TIMEOUT(renders_, 2, 3000);
        QCOMPARE(Module1::basis(1, 1), std::cos(-0.785) * 10.0);
        QTest::qWait(800);
        QCOMPARE(renders_, 2);
        QVERIFY(!t->isActive());
    }

    void checkBoxesRender()
    {
        qel::WINhaupt* w = openWindow();
        const QPoint xAxis = onCanvas(5, 0, 0);
        QVERIFY(colourNear(xAxis, red));
        QTest::mouseClick(w->CBachsen(), Qt::LeftButton);
        QCOMPARE(renders_, 2);
        QVERIFY(!colourNear(xAxis, red));
        QCOMPARE(pixelAt(200, 200), black);
        QTest::mouseClick(w->CBachsen(), Qt::LeftButton);
        QCOMPARE(renders_, 3);
        QVERIFY(colourNear(xAxis, red));
        QTest::mouseClick(w->CBpunkte(), Qt::LeftButton);
        QCOMPARE(renders_, 4);
    }

    void zoomArrows()
    {
        qel::WINhaupt* w = openWindow();
        QTest::mouseClick(w->UPDzoom()->upButton(), Qt::LeftButton);
        QCOMPARE(Module1::zoomfaktor, std::int64_t(11));
        QCOMPARE(w->EFzoom()->text(), QStringLiteral("11"));
        QCOMPARE(Module1::basis(1, 1), std::cos(-0.785) * 11.0);
        QCOMPARE(renders_, 2);
        QTest::mouseClick(w->UPDzoom()->downButton(), Qt::LeftButton);
        QCOMPARE(Module1::zoomfaktor, std::int64_t(10));
        QCOMPARE(w->EFzoom()->text(), QStringLiteral("10"));
        QCOMPARE(renders_, 3);

        // At 1 the down arrow does nothing at all, not even a render.
        Module1::zoomfaktor = 1;
        w->EFzoom()->setText(QStringLiteral("typed"));
        QTest::mouseClick(w->UPDzoom()->downButton(), Qt::LeftButton);
        QCOMPARE(Module1::zoomfaktor, std::int64_t(1));
        QCOMPARE(w->EFzoom()->text(), QStringLiteral("typed"));
        QCOMPARE(renders_, 3);
        QVERIFY(w->UPDzoom()->upButton()->autoRepeat());
    }

    void mouseWheel()
    {
        qel::WINhaupt* w = openWindow();
        QWidget* canvas = w->CAhaupt();
        // Away from the user zooms in, and the event goes on to Qt as not handled.
        QVERIFY(!wheel(canvas, 2 * 120));
        QCOMPARE(Module1::zoomfaktor, std::int64_t(12));
        QCOMPARE(w->EFzoom()->text(), QStringLiteral("12"));
        QCOMPARE(renders_, 2);
        // Half notches add up to one step; nothing happens before.
        wheel(canvas, -60);
        QCOMPARE(Module1::zoomfaktor, std::int64_t(12));
        QCOMPARE(renders_, 2);
        wheel(canvas, -60);
        QCOMPARE(Module1::zoomfaktor, std::int64_t(11));
        QCOMPARE(renders_, 3);
        // A turn that would take the factor below 1 stops at 1, and still renders.
        wheel(canvas, -20 * 120);
        QCOMPARE(Module1::zoomfaktor, std::int64_t(1));
        QCOMPARE(w->EFzoom()->text(), QStringLiteral("1"));
        QCOMPARE(renders_, 4);
        QCOMPARE(Module1::basis(3, 2), -std::cos(0.3925));
        // The zoom keeps the origin where it is.
        QCOMPARE(pixelAt(200, 200), red);
    }

    void dragRotates()
    {
        qel::WINhaupt* w = openWindow();
        QWidget* canvas = w->CAhaupt();
        Module1::rotwinkel(1) = 0.0;
        Module1::rotwinkel(3) = 0.0;
        press(canvas, QPoint(100, 100));
        QCOMPARE(Module1::mausx, std::int64_t(100));
        QCOMPARE(Module1::mausy, std::int64_t(100));
        QCOMPARE(renders_, 1);
        // 3 pixels: the * 180 / 180 gives the last bit (0.0471 without it).
        dragTo(canvas, QPoint(103, 103));
        QCOMPARE(Module1::rotwinkel(3), 0.047099999999999996);
        QCOMPARE(Module1::rotwinkel(1), 0.047099999999999996);
        QVERIFY(Module1::rotwinkel(3) != 0.0471);
        QCOMPARE(Module1::mausx, std::int64_t(103));
        QCOMPARE(renders_, 2);
        QCOMPARE(Module1::basis(1, 1), std::cos(0.047099999999999996) * 10.0);
        // No movement: nothing changes, but the matrix and the picture are made again.
        Module1::basis(1, 1) = 0.0;
        dragTo(canvas, QPoint(103, 103));
        QCOMPARE(Module1::rotwinkel(3), 0.047099999999999996);
        QCOMPARE(Module1::basis(1, 1), std::cos(0.047099999999999996) * 10.0);
        QCOMPARE(renders_, 3);
        // 200 pixels to the right turn by 3.14, not by pi.
        Module1::rotwinkel(3) = 0.0;
        dragTo(canvas, QPoint(303, 103));
        QCOMPARE(Module1::rotwinkel(3), 3.14);
        release(canvas, QPoint(303, 103));
        // Without a mouse-down, moving the mouse is no drag.
        dragTo(canvas, QPoint(10, 10));
        QCOMPARE(Module1::rotwinkel(3), 3.14);
        QCOMPARE(renders_, 4);
    }

    void dragMovesInMoveMode()
    {
        qel::WINhaupt* w = openWindow();
        QTest::mouseClick(w->RBdrag(1), Qt::LeftButton);
        QWidget* canvas = w->CAhaupt();
        const double turn = Module1::rotwinkel(3);
        press(canvas, QPoint(50, 50));
        dragTo(canvas, QPoint(60, 45));
        QCOMPARE(Module1::origx, std::int64_t(210));
        QCOMPARE(Module1::origy, std::int64_t(195));
        QCOMPARE(Module1::mausx, std::int64_t(60));
        QCOMPARE(Module1::mausy, std::int64_t(45));
        QCOMPARE(Module1::rotwinkel(3), turn);
        QCOMPARE(renders_, 2);
        QCOMPARE(pixelAt(210, 195), red);
        QCOMPARE(pixelAt(200, 200), black);
        release(canvas, QPoint(60, 45));
    }

    // Only the parts to be repainted are copied from the picture.
    void paintCopiesOnlyTheAreas()
    {
        qel::WINhaupt* w = openWindow();
        QImage target(400, 400, QImage::Format_RGB32);
        target.fill(qRgb(1, 2, 3));
        const QRegion areas = QRegion(10, 20, 30, 40) + QRegion(300, 5, 7, 9);
        {
            QPainter g(&target);
            w->CAhaupt_Paint(w->CAhaupt(), g, areas);
        }
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                QCOMPARE(target.pixel(x, y),
                         areas.contains(QPoint(x, y)) ? Module1::zebild->pixel(x, y) : qRgb(1, 2, 3));
    }

    void resize_data()
    {
        QTest::addColumn<QSize>("content");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QPoint>("origin");
        QTest::newRow("977 x 836") << QSize(977, 836) << QSize(801, 801) << QPoint(400, 400);
        QTest::newRow("beyond the largest") << QSize(2000, 1200) << QSize(1424, 865) << QPoint(712, 432);
        QTest::newRow("below the smallest") << QSize(300, 200) << QSize(400, 400) << QPoint(200, 200);
    }

    void resize()
    {
        QFETCH(QSize, content);
        QFETCH(QSize, area);
        QFETCH(QPoint, origin);
        qel::WINhaupt* w = openWindow();
        const QRect column = w->GroupBox2()->geometry();
        resizeContent(w, content.width(), content.height());
        QTRY_COMPARE(QSize(int(Module1::breite), int(Module1::hoehe)), area);
        QCOMPARE(w->centralWidget()->size(), area + QSize(176, 35));
        QCOMPARE(w->CAhaupt()->geometry(), QRect(QPoint(156, 15), area));
        QCOMPARE(QPoint(int(Module1::origx), int(Module1::origy)), origin);
        QCOMPARE(w->GroupBox2()->geometry(), column);
        if (area != QSize(400, 400)) {
            QCOMPARE(renders_, 2);
            QCOMPARE(pixelAt(origin.x(), origin.y()), red);
        }
    }

    // Reset puts the origin in the middle of the canvas as it is now and the angles
    // back to the start; the zoom stays.
    void resetAfterResize()
    {
        qel::WINhaupt* w = openWindow();
        resizeContent(w, 577, 436);
        QTRY_COMPARE(Module1::breite, std::int64_t(401));
        Module1::origx = 17;
        Module1::origy = 30;
        Module1::rotwinkel(1) = 2.0;
        Module1::rotwinkel(3) = 1.0;
        Module1::zoomfaktor = 7;
        const int before = renders_;
        QTest::mouseClick(w->PushButton1(), Qt::LeftButton);
        QCOMPARE(Module1::origx, std::int64_t(200)); // 401 / 2.0 truncated
        QCOMPARE(Module1::origy, std::int64_t(200));
        QCOMPARE(Module1::rotwinkel(1), 0.3925);
        QCOMPARE(Module1::rotwinkel(3), -0.785);
        QCOMPARE(Module1::zoomfaktor, std::int64_t(7));
        QCOMPARE(Module1::basis(1, 1), std::cos(-0.785) * 7.0);
        QCOMPARE(renders_, before + 1);
        QCOMPARE(pixelAt(200, 200), red);

        // Not square: each coordinate comes from its own side.
        resizeContent(w, 977, 636);
        QTRY_COMPARE(QSize(int(Module1::breite), int(Module1::hoehe)), QSize(801, 601));
        Module1::origx = 17;
        Module1::origy = 30;
        QTest::mouseClick(w->PushButton1(), Qt::LeftButton);
        QCOMPARE(Module1::origx, std::int64_t(400));
        QCOMPARE(Module1::origy, std::int64_t(300));
        QCOMPARE(pixelAt(400, 300), red);
    }

    // The canvas shows the top-left corner of the off-screen picture.
    void paintShowsThePicture()
    {
        qel::WINhaupt* w = openWindow();
        Module1::zebild->setPixel(5, 7, qRgb(1, 2, 3));
        const QImage shown = w->CAhaupt()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(400, 400));
        QCOMPARE(shown.pixel(5, 7), qRgb(1, 2, 3));
        QCOMPARE(shown, Module1::zebild->copy(0, 0, 400, 400));
    }

    void loadButton()
    {
        qel::WINhaupt* w = openWindow();
        support::answerOpenDialog(support::cubePath());
        const double turn = Module1::rotwinkel(3);
        Module1::basis(1, 1) = 1.0; // loading does not compute the matrix
        QTest::mouseClick(w->PushButton2(), Qt::LeftButton);
        QCOMPARE(Module1::anzpkt, std::int64_t(8));
        QCOMPARE(Module1::anzlin, std::int64_t(16));
        QCOMPARE(Module1::datname, QStringLiteral("cube.qel"));
        QCOMPARE(Module1::basis(1, 1), 1.0);
        QCOMPARE(Module1::rotwinkel(3), turn);
        QCOMPARE(renders_, 2);

        // Cancelling the dialog keeps the model and draws it again.
        Module1::rotation2();
        toolkit::resetDialogs();
        QTest::mouseClick(w->PushButton2(), Qt::LeftButton);
        QCOMPARE(Module1::anzpkt, std::int64_t(8));
        QCOMPARE(renders_, 3);
        // Bottom edge 1-2 of the cube, code 12.
        QVERIFY(colourNear(onCanvas(0, -5, -5), qRgb(255, 105, 105)));
        QVERIFY(errors_.isEmpty());
    }

    void debugButtonShowsTheDebugWindow()
    {
        qel::WINhaupt* w = openWindow();
        QCOMPARE(qel::WINdebug::liveWindow(), nullptr);
        QTest::mouseClick(w->PushButton3(), Qt::LeftButton);
        QVERIFY(qel::WINdebug::liveWindow());
        QVERIFY(qel::WINdebug::liveWindow()->isVisible());
        QVERIFY(errors_.isEmpty());
    }

    // An error in a handler ends that handler only: it reaches the report, nothing is
    // drawn, and the window goes on working.
    void errorReachesTheReport()
    {
        qel::WINhaupt* w = openWindow();
        support::answerOpenDialog(QStringLiteral("/nonexistent/none.qel"));
        QTest::mouseClick(w->PushButton2(), Qt::LeftButton);
        QCOMPARE(errors_.size(), 1);
        QCOMPARE(renders_, 1);
        QCOMPARE(qel::WINhaupt::liveWindow(), w);
        QTest::mouseClick(w->UPDzoom()->upButton(), Qt::LeftButton);
        QCOMPARE(Module1::zoomfaktor, std::int64_t(11));
        QCOMPARE(renders_, 2);

        // Also from inside a paint event.
        Module1::zebild.reset();
        w->CAhaupt()->repaint();
        QCOMPARE(errors_.size(), 2);
        QVERIFY(errors_.last().contains("picture"));
    }

    // A closed window stops being the live one at once; the next accessor call builds
    // a new one from the start values.
    void closedWindowIsGone()
    {
        qel::WINhaupt* w = openWindow();
        QTest::mouseClick(w->CBpunkte(), Qt::LeftButton);
        QVERIFY(w->CBpunkte()->isChecked());
        QCOMPARE(::WINhaupt(), w);
        w->close();
        QCOMPARE(qel::WINhaupt::liveWindow(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        qel::WINhaupt* again = openWindow();
        QVERIFY(!again->CBpunkte()->isChecked());
        QCOMPARE(again->EFzoom()->text(), QStringLiteral("10"));
        // The one menu bar survived the old window and is in the new one.
        QVERIFY(again->menuBar() == ::MenuBar1());
        QCOMPARE(::MenuBar1()->actions().size(), 2);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
