#include "raster/raster.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <utility>
#include <vector>

namespace raster {

namespace {

bool finite(double v) { return std::isfinite(v); }

// floor() for values well inside the int range (std::floor is a library call on
// plain x86-64, and this runs several times per mark).
inline int floorSmall(double v)
{
    const int i = int(v);
    return i - (v < double(i));
}

// Far edge of a clip box ending before pixel n: floor() of it is pixel n - 1.
double lastBefore(int n) { return std::nextafter(double(n), 0.0); }

// Liang-Barsky on finite coordinates whose differences are finite. A clipped end
// lies exactly on its edge, and its other coordinate is taken from the slope rather
// than from the line parameter, which keeps it exact for a horizontal or vertical
// segment whose ends lie far outside.
bool clipFinite(double& x1, double& y1, double& x2, double& y2, double xmin, double xmax, double ymin, double ymax)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double t0 = 0.0;
    double t1 = 1.0;
    int k0 = -1, k1 = -1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - xmin, xmax - x1, y1 - ymin, ymax - y1};
    const double edges[4] = {xmin, xmax, ymin, ymax};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return false; // parallel to this edge and outside it
            continue;
        }
        const double r = q[k] / p[k]; // may be +-inf for huge q: compares fine
        if (p[k] < 0.0) {
            if (r > t1)
                return false;
            if (r > t0) {
                t0 = r;
                k0 = k;
            }
        } else {
            if (r < t0)
                return false;
            if (r < t1) {
                t1 = r;
                k1 = k;
            }
        }
    }
    const double ax = x1, ay = y1;
    // A slope that overflows (a subnormal difference) falls back to the parameter,
    // which is always finite.
    const auto onEdge = [&](int k, double t, double& x, double& y) {
        if (k < 2) {
            const double m = dy / dx;
            x = edges[k];
            y = std::isfinite(m) ? ay + (edges[k] - ax) * m : ay + t * dy;
        } else {
            const double m = dx / dy;
            y = edges[k];
            x = std::isfinite(m) ? ax + (edges[k] - ay) * m : ax + t * dx;
        }
    };
    if (k1 >= 0)
        onEdge(k1, t1, x2, y2);
    if (k0 >= 0)
        onEdge(k0, t0, x1, y1);
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2))
        return false; // cannot happen, but a NaN must never reach the integer conversion
    // Rounding may leave a computed coordinate a hair outside the box.
    x1 = std::clamp(x1, xmin, xmax);
    x2 = std::clamp(x2, xmin, xmax);
    y1 = std::clamp(y1, ymin, ymax);
    y2 = std::clamp(y2, ymin, ymax);
    return true;
}

// The coverage of a text in the default font, rendered once.
struct Glyph {
    QString text;
    QFont font;
    QImage mask; // alpha = coverage
    int dx = 0;  // mask origin relative to the text origin on the baseline
    int dy = 0;
};

const Glyph* glyphFor(const QString& text)
{
    // Fonts need a GUI application; a model-only harness draws no text.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return nullptr;
    // Never destroyed: fonts must not outlive the application at exit.
    static auto& cache = *new std::vector<Glyph>;
    const QFont font = QGuiApplication::font();
    for (const Glyph& g : cache)
        if (g.text == text && g.font == font)
            return &g;

    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    const QFontMetrics fm(font, &probe);
    const QRect box = fm.boundingRect(text).adjusted(-2, -2, 2, 2);
    Glyph g;
    g.text = text;
    g.font = font;
    g.dx = box.left();
    g.dy = box.top();
    g.mask = QImage(std::max(1, box.width()), std::max(1, box.height()), QImage::Format_ARGB32_Premultiplied);
    g.mask.fill(Qt::transparent);
    {
        QPainter p(&g.mask);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QPointF(-box.left(), -box.top()), text);
    }
    if (cache.size() >= 16)
        cache.erase(cache.begin());
    cache.push_back(std::move(g));
    return &cache.back();
}

} // namespace

bool clipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double xmax, double ymin, double ymax)
{
    if (!finite(x1) || !finite(y1) || !finite(x2) || !finite(y2))
        return false;
    if (finite(x2 - x1) && finite(y2 - y1))
        return clipFinite(x1, y1, x2, y2, xmin, xmax, ymin, ymax);
    // Ends near the limits of a double: clip at half scale, which is exact.
    double a = x1 * 0.5, b = y1 * 0.5, c = x2 * 0.5, d = y2 * 0.5;
    if (!clipFinite(a, b, c, d, xmin * 0.5, xmax * 0.5, ymin * 0.5, ymax * 0.5))
        return false;
    x1 = a * 2.0;
    y1 = b * 2.0;
    x2 = c * 2.0;
    y2 = d * 2.0;
    return true;
}

Raster::Raster(QImage& picture)
{
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32
        && picture.format() != QImage::Format_ARGB32_Premultiplied)
        picture.convertTo(QImage::Format_RGB32);
    bits_ = reinterpret_cast<QRgb*>(picture.bits());
    stride_ = picture.bytesPerLine() / 4;
    w_ = picture.width();
    h_ = picture.height();
    xEnd_ = lastBefore(w_);
    yEnd_ = lastBefore(h_);
}

void Raster::span(int row, int from, int to)
{
    QRgb* const p = bits_ + row * stride_ + from;
    const std::size_t n = std::size_t(to - from) + 1;
    // The C library's wide fill stores many pixels at once, the plain loop one by
    // one: the clear of a large drawing area takes a third of the time so.
    if constexpr (sizeof(wchar_t) == sizeof(QRgb)) {
        if (n >= 16) {
            std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(fore_), n);
            return;
        }
    }
    std::fill(p, p + n, fore_);
}

void Raster::fillRect(double left, double top, double width, double height)
{
    if (!finite(left) || !finite(top) || !finite(width) || !finite(height) || width <= 0 || height <= 0)
        return;
    // Pixels whose centres lie inside: px + 0.5 in [left, left + width).
    const double x0 = std::max(std::ceil(left - 0.5), 0.0);
    const double x1 = std::min(std::ceil(left + width - 0.5), double(w_)); // exclusive
    const double y0 = std::max(std::ceil(top - 0.5), 0.0);
    const double y1 = std::min(std::ceil(top + height - 0.5), double(h_));
    if (!(x0 < x1) || !(y0 < y1))
        return;
    for (int r = int(y0); r < int(y1); ++r)
        span(r, int(x0), int(x1) - 1);
}

void Raster::fillOval(double left, double top, double width, double height)
{
    if (!finite(left) || !finite(top) || !finite(width) || !finite(height) || width <= 0 || height <= 0)
        return;
    // Off the picture altogether? (This also keeps every value below small.)
    if (!(left < w_ && top < h_ && left + width > 0 && top + height > 0) || width > 1e6 || height > 1e6)
        return;
    // The box snapped to the pixel grid: its corner to the nearest pixel corner, its
    // size to whole pixels. The disc's pixels are worked out relative to that corner,
    // so every disc of one size has the same shape, wherever its box falls.
    const int x0 = floorSmall(left + 0.5);
    const int y0 = floorSmall(top + 0.5);
    const int bw = floorSmall(width + 0.5);
    const int bh = floorSmall(height + 0.5);
    const std::vector<DiscRow>& rows = discRows(bw, bh);
    const int rFirst = std::max(-y0, 0);
    const int rEnd = std::min(bh, h_ - y0); // exclusive
    for (int r = rFirst; r < rEnd; ++r) {
        const int from = std::max(x0 + rows[r].from, 0);
        const int to = std::min(x0 + rows[r].to, w_ - 1);
        if (from <= to)
            span(y0 + r, from, to);
    }
}

// The columns, relative to the box, that each row of the disc inscribed in a
// width x height box covers: the pixels whose centres lie inside or on the ellipse.
// Kept for the last size asked, as a pass draws many discs of one size.
const std::vector<Raster::DiscRow>& Raster::discRows(int width, int height)
{
    if (width == discW_ && height == discH_)
        return discRows_;
    discW_ = width;
    discH_ = height;
    discRows_.assign(std::size_t(std::max(height, 0)), DiscRow{});
    const double rx = width / 2.0;
    const double ry = height / 2.0;
    for (int r = 0; r < height; ++r) {
        const double dy = (r + 0.5 - ry) / ry;
        const double half = rx * std::sqrt(1.0 - dy * dy);
        discRows_[std::size_t(r)] = {-floorSmall(-(rx - half - 0.5)), floorSmall(rx + half - 0.5)}; // ceil, floor
    }
    return discRows_;
}

bool Raster::thinEnds(double& x1, double& y1, double& x2, double& y2, int ends[4]) const
{
    if (!clipSegment(x1, y1, x2, y2, 0, xEnd_, 0, yEnd_))
        return false;
    ends[0] = std::clamp(floorSmall(x1), 0, w_ - 1);
    ends[1] = std::clamp(floorSmall(y1), 0, h_ - 1);
    ends[2] = std::clamp(floorSmall(x2), 0, w_ - 1);
    ends[3] = std::clamp(floorSmall(y2), 0, h_ - 1);
    return true;
}

void Raster::drawLine(double x1, double y1, double x2, double y2)
{
    if (penW_ == 1 && penH_ == 1) {
        int e[4];
        if (thinEnds(x1, y1, x2, y2, e))
            drawRows(makeSegment(e[0], e[1], e[2], e[3], fore_), 0, h_ - 1);
        return;
    }
    // A pen block reaches `before` pixels left of (above) its pixel and `after` right
    // of (below) it, so a path that far outside still touches the picture.
    const int beforeX = (penW_ - 1) / 2, afterX = penW_ - 1 - beforeX;
    const int beforeY = (penH_ - 1) / 2, afterY = penH_ - 1 - beforeY;
    if (!clipSegment(x1, y1, x2, y2, -afterX, lastBefore(w_ + beforeX), -afterY, lastBefore(h_ + beforeY)))
        return;
    thickLine(floorSmall(x1), floorSmall(y1), floorSmall(x2), floorSmall(y2));
}

void Raster::queueLine(double x1, double y1, double x2, double y2)
{
    int e[4];
    if (thinEnds(x1, y1, x2, y2, e))
        queue_.push_back(makeSegment(e[0], e[1], e[2], e[3], fore_));
}

void Raster::flushLines()
{
    // Band by band, each band drawing its part of every queued segment in order:
    // the same pixels as drawing them one after the other, but each band stays in
    // the cache while it is drawn.
    constexpr int bandRows = 64;
    for (int b0 = 0; b0 < h_; b0 += bandRows) {
        const int b1 = std::min(b0 + bandRows, h_) - 1;
        for (const Segment& s : queue_)
            if (s.rowMax >= b0 && s.rowMin <= b1)
                drawRows(s, b0, b1);
    }
    queue_.clear();
}

namespace {
constexpr std::int64_t one = std::int64_t(1) << 32;
constexpr std::int64_t half = std::int64_t(1) << 31;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) // b > 0
{
    const std::int64_t q = a / b;
    return q - ((a % b) < 0);
}
} // namespace

// DDA from (x0, y0) to (x1, y1), one pixel per step along the longer axis; the
// shorter coordinate runs in 32.32 fixed point from the centre of the first pixel,
// so both end pixels are hit exactly.
Raster::Segment Raster::makeSegment(int x0, int y0, int x1, int y1, QRgb colour)
{
    Segment s;
    s.colour = colour;
    s.rowMin = std::min(y0, y1);
    s.rowMax = std::max(y0, y1);
    const int adx = std::abs(x1 - x0), ady = std::abs(y1 - y0);
    s.xMajor = adx >= ady;
    if (s.xMajor) {
        if (x1 < x0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        s.n = adx;
        s.major0 = x0;
        s.step = adx == 0 ? 0 : std::int64_t(y1 - y0) * one / adx;
        s.minor0 = std::int64_t(y0) * one + half;
    } else {
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        s.n = ady;
        s.major0 = y0;
        s.step = std::int64_t(x1 - x0) * one / ady;
        s.minor0 = std::int64_t(x0) * one + half;
    }
    return s;
}

void Raster::drawRows(const Segment& s, int b0, int b1)
{
    QRgb* const bits = bits_;
    const qsizetype stride = stride_;
    const QRgb c = s.colour;
    if (s.xMajor) {
        // Steps i whose row floor((minor0 + i * step) / 2^32) lies in [b0, b1].
        std::int64_t first = 0, last = s.n;
        const std::int64_t lo = std::int64_t(b0) * one - s.minor0;     // minor - minor0 >= lo
        const std::int64_t hi = std::int64_t(b1 + 1) * one - s.minor0; // minor - minor0 < hi
        if (s.step > 0) {
            first = std::max<std::int64_t>(first, -floorDiv(-lo, s.step)); // ceil(lo / step)
            last = std::min<std::int64_t>(last, -floorDiv(-hi, s.step) - 1);
        } else if (s.step < 0) {
            first = std::max<std::int64_t>(first, floorDiv(-hi, -s.step) + 1);
            last = std::min<std::int64_t>(last, floorDiv(-lo, -s.step));
        } else if (lo > 0 || hi <= 0) {
            return;
        }
        std::int64_t y = s.minor0 + first * s.step;
        QRgb* col = bits + s.major0;
        for (std::int64_t i = first; i <= last; ++i, y += s.step)
            col[i + (y >> 32) * stride] = c;
    } else {
        const int first = std::max(b0 - s.major0, 0);
        const int last = std::min(b1 - s.major0, s.n);
        std::int64_t x = s.minor0 + first * s.step;
        QRgb* row = bits + std::int64_t(s.major0 + first) * stride;
        for (int i = first; i <= last; ++i, x += s.step, row += stride)
            row[x >> 32] = c;
    }
}

void Raster::thickLine(int x0, int y0, int x1, int y1)
{
    const int beforeX = (penW_ - 1) / 2, afterX = penW_ - 1 - beforeX;
    const int beforeY = (penH_ - 1) / 2, afterY = penH_ - 1 - beforeY;
    const Segment s = makeSegment(x0, y0, x1, y1, fore_);
    std::int64_t minor = s.minor0;
    for (int i = 0; i <= s.n; ++i, minor += s.step) {
        const int m = int(minor >> 32);
        const int px = s.xMajor ? s.major0 + i : m;
        const int py = s.xMajor ? m : s.major0 + i;
        const int l = std::max(px - beforeX, 0), r = std::min(px + afterX, w_ - 1);
        const int t = std::max(py - beforeY, 0), b = std::min(py + afterY, h_ - 1);
        for (int row = t; row <= b && l <= r; ++row)
            span(row, l, r);
    }
}

void Raster::drawString(const QString& text, double x, double y)
{
    // Far outside the picture no glyph can reach it (this also keeps the integer
    // conversion below in range).
    constexpr double reach = 4096.0;
    if (!finite(x) || !finite(y) || x < -reach || y < -reach || x > w_ + reach || y > h_ + reach)
        return;
    const Glyph* g = glyphFor(text);
    if (!g)
        return;
    const int ox = int(std::floor(x)) + g->dx;
    const int oy = int(std::floor(y)) + g->dy;
    const int fr = qRed(fore_), fg = qGreen(fore_), fb = qBlue(fore_);
    for (int my = 0; my < g->mask.height(); ++my) {
        const int py = oy + my;
        if (py < 0 || py >= h_)
            continue;
        const QRgb* src = reinterpret_cast<const QRgb*>(g->mask.constScanLine(my));
        QRgb* dst = bits_ + py * stride_;
        for (int mx = 0; mx < g->mask.width(); ++mx) {
            const int px = ox + mx;
            const int a = qAlpha(src[mx]);
            if (a == 0 || px < 0 || px >= w_)
                continue;
            const QRgb d = dst[px];
            const auto mix = [a](int f, int b) { return (f * a + b * (255 - a) + 127) / 255; };
            dst[px] = qRgb(mix(fr, qRed(d)), mix(fg, qGreen(d)), mix(fb, qBlue(d)));
        }
    }
}

} // namespace raster
