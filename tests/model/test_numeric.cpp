// Text to number and back: the conversions the reader, the debug lists and the
// OFF export share.
#include "toolkit/numeric.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double dmax = std::numeric_limits<double>::max();
constexpr std::int64_t imax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t imin = std::numeric_limits<std::int64_t>::min();

// Bit for bit, so that -0 and 0 differ and no fuzzy compare hides a last-bit error.
bool sameDouble(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

QByteArray show(double v) { return QByteArray::number(v, 'g', 17); }

} // namespace

class TestNumeric : public QObject {
    Q_OBJECT

private slots:
    void val_data();
    void val();
    void valOfQString();
    void trunc_data();
    void trunc();
    void strDouble_data();
    void strDouble();
    void strRoundTrips();
    void strInteger();
};

void TestNumeric::val_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");

    // plain forms
    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("blanks only") << QByteArray(" \t ") << 0.0;
    QTest::newRow("integer") << QByteArray("42") << 42.0;
    QTest::newRow("plus sign") << QByteArray("+3") << 3.0;
    QTest::newRow("minus sign") << QByteArray("-3") << -3.0;
    QTest::newRow("fraction") << QByteArray("2.9") << 2.9;
    QTest::newRow("no integer part") << QByteArray(".5") << 0.5;
    QTest::newRow("negative, no integer part") << QByteArray("-.5") << -0.5;
    QTest::newRow("no fraction digits") << QByteArray("5.") << 5.0;
    QTest::newRow("point then exponent") << QByteArray("5.e2") << 500.0;
    QTest::newRow("exponent") << QByteArray("2E3") << 2000.0;
    QTest::newRow("negative exponent") << QByteArray("1e-2") << 0.01;
    QTest::newRow("signed exponent") << QByteArray("-1.5e+1") << -15.0;
    QTest::newRow("many digits") << QByteArray("123456789012345678901234567890") << 1.2345678901234568e29;
    // what surrounds the number
    QTest::newRow("leading spaces and tabs") << QByteArray("  \t 7") << 7.0;
    QTest::newRow("tab-separated numbers") << QByteArray("1\t2\t3") << 1.0;
    QTest::newRow("trailing garbage") << QByteArray("12abc") << 12.0;
    QTest::newRow("second number ignored") << QByteArray("3 4") << 3.0;
    QTest::newRow("comma is no decimal point") << QByteArray("1,5") << 1.0;
    QTest::newRow("dangling exponent") << QByteArray("1e") << 1.0;
    QTest::newRow("exponent sign without digits") << QByteArray("1e+") << 1.0;
    QTest::newRow("exponent then garbage") << QByteArray("1ex5") << 1.0;
    // no number at all
    QTest::newRow("word") << QByteArray("abc") << 0.0;
    QTest::newRow("comment mark") << QByteArray("#5") << 0.0;
    QTest::newRow("sign only") << QByteArray("-") << 0.0;
    QTest::newRow("point only") << QByteArray(".") << 0.0;
    QTest::newRow("sign and point") << QByteArray("+.") << 0.0;
    QTest::newRow("two signs") << QByteArray("+-3") << 0.0;
    QTest::newRow("blank after sign") << QByteArray("- 3") << 0.0;
    QTest::newRow("exponent only") << QByteArray("e5") << 0.0;
    QTest::newRow("hex prefix") << QByteArray("0x1A") << 0.0;
    QTest::newRow("inf") << QByteArray("inf") << 0.0;
    QTest::newRow("nan") << QByteArray("-nan") << 0.0;
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "5")
                                     << 0.0;
    // out of range: never infinite
    QTest::newRow("overflow") << QByteArray("1e400") << dmax;
    QTest::newRow("negative overflow") << QByteArray("-1e400") << -dmax;
    QTest::newRow("overflow, huge exponent") << QByteArray("1e99999999999999999999") << dmax;
    QTest::newRow("overflow by digits") << QByteArray(400, '9') << dmax;
    QTest::newRow("overflow after zeros") << QByteArray("0000.0001e320") << dmax;
    QTest::newRow("just the largest") << QByteArray("1.7976931348623157e308") << dmax;
    QTest::newRow("underflow") << QByteArray("1e-400") << 0.0;
    QTest::newRow("negative underflow") << QByteArray("-1e-400") << -0.0;
    QTest::newRow("underflow, huge exponent") << QByteArray("5e-99999999999999999999") << 0.0;
    QTest::newRow("subnormal") << QByteArray("4e-320") << 4e-320;
    QTest::newRow("zero, huge exponent") << QByteArray("0e999999") << 0.0;
    QTest::newRow("long mantissa, small exponent")
        << (QByteArray("1") + QByteArray(400, '0') + QByteArray("e-400")) << 1.0;
}

void TestNumeric::val()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    const double v = toolkit::Val(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    QVERIFY2(sameDouble(v, expected), show(v) + " instead of " + show(expected));
}

void TestNumeric::valOfQString()
{
    QCOMPARE(toolkit::Val(QStringLiteral(" -2.5e1xyz")), -25.0);
    QCOMPARE(toolkit::Val(QStringLiteral("\u00FC5")), 0.0);
    QCOMPARE(toolkit::Val(QString()), 0.0);
}

void TestNumeric::trunc_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("positive fraction") << 3.9 << qint64(3);
    QTest::newRow("negative fraction") << -2.5 << qint64(-2);
    QTest::newRow("below one") << 0.99 << qint64(0);
    QTest::newRow("negative zero") << -0.0 << qint64(0);
    QTest::newRow("largest double below 2^63") << 9223372036854774784.0 << qint64(9223372036854774784LL);
    QTest::newRow("2^63 saturates") << 9223372036854775808.0 << qint64(imax);
    QTest::newRow("huge saturates") << 1e300 << qint64(imax);
    QTest::newRow("-2^63 is exact") << -9223372036854775808.0 << qint64(imin);
    QTest::newRow("huge negative saturates") << -1e300 << qint64(imin);
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << qint64(imax);
    QTest::newRow("negative infinity") << -std::numeric_limits<double>::infinity() << qint64(imin);
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
}

void TestNumeric::trunc()
{
    QFETCH(double, value);
    QFETCH(qint64, expected);
    QCOMPARE(qint64(toolkit::truncToInt64(value)), expected);
}

void TestNumeric::strDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "-0";
    QTest::newRow("integer") << -15.0 << "-15";
    QTest::newRow("2.9 is not 2.8999...") << 2.9 << "2.9";
    QTest::newRow("0.1") << 0.1 << "0.1";
    QTest::newRow("third") << 1.0 / 3.0 << "0.3333333333333333";
    QTest::newRow("plain integer") << 123456.0 << "123456";
    QTest::newRow("round number stays plain") << 100000.0 << "100000";
    QTest::newRow("below 1e21 plain") << 1e20 << "100000000000000000000";
    QTest::newRow("from 1e21 exponent") << 1e21 << "1e+21";
    QTest::newRow("1e-6 plain") << 1e-6 << "0.000001";
    QTest::newRow("below 1e-6 exponent") << 1e-7 << "1e-07";
    QTest::newRow("largest") << dmax << "1.7976931348623157e+308";
    QTest::newRow("smallest subnormal") << 5e-324 << "5e-324";
}

void TestNumeric::strDouble()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(toolkit::Str(value), expected);
}

void TestNumeric::strRoundTrips()
{
    const double values[] = {0.1 + 0.2,
                             -7.073883237,
                             1e-300,
                             4e-320,
                             2.2250738585072014e-308,
                             9007199254740993.0,
                             -dmax,
                             1234.5678e100,
                             std::nextafter(1.0, 2.0)};
    for (const double v : values) {
        const QString text = toolkit::Str(v);
        QVERIFY2(sameDouble(toolkit::Val(text), v), qPrintable(text + " reads back as " + show(toolkit::Val(text))));
    }
}

void TestNumeric::strInteger()
{
    QCOMPARE(toolkit::Str(std::int64_t(0)), QStringLiteral("0"));
    QCOMPARE(toolkit::Str(imin), QStringLiteral("-9223372036854775808"));
    QCOMPARE(toolkit::Str(imax), QStringLiteral("9223372036854775807"));
    QCOMPARE(toolkit::Str(-5), QStringLiteral("-5"));                         // int
    QCOMPARE(toolkit::Str(qint64(1) << 40), QStringLiteral("1099511627776")); // long long
}

QTEST_APPLESS_MAIN(TestNumeric)
#include "test_numeric.moc"
