// The render pass, checked on the pixels of the picture it draws into.
//
// Fixture: the model and view of a pass as the program names them, handed to the
// pass directly; a picture filled with a marker colour, so untouched pixels show; a
// plain matrix (model x -> screen x, model y -> screen y, z ignored) and the origin
// at (100, 100), so model (x, y) lands on pixel (100 + x, 100 + y). The tests of
// zeichnen put their model into the shared state instead.
#include "model/module1.h"
#include "model/renderer.h"
#include "raster/raster.h"
#include "tests/support/model.h"
#include "tests/support/seams.h"
#include "toolkit/errors.h"

#include <QStringList>
#include <QtTest>

#include <cmath>
#include <limits>
#include <random>

namespace {

const QRgb marker = qRgb(1, 2, 3);
const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);
const QRgb green = qRgb(0, 255, 0);
const QRgb red = qRgb(255, 0, 0);
constexpr int pictureWidth = Module1::pictureWidth;
constexpr int pictureHeight = Module1::pictureHeight;

} // namespace

class TestRenderer : public QObject {
    Q_OBJECT

    // The inputs of a pass.
    QImage picture;
    Module1::PointTable punkt{"punkt"};
    Module1::LineTable linie{"linie"};
    std::int64_t anzpkt = 0;
    std::int64_t anzlin = 0;
    QString datname;
    Module1::Basis basis{"basis"};
    std::int64_t origx = 100, origy = 100, breite = 400, hoehe = 400, zoomfaktor = 10;
    std::int64_t debugpkt = 0, debuglinie = 0;
    bool punkte_ = false;
    bool linien_ = true;
    bool achsen_ = false;

    // What the window hooks saw, for the tests of zeichnen.
    int repaints_ = 0;
    QStringList calls_;

    // A box's answer: the flag as it is when the pass asks, and the question noted.
    std::function<bool()> box(const char* name, const bool& shown)
    {
        return [this, name, &shown] {
            calls_ << name;
            return shown;
        };
    }

    void pass()
    {
        Module1::render(
            picture, {punkt, anzpkt, linie, anzlin, datname}, {basis, origx, origy, breite, hoehe, zoomfaktor},
            {.punkte = box("punkte", punkte_), .linien = box("linien", linien_), .achsen = box("achsen", achsen_)},
            {debugpkt, debuglinie});
    }

    // The fixture's model and view as the shared state, the picture as zebild, the
    // boxes as the hooks answer them.
    void toSharedState()
    {
        Module1::punkt = punkt;
        Module1::linie = linie;
        Module1::anzpkt = anzpkt;
        Module1::anzlin = anzlin;
        Module1::datname = datname;
        Module1::basis = basis;
        Module1::origx = origx;
        Module1::origy = origy;
        Module1::breite = breite;
        Module1::hoehe = hoehe;
        Module1::zoomfaktor = zoomfaktor;
        Module1::debugpkt = debugpkt;
        Module1::debuglinie = debuglinie;
        Module1::zebild = std::make_unique<QImage>(picture);
    }

    void point(std::int64_t n, double x, double y, double z = 0)
    {
        punkt(n, 1) = x;
        punkt(n, 2) = y;
        punkt(n, 3) = z;
        anzpkt = std::max(anzpkt, n);
    }

    void record(std::int64_t j, std::int64_t n, std::int64_t code)
    {
        linie(j, 1) = n;
        linie(j, 2) = code;
        anzlin = std::max(anzlin, j);
    }

    QRgb at(int x, int y) const { return picture.pixel(x, y); }

    // Bounding box and count of the pixels of one colour inside an area.
    QRect boxOf(QRgb colour, const QRect& area, int* count = nullptr) const
    {
        QRect box;
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (at(x, y) == colour) {
                    box |= QRect(x, y, 1, 1);
                    ++n;
                }
        if (count)
            *count = n;
        return box;
    }

    bool anyOf(QRgb colour, const QRect& area) const { return !boxOf(colour, area).isNull(); }

    // Pixels of the label colour blended onto black: red > 0, no green, no blue.
    int reddish(const QRect& area) const
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb p = at(x, y);
                if (qRed(p) > 0 && qGreen(p) == 0 && qBlue(p) == 0)
                    ++n;
            }
        return n;
    }

private slots:
    void init()
    {
        punkt.clear();
        linie.clear();
        anzpkt = anzlin = 0;
        datname = QStringLiteral("3D");
        basis.clear();
        basis(1, 1) = 1;
        basis(2, 2) = 1;
        origx = origy = 100;
        breite = hoehe = 400;
        zoomfaktor = 10;
        debugpkt = debuglinie = 0;
        punkte_ = false;
        linien_ = true;
        achsen_ = false;
        picture = QImage(pictureWidth, pictureHeight, QImage::Format_RGB32);
        picture.fill(marker);

        repaints_ = 0;
        calls_.clear();
        auto& h = Module1::hooks();
        h.punkteShown = box("punkte", punkte_);
        h.linienShown = box("linien", linien_);
        h.achsenShown = box("achsen", achsen_);
        h.invalidateCanvas = [this] {
            calls_ << "invalidate";
            ++repaints_;
        };
    }
    void cleanup() { support::resetSeams(); }

    void clearsOnlyTheDrawingArea_data()
    {
        QTest::addColumn<qint64>("w");
        QTest::addColumn<qint64>("h");
        QTest::newRow("start size") << qint64(400) << qint64(400);
        QTest::newRow("largest canvas") << qint64(1424) << qint64(865);
        QTest::newRow("odd size") << qint64(401) << qint64(3);
        QTest::newRow("wider than the picture") << qint64(5000) << qint64(99999);
        QTest::newRow("negative") << qint64(-5) << qint64(-5);
    }
    void clearsOnlyTheDrawingArea()
    {
        QFETCH(qint64, w);
        QFETCH(qint64, h);
        breite = w;
        hoehe = h;
        linien_ = false;
        pass();
        const int cw = int(std::clamp<qint64>(w, 0, pictureWidth));
        const int ch = int(std::clamp<qint64>(h, 0, pictureHeight));
        if (cw > 0 && ch > 0) {
            QCOMPARE(at(0, 0), black);
            QCOMPARE(at(cw - 1, ch - 1), black);
            QCOMPARE(at(cw - 1, 0), black);
        } else {
            QCOMPARE(at(0, 0), marker);
        }
        if (cw < pictureWidth)
            QCOMPARE(at(cw, 0), marker);
        if (ch < pictureHeight)
            QCOMPARE(at(0, ch), marker);
        if (cw < pictureWidth && ch < pictureHeight)
            QCOMPARE(at(pictureWidth - 1, pictureHeight - 1), marker);
    }

    void pointDiscs()
    {
        point(1, 20, 30);
        point(2, 40, 50);
        linien_ = false;
        pass();
        QVERIFY(!anyOf(white, QRect(0, 0, 400, 400))); // Punkte unticked

        punkte_ = true;
        pass();
        int n = 0;
        QCOMPARE(boxOf(white, QRect(110, 120, 20, 20), &n), QRect(118, 128, 5, 5));
        QCOMPARE(n, 21); // a disc: the four corners stay clear
        QCOMPARE(boxOf(white, QRect(130, 140, 20, 20)), QRect(138, 148, 5, 5));
    }

    // Every point disc is the same 5 x 5 disc and every highlighted point the same
    // 7 x 7 one, wherever its box falls between pixels: the box is snapped to the
    // pixel grid. The origin dot is the 5 x 5 disc too.
    void discsKeepTheirShape_data()
    {
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("dy");
        QTest::newRow("whole pixels") << 0.0 << 0.0;
        QTest::newRow("quarter") << 0.25 << 0.25;
        QTest::newRow("half") << 0.5 << 0.5;
        QTest::newRow("just below half") << 0.49999999 << 0.4999999999999;
        QTest::newRow("just above half") << 0.50000001 << 0.5000000000001;
        QTest::newRow("three quarters, a tenth") << 0.75 << 0.1;
        QTest::newRow("negative half, 0.9") << -0.5 << 0.9;
        QTest::newRow("a third, two thirds") << 1.0 / 3 << 2.0 / 3;
    }
    void discsKeepTheirShape()
    {
        QFETCH(double, dx);
        QFETCH(double, dy);
        const QStringList disc5 = {".###.", "#####", "#####", "#####", ".###."};
        const QStringList disc7 = {"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."};
        // The pixels of one colour in an area, as rows of '#' and '.' over their
        // bounding box.
        const auto shapeIn = [this](QRgb colour, const QRect& area) {
            const QRect box = boxOf(colour, area);
            QStringList rows;
            for (int y = box.top(); y <= box.bottom(); ++y) {
                QString row;
                for (int x = box.left(); x <= box.right(); ++x)
                    row += at(x, y) == colour ? '#' : '.';
                rows << row;
            }
            return rows;
        };
        // Points well apart, at small and large, negative and positive coordinates.
        const int xs[] = {-80, -35, 0, 17, 256, 899, 1777, 1870};
        const int ys[] = {-80, -45, 0, 333, 870};
        std::int64_t n = 0;
        for (int x : xs)
            for (int y : ys)
                point(++n, x + dx, y + dy);
        breite = pictureWidth;
        hoehe = pictureHeight;
        punkte_ = true;
        linien_ = false;
        pass();
        for (std::int64_t k = 1; k <= n; ++k) {
            const QPoint p(100 + int(std::floor(punkt(k, 1))), 100 + int(std::floor(punkt(k, 2))));
            const QRect cell(p - QPoint(6, 6), QSize(13, 13));
            QCOMPARE(shapeIn(white, cell), disc5);
        }
        punkte_ = false;
        for (std::int64_t k = 1; k <= n; k += 3) {
            debugpkt = k;
            pass();
            const QPoint p(100 + int(std::floor(punkt(k, 1))), 100 + int(std::floor(punkt(k, 2))));
            QCOMPARE(shapeIn(green, QRect(p - QPoint(7, 7), QSize(15, 15))), disc7);
        }

        // The origin dot, with the axes running off to the right along its middle row.
        debugpkt = 0;
        achsen_ = true;
        basis.clear();
        for (int i = 1; i <= 3; ++i)
            basis(i, 1) = 30;
        origx = 400 + std::int64_t(dx * 10);
        origy = 300;
        pass();
        QCOMPARE(shapeIn(red, QRect(int(origx) - 6, int(origy) - 6, 9, 13)), disc5);
    }

    // A code-0 record moves the pen without drawing; the next one starts there.
    void segmentEndsAndPenUp()
    {
        point(1, 10, 20);
        point(2, 50, 30);
        record(1, 1, 0);
        record(2, 2, 15);
        pass();
        QCOMPARE(at(110, 120), white);
        QCOMPARE(at(150, 130), white);
        QCOMPARE(at(130, 125), white);
        QCOMPARE(at(109, 120), black);
        QCOMPARE(at(151, 130), black);
        QVERIFY(!anyOf(white, QRect(95, 95, 14, 20))); // nothing from the origin to point 1

        // Point number 0 is the origin: a record back to it draws to (100, 100).
        record(3, 0, 2);
        pass();
        QCOMPARE(at(100, 100), qRgb(0, 150, 0));
        QCOMPARE(at(150, 130), qRgb(0, 150, 0)); // drawn over the end of record 2
    }

    // Every entry of the matrix and both coordinates of the origin count, for every
    // kind of mark: points with z != 0 under a matrix whose entries all differ, the
    // origin at (300, 120). Model (10, 4, 8) lands on (324, 97), (-6, 10, -4) on
    // (292, 150).
    void everyEntryOfTheMatrix()
    {
        const double b[4][3] = {{0, 0, 0}, {0, 2, -0.5}, {0, 0.5, 1.5}, {0, 0.25, -3}};
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 2; ++c)
                basis(r, c) = b[r][c];
        origx = 300;
        origy = 120;
        point(1, 10, 4, 8);
        point(2, -6, 10, -4);
        record(1, 1, 0);
        record(2, 2, 10);
        const QRect near1(310, 85, 25, 25), near2(280, 138, 25, 25);
        const QRgb light = qRgb(105, 255, 105);

        punkte_ = true;
        linien_ = false;
        pass();
        QCOMPARE(boxOf(white, near1), QRect(322, 95, 5, 5));
        QCOMPARE(boxOf(white, near2), QRect(290, 148, 5, 5));

        punkte_ = false;
        debugpkt = 1;
        pass();
        QCOMPARE(boxOf(green, near1), QRect(321, 94, 7, 7));

        debugpkt = 0;
        linien_ = true;
        pass();
        QCOMPARE(at(324, 97), light);
        QCOMPARE(at(292, 150), light);
        QCOMPARE(at(323, 96), black);

        linien_ = false;
        debuglinie = 2;
        pass();
        QCOMPARE(at(324, 97), green);
        QCOMPARE(at(292, 150), green);

        // Axes of 100 / 4 model units: x ends on (350, 107.5), y on (312.5, 157.5),
        // z on (306.25, 45).
        debuglinie = 0;
        zoomfaktor = 4;
        achsen_ = true;
        pass();
        QCOMPARE(at(300, 120), red);
        QCOMPARE(at(350, 107), red);
        QCOMPARE(at(312, 157), red);
        QCOMPARE(at(306, 45), red);
    }

    // Drawn beyond the small drawing area, where the marker shows that black draws too.
    void colourTable_data()
    {
        QTest::addColumn<qint64>("code");
        QTest::addColumn<QRgb>("colour");
        const QRgb table[16] = {
            0,
            qRgb(0, 0, 150),
            qRgb(0, 150, 0),
            qRgb(0, 150, 150),
            qRgb(150, 0, 0),
            qRgb(150, 0, 150),
            qRgb(150, 150, 0),
            qRgb(150, 150, 150),
            qRgb(105, 105, 105),
            qRgb(105, 105, 255),
            qRgb(105, 255, 105),
            qRgb(105, 255, 255),
            qRgb(255, 105, 105),
            qRgb(255, 105, 255),
            qRgb(255, 255, 105),
            qRgb(255, 255, 255),
        };
        for (int c = 1; c <= 15; ++c)
            QTest::addRow("code %d", c) << qint64(c) << table[c];
        QTest::newRow("16 black") << qint64(16) << black;
        QTest::newRow("-16 black") << qint64(-16) << black;
        QTest::newRow("256 black") << qint64(256) << black;
        QTest::newRow("-1 as 15") << qint64(-1) << table[15];
        QTest::newRow("17 as 1") << qint64(17) << table[1];
        QTest::newRow("-2 as 14") << qint64(-2) << table[14];
        QTest::newRow("huge negative") << qint64(std::numeric_limits<qint64>::min() + 5) << table[5];
        QTest::newRow("0 moves only") << qint64(0) << marker;
    }
    void colourTable()
    {
        QFETCH(qint64, code);
        QFETCH(QRgb, colour);
        breite = 50;
        hoehe = 50;
        point(1, 40, 0);
        record(1, 1, code);
        pass();
        QCOMPARE(at(100, 100), colour);
        QCOMPARE(at(120, 100), colour);
        QCOMPARE(at(140, 100), colour);
        QCOMPARE(at(120, 99), marker); // a 1 x 1 pen
    }

    void highlightedPoint()
    {
        point(1, 30, 40);
        point(2, -20, 40);
        debugpkt = 1;
        punkte_ = true;
        pass();
        int n = 0;
        QCOMPARE(boxOf(green, QRect(120, 130, 20, 20), &n), QRect(127, 137, 7, 7));
        QCOMPARE(n, 37);
        QVERIFY(!anyOf(white, QRect(125, 135, 11, 11))); // covers the white disc

        // Not compared with anzpkt, and shown with Punkte unticked.
        punkte_ = false;
        debugpkt = 3000;
        point(3000, -50, -50);
        anzpkt = 2;
        pass();
        QCOMPARE(boxOf(green, QRect(40, 40, 20, 20)), QRect(47, 47, 7, 7));
    }

    void highlightedRecord_data()
    {
        QTest::addColumn<qint64>("mark");
        QTest::addColumn<bool>("linien");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        // Record 1 (code 0) runs from the origin to point 1, record 2 from point 1 to 2.
        QTest::newRow("record 1 from the origin, code 0") << qint64(1) << false << QPoint(100, 100) << QPoint(140, 100);
        QTest::newRow("record 2, Linien ticked") << qint64(2) << true << QPoint(140, 100) << QPoint(140, 160);
    }
    void highlightedRecord()
    {
        QFETCH(qint64, mark);
        QFETCH(bool, linien);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        point(1, 40, 0);
        point(2, 40, 60);
        record(1, 1, 0);
        record(2, 2, 15);
        debuglinie = mark;
        linien_ = linien;
        pass();
        const QPoint mid = (from + to) / 2;
        const QPoint across = from.y() == to.y() ? QPoint(0, 1) : QPoint(1, 0);
        QCOMPARE(at(from.x(), from.y()), green);
        QCOMPARE(at(to.x(), to.y()), green);
        QCOMPARE(at(mid.x(), mid.y()), green);
        QCOMPARE(at((mid + across).x(), (mid + across).y()), green);
        QCOMPARE(at((mid - across).x(), (mid - across).y()), green);
        QCOMPARE(at((mid + 2 * across).x(), (mid + 2 * across).y()), black); // 3 pixels wide

        // The next pass draws the pen path with a 1 x 1 pen again.
        debuglinie = 0;
        record(1, 1, 15);
        linien_ = true;
        pass();
        QCOMPARE(at(120, 100), white);
        QCOMPARE(at(120, 99), black);
        QCOMPARE(at(120, 101), black);
    }

    void axesAndLabelsAtStart()
    {
        achsen_ = true;
        Module1::init(); // start view, empty model
        QCOMPARE(repaints_, 1);
        picture = *Module1::zebild;
        // The origin dot, a 5 x 5 disc around (200, 200); no axis runs left or down.
        QCOMPARE(at(198, 200), red);
        QCOMPARE(at(200, 202), red);
        QCOMPARE(at(199, 198), red);
        QCOMPARE(at(198, 198), black);
        QCOMPARE(at(198, 202), black);
        QCOMPARE(at(197, 200), black);
        QCOMPARE(at(200, 203), black);
        // The three axes end at origin + basis row * 100 / zoom; each carries its
        // label to the right of and above its free end, where the axis does not run.
        const double s = 100.0 / 10;
        for (int i = 1; i <= 3; ++i) {
            const int ex = int(std::floor(200 + Module1::basis(i, 1) * s));
            const int ey = int(std::floor(200 + Module1::basis(i, 2) * s));
            QVERIFY2(anyOf(red, QRect(ex - 1, ey - 1, 3, 3)), qPrintable(QStringLiteral("axis %1 end").arg(i)));
            QVERIFY2(reddish(QRect(ex + 1, ey - 16, 14, 15)) >= 4, qPrintable(QStringLiteral("label %1").arg(i)));
        }
        QVERIFY(!anyOf(white, QRect(0, 0, 400, 400)));
    }

    // A small model drawn by the start view: every entry of its matrix counts, z
    // included, and the model origin lies at (200, 200). The pixels are worked out
    // by hand from the start angles and zoom.
    void modelInTheStartView()
    {
        // They land on (256.57, 199.99) and (192.94, 176.57).
        support::loadModel(QStringLiteral("two.qel"), {{4, 4, 0}, {2, -3, 4}}, {});
        punkte_ = true;
        linien_ = false;
        achsen_ = true;
        Module1::init();
        picture = *Module1::zebild;

        int n = 0;
        QCOMPARE(boxOf(white, QRect(245, 188, 25, 25), &n), QRect(255, 198, 5, 5));
        QCOMPARE(n, 21);
        QCOMPARE(boxOf(white, QRect(181, 165, 25, 25), &n), QRect(191, 175, 5, 5));
        QCOMPARE(n, 21);
        // The axes from the origin dot at (200, 200) to their free ends: x to the
        // lower right, y to the upper right, z straight up.
        QCOMPARE(at(200, 200), red);
        QCOMPARE(at(270, 227), red);
        QCOMPARE(at(270, 172), red);
        QCOMPARE(at(200, 108), red);
        QCOMPARE(at(199, 150), black);
    }

    // An axis in the screen plane is 100 pixels long at every zoom.
    void axisLength_data()
    {
        QTest::addColumn<qint64>("zoom");
        QTest::newRow("zoom 1") << qint64(1);
        QTest::newRow("zoom 50") << qint64(50);
        // 100 / zoom is no whole number: only a division in doubles gives 100 pixels.
        QTest::newRow("zoom 3") << qint64(3);
        QTest::newRow("zoom 7") << qint64(7);
    }
    void axisLength()
    {
        QFETCH(qint64, zoom);
        zoomfaktor = zoom;
        basis(1, 1) = 0;
        basis(2, 2) = 0;
        basis(3, 2) = double(zoom); // z straight down, no descender on its label
        achsen_ = true;
        linien_ = false;
        pass();
        QCOMPARE(at(100, 150), red);
        QCOMPARE(at(100, 200), red);
        QCOMPARE(at(100, 202), black);
    }

    // The pen path is drawn band by band; the picture must be the same as drawing
    // its segments one after the other, overlaps in every colour and direction
    // included, and segments partly outside the picture.
    void penPathAsDrawnOneByOne()
    {
        std::mt19937 rng(5);
        std::uniform_real_distribution<double> coord(-400, 2400);
        std::uniform_int_distribution<int> code(-3, 17);
        for (int i = 1; i <= 3000; ++i)
            point(i, coord(rng), coord(rng) / 2);
        point(2999, 5.25, 5.25); // two short ones
        point(3000, 5.75, 777);
        for (int j = 1; j <= 3000; ++j)
            record(j, 1 + (j * 7) % 3000, code(rng));
        record(2999, 2999, 1);
        record(3000, 3000, 2);
        basis(1, 1) = 1.25;
        basis(2, 1) = -0.5;
        basis(2, 2) = 1;
        origx = 37;
        origy = -20;
        breite = 1424;
        hoehe = 865;
        pass();

        QImage expected(pictureWidth, pictureHeight, QImage::Format_RGB32);
        expected.fill(marker);
        raster::Raster g(expected);
        g.setForeColor(0, 0, 0);
        g.fillRect(0, 0, 1424, 865);
        std::int64_t pen = 0;
        const auto sx = [this](std::int64_t n) {
            return (punkt(n, 1) * basis(1, 1) + punkt(n, 2) * basis(2, 1)) + punkt(n, 3) * basis(3, 1);
        };
        const auto sy = [this](std::int64_t n) {
            return (punkt(n, 1) * basis(1, 2) + punkt(n, 2) * basis(2, 2)) + punkt(n, 3) * basis(3, 2);
        };
        for (int j = 1; j <= 3000; ++j) {
            const std::int64_t q = linie(j, 1), c = linie(j, 2);
            if (c != 0) {
                const int i = c & 8 ? 105 : 0;
                g.setForeColor((c & 4 ? 150 : 0) + i, (c & 2 ? 150 : 0) + i, (c & 1 ? 150 : 0) + i);
                g.drawLine(37 + sx(pen), -20 + sy(pen), 37 + sx(q), -20 + sy(q));
            }
            pen = q;
        }
        QVERIFY(picture == expected);
    }

    // zeichnen: each box is read when its step begins, and the repaint request
    // comes last.
    void boxesReadWhenTheirStepBegins()
    {
        point(1, 40, 0);
        record(1, 1, 15);
        debugpkt = 1;
        debuglinie = 1;
        toSharedState();
        const auto live = [](int x, int y) { return Module1::zebild->pixel(x, y); };
        auto& h = Module1::hooks();
        h.punkteShown = [&] {
            calls_ << QStringLiteral("punkte, cleared %1").arg(int(live(5, 5) == black));
            return true;
        };
        h.linienShown = [&] {
            calls_ << QStringLiteral("linien, point %1").arg(int(live(140, 100) == green));
            return true;
        };
        h.achsenShown = [&] {
            calls_ << QStringLiteral("achsen, record %1").arg(int(live(120, 99) == green));
            return true;
        };
        h.invalidateCanvas = [&] { calls_ << QStringLiteral("invalidate, axes %1").arg(int(live(100, 100) == red)); };
        Module1::zeichnen();
        QCOMPARE(calls_,
                 (QStringList{"punkte, cleared 1", "linien, point 1", "achsen, record 1", "invalidate, axes 1"}));
    }

    // zeichnen draws the shared state and asks for a repaint only after a pass that
    // ended well; a faulty record is told by the name of the model read last.
    void repaintOnlyAfterASoundPass()
    {
        datname = QStringLiteral("far.qel");
        point(1, 40, 0);
        record(1, 1, 15);
        record(2, 3001, 15);
        toSharedState();
        try {
            Module1::zeichnen();
            QFAIL("the pass raised no error");
        } catch (const toolkit::OutOfBoundsException& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Line record 2 of \"far.qel\" names point 3001, but point numbers run from 0 to "
                                    "3000. The drawing stops at that record; the model is loaded."));
        }
        QCOMPARE(repaints_, 0);
        QCOMPARE(Module1::zebild->pixel(120, 100), white); // drawn up to the faulty record

        Module1::linie(2, 1) = 0;
        Module1::zeichnen();
        QCOMPARE(repaints_, 1);
        QCOMPARE(Module1::zebild->pixel(120, 100), white);
        QCOMPARE(Module1::zebild->pixel(100, 100), white); // the way back to the origin
    }

    // Marks far outside or not finite never hang or crash a pass; a segment to a far
    // point is clipped and still drawn up to the picture's edge.
    void extremeCoordinates_data()
    {
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double big = std::numeric_limits<double>::max();
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("z");
        QTest::addColumn<bool>("rowToRightEdge");
        QTest::newRow("1e300 right") << 1e300 << 0.0 << 0.0 << true;
        QTest::newRow("largest double right") << big << 0.0 << 0.0 << true;
        QTest::newRow("-1e300, 1e300") << -1e300 << 1e300 << 0.0 << false;
        QTest::newRow("both largest") << big << -big << 0.0 << false;
        QTest::newRow("infinite x") << inf << 0.0 << 0.0 << false;
        QTest::newRow("infinite z times 0") << 0.0 << 0.0 << inf << false;
        QTest::newRow("nan") << nan << 5.0 << 0.0 << false;
    }
    void extremeCoordinates()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, z);
        QFETCH(bool, rowToRightEdge);
        point(1, 40, 0);
        point(2, x, y, z);
        point(3, 0, 50);
        point(4, 40, 50);
        record(1, 1, 15); // (100,100)-(140,100)
        record(2, 2, 15); // to the far point
        record(3, 3, 15); // back
        record(4, 4, 13); // (100,150)-(140,150)
        point(5, -x, -y, z);
        record(5, 2, 15);
        record(6, 5, 12); // from the far point to its mirror image
        punkte_ = achsen_ = true;
        debugpkt = 2;
        pass();
        QCOMPARE(at(120, 150), qRgb(255, 105, 255));
        if (rowToRightEdge) { // record 6 runs along the whole row
            QCOMPARE(at(0, 100), qRgb(255, 105, 105));
            QCOMPARE(at(pictureWidth - 1, 100), qRgb(255, 105, 105));
        } else {
            QCOMPARE(at(120, 100), white);
        }

        debuglinie = 2; // the highlight runs to the far point as well
        pass();
        if (rowToRightEdge) {
            QCOMPARE(at(1500, 99), green);
            QCOMPARE(at(pictureWidth - 1, 101), green);
        }
    }

    // An origin at either end of the integer range: the pass finishes, with no
    // overflow, and draws only what reaches the picture. Point 1 lies far out on the
    // line y = -x; the highlighted record from the origin to it touches the
    // picture's corner only when the origin lies on that line too.
    void extremeOrigin_data()
    {
        const qint64 lo = std::numeric_limits<qint64>::min();
        const qint64 hi = std::numeric_limits<qint64>::max();
        QTest::addColumn<qint64>("x");
        QTest::addColumn<qint64>("y");
        QTest::addColumn<qint64>("zoom");
        QTest::addColumn<QList<QPoint>>("greenPixels");
        QTest::newRow("lowest x, highest y") << lo << hi << qint64(10) << QList<QPoint>{{0, 0}, {1, 0}, {0, 1}};
        QTest::newRow("highest x, lowest y") << hi << lo << qint64(10) << QList<QPoint>{};
        QTest::newRow("lowest x and y") << lo << lo << qint64(10) << QList<QPoint>{};
        // Below the zoom's invariant: the axes are infinite and skipped.
        QTest::newRow("zoom 0") << lo << lo << qint64(0) << QList<QPoint>{};
    }
    void extremeOrigin()
    {
        QFETCH(qint64, x);
        QFETCH(qint64, y);
        QFETCH(qint64, zoom);
        QFETCH(QList<QPoint>, greenPixels);
        point(1, 1e300, -1e300);
        record(1, 1, 15);
        punkte_ = achsen_ = true;
        debugpkt = 1;
        debuglinie = 1;
        origx = x;
        origy = y;
        zoomfaktor = zoom;
        pass();
        const QRect area(0, 0, int(breite), int(hoehe));
        for (int py = 0; py < pictureHeight; ++py)
            for (int px = 0; px < pictureWidth; ++px) {
                const QRgb expected = !area.contains(px, py) ? marker
                    : greenPixels.contains(QPoint(px, py))   ? green
                                                             : black;
                if (at(px, py) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3").arg(px).arg(py).arg(at(px, py), 0, 16)));
            }
    }

    // A point number outside the table or a highlight mark above it ends the pass
    // with an out-of-bounds error: what was drawn stays and nothing later is drawn.
    // The next sound pass draws as usual. A record's fault is told in the model's
    // terms: which record names which point, and what is allowed.
    void outsideTheTables_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("firstSegmentDrawn");
        QTest::addColumn<QString>("message");
        const QString names = QStringLiteral("Line record %1 of \"m.qel\" names point %2, but point numbers run "
                                             "from 0 to 3000. The drawing stops at that record; the model is loaded.");
        QTest::newRow("record to point 3001") << 0 << true << names.arg(2).arg(3001);
        QTest::newRow("record to point -1") << 1 << true << names.arg(2).arg(-1);
        QTest::newRow("pen-up record to point 3001") << 2 << true << names.arg(2).arg(3001);
        QTest::newRow("highlighted record after a bad one") << 3 << false << names.arg(2).arg(-1);
        QTest::newRow("highlighted record to a bad point") << 9 << false << names.arg(2).arg(3001);
        const QString record3001 = QStringLiteral("Out of bounds: linie(3001, 1) lies outside (0..3000, 0..2)");
        const QString pointRow = QStringLiteral("Out of bounds: row 3001 of punkt lies outside 0..3000");
        QTest::newRow("highlighted record 3001") << 4 << false << record3001;
        QTest::newRow("highlighted record 3002") << 5 << false << record3001;
        QTest::newRow("highlighted point 3001") << 6 << false << pointRow;
        QTest::newRow("point count above capacity") << 7 << false << pointRow;
        QTest::newRow("record count above capacity")
            << 8 << true << QStringLiteral("Out of bounds: row 3001 of linie lies outside 0..3000");
    }
    void outsideTheTables()
    {
        QFETCH(int, fault);
        QFETCH(bool, firstSegmentDrawn);
        QFETCH(QString, message);
        datname = QStringLiteral("m.qel");
        point(1, 40, 0);
        point(2, 40, 60);
        record(1, 1, 15);
        record(3, 2, 15);
        achsen_ = true;
        switch (fault) {
        case 0:
            record(2, 3001, 15);
            break;
        case 1:
            record(2, -1, 15);
            break;
        case 2:
            record(2, 3001, 0);
            break;
        case 3:
            record(2, -1, 15);
            linien_ = false;
            debuglinie = 3;
            break;
        case 4:
            debuglinie = 3001;
            linien_ = false;
            break;
        case 5:
            debuglinie = 3002;
            linien_ = false;
            break;
        case 6:
            debugpkt = 3001;
            linien_ = false;
            break;
        case 7:
            anzpkt = 3001;
            punkte_ = true;
            linien_ = false;
            break;
        case 8:
            record(2, 2, 15);
            anzlin = 3001;
            break;
        case 9:
            record(2, 3001, 15);
            linien_ = false;
            debuglinie = 2;
            break;
        }
        try {
            pass();
            QFAIL("the pass raised no error");
        } catch (const toolkit::OutOfBoundsException& e) {
            QCOMPARE(QString::fromUtf8(e.what()), message);
        }
        QCOMPARE(at(120, 100) == white, firstSegmentDrawn);
        QVERIFY(!anyOf(green, QRect(90, 90, 60, 80)));
        QVERIFY(!anyOf(red, QRect(90, 90, 60, 80)));

        record(2, 2, 15);
        anzlin = 3;
        anzpkt = 2;
        debugpkt = 0;
        debuglinie = 0;
        linien_ = true;
        punkte_ = false;
        pass();
        QCOMPARE(at(120, 100), white);
        QCOMPARE(at(120, 101), black); // the pen is 1 x 1
        QCOMPARE(at(140, 130), white);
        QCOMPARE(at(100, 100), red);
    }

    // Without a picture a pass fails before it asks for a box or draws anything.
    void withoutAPicture()
    {
        Module1::zebild.reset();
        QVERIFY_THROWS_EXCEPTION(toolkit::NilObjectException, Module1::zeichnen());
        picture = QImage();
        QVERIFY_THROWS_EXCEPTION(toolkit::NilObjectException, pass());
        QVERIFY(calls_.isEmpty());
    }
};

QTEST_MAIN(TestRenderer)
#include "test_renderer.moc"
