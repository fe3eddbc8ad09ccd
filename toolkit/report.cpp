#include "report.h"

#include <cstdio>

namespace toolkit {

namespace {
Report& installed()
{
    static Report r;
    return r;
}
} // namespace

QString messageOf(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

void reportUnhandled(const std::exception_ptr& error) noexcept
{
    try {
        const QString message = messageOf(error);
        if (installed()) {
            installed()(message);
        } else {
            std::fprintf(stderr, "qel-viewer: unhandled error: %s\n", message.toLocal8Bit().constData());
        }
    } catch (...) {
        std::fprintf(stderr, "qel-viewer: unhandled error while reporting an error\n");
    }
}

void setReport(Report report) { installed() = std::move(report); }
void resetReport() { installed() = nullptr; }

} // namespace toolkit
