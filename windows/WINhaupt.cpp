#include "windows/WINhaupt.h"

#include "model/module1.h"
#include "toolkit/application.h"
#include "toolkit/numeric.h"
#include "toolkit/report.h"
#include "windows/Canvas.h"
#include "windows/MenuBar1.h"
#include "windows/UpDownArrows.h"
#include "windows/WINdebug.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>

#include <functional>

namespace qel {

namespace {

// The central widget: the area in which the controls are placed and whose size is
// the window's size for the resize handler.
class ContentArea : public QWidget {
    Q_OBJECT

public:
    explicit ContentArea(QWidget* parent) : QWidget(parent) {}
    std::function<void()> resized;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        // Qt also sends one when the window is first shown; only a real change counts.
        if (event->size() == lastSize_)
            return;
        lastSize_ = event->size();
        if (resized)
            toolkit::guard([this] { resized(); });
    }

private:
    QSize lastSize_{WINhaupt::startWidth, WINhaupt::startHeight};
};

void setBlackText(QWidget* w)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    pal.setColor(QPalette::Text, Qt::black);
    w->setPalette(pal);
}

} // namespace

RBdragMember::RBdragMember(std::int64_t index, QWidget* parent) : QRadioButton(parent), Index(index) {}

_wrapper_Timer1::_wrapper_Timer1(WINhaupt* w) : QTimer(w), window(w) {}

WINhaupt::~WINhaupt()
{
    // The menu bar is shared and outlives every window: take it back before Qt
    // deletes the window's children.
    if (auto* bar = qobject_cast<MenuBar1*>(menuWidget()))
        bar->setParent(nullptr);
}

// --- building ----------------------------------------------------------------

void WINhaupt::Layout()
{
    setMenuBar(::MenuBar1());

    setWindowTitle(QStringLiteral("Qel-Viewer"));
    // Close and minimise; no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    auto* area = new ContentArea(this);
    area->setObjectName(QStringLiteral("WINhauptContent"));
    area->setMinimumSize(startWidth, startHeight);
    area->setMaximumSize(maxWidth, maxHeight);
    area->resized = [this] { Event_Resized(); };
    setCentralWidget(area);

    // The limits are the content area's; the window adds the menu bar's height.
    QWidget* bar = menuWidget();
    bar->ensurePolished();
    int barHeight = bar->heightForWidth(startWidth);
    if (barHeight < 0)
        barHeight = bar->sizeHint().height();
    setMinimumSize(startWidth, startHeight + barHeight);
    setMaximumSize(maxWidth, maxHeight + barHeight);
    resize(startWidth, startHeight + barHeight);
}

void WINhaupt::place(QWidget* control, int left, int top, int width, int height) const
{
    QPoint offset(0, 0);
    if (control->parentWidget() != centralWidget())
        offset = control->parentWidget()->mapTo(centralWidget(), QPoint(0, 0));
    control->setGeometry(left - offset.x(), top - offset.y(), width, height);
}

// A push button that is neither default nor cancel button, bound to its Action handler.
void WINhaupt::addPushButton(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                             void (WINhaupt::*handler)(QPushButton*))
{
    (new QPushButton(parent))->setObjectName(name);
    QPushButton* c = control<QPushButton>(name);
    c->setText(text);
    c->setAutoDefault(false);
    c->setDefault(false);
    place(c, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    QPushButton* bound = control<QPushButton>(name);
    connect(bound, &QPushButton::clicked, this, [this, bound, handler] { toolkit::guard([&] { (this->*handler)(bound); }); });
}

void WINhaupt::_CreateControls0()
{
    QWidget* area = centralWidget();

    // 1 GroupBox1
    (new QGroupBox(area))->setObjectName(QStringLiteral("GroupBox1"));
    {
        QGroupBox* c = control<QGroupBox>(QStringLiteral("GroupBox1"));
        c->setTitle(QStringLiteral("Anzeige"));
        place(c, 16, 15, 132, 97);
    }

    // 2-4 the visibility check boxes; their start state comes before the binding.
    struct Box {
        const char* name;
        const char* text;
        int top, width;
        bool ticked;
        void (WINhaupt::*handler)(QCheckBox*);
    };
    const Box boxes[] = {
        {"CBpunkte", "Punkte", 37, 72, false, &WINhaupt::CBpunkte_Action},
        {"CBlinien", "Linien", 56, 72, true, &WINhaupt::CBlinien_Action},
        {"CBachsen", "Achsen", 85, 114, true, &WINhaupt::CBachsen_Action},
    };
    for (const Box& b : boxes) {
        const QString name = QString::fromLatin1(b.name);
        (new QCheckBox(GroupBox1()))->setObjectName(name);
        QCheckBox* c = control<QCheckBox>(name);
        c->setText(QString::fromLatin1(b.text));
        place(c, 27, b.top, b.width, 22);
        c->setChecked(b.ticked);
        QCheckBox* bound = control<QCheckBox>(name);
        auto handler = b.handler;
        connect(bound, &QCheckBox::toggled, this,
                [this, bound, handler] { toolkit::guard([&] { (this->*handler)(bound); }); });
    }

    // 5 GroupBox2
    (new QGroupBox(area))->setObjectName(QStringLiteral("GroupBox2"));
    {
        QGroupBox* c = control<QGroupBox>(QStringLiteral("GroupBox2"));
        c->setTitle(QStringLiteral("Ansicht"));
        place(c, 16, 124, 132, 159);
    }

    // 6 PushButton1 "reset"
    addPushButton(GroupBox2(), QStringLiteral("PushButton1"), QStringLiteral("reset"), {49, 246, 68, 20}, &WINhaupt::PushButton1_Action);

    // 7 UPDzoom: Down, then Up
    (new UpDownArrows(GroupBox2()))->setObjectName(QStringLiteral("UPDzoom"));
    {
        UpDownArrows* c = control<UpDownArrows>(QStringLiteral("UPDzoom"));
        place(c, 121, 153, 13, 23);
        UpDownArrows* down = control<UpDownArrows>(QStringLiteral("UPDzoom"));
        connect(down, &UpDownArrows::Down, this, [this, down] { toolkit::guard([&] { UPDzoom_Down(down); }); });
        UpDownArrows* up = control<UpDownArrows>(QStringLiteral("UPDzoom"));
        connect(up, &UpDownArrows::Up, this, [this, up] { toolkit::guard([&] { UPDzoom_Up(up); }); });
    }

    // 8-9 the control set RBdrag; the two are GroupBox2's only radio buttons, so one
    // exclusive group.
    struct Member {
        const char* text;
        int top;
        bool selected;
    };
    const Member members[] = {{"rotieren", 188, true}, {"verschieben", 214, false}};
    for (std::int64_t i = 0; i < 2; ++i) {
        (new RBdragMember(i, GroupBox2()))->setObjectName(QStringLiteral("RBdrag"));
        QRadioButton* c = RBdrag(i);
        c->setText(QString::fromLatin1(members[i].text));
        place(c, 25, members[i].top, 100, 20);
        c->setChecked(members[i].selected);
    }

    // 10 Label1
    (new QLabel(GroupBox2()))->setObjectName(QStringLiteral("Label1"));
    {
        QLabel* c = control<QLabel>(QStringLiteral("Label1"));
        c->setText(QStringLiteral("Zoom"));
        c->setAutoFillBackground(true);
        c->setTextInteractionFlags(Qt::NoTextInteraction);
        c->setWordWrap(false);
        setBlackText(c);
        place(c, 28, 153, 45, 20);
    }

    // 11 EFzoom: empty until the start view writes the zoom factor
    (new QLineEdit(GroupBox2()))->setObjectName(QStringLiteral("EFzoom"));
    {
        QLineEdit* c = control<QLineEdit>(QStringLiteral("EFzoom"));
        QPalette pal = c->palette();
        pal.setColor(QPalette::Base, Qt::white);
        pal.setColor(QPalette::Text, Qt::black);
        c->setPalette(pal);
        c->setFrame(true);
        place(c, 73, 153, 40, 22);
    }

    // 12 CAhaupt: MouseDown, MouseDrag, MouseWheel, Paint
    (new Canvas(area))->setObjectName(QStringLiteral("CAhaupt"));
    {
        Canvas* c = control<Canvas>(QStringLiteral("CAhaupt"));
        place(c, 156, 15, 400, 400);
        Canvas* b1 = control<Canvas>(QStringLiteral("CAhaupt"));
        b1->MouseDown = [this, b1](std::int64_t x, std::int64_t y) { return CAhaupt_MouseDown(b1, x, y); };
        Canvas* b2 = control<Canvas>(QStringLiteral("CAhaupt"));
        b2->MouseDrag = [this, b2](std::int64_t x, std::int64_t y) { CAhaupt_MouseDrag(b2, x, y); };
        Canvas* b3 = control<Canvas>(QStringLiteral("CAhaupt"));
        b3->MouseWheel = [this, b3](std::int64_t x, std::int64_t y, std::int64_t dx, std::int64_t dy) {
            return CAhaupt_MouseWheel(b3, x, y, dx, dy);
        };
        Canvas* b4 = control<Canvas>(QStringLiteral("CAhaupt"));
        b4->Paint = [this, b4](QPainter& g, const QRegion& areas) { CAhaupt_Paint(b4, g, areas); };
    }

    // 13 PushButton2 "Qel laden"
    addPushButton(area, QStringLiteral("PushButton2"), QStringLiteral("Qel laden"), {29, 304, 109, 20}, &WINhaupt::PushButton2_Action);

    // 14 Timer1: single shot, 500 ms, running from now on
    (new _wrapper_Timer1(this))->setObjectName(QStringLiteral("Timer1"));
    {
        QTimer* t = control<QTimer>(QStringLiteral("Timer1"));
        t->setSingleShot(true);
        t->setInterval(500);
        t->start();
        QTimer* bound = control<QTimer>(QStringLiteral("Timer1"));
        connect(bound, &QTimer::timeout, this, [this, bound] { toolkit::guard([&] { Timer1_Action(bound); }); });
    }

    // 15 PushButton3 "Debug"
    addPushButton(area, QStringLiteral("PushButton3"), QStringLiteral("Debug"), {29, 358, 109, 20}, &WINhaupt::PushButton3_Action);
}

// --- control accessors ---------------------------------------------------------

QGroupBox* WINhaupt::GroupBox1() const { return control<QGroupBox>(QStringLiteral("GroupBox1")); }
QCheckBox* WINhaupt::CBpunkte() const { return control<QCheckBox>(QStringLiteral("CBpunkte")); }
QCheckBox* WINhaupt::CBlinien() const { return control<QCheckBox>(QStringLiteral("CBlinien")); }
QCheckBox* WINhaupt::CBachsen() const { return control<QCheckBox>(QStringLiteral("CBachsen")); }
QGroupBox* WINhaupt::GroupBox2() const { return control<QGroupBox>(QStringLiteral("GroupBox2")); }
QPushButton* WINhaupt::PushButton1() const { return control<QPushButton>(QStringLiteral("PushButton1")); }
UpDownArrows* WINhaupt::UPDzoom() const { return control<UpDownArrows>(QStringLiteral("UPDzoom")); }

QRadioButton* WINhaupt::RBdrag(std::int64_t index) const { return control<RBdragMember>(QStringLiteral("RBdrag"), index); }

QLabel* WINhaupt::Label1() const { return control<QLabel>(QStringLiteral("Label1")); }
QLineEdit* WINhaupt::EFzoom() const { return control<QLineEdit>(QStringLiteral("EFzoom")); }
Canvas* WINhaupt::CAhaupt() const { return control<Canvas>(QStringLiteral("CAhaupt")); }
QPushButton* WINhaupt::PushButton2() const { return control<QPushButton>(QStringLiteral("PushButton2")); }
QTimer* WINhaupt::Timer1() const { return control<QTimer>(QStringLiteral("Timer1")); }
QPushButton* WINhaupt::PushButton3() const { return control<QPushButton>(QStringLiteral("PushButton3")); }

// --- control event handlers ------------------------------------------------------

// The renderer reads the three boxes itself.
void WINhaupt::CBpunkte_Action(QCheckBox*) { Module1::zeichnen(); }
void WINhaupt::CBlinien_Action(QCheckBox* control) { CBpunkte_Action(control); }
void WINhaupt::CBachsen_Action(QCheckBox* control) { CBpunkte_Action(control); }

void WINhaupt::PushButton1_Action(QPushButton*)
{
    using namespace Module1;
    rotwinkel(1) = 0.3925;
    rotwinkel(3) = -0.785;
    origx = toolkit::truncToInt64(static_cast<double>(::WINhaupt()->CAhaupt()->width()) / 2.0);
    origy = toolkit::truncToInt64(static_cast<double>(::WINhaupt()->CAhaupt()->height()) / 2.0);
    rotation2();
    zeichnen();
}

void WINhaupt::UPDzoom_Down(UpDownArrows*)
{
    using namespace Module1;
    if (zoomfaktor > 1) {
        zoomfaktor = zoomfaktor - 1;
        ::WINhaupt()->EFzoom()->setText(toolkit::Str(zoomfaktor));
        rotation2();
        zeichnen();
    }
}

void WINhaupt::UPDzoom_Up(UpDownArrows*)
{
    using namespace Module1;
    zoomfaktor = zoomfaktor + 1;
    ::WINhaupt()->EFzoom()->setText(toolkit::Str(zoomfaktor));
    rotation2();
    zeichnen();
}

bool WINhaupt::CAhaupt_MouseDown(Canvas*, std::int64_t x, std::int64_t y)
{
    Module1::mausx = x;
    Module1::mausy = y;
    return true;
}

void WINhaupt::CAhaupt_MouseDrag(Canvas*, std::int64_t x, std::int64_t y)
{
    using namespace Module1;
    if (::WINhaupt()->RBdrag(0)->isChecked()) {
        // 200 pixels turn by 3.14; the * 180 / 180 is part of the rule (last bit).
        if (x != mausx) {
            double a = static_cast<double>(x - mausx);
            a = a / 200.0;
            a = a * 3.14;
            a = a * 180.0;
            a = a / 180.0;
            rotwinkel(3) = rotwinkel(3) + a;
            mausx = x;
        }
        if (y != mausy) {
            double a = static_cast<double>(y - mausy);
            a = a / 200.0;
            a = a * 3.14;
            a = a * 180.0;
            a = a / 180.0;
            rotwinkel(1) = rotwinkel(1) + a;
            mausy = y;
        }
    } else {
        if (x != mausx) {
            origx = (x + origx) - mausx;
            mausx = x;
        }
        if (y != mausy) {
            origy = (y + origy) - mausy;
            mausy = y;
        }
    }
    rotation2();
    zeichnen();
}

bool WINhaupt::CAhaupt_MouseWheel(Canvas*, std::int64_t, std::int64_t, std::int64_t, std::int64_t deltaY)
{
    using namespace Module1;
    zoomfaktor = zoomfaktor - deltaY;
    if (zoomfaktor < 1)
        zoomfaktor = 1;
    ::WINhaupt()->EFzoom()->setText(toolkit::Str(zoomfaktor));
    rotation2();
    zeichnen();
    return false;
}

// The canvas shows the picture's top-left corner; only the parts to be repainted
// are copied, not the whole 2000 x 1000 picture.
void WINhaupt::CAhaupt_Paint(Canvas*, QPainter& g, const QRegion& areas)
{
    if (!Module1::zebild)
        throw toolkit::NilObjectException("The off-screen picture does not exist");
    const QRect picture = Module1::zebild->rect();
    for (const QRect& area : areas) {
        const QRect part = area & picture;
        if (!part.isEmpty())
            g.drawImage(part.topLeft(), *Module1::zebild, part);
    }
}

void WINhaupt::PushButton2_Action(QPushButton*)
{
    Module1::datenlesen();
    Module1::zeichnen();
}

void WINhaupt::Timer1_Action(QTimer*)
{
    Module1::rotation2();
    Module1::zeichnen();
}

void WINhaupt::PushButton3_Action(QPushButton*) { ::WINdebug()->Show(); }

// --- menu items ------------------------------------------------------------------

QAction* WINhaupt::menuItem(const QString& name) const
{
    auto* bar = qobject_cast<MenuBar1*>(menuWidget());
    if (!bar)
        throw toolkit::NilObjectException("The window has no menu bar");
    if (QMenu* m = bar->menu(name))
        return m->menuAction();
    if (QAction* a = bar->item(name))
        return a;
    throw toolkit::NilObjectException(("No menu item named " + name).toStdString());
}

QAction* WINhaupt::EditMenu() const { return menuItem(QStringLiteral("EditMenu")); }
QAction* WINhaupt::EditSelectAll() const { return menuItem(QStringLiteral("EditSelectAll")); }
QAction* WINhaupt::UntitledMenu0() const { return menuItem(QStringLiteral("UntitledMenu0")); }
QAction* WINhaupt::EditClear() const { return menuItem(QStringLiteral("EditClear")); }
QAction* WINhaupt::EditPaste() const { return menuItem(QStringLiteral("EditPaste")); }
QAction* WINhaupt::EditCopy() const { return menuItem(QStringLiteral("EditCopy")); }
QAction* WINhaupt::EditCut() const { return menuItem(QStringLiteral("EditCut")); }
QAction* WINhaupt::UntitledMenu1() const { return menuItem(QStringLiteral("UntitledMenu1")); }
QAction* WINhaupt::EditUndo() const { return menuItem(QStringLiteral("EditUndo")); }
QAction* WINhaupt::FileMenu() const { return menuItem(QStringLiteral("FileMenu")); }
QAction* WINhaupt::FileQuit() const { return menuItem(QStringLiteral("FileQuit")); }
QAction* WINhaupt::UntitledItem() const { return menuItem(QStringLiteral("UntitledItem")); }
QAction* WINhaupt::About() const { return menuItem(QStringLiteral("About")); }
QAction* WINhaupt::FIoffhtml() const { return menuItem(QStringLiteral("FIoffhtml")); }
QAction* WINhaupt::FIoff() const { return menuItem(QStringLiteral("FIoff")); }
QAction* WINhaupt::FIsave() const { return menuItem(QStringLiteral("FIsave")); }
QAction* WINhaupt::FIload() const { return menuItem(QStringLiteral("FIload")); }

// --- window event handlers -------------------------------------------------------------

void WINhaupt::Event_Open() { Module1::init(); }

// Ends the program, whatever other windows are open.
void WINhaupt::Event_Close() { toolkit::Quit(0); }

void WINhaupt::Event_Resized()
{
    using namespace Module1;
    // The origin keeps its place relative to the drawing area.
    const double kx = static_cast<double>(origx) / static_cast<double>(breite);
    const double ky = static_cast<double>(origy) / static_cast<double>(hoehe);
    hoehe = centralWidget()->height() - 35;
    breite = centralWidget()->width() - 176;
    origx = toolkit::truncToInt64(static_cast<double>(breite) * kx);
    origy = toolkit::truncToInt64(static_cast<double>(hoehe) * ky);
    Canvas* canvas = CAhaupt();
    canvas->resize(static_cast<int>(breite), canvas->height());
    canvas->resize(static_cast<int>(breite), static_cast<int>(hoehe));
    zeichnen();
}

void WINhaupt::Event_Resizing() { Event_Resized(); }

} // namespace qel

#include "WINhaupt.moc"
