// The raster on its own: a segment clipped to a box, the pixels of a line (its end
// pixels, one pixel per column or row, the 3 x 3 pen), and the fixed shapes of the
// small discs wherever their box falls.
//
// Pictures are compared as text, one string a row: '#' where the raster drew, '.'
// where the paper shows.
#include "raster/raster.h"

#include <QLineF>
#include <QStringList>
#include <QtTest>

#include <cmath>
#include <limits>
#include <random>

using raster::Raster;

namespace {

const QRgb paper = qRgb(1, 2, 3);
const QRgb ink = qRgb(255, 255, 255);

QImage blank(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(paper);
    return picture;
}

// The raster on that picture, drawing in ink with a pen of that size.
Raster inkOn(QImage& picture, int pen = 1)
{
    Raster g(picture);
    g.setForeColor(qRed(ink), qGreen(ink), qBlue(ink));
    g.setPenWidth(pen);
    g.setPenHeight(pen);
    return g;
}

bool drawn(const QImage& picture, int x, int y) { return picture.pixel(x, y) != paper; }

QStringList art(const QImage& picture)
{
    QStringList rows;
    for (int y = 0; y < picture.height(); ++y) {
        QString row;
        for (int x = 0; x < picture.width(); ++x)
            row += drawn(picture, x, y) ? QLatin1Char('#') : QLatin1Char('.');
        rows << row;
    }
    return rows;
}

// A width x height picture with `shape` placed with its top-left corner at (left,
// top), whatever of it falls inside.
QStringList placed(const QStringList& shape, int width, int height, int left, int top)
{
    QStringList rows(height, QString(width, QLatin1Char('.')));
    for (int r = 0; r < shape.size(); ++r)
        for (int c = 0; c < shape[r].size(); ++c) {
            const int x = left + c, y = top + r;
            if (shape[r][c] == QLatin1Char('#') && x >= 0 && x < width && y >= 0 && y < height)
                rows[y][x] = QLatin1Char('#');
        }
    return rows;
}

QStringList thinLine(int width, int height, QLineF line)
{
    QImage picture = blank(width, height);
    inkOn(picture).drawLine(line.x1(), line.y1(), line.x2(), line.y2());
    return art(picture);
}

const double inf = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();
const double big = std::numeric_limits<double>::max();

} // namespace

class TestRaster : public QObject {
    Q_OBJECT

private slots:
    // The segment clipped to the closed box [0, 10] x [0, 10]: ends inside keep their
    // exact values, ends far outside land exactly on the edge they cross, and
    // whatever misses the box is refused.
    void clipSegment_data()
    {
        QTest::addColumn<QLineF>("in");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<QLineF>("out");
        QTest::newRow("inside") << QLineF(0.1, 0.2, 9.3, 4.7) << true << QLineF(0.1, 0.2, 9.3, 4.7);
        QTest::newRow("on the edges") << QLineF(0, 10, 10, 0) << true << QLineF(0, 10, 10, 0);
        QTest::newRow("far ends, across") << QLineF(-1e300, 3.25, 1e300, 3.25) << true << QLineF(0, 3.25, 10, 3.25);
        QTest::newRow("far ends, down and reversed")
            << QLineF(6.5, 1e300, 6.5, -1e300) << true << QLineF(6.5, 10, 6.5, 0);
        QTest::newRow("the largest doubles") << QLineF(-big, 2, big, 2) << true << QLineF(0, 2, 10, 2);
        QTest::newRow("one far end, slanted") << QLineF(5, 5, 1e300, 2e300) << true << QLineF(5, 5, 7.5, 10);
        QTest::newRow("misses the box") << QLineF(-5, -5, -1, 20) << false << QLineF();
        QTest::newRow("parallel, just outside") << QLineF(-1e300, 10.5, 1e300, 10.5) << false << QLineF();
        QTest::newRow("stops short of the box") << QLineF(-20, 5, -0.5, 5) << false << QLineF();
        QTest::newRow("one end inside, one far") << QLineF(5, 5, 5, 1e300) << true << QLineF(5, 5, 5, 10);
        // Only inside the box: at this scale the crossing point is not exact.
        QTest::newRow("far ends, slanted") << QLineF(-1e300, -1e300, 1e300, 1e300) << true << QLineF();
        // A span too small for a slope: the crossing comes from the line parameter.
        QTest::newRow("subnormal run, on the edge") << QLineF(0, 5, -4e-320, 1e300) << true << QLineF(0, 5, 0, 5);
        QTest::newRow("subnormal run, across") << QLineF(-4e-320, -1e300, 4e-320, 1e300) << true << QLineF(0, 0, 0, 10);
        // A coordinate that is not finite, in every place.
        const char* names[] = {"x1", "y1", "x2", "y2"};
        const struct {
            const char* name;
            double value;
        } odd[] = {{"inf", inf}, {"-inf", -inf}, {"nan", notANumber}};
        for (int place = 0; place < 4; ++place)
            for (const auto& v : odd) {
                double c[4] = {1, 2, 8, 9};
                c[place] = v.value;
                QTest::addRow("%s = %s", names[place], v.name) << QLineF(c[0], c[1], c[2], c[3]) << false << QLineF();
            }
    }
    void clipSegment()
    {
        QFETCH(QLineF, in);
        QFETCH(bool, kept);
        QFETCH(QLineF, out);
        double x1 = in.x1(), y1 = in.y1(), x2 = in.x2(), y2 = in.y2();
        QCOMPARE(raster::clipSegment(x1, y1, x2, y2, 0, 10, 0, 10), kept);
        if (!kept)
            return;
        for (double v : {x1, y1, x2, y2})
            QVERIFY(v >= 0 && v <= 10);
        if (out.isNull())
            return;
        QCOMPARE(x1, out.x1());
        QCOMPARE(y1, out.y1());
        QCOMPARE(x2, out.x2());
        QCOMPARE(y2, out.y2());
    }

    // A mark with a coordinate that is not finite draws nothing, whatever the pen.
    void nonFiniteMarksDrawNothing_data()
    {
        QTest::addColumn<QString>("mark");
        for (const char* mark : {"line", "line, 3 x 3 pen", "queued line", "disc", "rectangle"})
            QTest::newRow(mark) << QString::fromLatin1(mark);
    }
    void nonFiniteMarksDrawNothing()
    {
        QFETCH(QString, mark);
        for (int place = 0; place < 4; ++place)
            for (double v : {inf, -inf, notANumber}) {
                QImage picture = blank(12, 8);
                Raster g = inkOn(picture, mark == "line, 3 x 3 pen" ? 3 : 1);
                double c[4] = {1.5, 1.5, 6.5, 5.5};
                c[place] = v;
                if (mark == "disc")
                    g.fillOval(c[0], c[1], c[2], c[3]);
                else if (mark == "rectangle")
                    g.fillRect(c[0], c[1], c[2], c[3]);
                else if (mark == "queued line") {
                    g.queueLine(c[0], c[1], c[2], c[3]);
                    g.flushLines();
                } else
                    g.drawLine(c[0], c[1], c[2], c[3]);
                QVERIFY2(!art(picture).join(QString()).contains(QLatin1Char('#')),
                         qPrintable(QStringLiteral("coordinate %1 = %2").arg(place).arg(v)));
            }
    }

    // Lines with a 1 x 1 pen on an 8 x 5 picture: the pixel under each end and one
    // pixel per column (or row, when steep) between them; ends outside are clipped
    // to the picture's far edges, and a line along an edge is drawn.
    void lines_data()
    {
        QTest::addColumn<QLineF>("line");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("shallow") << QLineF(0.5, 0.5, 4.5, 2.5)
                                 << QStringList{"#.......", ".##.....", "...##...", "........", "........"};
        QTest::newRow("steep") << QLineF(1.5, 0.5, 2.5, 4.5)
                               << QStringList{".#......", ".#......", "..#.....", "..#.....", "..#....."};
        QTest::newRow("both ends in one pixel")
            << QLineF(3.2, 1.7, 3.9, 1.1) << QStringList{"........", "...#....", "........", "........", "........"};
        QTest::newRow("end on the far edge")
            << QLineF(2.5, 1.5, 8.0, 1.5) << QStringList{"........", "..######", "........", "........", "........"};
        QTest::newRow("far ends, across") << QLineF(-1e300, 2.5, 1e300, 2.5)
                                          << QStringList{"........", "........", "########", "........", "........"};
        QTest::newRow("far ends, down") << QLineF(3.5, 1e300, 3.5, -1e300)
                                        << QStringList{"...#....", "...#....", "...#....", "...#....", "...#...."};
        QTest::newRow("the largest doubles")
            << QLineF(-big, 0.5, big, 0.5) << QStringList{"########", "........", "........", "........", "........"};
        QTest::newRow("one far end, slanted")
            << QLineF(0.5, 0.5, 1e300, 5e299)
            << QStringList{"#.......", ".##.....", "...##...", ".....##.", ".......#"};
        QTest::newRow("past the picture")
            << QLineF(-3, 6, 12, 5.5) << QStringList{"........", "........", "........", "........", "........"};
        // Lying exactly on an edge of the picture, the first and the last coordinate
        // inside it.
        QTest::newRow("on the top edge") << QLineF(0.5, 0, 6.5, 0)
                                         << QStringList{"#######.", "........", "........", "........", "........"};
        QTest::newRow("on the left edge")
            << QLineF(0, 4.5, 0, 1.5) << QStringList{"........", "#.......", "#.......", "#.......", "#......."};
        QTest::newRow("on the bottom edge") << QLineF(1.5, std::nextafter(5.0, 0.0), 8, std::nextafter(5.0, 0.0))
                                            << QStringList{"........", "........", "........", "........", ".#######"};
        QTest::newRow("on the right edge") << QLineF(std::nextafter(8.0, 0.0), 0.5, std::nextafter(8.0, 0.0), 2.5)
                                           << QStringList{".......#", ".......#", ".......#", "........", "........"};
    }
    void lines()
    {
        QFETCH(QLineF, line);
        QFETCH(QStringList, expected);
        QCOMPARE(thinLine(8, 5, line), expected);
    }

    // Every line inside a picture: both end pixels, exactly one pixel for each
    // column (row) from end to end, each next to the one before; the same pixels
    // drawn in either direction, and queued lines drawn band by band give the same
    // picture as drawing them one by one.
    void everyLineJoinsItsEndPixels()
    {
        const int width = 90, height = 150; // taller than one band of queued lines
        std::mt19937 rng(11);
        std::uniform_real_distribution<double> x(0, width), y(0, height);
        std::uniform_int_distribution<int> corner(0, 3);
        QImage queued = blank(width, height);
        QImage oneByOne = blank(width, height);
        Raster q = inkOn(queued);
        Raster o = inkOn(oneByOne);
        for (int n = 0; n < 400; ++n) {
            // Every fourth end sits exactly on a pixel corner.
            double x1 = x(rng), y1 = y(rng), x2 = x(rng), y2 = y(rng);
            if (corner(rng) == 0) {
                x1 = std::floor(x1);
                y2 = std::floor(y2);
            }
            const QString name = QStringLiteral("(%1, %2)-(%3, %4)").arg(x1).arg(y1).arg(x2).arg(y2);
            QImage forward = blank(width, height);
            inkOn(forward).drawLine(x1, y1, x2, y2);
            QImage backward = blank(width, height);
            inkOn(backward).drawLine(x2, y2, x1, y1);
            QVERIFY2(forward == backward, qPrintable(name));

            const int ax = int(std::floor(x1)), ay = int(std::floor(y1));
            const int bx = int(std::floor(x2)), by = int(std::floor(y2));
            QVERIFY2(drawn(forward, ax, ay) && drawn(forward, bx, by), qPrintable(name));
            const bool steep = std::abs(by - ay) > std::abs(bx - ax);
            const int from = steep ? std::min(ay, by) : std::min(ax, bx);
            const int to = steep ? std::max(ay, by) : std::max(ax, bx);
            int count = 0, previous = -1;
            for (int major = 0; major < (steep ? height : width); ++major) {
                QList<int> hits;
                for (int minor = 0; minor < (steep ? width : height); ++minor)
                    if (steep ? drawn(forward, minor, major) : drawn(forward, major, minor))
                        hits << minor;
                count += int(hits.size());
                if (major < from || major > to) {
                    QVERIFY2(hits.isEmpty(), qPrintable(name));
                    continue;
                }
                QVERIFY2(hits.size() == 1, qPrintable(name));
                QVERIFY2(previous < 0 || std::abs(hits[0] - previous) <= 1, qPrintable(name));
                previous = hits[0];
            }
            QCOMPARE(count, to - from + 1);

            q.setForeColor(n % 256, 7, 200);
            o.setForeColor(n % 256, 7, 200);
            q.queueLine(x1, y1, x2, y2);
            o.drawLine(x1, y1, x2, y2);
        }
        q.flushLines();
        QVERIFY(queued == oneByOne);
    }

    // A 3 x 3 pen stamps a 3 x 3 block centred on every pixel of the 1 x 1 path, so
    // a path one pixel outside the picture still reaches its edge. The reference is
    // the 1 x 1 path drawn on a picture one pixel larger on every side, widened by
    // one pixel each way and cut back.
    void penThreeByThree_data()
    {
        QTest::addColumn<QLineF>("line");
        QTest::addColumn<QStringList>("expected"); // empty: only the reference
        QTest::newRow("shallow") << QLineF(0.5, 0.5, 4.5, 2.5)
                                 << QStringList{"####....", "######..", "######..", "..####..", "........"};
        QTest::newRow("a single pixel") << QLineF(5.25, 2.75, 5.5, 2.5)
                                        << QStringList{"........", "....###.", "....###.", "....###.", "........"};
        QTest::newRow("steep") << QLineF(1.25, 4.75, 3.5, 0.25) << QStringList();
        QTest::newRow("along the top row") << QLineF(0.5, 0.5, 7.5, 0.5) << QStringList();
        QTest::newRow("a row above the picture")
            << QLineF(1.5, -0.5, 6.5, -0.25) << QStringList{"########", "........", "........", "........", "........"};
        QTest::newRow("a column right of the picture") << QLineF(8.5, -2, 8.75, 9) << QStringList();
        QTest::newRow("the corner pixel outside")
            << QLineF(-0.5, -0.5, -0.25, -0.75)
            << QStringList{"#.......", "........", "........", "........", "........"};
        QTest::newRow("two rows below the picture")
            << QLineF(-5, 6.5, 14, 6.25) << QStringList{"........", "........", "........", "........", "........"};
    }
    void penThreeByThree()
    {
        QFETCH(QLineF, line);
        QFETCH(QStringList, expected);
        const int width = 8, height = 5;
        QImage picture = blank(width, height);
        inkOn(picture, 3).drawLine(line.x1(), line.y1(), line.x2(), line.y2());

        const QStringList path = thinLine(width + 2, height + 2, line.translated(1, 1));
        QStringList reference(height, QString(width, QLatin1Char('.')));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int dy = 0; dy <= 2; ++dy)
                    for (int dx = 0; dx <= 2; ++dx)
                        if (path[y + dy][x + dx] == QLatin1Char('#'))
                            reference[y][x] = QLatin1Char('#');
        QCOMPARE(art(picture), reference);
        if (!expected.isEmpty())
            QCOMPARE(art(picture), expected);
    }

    // A disc of a size always has the same pixels: its box's corner snaps to the
    // nearest pixel corner, so every box whose corner lies within half a pixel of
    // (10, 6) gives the disc at (10, 6), and half a pixel further the next one.
    // Near the picture's corners only the part inside is drawn.
    void discs_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QStringList>("shape");
        QTest::newRow("5 x 5") << 5 << QStringList{".###.", "#####", "#####", "#####", ".###."};
        QTest::newRow("7 x 7") << 7 << QStringList{"..###..", ".#####.", "#######", "#######",
                                                   "#######", ".#####.", "..###.."};
    }
    void discs()
    {
        QFETCH(int, size);
        QFETCH(QStringList, shape);
        const int width = 24, height = 20;
        int inked = 0;
        for (const QString& row : shape)
            inked += int(row.count(QLatin1Char('#')));
        QCOMPARE(inked, size == 5 ? 21 : 37);

        for (int i = -8; i <= 8; ++i)
            for (int j = -8; j <= 8; ++j) {
                const double dx = i / 16.0, dy = j / 16.0; // from -0.5 to +0.5
                QImage picture = blank(width, height);
                inkOn(picture).fillOval(10 + dx, 6 + dy, size, size);
                const int left = i == 8 ? 11 : 10, top = j == 8 ? 7 : 6;
                QVERIFY2(art(picture) == placed(shape, width, height, left, top),
                         qPrintable(QStringLiteral("offset (%1, %2)").arg(dx).arg(dy)));
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x)
                        QVERIFY(!drawn(picture, x, y) || picture.pixel(x, y) == ink);
            }

        // Cut by each corner of the picture.
        const QPoint corners[] = {{-2, -3}, {width - 3, -1}, {-4, height - 2}, {width - 2, height - 4}};
        for (QPoint c : corners) {
            QImage picture = blank(width, height);
            inkOn(picture).fillOval(c.x() + 0.3, c.y() - 0.2, size, size);
            QVERIFY2(art(picture) == placed(shape, width, height, c.x(), c.y()),
                     qPrintable(QStringLiteral("corner at (%1, %2)").arg(c.x()).arg(c.y())));
        }
    }
};

QTEST_MAIN(TestRaster)
#include "test_raster.moc"
