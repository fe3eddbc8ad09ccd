#pragma once
// The scheme every window follows: at most one live window per class, reached
// through the class's accessor, which builds one whenever none is live. A window
// is live from the start of its construction (so its open handler reaches it
// through its own accessor) until it is closed; Qt deletes it later, but it stops
// counting as live at once.
//
// Construction: Layout (the window's title, frame and size), CreateControls ->
// _CreateControls0, Event_Open, show. _CreateControls0 is a flat list in the
// manner of Qt Designer's setupUi: makeControl creates each control with its
// parent, name and place, its texts and start values follow, then bind connects
// its events to the window's handlers; a start value set before the binding calls
// no handler.
#include "toolkit/errors.h"
#include "toolkit/report.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QWidget>

#include <cstdint>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace qel {

// True when C itself carries Q_OBJECT. The macro declares metaObject() in the class;
// without it, &C::metaObject names the member of a base class, and its type says so.
template <class C>
concept HasQObjectMacro = std::is_same_v<decltype(&C::metaObject), const QMetaObject* (C::*)() const>;

// The base of every window class. A template cannot carry Q_OBJECT, so it adds
// no meta-object of its own; each window class derived from it does, and Qt
// sees it as a direct subclass of QtBase.
template <class Derived, class QtBase = QWidget>
class Window : public QtBase {
public:
    // The window accessor: the live window, or a new one built and opened.
    static Derived* accessor()
    {
        if (live_)
            return static_cast<Derived*>(live_);
        auto* w = new Derived();
        w->setAttribute(Qt::WA_DeleteOnClose);
        live_ = w;
        try {
            w->construct();
        } catch (...) {
            if (live_ == w)
                live_ = nullptr;
            w->hide();
            w->deleteLater();
            throw;
        }
        return static_cast<Derived*>(live_);
    }

    // The live window, or nullptr; never builds one.
    static Derived* liveWindow() { return static_cast<Derived*>(live_); }

    // Shows the window in front of the others, modeless.
    void Show()
    {
        this->show();
        this->raise();
        this->activateWindow();
    }

    // Closes the window from code: the close handler runs and the window ends. An
    // error in the handler goes on to the code that closed the window, as from any
    // call; only a close that Qt starts (the close button) hands it to the report.
    void Close()
    {
        std::exception_ptr error;
        closeError_ = &error;
        this->close(); // Qt deletes the window later, never inside close()
        closeError_ = nullptr;
        if (error)
            std::rethrow_exception(error);
    }

protected:
    Window() = default;
    ~Window() override
    {
        if (live_ == this)
            live_ = nullptr;
    }

    virtual void Layout() = 0;
    void CreateControls() { _CreateControls0(); }
    virtual void _CreateControls0() = 0;
    virtual void Event_Open() {}
    virtual void Event_Close() {}

    // --- building: the frame ---------------------------------------------------

    // Every window's title bar: close and minimise buttons, no maximise button.
    static constexpr Qt::WindowFlags frameFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

    // A window of one size, which the user cannot change.
    void setFixedFrame(int width, int height)
    {
        this->setWindowFlags(frameFlags);
        this->setFixedSize(width, height);
    }

    // A window the user can resize between the two limits; it starts at `start`.
    void setResizableFrame(QSize start, QSize minimum, QSize maximum)
    {
        this->setWindowFlags(frameFlags);
        this->setMinimumSize(minimum);
        this->setMaximumSize(maximum);
        this->resize(start);
    }

    // --- building: the controls ------------------------------------------------

    // The widget the controls lie in and their places count from: a main window's
    // central widget, any other window itself.
    QWidget* contentArea()
    {
        if constexpr (std::is_base_of_v<QMainWindow, QtBase>)
            return this->centralWidget();
        else
            return this;
    }

    // A new control of kind C in parent, recorded under name, at its place in the
    // content area (also when parent is a group box). Further arguments go to C's
    // constructor before the parent, such as a control-set member's index.
    template <class C, class... Args>
    C* makeControl(QWidget* parent, const QString& name, QRect place, Args&&... args)
    {
        static_assert(HasQObjectMacro<C>, "a control class needs Q_OBJECT");
        auto* c = new C(std::forward<Args>(args)..., parent);
        c->setObjectName(name);
        QWidget* area = contentArea();
        const QPoint origin = parent == area ? QPoint(0, 0) : parent->mapTo(area, QPoint(0, 0));
        c->setGeometry(place.translated(-origin));
        return c;
    }

    // A new control of kind C without a place on screen (a timer), recorded under name.
    template <class C>
    C* makeComponent(const QString& name)
    {
        static_assert(HasQObjectMacro<C>, "a control class needs Q_OBJECT");
        auto* c = new C(this);
        c->setObjectName(name);
        return c;
    }

    // Binds a signal of a control to a handler of this window, which receives the
    // control that raised it. The handler runs inside the error guard: Qt calls it.
    template <class C, class Signal, class Handler>
    void bind(C* control, Signal signal, Handler handler)
    {
        QObject::connect(control, signal, this, [this, control, handler] {
            toolkit::guard([&] { (static_cast<Derived*>(this)->*handler)(control); });
        });
    }

    // Binds an event that one of our own controls raises through a callback (the
    // canvas's mouse and paint events, a list's cell click). The handler receives
    // the control, then the event's arguments; its result goes back to the control,
    // which runs the callback inside the error guard itself.
    template <class C, class R, class... Args, class Handler>
    void bind(C* control, std::function<R(Args...)> C::*event, Handler handler)
    {
        control->*event = [this, control, handler](Args... args) -> R {
            return (static_cast<Derived*>(this)->*handler)(control, std::forward<Args>(args)...);
        };
    }

    // --- control lookup --------------------------------------------------------

    // The control recorded under that name. One of another kind, or none, is the
    // toolkit's nil-object error: the kind is checked through Qt's meta-object, so
    // C must carry Q_OBJECT.
    template <class C>
    C* control(const QString& name) const
    {
        static_assert(HasQObjectMacro<C>, "a control class needs Q_OBJECT");
        QObject* found = this->template findChild<QObject*>(name);
        if (!found)
            throw toolkit::NilObjectException(("No control named " + name).toStdString());
        C* c = qobject_cast<C*>(found);
        if (!c)
            throw toolkit::NilObjectException(
                ("The control named " + name + " is not a " + C::staticMetaObject.className()).toStdString());
        return c;
    }

    // The member of a control set with that index; every member is recorded under
    // the set's name and is of kind C.
    template <class C>
    C* control(const QString& name, std::int64_t index) const
    {
        static_assert(HasQObjectMacro<C>, "a control class needs Q_OBJECT");
        for (QObject* found : this->template findChildren<QObject*>(name)) {
            C* c = qobject_cast<C*>(found);
            if (c && c->Index == index)
                return c;
        }
        throw toolkit::NilObjectException(
            ("No control named " + name + " with index " + QString::number(index)).toStdString());
    }

    void closeEvent(QCloseEvent* e) override
    {
        e->accept();
        if (live_ == this)
            live_ = nullptr;
        if (closeError_) {
            try {
                Event_Close();
            } catch (...) {
                *closeError_ = std::current_exception();
            }
        } else {
            toolkit::guard([this] { Event_Close(); });
        }
        QtBase::closeEvent(e);
    }

private:
    void construct()
    {
        Layout();
        CreateControls();
        Event_Open();
        this->show();
    }

    // Kept as the base: the destructor compares it with a window whose derived part
    // is already gone, where no cast to Derived is allowed.
    static inline Window* live_ = nullptr;
    std::exception_ptr* closeError_ = nullptr; // set while Close() runs
};

} // namespace qel
