#include "app/report_gui.h"

#include "app/window_focus.h"
#include "toolkit/report.h"
#include "windows/WINhaupt.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <cstdio>

namespace qel {

namespace {
enum class Box { none, queued, open };
Box state = Box::none;
QString waitingMessage;

// The window the person was using: the active window, else the one they used
// last while it is shown, else the main window while it is shown; none before
// there is one.
QWidget* ownerWindow()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (QWidget* last = lastUsedWindow())
        return last;
    WINhaupt* main = WINhaupt::liveWindow();
    return main && main->isVisible() ? main : nullptr;
}

void showBox()
{
    if (state != Box::queued)
        return;
    state = Box::open;
    const QString message = waitingMessage;
    waitingMessage.clear();
    QWidget* owner = ownerWindow();
    // Modal to its owner only, and centred over it. On the heap: should the owner
    // go while the box is open, it takes the box along.
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Qel-Viewer: Error"), message,
                                                QMessageBox::Ok, owner);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    struct Closed {
        QPointer<QMessageBox>& box;
        ~Closed()
        {
            delete box;
            state = Box::none;
        }
    } closed{box};
    box->exec();
}
} // namespace

void guiReport(const QString& message)
{
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "qel-viewer: unhandled error: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
    if (state != Box::none || !QCoreApplication::instance())
        return;
    state = Box::queued;
    waitingMessage = message;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { toolkit::guard([] { showBox(); }); }, Qt::QueuedConnection);
}

void showPendingReportNow()
{
    toolkit::guard([] { showBox(); });
}

bool reportBoxPending() { return state != Box::none; }

void installGuiReport() { toolkit::setReport(guiReport); }

} // namespace qel
