// Reading the largest model, and render passes: the densest model against the same
// marks drawn with plain QPainter calls, and the start view.
#include "bench/bench.h"

#include "model/module1.h"
#include "toolkit/dialogs.h"

#include <QFile>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <random>

using namespace Module1;

namespace {

// 3000 points and 3000 drawing records; a record jumps between the left and the
// right part of the 1424 x 865 drawing area, so each segment crosses much of it
// (about 700 pixels on average). Coordinates are screen pixels under the plain
// matrix set by denseView().
void makeDenseModel(std::mt19937& rng, bool inTables, QString* fileText)
{
    std::uniform_real_distribution<double> left(200, 500), right(850, 1150), vert(20, 845), depth(-50, 50);
    std::uniform_int_distribution<int> code(1, 15);
    QString text;
    if (fileText)
        text += "# dense benchmark model\n3000\n";
    for (int i = 1; i <= 3000; ++i) {
        const double x = i % 2 ? left(rng) : right(rng);
        const double y = vert(rng);
        const double z = depth(rng);
        if (inTables) {
            punkt(i, 1) = x;
            punkt(i, 2) = y;
            punkt(i, 3) = z;
        }
        if (fileText)
            text += QStringLiteral("%1 %2 %3\n").arg(x, 0, 'f', 4).arg(y, 0, 'f', 4).arg(z, 0, 'f', 4);
    }
    if (fileText)
        text += "3000\n";
    for (int j = 1; j <= 3000; ++j) {
        const int c = code(rng);
        if (inTables) {
            linie(j, 1) = j;
            linie(j, 2) = c;
        }
        if (fileText)
            text += QStringLiteral("%1 %2\n").arg(j).arg(c);
    }
    if (inTables) {
        anzpkt = 3000;
        anzlin = 3000;
    }
    if (fileText)
        *fileText = text;
}

void denseView()
{
    basis.clear();
    basis(1, 1) = 1;
    basis(2, 2) = 1; // model z does not move a point on screen
    zoomfaktor = 1;
    origx = 0;
    origy = 0;
    breite = 1424;
    hoehe = 865;
    debugpkt = 17;
    debuglinie = 42;
}

void allBoxesTicked()
{
    resetHooks();
    hooks().punkteShown = [] { return true; };
    hooks().linienShown = [] { return true; };
    hooks().achsenShown = [] { return true; };
}

QColor codeColour(std::int64_t c)
{
    const int i = (c & 8) ? 105 : 0;
    return QColor((c & 4 ? 150 : 0) + i, (c & 2 ? 150 : 0) + i, (c & 1 ? 150 : 0) + i);
}

// The same pass with plain QPainter calls, as a straightforward port would draw it.
void qpainterPass()
{
    QPainter p(zebild.get());
    const auto sx = [](std::int64_t n) {
        return (punkt(n, 1) * basis(1, 1) + punkt(n, 2) * basis(2, 1)) + punkt(n, 3) * basis(3, 1);
    };
    const auto sy = [](std::int64_t n) {
        return (punkt(n, 1) * basis(1, 2) + punkt(n, 2) * basis(2, 2)) + punkt(n, 3) * basis(3, 2);
    };
    const double ox = double(origx), oy = double(origy);
    p.fillRect(QRectF(0, 0, double(breite), double(hoehe)), Qt::black);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (std::int64_t k = 1; k <= anzpkt; ++k)
        p.drawEllipse(QRectF((sx(k) - 2) + ox, (sy(k) - 2) + oy, 5, 5));
    p.setBrush(QColor(0, 255, 0));
    p.drawEllipse(QRectF((sx(debugpkt) - 3) + ox, (sy(debugpkt) - 3) + oy, 7, 7));
    p.setBrush(Qt::NoBrush);
    std::int64_t pen = 0;
    for (std::int64_t j = 1; j <= anzlin; ++j) {
        const std::int64_t q = linie(j, 1), c = linie(j, 2);
        if (c != 0) {
            p.setPen(codeColour(c));
            p.drawLine(QLineF(ox + sx(pen), oy + sy(pen), ox + sx(q), oy + sy(q)));
        }
        pen = q;
    }
    const std::int64_t hp = debuglinie > 1 ? linie(debuglinie - 1, 1) : 0, hq = linie(debuglinie, 1);
    p.setPen(QPen(QColor(0, 255, 0), 3));
    p.drawLine(QLineF(ox + sx(hp), oy + sy(hp), ox + sx(hq), oy + sy(hq)));
    const double s = 100.0 / double(zoomfaktor);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 0));
    p.drawEllipse(QRectF(double(origx - 2), double(origy - 2), 5, 5));
    p.setPen(QColor(255, 0, 0));
    const char* labels[] = {"x", "y", "z"};
    for (int i = 1; i <= 3; ++i) {
        const double ex = basis(i, 1) * s, ey = basis(i, 2) * s;
        p.drawLine(QLineF(ox, oy, ox + ex, oy + ey));
        p.drawText(QPointF(ox + ex, oy + ey), QString::fromLatin1(labels[i - 1]));
    }
}

} // namespace

QEL_BENCH(read)
{
    resetState();
    resetHooks();
    std::mt19937 rng(7);
    QString text;
    makeDenseModel(rng, false, &text);
    const QString path = qelbench::scratchDir() + "/dense3000.qel";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0)
        return;
    f.close();
    toolkit::setOpenDialog([path] { return std::optional<QString>(path); });
    figure("read_max_ms", qelbench::medianMs(21, [] { datenlesen(); }));
    toolkit::resetDialogs();
    if (anzpkt != 3000 || anzlin != 3000 || punkt(3000, 2) == 0.0)
        std::fprintf(stderr, "qel-bench: the reader did not read the whole model (%lld points, %lld records)\n",
                     static_cast<long long>(anzpkt), static_cast<long long>(anzlin));
}

QEL_BENCH(render)
{
    resetState();
    allBoxesTicked();
    init();
    std::mt19937 rng(11);
    makeDenseModel(rng, true, nullptr);
    denseView();

    zeichnen(); // warm up: label glyphs, page faults
    qpainterPass();
    double ours = 0, theirs = 0;
    // Interleaved, so both see the same machine state.
    std::vector<double> a, b;
    for (int round = 0; round < 5; ++round) {
        a.push_back(qelbench::medianMs(9, [] { zeichnen(); }));
        b.push_back(qelbench::medianMs(3, [] { qpainterPass(); }));
    }
    ours = qelbench::median(a);
    theirs = qelbench::median(b);
    figure("render_dense_ms", ours);
    figure("render_dense_qpainter_ms", theirs);
    figure("render_speedup", theirs / ours);

    resetState();
    resetHooks(); // Punkte unticked, Linien and Achsen ticked, as at start
    init();
    figure("render_start_ms", qelbench::medianMs(201, [] { zeichnen(); }));
}
