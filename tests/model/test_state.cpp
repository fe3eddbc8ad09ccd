// The shared state: start values, the bounds test of every table access, resetState.
#include "model/module1.h"
#include "tests/support/seams.h"

#include <QTest>

#include <functional>
#include <map>
#include <utility>

using namespace Module1;

namespace {

// Every element of a table is 0; fails on the first one that is not.
template <typename Table>
bool allZero(const Table& t)
{
    for (std::int64_t r = 0; r <= Table::lastRow; ++r)
        for (std::int64_t c = 0; c <= Table::lastCol; ++c)
            if (t(r, c) != 0)
                return false;
    return true;
}

void dirtyEverything()
{
    anzlin = 5;
    anzpkt = 6;
    basis(3, 2) = 1.5;
    breite = 900;
    datname = QStringLiteral("other.qel");
    debuglinie = 2;
    debugpkt = 3;
    hoehe = 700;
    htmlsave = true;
    javasave = true;
    linie(3000, 2) = 15;
    linie(1, 1) = 7;
    mausx = 11;
    mausy = 12;
    origx = -40;
    origy = 4000;
    punkt(3000, 3) = -2.5;
    punkt(1, 1) = 1.0;
    rotwinkel(1) = 0.3925;
    rotwinkel(3) = -0.785;
    zebild = std::make_unique<QImage>(8, 8, QImage::Format_RGB32);
    zoomfaktor = 99;
}

} // namespace

class TestState : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { support::resetSeams(); }

    void startValues();
    void resetStateRestoresStartValues();
    void tableAccessIsBoundsChecked_data();
    void tableAccessIsBoundsChecked();

private:
    void checkStartValues();
};

void TestState::checkStartValues()
{
    QCOMPARE(anzlin, 0);
    QCOMPARE(anzpkt, 0);
    QVERIFY(allZero(basis));
    QCOMPARE(breite, 400);
    QCOMPARE(datname, QStringLiteral("3D"));
    QCOMPARE(debuglinie, 0);
    QCOMPARE(debugpkt, 0);
    QCOMPARE(hoehe, 400);
    QCOMPARE(htmlsave, false);
    QCOMPARE(javasave, false);
    QVERIFY(allZero(linie));
    QCOMPARE(mausx, 0);
    QCOMPARE(mausy, 0);
    QCOMPARE(origx, 200);
    QCOMPARE(origy, 200);
    QVERIFY(allZero(punkt));
    for (int i = 0; i <= 3; ++i)
        QCOMPARE(rotwinkel(i), 0.0);
    QVERIFY(!zebild);
    QCOMPARE(zoomfaktor, 10);
}

// Runs first: the values the process starts with, before anything wrote them.
void TestState::startValues() { checkStartValues(); }

void TestState::resetStateRestoresStartValues()
{
    dirtyEverything();
    resetState();
    checkStartValues();
}

void TestState::tableAccessIsBoundsChecked_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<qint64>("row");
    QTest::addColumn<qint64>("col");
    QTest::addColumn<bool>("inside");

    struct Case {
        const char* table;
        qint64 lastRow, lastCol;
    };
    const Case tables[] = {{"punkt", 3000, 3}, {"linie", 3000, 2}, {"basis", 3, 2}, {"rotwinkel", 3, -1}};
    for (const Case& t : tables) {
        const qint64 col = t.lastCol < 0 ? 0 : t.lastCol;
        const QString n = QString::fromLatin1(t.table);
        const QByteArray id(t.table);
        QTest::newRow(id + " first") << n << qint64(0) << qint64(0) << true;
        QTest::newRow(id + " last") << n << t.lastRow << col << true;
        QTest::newRow(id + " row -1") << n << qint64(-1) << qint64(0) << false;
        QTest::newRow(id + " row past last") << n << t.lastRow + 1 << qint64(0) << false;
        if (t.lastCol >= 0) {
            QTest::newRow(id + " col -1") << n << qint64(1) << qint64(-1) << false;
            QTest::newRow(id + " col past last") << n << qint64(1) << t.lastCol + 1 << false;
        }
    }
    QTest::newRow("punkt row 3001 (one model too many)")
        << QStringLiteral("punkt") << qint64(3001) << qint64(1) << false;
    QTest::newRow("linie row 3001") << QStringLiteral("linie") << qint64(3001) << qint64(1) << false;
}

void TestState::tableAccessIsBoundsChecked()
{
    QFETCH(QString, table);
    QFETCH(qint64, row);
    QFETCH(qint64, col);
    QFETCH(bool, inside);

    resetState();
    const std::map<QString, std::function<void()>> write = {
        {"punkt", [&] { punkt(row, col) = 1.0; }},
        {"linie", [&] { linie(row, col) = 1; }},
        {"basis", [&] { basis(row, col) = 1.0; }},
        {"rotwinkel", [&] { rotwinkel(row) = 1.0; }},
    };
    const std::map<QString, std::function<double()>> read = {
        {"punkt", [&] { return std::as_const(punkt)(row, col); }},
        {"linie", [&] { return double(std::as_const(linie)(row, col)); }},
        {"basis", [&] { return std::as_const(basis)(row, col); }},
        {"rotwinkel", [&] { return std::as_const(rotwinkel)(row); }},
    };

    if (inside) {
        write.at(table)();
        QCOMPARE(read.at(table)(), 1.0);
        return;
    }
    try {
        write.at(table)();
        QFAIL("write outside the table did not raise");
    } catch (const toolkit::OutOfBoundsException& e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains(table), e.what());
    }
    QVERIFY_THROWS_EXCEPTION(toolkit::OutOfBoundsException, read.at(table)());
    // Nothing was written anywhere by the refused access.
    QVERIFY(allZero(punkt));
    QVERIFY(allZero(linie));
    QVERIFY(allZero(basis));
}

QTEST_APPLESS_MAIN(TestState)
#include "test_state.moc"
