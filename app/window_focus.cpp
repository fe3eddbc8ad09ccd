#include "app/window_focus.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include <xcb/xcb.h>

namespace qel {

namespace {

// The program's windows in the order they last had the focus, the latest first.
std::vector<QPointer<QWidget>> used;
// The window that has the focus as far as the program has been told, dialogs
// included, or the window it was last given to while that is on its way: when a
// window is hidden, the platform may not have said yet that it lost the focus, or
// may already have moved it elsewhere.
QPointer<QWidget> focused;

bool isPopup(const QWidget* w) { return w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip; }

void noteFocusWindow(QWindow* window)
{
    QWidget* w = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (window && top->windowHandle() == window)
            w = top;
    }
    // A popup takes Qt's focus, but the window under it keeps the input focus.
    if (w && isPopup(w))
        return;
    focused = w; // none: another program has it
    if (!w || w->isModal())
        return;
    std::erase_if(used, [w](const QPointer<QWidget>& p) { return !p || p == w; });
    used.insert(used.begin(), w);
}

// True when a window manager runs on the X display: it leaves its mark on the root
// window.
bool windowManagerRuns(xcb_connection_t* c)
{
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool runs = property && xcb_get_property_value_length(property) > 0;
    std::free(property);
    std::free(atom);
    return runs;
}

// Activates the window. Qt's own request carries the time of the last event it
// saw, and the X server ignores a focus request older than the last change of the
// focus, which the unmapping of the window that just closed has made. With no
// window manager to ask, the request goes straight to the server, for now.
void giveFocus(QWidget* w)
{
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) {
        xcb_connection_t* c = x11->connection();
        if (c && !windowManagerRuns(c)) {
            xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, xcb_window_t(w->winId()), XCB_CURRENT_TIME);
            xcb_flush(c);
            return;
        }
    }
    w->activateWindow();
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
        if (!hidden->isWindow() || isPopup(hidden))
            return false;
        if (hidden != focused && hidden != QApplication::activeWindow())
            return false;
        if (QWidget* next = nextWindow(hidden)) {
            focused = next;
            giveFocus(next);
        }
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
