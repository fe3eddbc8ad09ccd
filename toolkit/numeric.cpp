#include "numeric.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace toolkit {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

double Val(std::string_view s)
{
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t'))
        ++i;

    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }

    // Find the extent of [digits][.digits][(e|E)[sign]digits] ourselves, so that
    // from_chars never sees a sign or a dangling exponent.
    const std::size_t start = i;
    std::size_t intDigits = 0, fracDigits = 0;
    std::size_t firstNonZero = std::string_view::npos; // index among mantissa digits
    std::size_t mantissaIndex = 0;
    std::size_t leadingIntDigits = 0; // integer digits from the first non-zero on
    while (i < n && isDigit(s[i])) {
        if (firstNonZero == std::string_view::npos && s[i] != '0')
            firstNonZero = mantissaIndex;
        if (firstNonZero != std::string_view::npos)
            ++leadingIntDigits;
        ++intDigits;
        ++mantissaIndex;
        ++i;
    }
    std::size_t zerosAfterPoint = 0;
    if (i < n && s[i] == '.') {
        std::size_t j = i + 1;
        while (j < n && isDigit(s[j])) {
            if (firstNonZero == std::string_view::npos) {
                if (s[j] != '0')
                    firstNonZero = mantissaIndex;
                else
                    ++zerosAfterPoint;
            }
            ++fracDigits;
            ++mantissaIndex;
            ++j;
        }
        if (intDigits + fracDigits > 0)
            i = j;
    }
    if (intDigits + fracDigits == 0)
        return 0.0;

    long long exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < n && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        if (j < n && isDigit(s[j])) {
            while (j < n && isDigit(s[j])) {
                if (exponent < 100000000)
                    exponent = exponent * 10 + (s[j] - '0');
                ++j;
            }
            if (expNegative)
                exponent = -exponent;
            i = j;
        }
    }

    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data() + start, s.data() + i, value, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        if (firstNonZero == std::string_view::npos) {
            value = 0.0;
        } else {
            // Decimal magnitude of the first significant digit decides overflow or underflow.
            const long long magnitude = leadingIntDigits > 0
                ? static_cast<long long>(leadingIntDigits) + exponent
                : exponent - static_cast<long long>(zerosAfterPoint);
            value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
        }
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    if (!std::isfinite(value))
        value = std::numeric_limits<double>::max();
    return negative ? -value : value;
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

QString Str(std::int64_t value)
{
    return QString::number(value);
}

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
