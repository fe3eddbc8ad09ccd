#include "windows/UpDownArrows.h"

#include <QToolButton>

namespace qel {

namespace {
QToolButton* makeArrow(QWidget* parent, Qt::ArrowType arrow)
{
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    b->setAutoRaise(false);
    b->setIconSize(QSize(7, 5));
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return b;
}
} // namespace

UpDownArrows::UpDownArrows(QWidget* parent)
    : QWidget(parent), up_(makeArrow(this, Qt::UpArrow)), down_(makeArrow(this, Qt::DownArrow))
{
    setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, &UpDownArrows::Up);
    connect(down_, &QToolButton::clicked, this, &UpDownArrows::Down);
}

void UpDownArrows::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int h = height();
    const int upper = (h + 1) / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), h - upper);
}

} // namespace qel
