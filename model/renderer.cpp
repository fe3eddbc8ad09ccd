#include "model/renderer.h"

#include "model/module1.h"
#include "raster/raster.h"

#include "toolkit/errors.h"

#include <cstdint>
#include <limits>

namespace Module1 {

namespace {

using raster::Raster;

// The projection sums of one point, in the fixed order of addition; the origin is
// added later, where each mark wants it.
struct Projection {
    double b11, b21, b31, b12, b22, b32;

    double sx(const double* p) const { return (p[1] * b11 + p[2] * b21) + p[3] * b31; }
    double sy(const double* p) const { return (p[1] * b12 + p[2] * b22) + p[3] * b32; }
};

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

// The steps of one pass, each drawing one kind of mark. Nothing of the drawing
// context outlives the pass: it starts with a 1 x 1 pen and every step sets the
// colours it draws in.
class Pass {
public:
    Pass(QImage& picture, const RenderModel& model, const RenderView& view)
        : g_(picture),
          model_(model),
          view_(view),
          b_{view.basis(1, 1), view.basis(2, 1), view.basis(3, 1),
             view.basis(1, 2), view.basis(2, 2), view.basis(3, 2)},
          ox_(double(view.origx)),
          oy_(double(view.origy))
    {
    }

    // The drawing area only; the rest of the picture keeps what it shows.
    void clear()
    {
        g_.setForeColor(0, 0, 0);
        g_.fillRect(0, 0, double(view_.breite), double(view_.hoehe));
        g_.setForeColor(255, 255, 255);
    }

    void points()
    {
        for (std::int64_t k = 1; k <= model_.anzpkt; ++k) {
            const double* p = model_.punkt.row(k);
            g_.fillOval((b_.sx(p) - 2) + ox_, (b_.sy(p) - 2) + oy_, 5, 5);
        }
    }

    // Not compared with the point count: any row of the table can be highlighted.
    void highlightedPoint(std::int64_t n)
    {
        const double* p = model_.punkt.row(n);
        const double x = (b_.sx(p) - 3) + ox_;
        const double y = (b_.sy(p) - 3) + oy_;
        g_.setForeColor(0, 255, 0);
        g_.fillOval(x, y, 7, 7);
        g_.setForeColor(255, 255, 255);
    }

    // Every record steps the pen from the previous record's point (the origin before
    // record 1) to its own, drawing unless its code is 0. The segments are queued and
    // drawn together at the end of the step, or before an error ends the pass, so
    // what came before the faulty record is drawn.
    void penPath()
    {
        const double* p = model_.punkt.row(0);
        for (std::int64_t j = 1; j <= model_.anzlin; ++j) {
            const double px = b_.sx(p), py = b_.sy(p);
            const std::int64_t* rec = model_.linie.row(j, [&] { g_.flushLines(); });
            const std::int64_t q = rec[1];
            const double* qr = model_.punkt.row(q, [&] {
                g_.flushLines();
                stopAt(j, q);
            });
            const double qx = b_.sx(qr), qy = b_.sy(qr);
            const std::int64_t c = rec[2];
            if (c != 0) {
                setCodeColour(g_, c);
                g_.queueLine(ox_ + px, oy_ + py, ox_ + qx, oy_ + qy);
                g_.setForeColor(255, 255, 255);
            }
            p = qr;
        }
        g_.flushLines();
    }

    // Whatever the record's code; not compared with the record count. Every table
    // value is read before the colour or the pen changes.
    void highlightedRecord(std::int64_t j)
    {
        const std::int64_t p = j > 1 ? model_.linie(j - 1, 1) : 0;
        const std::int64_t q = model_.linie(j, 1);
        const double* pr = recordPoint(j - 1, p); // record 0: the origin, always there
        const double* qr = recordPoint(j, q);
        const double px = b_.sx(pr), py = b_.sy(pr), qx = b_.sx(qr), qy = b_.sy(qr);
        g_.setForeColor(0, 255, 0);
        g_.setPenHeight(3);
        g_.setPenWidth(3);
        g_.drawLine(ox_ + px, oy_ + py, ox_ + qx, oy_ + qy);
        g_.setForeColor(255, 255, 255);
        g_.setPenWidth(1);
        g_.setPenHeight(1);
    }

    // Origin dot and axes: a model vector of length 100 / zoom along each axis, so
    // an axis in the screen plane is 100 pixels long at every zoom.
    void axes()
    {
        const double s = 100.0 / double(view_.zoomfaktor);
        g_.setForeColor(255, 0, 0);
        constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min() + 2;
        if (view_.origx >= lowest && view_.origy >= lowest) // far off the picture otherwise
            g_.fillOval(double(view_.origx - 2), double(view_.origy - 2), 5, 5);
        static const QString labels[3] = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
        for (int i = 1; i <= 3; ++i) {
            const double ex = view_.basis(i, 1) * s;
            const double ey = view_.basis(i, 2) * s;
            g_.drawLine(ox_, oy_, ox_ + ex, oy_ + ey);
            g_.drawString(labels[i - 1], ox_ + ex, oy_ + ey);
        }
    }

private:
    // Record j names point n, which the table has not: the pass ends here.
    [[noreturn]] void stopAt(std::int64_t j, std::int64_t n) const
    {
        throw toolkit::OutOfBoundsException(
            (recordNamesNoPoint(j, n, model_.name)
             + QStringLiteral(" The drawing stops at that record; the model is loaded."))
                .toStdString());
    }

    // The row of the point that line record j names.
    const double* recordPoint(std::int64_t j, std::int64_t n) const
    {
        return model_.punkt.row(n, [&] { stopAt(j, n); });
    }

    Raster g_;
    const RenderModel& model_;
    const RenderView& view_;
    const Projection b_;
    const double ox_;
    const double oy_;
};

} // namespace

// A point number outside the table is a fault of the model file.
QString recordNamesNoPoint(std::int64_t record, std::int64_t point, const QString& model)
{
    return QStringLiteral("Line record %1 of \"%2\" names point %3, but point numbers run from 0 to %4.")
        .arg(record)
        .arg(model)
        .arg(point)
        .arg(PointTable::lastRow);
}

void render(QImage& picture, const RenderModel& model, const RenderView& view, const Visibility& shown,
            const Marks& marks)
{
    if (picture.isNull())
        throw toolkit::NilObjectException("render: there is no picture to draw into");
    Pass pass(picture, model, view);
    pass.clear();
    if (shown.punkte())
        pass.points();
    if (marks.point > 0)
        pass.highlightedPoint(marks.point);
    if (shown.linien())
        pass.penPath();
    if (marks.line > 0)
        pass.highlightedRecord(marks.line);
    if (shown.achsen())
        pass.axes();
}

void zeichnen()
{
    if (!zebild || zebild->isNull())
        throw toolkit::NilObjectException("zeichnen: there is no off-screen picture");
    const WindowHooks& h = hooks();
    render(*zebild, {punkt, anzpkt, linie, anzlin, datname}, {basis, origx, origy, breite, hoehe, zoomfaktor},
           {h.punkteShown, h.linienShown, h.achsenShown}, {debugpkt, debuglinie});
    // The canvas shows the new picture at its next paint.
    h.invalidateCanvas();
}

} // namespace Module1
