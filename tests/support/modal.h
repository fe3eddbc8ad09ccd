#pragma once
// Modal windows answered from a test as a user answers them: once they are up.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <utility>

namespace support {

// Hands each modal window to `answer` once it is shown and on screen, looking every
// 10 ms for as long as it lives (or until stop()); `answer` closes the window. A
// timer of a fixed length instead may fire before the window is up, and the test
// then waits for ever.
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(QWidget*)> answer) : answer_(std::move(answer))
    {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { look(); });
        timer_.start(10);
    }
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    void stop() { timer_.stop(); }
    // How many modal windows it has answered.
    int answered() const { return answered_; }

private:
    void look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || !modal->windowHandle() || !modal->windowHandle()->isExposed())
            return;
        ++answered_;
        answer_(modal);
    }

    std::function<void(QWidget*)> answer_;
    QTimer timer_;
    int answered_ = 0;
};

} // namespace support
