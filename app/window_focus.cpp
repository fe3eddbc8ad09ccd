#include "app/window_focus.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace qel {

namespace {

// The program's windows in the order they last had the focus, the latest first.
std::vector<QPointer<QWidget>> used;
// The window that has the focus as far as the program has been told, dialogs
// included: when a window is hidden, the platform may not have said yet that it
// lost the focus, or may already have moved it elsewhere.
QPointer<QWidget> focused;

bool counts(const QWidget* w)
{
    return w && w->isWindow() && !w->isModal() && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip;
}

void noteFocusWindow(QWindow* window)
{
    focused = nullptr;
    if (!window)
        return;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowHandle() != window)
            continue;
        focused = w;
        if (!counts(w))
            return;
        std::erase_if(used, [w](const QPointer<QWidget>& p) { return !p || p == w; });
        used.insert(used.begin(), w);
        return;
    }
}

// Gives the focus back when the window that holds it is hidden: a dialog that
// closes, the debug window closed by its close button.
class FocusReturn : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Hide || !watched->isWidgetType())
            return false;
        auto* hidden = static_cast<QWidget*>(watched);
        if (!hidden->isWindow() || hidden->windowType() == Qt::Popup || hidden->windowType() == Qt::ToolTip)
            return false;
        if (hidden != focused && hidden != QApplication::activeWindow())
            return false;
        if (QWidget* next = nextWindow(hidden))
            next->activateWindow();
        return false;
    }

private:
    // A modal window still shown (a dialog over the one that closed), else the
    // window used last.
    static QWidget* nextWindow(const QWidget* hidden)
    {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != hidden && modal->isVisible())
            return modal;
        return lastUsedWindow(hidden);
    }
};

} // namespace

QWidget* lastUsedWindow(const QWidget* except)
{
    for (const QPointer<QWidget>& w : used) {
        if (w && w != except && w->isVisible())
            return w;
    }
    return nullptr;
}

void installWindowFocus()
{
    static QPointer<QCoreApplication> watched;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || watched == app)
        return;
    watched = app;
    used.clear();
    QObject::connect(app, &QGuiApplication::focusWindowChanged, app, noteFocusWindow);
    app->installEventFilter(new FocusReturn(app));
}

} // namespace qel
