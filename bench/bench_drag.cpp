// One drag step on the largest main window (drawing area 1424 x 865) with 3000
// points and 3000 line records: the mouse-move event through the canvas's drag
// handler (matrix and render pass) and the canvas's paint that shows it.
#include "bench/bench.h"

#include "model/module1.h"
#include "windows/Canvas.h"
#include "windows/WINhaupt.h"
#include "windows/hooks.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWindow>

#include <cstdio>
#include <random>

using namespace Module1;

namespace {

// Points spread through a box that, in the start view at zoom 10, covers the
// largest drawing area; every record draws to a point picked at random, so the pen
// path crosses the picture in all directions (segments of some 500 pixels).
void fillModel()
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> across(-55, 55), up(-30, 30);
    std::uniform_int_distribution<int> pick(1, 3000), code(1, 15);
    for (int i = 1; i <= 3000; ++i) {
        punkt(i, 1) = across(rng);
        punkt(i, 2) = across(rng);
        punkt(i, 3) = up(rng);
    }
    for (int j = 1; j <= 3000; ++j) {
        linie(j, 1) = pick(rng);
        linie(j, 2) = code(rng);
    }
    anzpkt = 3000;
    anzlin = 3000;
}

void send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const QPointF local(at);
    QMouseEvent e(type, local, w->mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

bool waitExposed(QWidget* w)
{
    QElapsedTimer t;
    t.start();
    while (!(w->windowHandle() && w->windowHandle()->isExposed()) && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return w->windowHandle() && w->windowHandle()->isExposed();
}

} // namespace

QEL_BENCH(drag)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    resetState();
    qel::installWindowHooks();
    qel::WINhaupt* w = ::WINhaupt();
    w->show();
    if (!waitExposed(w)) {
        std::fprintf(stderr, "qel-bench: the main window was not shown\n");
        return;
    }
    // The largest window: the content area at its maximum.
    const int bar = w->height() - w->centralWidget()->height();
    w->resize(qel::WINhaupt::maxWidth, qel::WINhaupt::maxHeight + bar);
    QElapsedTimer t;
    t.start();
    while (breite != 1424 && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (breite != 1424 || hoehe != 865) {
        std::fprintf(stderr, "qel-bench: the drawing area is %lld x %lld, not 1424 x 865\n",
                     static_cast<long long>(breite), static_cast<long long>(hoehe));
        return;
    }
    fillModel();
    w->CBpunkte()->setChecked(true); // renders; the points are part of every pass now
    QCoreApplication::processEvents();

    qel::Canvas* canvas = w->CAhaupt();
    const QPoint centre(712, 432);
    send(canvas, QEvent::MouseButtonPress, centre, Qt::LeftButton);
    int step = 0;
    // One pixel right, one back: every step turns the model.
    const auto dragStep = [&] {
        send(canvas, QEvent::MouseMove, centre + QPoint(++step % 2, 0), Qt::LeftButton);
        canvas->repaint();
    };
    for (int i = 0; i < 10; ++i)
        dragStep(); // warm up
    figure("drag_frame_ms", qelbench::medianMs(101, dragStep));
    figure("drag_paint_ms", qelbench::medianMs(101, [&] { canvas->repaint(); }));
    send(canvas, QEvent::MouseButtonRelease, centre, Qt::NoButton);

    w->close();
    QCoreApplication::processEvents();
    resetState();
    resetHooks();
}
