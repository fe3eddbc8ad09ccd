#pragma once
// The scheme every window follows: at most one live window per class, reached
// through the class's accessor, which builds one whenever none is live. A window
// is live from the start of its construction (so its open handler reaches it
// through its own accessor) until it is closed; Qt deletes it later, but it stops
// counting as live at once.
//
// Construction: Layout (window properties), CreateControls -> _CreateControls0
// (controls with their properties, then their handlers), Event_Open, show.
#include "toolkit/errors.h"
#include "toolkit/report.h"

#include <QCloseEvent>
#include <QWidget>

#include <cstdint>
#include <exception>

namespace qel {

// The base of every window class. A template cannot carry Q_OBJECT, so it adds
// no meta-object of its own; each window class derived from it does, and Qt
// sees it as a direct subclass of QtBase.
template <class Derived, class QtBase = QWidget>
class Window : public QtBase {
public:
    // The window accessor: the live window, or a new one built and opened.
    static Derived* accessor()
    {
        if (s_live)
            return static_cast<Derived*>(s_live);
        auto* w = new Derived();
        w->setAttribute(Qt::WA_DeleteOnClose);
        s_live = w;
        try {
            w->construct();
        } catch (...) {
            if (s_live == w)
                s_live = nullptr;
            w->hide();
            w->deleteLater();
            throw;
        }
        return static_cast<Derived*>(s_live);
    }

    // The live window, or nullptr; never builds one.
    static Derived* liveWindow() { return static_cast<Derived*>(s_live); }

    // Window.Show: visible and in front, modeless.
    void Show()
    {
        this->show();
        this->raise();
        this->activateWindow();
    }

    // Window.Close from code: the close handler runs and the window ends. An error in
    // the handler goes on to the code that closed the window, as from any call; only
    // a close that Qt starts (the close button) hands it to the report itself.
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
        if (s_live == this)
            s_live = nullptr;
    }

    virtual void Layout() = 0;
    void CreateControls() { _CreateControls0(); }
    virtual void _CreateControls0() = 0;
    virtual void Event_Open() {}
    virtual void Event_Close() {}

    // The control recorded under that name. One of another kind, or none, is the
    // toolkit's nil-object error: the kind is checked through Qt's meta-object, so
    // C must carry Q_OBJECT.
    template <class C>
    C* control(const QString& name) const
    {
        static_assert(QtPrivate::HasQ_OBJECT_Macro<C>::Value, "a control class needs Q_OBJECT");
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
        static_assert(QtPrivate::HasQ_OBJECT_Macro<C>::Value, "a control class needs Q_OBJECT");
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
        if (s_live == this)
            s_live = nullptr;
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
    static inline Window* s_live = nullptr;
    std::exception_ptr* closeError_ = nullptr; // set while Close() runs
};

} // namespace qel
