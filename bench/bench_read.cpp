// Reading hostile files just below the reader's 64 MB bound: the slowest of them.
// Each shape once made the reader's time grow with the square of the line length
// or with the number of records times the line length.
#include "bench/bench.h"

#include "model/module1.h"
#include "toolkit/dialogs.h"

#include <QFile>

#include <cstdio>
#include <functional>
#include <string>

using namespace Module1;

namespace {

constexpr qint64 bound = qint64(64) << 20;
// Room below the bound for the lines around the long one.
constexpr qint64 body = bound - 4096;

struct Shape {
    const char* name;
    // Writes the file's content through `put`, about `body` bytes in all.
    std::function<void(const std::function<void(const QByteArray&)>& put)> write;
    std::int64_t points, lines; // what the read must give
};

// `bytes` bytes of `unit` repeated, written in pieces of about 1 MB.
void repeatUpTo(const std::function<void(const QByteArray&)>& put, const QByteArray& unit, qint64 bytes)
{
    const QByteArray piece = unit.repeated(qMax<qsizetype>(1, (1 << 20) / unit.size()));
    qint64 left = bytes;
    while (left >= piece.size()) {
        put(piece);
        left -= piece.size();
    }
    put(unit.repeated(left / unit.size()));
}

const Shape shapes[] = {
    // Every point after the first repeats the last line; its digits all count.
    {"digits at an early end",
     [](const auto& put) {
         put("3000\n2999.");
         repeatUpTo(put, "1234567890", body);
     },
     3000, 2999},
    {"blanks at an early end",
     [](const auto& put) {
         put("3000\n");
         repeatUpTo(put, " ", body);
         put("1 2 3");
     },
     3000, 1},
    {"comment at an early end",
     [](const auto& put) {
         put("3000\n#");
         repeatUpTo(put, "comment ", body);
     },
     3000, 0},
    // 3000 point lines of 20 KB, runs of blanks between the numbers.
    {"3000 lines of 20 KB",
     [](const auto& put) {
         put("3000\n");
         QByteArray line = "1.5" + QByteArray(10000, ' ') + "-2.5" + QByteArray(10000, ' ') + "3.25\n";
         for (int i = 0; i < 3000; ++i)
             put(line);
         put("1\n1 15\n");
     },
     3000, 1},
    // Nothing but line ends after the first point: 64 million empty lines.
    {"empty lines",
     [](const auto& put) {
         put("3000\n1 2 3\n");
         repeatUpTo(put, "\n", body);
     },
     3000, 0},
};

} // namespace

QEL_BENCH(read_worst)
{
    resetState();
    resetHooks();
    const QString path = qelbench::scratchDir() + "/hostile.qel";
    toolkit::setOpenDialog([path] { return std::optional<QString>(path); });
    double worst = 0;
    for (const Shape& s : shapes) {
        {
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return;
            bool ok = true;
            s.write([&](const QByteArray& bytes) { ok = ok && f.write(bytes) == bytes.size(); });
            if (!ok || f.size() > bound) {
                std::fprintf(stderr, "qel-bench: cannot write the file \"%s\" for %s\n", qPrintable(path), s.name);
                return;
            }
        }
        std::string error;
        const double ms = qelbench::medianMs(3, [&] {
            try {
                datenlesen();
            } catch (const std::exception& e) {
                error = e.what();
            }
        });
        if (!error.empty() || anzpkt != s.points || anzlin != s.lines)
            std::fprintf(stderr, "qel-bench: %s read as %lld points, %lld records%s%s\n", s.name,
                         static_cast<long long>(anzpkt), static_cast<long long>(anzlin), error.empty() ? "" : ": ",
                         error.c_str());
        if (ms > worst)
            worst = ms;
    }
    QFile::remove(path);
    toolkit::resetDialogs();
    figure("read_worst_ms", worst);
}
