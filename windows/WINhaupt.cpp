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

_wrapper_Timer1::_wrapper_Timer1(QObject* parent) : QTimer(parent) {}

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
    setResizableFrame(QSize(startWidth, startHeight + barHeight), QSize(startWidth, startHeight + barHeight),
                      QSize(maxWidth, maxHeight + barHeight));
}

void WINhaupt::_CreateControls0()
{
    createDisplayBox();
    createViewBox();
    createCanvas();
    createButtonsAndTimer();
}

// What the drawing shows. Each check box has its start state before its handler
// is bound, so building the window draws nothing.
void WINhaupt::createDisplayBox()
{
    auto* box = makeControl<QGroupBox>(centralWidget(), QStringLiteral("GroupBox1"), {16, 15, 132, 97});
    box->setTitle(QStringLiteral("Anzeige"));

    auto* punkte = makeControl<QCheckBox>(box, QStringLiteral("CBpunkte"), {27, 37, 72, 22});
    punkte->setText(QStringLiteral("Punkte"));
    punkte->setChecked(false);
    bind(punkte, &QCheckBox::toggled, &WINhaupt::CBpunkte_Action);

    auto* linien = makeControl<QCheckBox>(box, QStringLiteral("CBlinien"), {27, 56, 72, 22});
    linien->setText(QStringLiteral("Linien"));
    linien->setChecked(true);
    bind(linien, &QCheckBox::toggled, &WINhaupt::CBlinien_Action);

    auto* achsen = makeControl<QCheckBox>(box, QStringLiteral("CBachsen"), {27, 85, 114, 22});
    achsen->setText(QStringLiteral("Achsen"));
    achsen->setChecked(true);
    bind(achsen, &QCheckBox::toggled, &WINhaupt::CBachsen_Action);
}

// The view: reset, zoom and the drag mode. No push button of this window is a
// default button: Return presses none of them.
void WINhaupt::createViewBox()
{
    auto* box = makeControl<QGroupBox>(centralWidget(), QStringLiteral("GroupBox2"), {16, 124, 132, 159});
    box->setTitle(QStringLiteral("Ansicht"));

    auto* reset = makeControl<QPushButton>(box, QStringLiteral("PushButton1"), {49, 246, 68, 20});
    reset->setText(QStringLiteral("reset"));
    reset->setAutoDefault(false);
    bind(reset, &QPushButton::clicked, &WINhaupt::PushButton1_Action);

    auto* arrows = makeControl<UpDownArrows>(box, QStringLiteral("UPDzoom"), {121, 153, 13, 23});
    bind(arrows, &UpDownArrows::Down, &WINhaupt::UPDzoom_Down);
    bind(arrows, &UpDownArrows::Up, &WINhaupt::UPDzoom_Up);

    // The control set RBdrag, told apart by index. As the box's only radio buttons
    // the two form one exclusive group. The drag handler reads them; nothing is bound.
    auto* rotate = makeControl<RBdragMember>(box, QStringLiteral("RBdrag"), {25, 188, 100, 20}, 0);
    rotate->setText(QStringLiteral("rotieren"));
    rotate->setChecked(true);
    auto* move = makeControl<RBdragMember>(box, QStringLiteral("RBdrag"), {25, 214, 100, 20}, 1);
    move->setText(QStringLiteral("verschieben"));
    move->setChecked(false);

    auto* zoomLabel = makeControl<QLabel>(box, QStringLiteral("Label1"), {28, 153, 45, 20});
    zoomLabel->setText(QStringLiteral("Zoom"));
    zoomLabel->setAutoFillBackground(true);
    zoomLabel->setTextInteractionFlags(Qt::NoTextInteraction);
    zoomLabel->setWordWrap(false);
    setBlackText(zoomLabel);

    // Empty until the start view writes the zoom factor; nothing reads what is typed.
    auto* zoom = makeControl<QLineEdit>(box, QStringLiteral("EFzoom"), {73, 153, 40, 22});
    QPalette pal = zoom->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    zoom->setPalette(pal);
    zoom->setFrame(true);
}

void WINhaupt::createCanvas()
{
    auto* canvas = makeControl<Canvas>(centralWidget(), QStringLiteral("CAhaupt"), {156, 15, 400, 400});
    bind(canvas, &Canvas::MouseDown, &WINhaupt::CAhaupt_MouseDown);
    bind(canvas, &Canvas::MouseDrag, &WINhaupt::CAhaupt_MouseDrag);
    bind(canvas, &Canvas::MouseWheel, &WINhaupt::CAhaupt_MouseWheel);
    bind(canvas, &Canvas::Paint, &WINhaupt::CAhaupt_Paint);
}

// The load and debug buttons, and between them the timer that draws the model once
// more half a second after the window is built.
void WINhaupt::createButtonsAndTimer()
{
    auto* load = makeControl<QPushButton>(centralWidget(), QStringLiteral("PushButton2"), {29, 304, 109, 20});
    load->setText(QStringLiteral("Qel laden"));
    load->setAutoDefault(false);
    bind(load, &QPushButton::clicked, &WINhaupt::PushButton2_Action);

    auto* timer = makeComponent<_wrapper_Timer1>(QStringLiteral("Timer1"));
    timer->setSingleShot(true);
    timer->setInterval(500);
    timer->start();
    bind(timer, &QTimer::timeout, &WINhaupt::Timer1_Action);

    auto* debug = makeControl<QPushButton>(centralWidget(), QStringLiteral("PushButton3"), {29, 358, 109, 20});
    debug->setText(QStringLiteral("Debug"));
    debug->setAutoDefault(false);
    bind(debug, &QPushButton::clicked, &WINhaupt::PushButton3_Action);
}

// --- control accessors ---------------------------------------------------------

QGroupBox* WINhaupt::GroupBox1() const { return control<QGroupBox>(QStringLiteral("GroupBox1")); }
QCheckBox* WINhaupt::CBpunkte() const { return control<QCheckBox>(QStringLiteral("CBpunkte")); }
QCheckBox* WINhaupt::CBlinien() const { return control<QCheckBox>(QStringLiteral("CBlinien")); }
QCheckBox* WINhaupt::CBachsen() const { return control<QCheckBox>(QStringLiteral("CBachsen")); }
QGroupBox* WINhaupt::GroupBox2() const { return control<QGroupBox>(QStringLiteral("GroupBox2")); }
QPushButton* WINhaupt::PushButton1() const { return control<QPushButton>(QStringLiteral("PushButton1")); }
UpDownArrows* WINhaupt::UPDzoom() const { return control<UpDownArrows>(QStringLiteral("UPDzoom")); }

QRadioButton* WINhaupt::RBdrag(std::int64_t index) const
{
    return control<RBdragMember>(QStringLiteral("RBdrag"), index);
}

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
        // 200 pixels turn by 3.14. The * 180 / 180 stays: each step rounds, and
        // together they decide the last bit of the angle.
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
