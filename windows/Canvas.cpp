#include "windows/Canvas.h"

#include "toolkit/numeric.h"
#include "toolkit/report.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace qel {

namespace {
constexpr int eighthsPerStep = 120; // one notch of an ordinary wheel

std::int64_t coord(double v) { return toolkit::truncToInt64(v); }
} // namespace

Canvas::Canvas(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    // The paint handler covers the whole canvas; nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Canvas::paintEvent(QPaintEvent* event)
{
    toolkit::guard([&] {
        if (!Paint)
            return;
        QPainter g(this);
        Paint(g, event->region());
    });
}

bool Canvas::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Leave:            // the mouse went elsewhere (Qt sends none during a drag of ours)
    case QEvent::WindowBlocked:    // a modal window opened
    case QEvent::WindowDeactivate: // another window takes the input
    case QEvent::Hide:
        dragging_ = false;
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void Canvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        toolkit::guard([&] {
            const QPointF p = event->position();
            dragging_ = MouseDown && MouseDown(coord(p.x()), coord(p.y()));
        });
    }
    event->accept();
}

void Canvas::mouseMoveEvent(QMouseEvent* event)
{
    // The buttons held now: a release that reached another window ends the drag here.
    if (!(event->buttons() & Qt::LeftButton))
        dragging_ = false;
    if (dragging_ && MouseDrag) {
        toolkit::guard([&] {
            const QPointF p = event->position();
            MouseDrag(coord(p.x()), coord(p.y()));
        });
    }
    event->accept();
}

void Canvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    event->accept();
}

void Canvas::wheelEvent(QWheelEvent* event)
{
    bool handled = false;
    toolkit::guard([&] {
        // Qt counts away from the user as positive; the handler counts toward the user.
        wheelRestY_ -= event->angleDelta().y();
        wheelRestX_ += event->angleDelta().x();
        const int dy = wheelRestY_ / eighthsPerStep;
        const int dx = wheelRestX_ / eighthsPerStep;
        wheelRestY_ -= dy * eighthsPerStep;
        wheelRestX_ -= dx * eighthsPerStep;
        if ((dx == 0 && dy == 0) || !MouseWheel)
            return;
        const QPointF p = event->position();
        handled = MouseWheel(coord(p.x()), coord(p.y()), dx, dy);
    });
    event->setAccepted(handled);
}

} // namespace qel
