#include "app/report_gui.h"

#include "toolkit/report.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <cstdio>

namespace qel {

namespace {
enum class Box { none, queued, open };
Box state = Box::none;
QString waitingMessage;

void showBox()
{
    if (state != Box::queued)
        return;
    state = Box::open;
    const QString message = waitingMessage;
    waitingMessage.clear();
    try {
        // Not titled like the main window, which scripts find by its title.
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Unhandled error"), message, QMessageBox::Ok);
        box.exec();
    } catch (...) {
        state = Box::none;
        throw;
    }
    state = Box::none;
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
