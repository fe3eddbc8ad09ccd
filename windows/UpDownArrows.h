#pragma once
// Up-down arrows: two small arrow buttons stacked in one control, with separate up
// and down signals. They never take the keyboard focus and repeat while held.
#include <QWidget>

class QToolButton;

namespace qel {

class UpDownArrows : public QWidget {
    Q_OBJECT
public:
    explicit UpDownArrows(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void Up();
    void Down();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace qel
