// The window scheme's control lookup: a control is found by its name only when it
// is of the kind asked for. Our control classes share their Qt base classes (the
// canvas and the logo canvas are both plain widgets, the image well is a label),
// so a lookup that did not check the kind would hand out a control of another
// class under its name.
#include "toolkit/errors.h"
#include "windows/Canvas.h"
#include "windows/Listbox.h"
#include "windows/UpDownArrows.h"
#include "windows/WIInfo.h"
#include "windows/WINhaupt.h"
#include "windows/scheme.h"

#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

// A window with one control of each of our kinds, and look-alikes of the Qt kinds
// they derive from.
class ProbeWindow : public qel::Window<ProbeWindow> {
    Q_OBJECT

public:
    template <class C>
    C* find(const QString& name) const
    {
        return control<C>(name);
    }
    template <class C>
    C* find(const QString& name, std::int64_t index) const
    {
        return control<C>(name, index);
    }

protected:
    void Layout() override { setFixedFrame(300, 200); }
    void _CreateControls0() override
    {
        makeControl<qel::Canvas>(this, QStringLiteral("canvas"), {0, 0, 50, 50});
        makeControl<qel::BackdropCanvas>(this, QStringLiteral("backdrop"), {50, 0, 50, 50});
        makeControl<qel::ImageWell>(this, QStringLiteral("well"), {100, 0, 50, 50});
        makeControl<QLabel>(this, QStringLiteral("label"), {150, 0, 50, 20});
        makeControl<qel::UpDownArrows>(this, QStringLiteral("arrows"), {200, 0, 13, 23});
        makeControl<qel::Listbox>(this, QStringLiteral("list"), {0, 50, 100, 100});
        makeComponent<qel::_wrapper_Timer1>(QStringLiteral("timer"));
        makeComponent<QTimer>(QStringLiteral("plainTimer"));
        // A control set of one member, and a plain radio button under the set's name.
        makeControl<qel::RBdragMember>(this, QStringLiteral("set"), {100, 50, 80, 20}, 0);
        makeControl<QRadioButton>(this, QStringLiteral("set"), {100, 70, 80, 20});
    }
};

// Only a class with Q_OBJECT of its own may be looked up: one without it has its base
// class's meta-object, and qobject_cast would take any control of that base for it.
class CanvasWithoutMacro : public qel::Canvas {};
static_assert(qel::HasQObjectMacro<qel::Canvas>);
static_assert(qel::HasQObjectMacro<QTimer>);
static_assert(!qel::HasQObjectMacro<CanvasWithoutMacro>);
static_assert(!qel::HasQObjectMacro<QPoint>);

// The control found by asking for that kind, or nullptr when it may not be found.
QObject* lookUp(const ProbeWindow* w, const QString& kind, const QString& name, int index)
{
    if (kind == "Canvas")
        return w->find<qel::Canvas>(name);
    if (kind == "BackdropCanvas")
        return w->find<qel::BackdropCanvas>(name);
    if (kind == "ImageWell")
        return w->find<qel::ImageWell>(name);
    if (kind == "QLabel")
        return w->find<QLabel>(name);
    if (kind == "UpDownArrows")
        return w->find<qel::UpDownArrows>(name);
    if (kind == "Listbox")
        return w->find<qel::Listbox>(name);
    if (kind == "_wrapper_Timer1")
        return w->find<qel::_wrapper_Timer1>(name);
    if (kind == "QTimer")
        return w->find<QTimer>(name);
    if (kind == "RBdragMember")
        return w->find<qel::RBdragMember>(name, index);
    qFatal("unknown kind %s", qPrintable(kind));
}

} // namespace

class TestWindowScheme : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        if (auto* w = ProbeWindow::liveWindow())
            w->Close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void lookupChecksTheKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");     // for a control-set member
        QTest::addColumn<QString>("error"); // empty: found
        QTest::newRow("canvas") << "Canvas"
                                << "canvas" << -1 << "";
        QTest::newRow("logo canvas as canvas") << "Canvas"
                                               << "backdrop" << -1 << "The control named backdrop is not a qel::Canvas";
        QTest::newRow("canvas as logo canvas")
            << "BackdropCanvas"
            << "canvas" << -1 << "The control named canvas is not a qel::BackdropCanvas";
        QTest::newRow("label as canvas") << "Canvas"
                                         << "label" << -1 << "The control named label is not a qel::Canvas";
        QTest::newRow("arrows as canvas") << "Canvas"
                                          << "arrows" << -1 << "The control named arrows is not a qel::Canvas";
        QTest::newRow("label as image well") << "ImageWell"
                                             << "label" << -1 << "The control named label is not a qel::ImageWell";
        QTest::newRow("image well as label") << "QLabel"
                                             << "well" << -1 << "";
        QTest::newRow("list") << "Listbox"
                              << "list" << -1 << "";
        QTest::newRow("arrows") << "UpDownArrows"
                                << "arrows" << -1 << "";
        QTest::newRow("window's timer") << "_wrapper_Timer1"
                                        << "timer" << -1 << "";
        QTest::newRow("window's timer as timer") << "QTimer"
                                                 << "timer" << -1 << "";
        QTest::newRow("plain timer as window's timer")
            << "_wrapper_Timer1"
            << "plainTimer" << -1 << "The control named plainTimer is not a qel::_wrapper_Timer1";
        QTest::newRow("set member") << "RBdragMember"
                                    << "set" << 0 << "";
        QTest::newRow("plain radio button in the set's name") << "RBdragMember"
                                                              << "set" << 1 << "No control named set with index 1";
        QTest::newRow("no such name") << "Canvas"
                                      << "none" << -1 << "No control named none";
    }
    void lookupChecksTheKind()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QString, error);
        const ProbeWindow* w = ProbeWindow::accessor();
        QString raised;
        QObject* found = nullptr;
        try {
            found = lookUp(w, kind, name, index);
        } catch (const toolkit::NilObjectException& e) {
            raised = QString::fromStdString(e.what());
        }
        QCOMPARE(raised, error);
        if (error.isEmpty()) {
            QVERIFY(found);
            QCOMPARE(found->objectName(), name);
        }
    }
};

QTEST_MAIN(TestWindowScheme)
#include "test_window_scheme.moc"
