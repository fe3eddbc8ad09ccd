#include "numeric.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace toolkit {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of a text, as Val finds it: where it lies (without its
// sign), and what decides its magnitude when from_chars finds it out of range.
struct NumberText {
    bool negative = false;
    std::size_t begin = 0;            // first digit or the point
    std::size_t end = 0;              // just past the number
    bool allZero = true;              // no digit but 0
    std::size_t leadingIntDigits = 0; // integer digits from the first non-zero on
    std::size_t zerosAfterPoint = 0;  // fraction zeros before the first non-zero, when the integer part is 0
    long long exponent = 0;
};

// Leading blanks (spaces, tabs), then an optional sign; i ends on what follows.
bool skipBlanksAndSign(std::string_view s, std::size_t& i)
{
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        return s[i++] == '-';
    return false;
}

// [digits][.digits], found here rather than by from_chars, so that it never sees a
// sign. False when there is no digit at all; a point without a digit on either
// side is no part of the number.
bool scanMantissa(std::string_view s, std::size_t& i, NumberText& t)
{
    std::size_t intDigits = 0;
    while (i < s.size() && isDigit(s[i])) {
        if (s[i] != '0')
            t.allZero = false;
        if (!t.allZero)
            ++t.leadingIntDigits;
        ++intDigits;
        ++i;
    }
    std::size_t fracDigits = 0;
    if (i < s.size() && s[i] == '.') {
        std::size_t j = i + 1;
        while (j < s.size() && isDigit(s[j])) {
            if (t.allZero) {
                if (s[j] != '0')
                    t.allZero = false;
                else
                    ++t.zerosAfterPoint;
            }
            ++fracDigits;
            ++j;
        }
        if (intDigits + fracDigits > 0)
            i = j;
    }
    return intDigits + fracDigits > 0;
}

// (e|E)[sign]digits, taken only when a digit follows, so that from_chars never sees
// a dangling exponent. Its value stops growing far beyond any double's range.
void scanExponent(std::string_view s, std::size_t& i, NumberText& t)
{
    if (i >= s.size() || (s[i] != 'e' && s[i] != 'E'))
        return;
    std::size_t j = i + 1;
    bool negative = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
        negative = s[j] == '-';
        ++j;
    }
    if (j >= s.size() || !isDigit(s[j]))
        return;
    long long exponent = 0;
    while (j < s.size() && isDigit(s[j])) {
        if (exponent < 100000000)
            exponent = exponent * 10 + (s[j] - '0');
        ++j;
    }
    t.exponent = negative ? -exponent : exponent;
    i = j;
}

// The value of the number without its sign; out of range it is the largest finite
// double or 0, by the decimal magnitude of its first significant digit.
double magnitudeOf(std::string_view s, const NumberText& t)
{
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data() + t.begin, s.data() + t.end, value, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        if (t.allZero)
            return 0.0;
        const long long magnitude = t.leadingIntDigits > 0 ? static_cast<long long>(t.leadingIntDigits) + t.exponent
                                                           : t.exponent - static_cast<long long>(t.zerosAfterPoint);
        return magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    if (ec != std::errc())
        return 0.0;
    return std::isfinite(value) ? value : std::numeric_limits<double>::max();
}

} // namespace

double Val(std::string_view s)
{
    NumberText t;
    std::size_t i = 0;
    t.negative = skipBlanksAndSign(s, i);
    t.begin = i;
    if (!scanMantissa(s, i, t))
        return 0.0;
    scanExponent(s, i, t);
    t.end = i;
    const double value = magnitudeOf(s, t);
    return t.negative ? -value : value;
}

double Val(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return Val(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

std::int64_t truncToInt64(double value)
{
    if (std::isnan(value))
        return 0;
    // 2^63 is exactly representable; every double below it in magnitude fits.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

QString Str(std::int64_t value) { return QString::number(value); }

QString Str(double value)
{
    // Shortest round-trip digits, written out in full for everyday magnitudes
    // (100000, not 1e+05) and with an exponent only for very large or small ones.
    char buf[64];
    const double magnitude = std::fabs(value);
    const bool plain = magnitude == 0.0 || (magnitude >= 1e-6 && magnitude < 1e21);
    const auto res = std::to_chars(buf, buf + sizeof buf, value,
                                   plain ? std::chars_format::fixed : std::chars_format::scientific);
    return QString::fromLatin1(buf, static_cast<qsizetype>(res.ptr - buf));
}

} // namespace toolkit
