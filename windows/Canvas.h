#pragma once
// A canvas: everything it shows comes from its paint handler, and its mouse
// events go to the handlers bound to it. It never takes the keyboard focus.
//
// A drag belongs to the left button: every left press runs MouseDown, and the drag
// events follow while the button is held. The drag ends when the button is released
// anywhere (a move without it held shows that), when the canvas loses the mouse,
// and when another window takes the input (a modal dialog, another window
// activated), so no later press finds a drag left over.
#include <QWidget>
#include <cstdint>
#include <functional>

class QPainter;

namespace qel {

class Canvas : public QWidget {
    Q_OBJECT

public:
    explicit Canvas(QWidget* parent = nullptr);

    // The bound handlers; an unbound event does nothing.
    std::function<bool(std::int64_t x, std::int64_t y)> MouseDown; // true: the drag events follow
    std::function<void(std::int64_t x, std::int64_t y)> MouseDrag; // left button held
    // Deltas in whole wheel steps; vertical positive when the wheel turns toward the user.
    std::function<bool(std::int64_t x, std::int64_t y, std::int64_t dx, std::int64_t dy)> MouseWheel;
    std::function<void(QPainter& g, const QRegion& areas)> Paint;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool dragging_ = false;
    // Eighths of a degree not yet used up by a whole step (high-resolution wheels).
    int wheelRestX_ = 0;
    int wheelRestY_ = 0;
};

} // namespace qel
