// The start view (init) and the projection matrix (rotation2).
#include "model/module1.h"
#include "tests/support/seams.h"

#include <QStringList>
#include <QtTest>

#include <cmath>

using namespace Module1;

class TestView : public QObject {
    Q_OBJECT

    QStringList log_;

private slots:
    void init()
    {
        log_.clear();
        hooks().setZoomText = [this](const QString& t) { log_ << "zoom:" + t; };
        hooks().punkteShown = [this] {
            // The matrix must be ready when the first render reads a box.
            log_ << QStringLiteral("render basis11=%1").arg(int(basis(1, 1) != 0.0));
            return false;
        };
        hooks().invalidateCanvas = [this] { log_ << "invalidate"; };
    }
    void cleanup() { support::resetSeams(); }

    void startViewMatrix()
    {
        Module1::init();
        QCOMPARE(rotwinkel(1), 0.3925);
        QCOMPARE(rotwinkel(3), -0.785);
        QCOMPARE(rotwinkel(0), 0.0);
        QCOMPARE(rotwinkel(2), 0.0);

        const struct {
            int r, c;
            double v;
        } expected[] = {
            {1, 1, 7.073883}, {1, 2, 2.703603}, {2, 1, 7.068252}, {2, 2, -2.705757}, {3, 2, -9.239557},
        };
        for (const auto& e : expected)
            QVERIFY2(
                std::abs(basis(e.r, e.c) - e.v) < 5e-7,
                qPrintable(QStringLiteral("basis(%1,%2) = %3").arg(e.r).arg(e.c).arg(basis(e.r, e.c), 0, 'g', 17)));
        QCOMPARE(basis(3, 1), 0.0);
        for (int r = 0; r <= 3; ++r)
            QCOMPARE(basis(r, 0), 0.0);
        for (int c = 0; c <= 2; ++c)
            QCOMPARE(basis(0, c), 0.0);

        // (1, 0, 0) and (0, 0, 1) on screen.
        QVERIFY(std::abs((basis(1, 1) + double(origx)) - 207.073883) < 5e-7);
        QVERIFY(std::abs((basis(1, 2) + double(origy)) - 202.703603) < 5e-7);
        QCOMPARE(basis(3, 1) + double(origx), 200.0);
        QVERIFY(std::abs((basis(3, 2) + double(origy)) - 190.760443) < 5e-7);
    }

    void initOrderAndEffects()
    {
        zoomfaktor = 37;
        Module1::init();
        QVERIFY(zebild);
        QCOMPARE(zebild->size(), QSize(2000, 1000));
        // Zoom text first, then one render with the matrix in place, repaint last.
        QCOMPARE(log_, (QStringList{"zoom:37", "render basis11=1", "invalidate"}));
        QCOMPARE(zoomfaktor, std::int64_t(37));
        QCOMPARE(origx, std::int64_t(200));
        QCOMPARE(origy, std::int64_t(200));
        QCOMPARE(breite, std::int64_t(400));
        QCOMPARE(hoehe, std::int64_t(400));
    }

    // The matrix is a chain of rounded products in a fixed order: m = (-sin phi) * s is rounded
    // first and then multiplied by sin/cos theta. At zoom 3 the other grouping
    // differs in the last bit.
    void lastBitOrder_data()
    {
        QTest::addColumn<double>("tilt");
        QTest::addColumn<double>("turn");
        QTest::addColumn<qint64>("zoom");
        QTest::newRow("start zoom 3") << 0.3925 << -0.785 << qint64(3);
        QTest::newRow("start zoom 10") << 0.3925 << -0.785 << qint64(10);
        QTest::newRow("start zoom 13") << 0.3925 << -0.785 << qint64(13);
        QTest::newRow("upside down") << 2.5 << 7.0 << qint64(23);
        QTest::newRow("huge angles") << 1e10 << -3e12 << qint64(11);
    }
    void lastBitOrder()
    {
        QFETCH(double, tilt);
        QFETCH(double, turn);
        QFETCH(qint64, zoom);
        rotwinkel(1) = tilt;
        rotwinkel(3) = turn;
        zoomfaktor = zoom;
        rotation2();
        const double s = double(zoom);
        const double m = (-std::sin(tilt)) * s;
        QCOMPARE(basis(1, 1), std::cos(turn) * s);
        QCOMPARE(basis(1, 2), std::sin(turn) * m);
        QCOMPARE(basis(2, 1), (-std::sin(turn)) * s);
        QCOMPARE(basis(2, 2), std::cos(turn) * m);
        QCOMPARE(basis(3, 1), 0.0);
        QCOMPARE(basis(3, 2), (-std::cos(tilt)) * s);
    }

    void zoomOneAndDoubling_data()
    {
        QTest::addColumn<double>("tilt");
        QTest::addColumn<double>("turn");
        QTest::newRow("start") << 0.3925 << -0.785;
        QTest::newRow("beyond half pi") << 1.9 << 0.4;
        QTest::newRow("negative") << -0.7 << -5.25;
    }
    void zoomOneAndDoubling()
    {
        QFETCH(double, tilt);
        QFETCH(double, turn);
        rotwinkel(1) = tilt;
        rotwinkel(3) = turn;
        zoomfaktor = 1;
        rotation2();
        QCOMPARE(basis(1, 1), std::cos(turn));
        QCOMPARE(basis(1, 2), std::sin(turn) * -std::sin(tilt));
        QCOMPARE(basis(2, 1), -std::sin(turn));
        QCOMPARE(basis(2, 2), std::cos(turn) * -std::sin(tilt));
        QCOMPARE(basis(3, 1), 0.0);
        QCOMPARE(basis(3, 2), -std::cos(tilt));

        for (std::int64_t z : {1, 3, 10, 77}) {
            zoomfaktor = z;
            rotation2();
            double single[4][3];
            for (int r = 1; r <= 3; ++r)
                for (int c = 1; c <= 2; ++c)
                    single[r][c] = basis(r, c);
            zoomfaktor = 2 * z;
            rotation2();
            for (int r = 1; r <= 3; ++r)
                for (int c = 1; c <= 2; ++c)
                    QCOMPARE(basis(r, c), 2 * single[r][c]);
        }
    }
};

QTEST_MAIN(TestView)
#include "test_view.moc"
