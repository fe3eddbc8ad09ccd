#pragma once
// The drawing context of the off-screen picture: drawing colour, pen size and the
// handful of operations the renderer needs, written straight into the pixels of a
// 32-bit picture (QPainter costs some twenty times as much for the pen path).
//
// Rasterisation, the same for every operation:
// - A pixel (px, py) is the unit square [px, px + 1) x [py, py + 1); its centre is
//   (px + 0.5, py + 0.5). No anti-aliasing: every colour is written as it is.
// - fillRect covers the pixels whose centres lie inside the rectangle.
// - fillOval first snaps its box to the pixel grid (the corner to the nearest pixel
//   corner, the size to whole pixels), then covers the pixels whose centres lie
//   inside or on the ellipse inscribed in the snapped box. So every disc of a size
//   has the same pixels wherever it lies: a 5 x 5 box always gives the same disc of
//   21 pixels, a 7 x 7 box the same one of 37.
// - drawLine first clips the segment in doubles to the picture (widened by the pen's
//   reach), then takes the pixel under each clipped end point (floor) and joins the
//   two with a DDA along the longer axis, one pixel per column or row, both end
//   pixels included. A pen wider than 1 x 1 stamps a pen-sized block, centred on the
//   pixel, at every pixel of that path.
// - drawString draws the text's anti-aliased shape (rendered once per text and font
//   with the default font) with its baseline at y and its origin at x, blended in
//   the drawing colour.
// - Everything is clipped to the picture. A mark with a coordinate that is not
//   finite is skipped; huge finite coordinates are clipped like any other.
#include <QImage>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <vector>

namespace raster {

class Raster {
public:
    // The picture must stay alive while the context is used; any other format than
    // 32-bit RGB is converted once.
    explicit Raster(QImage& picture);

    void setForeColor(int red, int green, int blue) { fore_ = qRgb(red, green, blue); }
    void setPenWidth(int w) { penW_ = w < 1 ? 1 : w; }
    void setPenHeight(int h) { penH_ = h < 1 ? 1 : h; }

    void fillRect(double left, double top, double width, double height);
    void fillOval(double left, double top, double width, double height);
    void drawLine(double x1, double y1, double x2, double y2);
    void drawString(const QString& text, double x, double y);

    // Many 1 x 1 lines in a row: queued in the current colour, drawn by flushLines
    // with the same pixels, in the same order, as drawLine one by one.
    void queueLine(double x1, double y1, double x2, double y2);
    void flushLines();

private:
    // One DDA walk: n + 1 steps along the major axis from major0; the minor
    // coordinate starts at minor0 and moves by step (both 32.32 fixed point).
    struct Segment {
        bool xMajor;
        int major0;
        int n;
        std::int64_t minor0;
        std::int64_t step;
        int rowMin, rowMax;
        QRgb colour;
    };
    struct DiscRow {
        int from, to; // columns, inclusive; from > to for none
    };
    const std::vector<DiscRow>& discRows(int width, int height);
    static Segment makeSegment(int x0, int y0, int x1, int y1, QRgb colour);
    void drawRows(const Segment& s, int firstRow, int lastRow); // its pixels in these rows
    bool thinEnds(double& x1, double& y1, double& x2, double& y2, int ends[4]) const;
    void thickLine(int x0, int y0, int x1, int y1);
    void span(int row, int from, int to); // inclusive, already clipped

    QRgb* bits_ = nullptr;
    qsizetype stride_ = 0; // in pixels
    int w_ = 0;
    int h_ = 0;
    double xEnd_ = 0; // clip box of a 1 x 1 pen: [0, xEnd_] x [0, yEnd_]
    double yEnd_ = 0;
    QRgb fore_ = qRgb(0, 0, 0);
    int penW_ = 1;
    int penH_ = 1;
    std::vector<Segment> queue_;
    int discW_ = -1, discH_ = -1; // the size discRows_ holds
    std::vector<DiscRow> discRows_;
};

// Clips the segment to the closed box [xmin, xmax] x [ymin, ymax] (Liang-Barsky, in
// doubles). False when nothing of it lies inside or a coordinate is not finite.
// Ends that lie inside keep their exact values.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double xmax, double ymin, double ymax);

} // namespace raster
