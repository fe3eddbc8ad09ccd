#include "model/module1.h"
#include "raster/raster.h"

#include "toolkit/errors.h"

#include <cstdint>
#include <limits>

namespace Module1 {

namespace {

// The projection sums of one point, in the fixed order of addition; the origin is
// added later, where each mark wants it.
struct Projection {
    double b11, b21, b31, b12, b22, b32;

    double sx(const double* p) const { return (p[1] * b11 + p[2] * b21) + p[3] * b31; }
    double sy(const double* p) const { return (p[1] * b12 + p[2] * b22) + p[3] * b32; }
};

// Row n of punkt; a point number outside the table ends the pass before anything
// is read.
const double* pointRow(std::int64_t n)
{
    if (!decltype(punkt)::rowInRange(n))
        outOfBounds("punkt", n, 1, decltype(punkt)::lastRow, decltype(punkt)::lastCol);
    return punkt.row(n);
}

// A point number outside the table is a fault of the model file: the message says
// where it is and what is allowed.
[[noreturn]] void recordNamesNoPoint(std::int64_t j, std::int64_t n)
{
    throw toolkit::OutOfBoundsException(
        QStringLiteral("Line record %1 of \"%2\" names point %3, but point numbers run from 0 to %4. "
                       "The drawing stops at that record; the model is loaded.")
            .arg(j)
            .arg(datname)
            .arg(n)
            .arg(decltype(punkt)::lastRow)
            .toStdString());
}

// Row n of punkt for the point that line record j names.
const double* recordPoint(std::int64_t j, std::int64_t n)
{
    if (!decltype(punkt)::rowInRange(n))
        recordNamesNoPoint(j, n);
    return punkt.row(n);
}

const std::int64_t* lineRow(std::int64_t j)
{
    if (!decltype(linie)::rowInRange(j))
        outOfBounds("linie", j, 1, decltype(linie)::lastRow, decltype(linie)::lastCol);
    return linie.row(j);
}

// Screen colour of a colour code: only its low four bits count (two's complement
// for negative codes); bit 3 adds 105 to every channel, each colour bit gives 150.
void setCodeColour(Raster& g, std::int64_t c)
{
    const double i = double(c & 8) / 8 * 105;
    const int red = int(double(c & 4) / 4 * 150 + i);
    const int green = int(double(c & 2) / 2 * 150 + i);
    const int blue = int(double(c & 1) / 1 * 150 + i);
    g.setForeColor(red, green, blue);
}

} // namespace

void zeichnen()
{
    if (!zebild || zebild->isNull())
        throw toolkit::NilObjectException("zeichnen: there is no off-screen picture");
    // Nothing of the context outlives the pass: each pass starts with a 1 x 1 pen and
    // sets every colour before it draws.
    Raster g(*zebild);

    const Projection b{basis(1, 1), basis(2, 1), basis(3, 1), basis(1, 2), basis(2, 2), basis(3, 2)};
    const double ox = double(origx);
    const double oy = double(origy);

    // 1. Clear the drawing area only.
    g.setForeColor(0, 0, 0);
    g.fillRect(0, 0, double(breite), double(hoehe));
    g.setForeColor(255, 255, 255);

    // 2. Points.
    if (hooks().punkteShown()) {
        for (std::int64_t k = 1; k <= anzpkt; ++k) {
            const double* p = pointRow(k);
            g.fillOval((b.sx(p) - 2) + ox, (b.sy(p) - 2) + oy, 5, 5);
        }
    }

    // 3. Highlighted point, whatever the Punkte box says.
    if (debugpkt > 0) {
        const double* p = pointRow(debugpkt);
        const double x = (b.sx(p) - 3) + ox;
        const double y = (b.sy(p) - 3) + oy;
        g.setForeColor(0, 255, 0);
        g.fillOval(x, y, 7, 7);
        g.setForeColor(255, 255, 255);
    }

    // 4. Pen path: every record steps the pen from the previous record's point (the
    // origin before record 1) to its own, drawing unless its code is 0. The segments
    // are queued and drawn together at the end of the step (or before an error ends
    // the pass, so what came before the faulty record is drawn).
    if (hooks().linienShown()) {
        std::int64_t pen = 0;
        for (std::int64_t j = 1; j <= anzlin; ++j) {
            const double* p = punkt.row(pen); // checked when it was q
            const double px = b.sx(p), py = b.sy(p);
            if (!decltype(linie)::rowInRange(j)) {
                g.flushLines();
                outOfBounds("linie", j, 1, decltype(linie)::lastRow, decltype(linie)::lastCol);
            }
            const std::int64_t* rec = linie.row(j);
            const std::int64_t q = rec[1];
            if (!decltype(punkt)::rowInRange(q)) {
                g.flushLines();
                recordNamesNoPoint(j, q);
            }
            const double* qr = punkt.row(q);
            const double qx = b.sx(qr), qy = b.sy(qr);
            const std::int64_t c = rec[2];
            if (c != 0) {
                setCodeColour(g, c);
                g.queueLine(ox + px, oy + py, ox + qx, oy + qy);
                g.setForeColor(255, 255, 255);
            }
            pen = q;
        }
        g.flushLines();
    }

    // 5. Highlighted line record, whatever the Linien box and its code say.
    if (debuglinie > 0) {
        const std::int64_t j = debuglinie;
        const std::int64_t p = j > 1 ? lineRow(j - 1)[1] : 0;
        const std::int64_t q = lineRow(j)[1];
        const double* pr = recordPoint(j - 1, p); // record 0: the origin, always there
        const double* qr = recordPoint(j, q);
        const double px = b.sx(pr), py = b.sy(pr), qx = b.sx(qr), qy = b.sy(qr);
        g.setForeColor(0, 255, 0);
        g.setPenHeight(3);
        g.setPenWidth(3);
        g.drawLine(ox + px, oy + py, ox + qx, oy + qy);
        g.setForeColor(255, 255, 255);
        g.setPenWidth(1);
        g.setPenHeight(1);
    }

    // 6. Origin dot and axes: a model vector of length 100 / zoom along each axis, so
    // an axis in the screen plane is 100 pixels long at every zoom.
    if (hooks().achsenShown()) {
        const double s = 100.0 / double(zoomfaktor);
        g.setForeColor(255, 0, 0);
        constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min() + 2;
        if (origx >= lowest && origy >= lowest) // far off the picture otherwise
            g.fillOval(double(origx - 2), double(origy - 2), 5, 5);
        static const QString labels[3] = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
        for (int i = 1; i <= 3; ++i) {
            const double ex = basis(i, 1) * s;
            const double ey = basis(i, 2) * s;
            g.drawLine(ox, oy, ox + ex, oy + ey);
            g.drawString(labels[i - 1], ox + ex, oy + ey);
        }
    }

    // 7. The canvas shows the new picture at its next paint.
    hooks().invalidateCanvas();
}

} // namespace Module1
