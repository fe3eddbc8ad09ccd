#pragma once
// Numbers to text and back, the same everywhere in the program and independent
// of the process locale.
#include <QString>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace toolkit {

// Numeric value of a text: optional leading blanks (spaces, tabs), optional sign,
// digits with optional fraction and exponent. Characters after the number are
// ignored; a text without a number gives 0. Never NaN or infinity: a literal that
// overflows gives the largest finite double of its sign.
double Val(std::string_view text);
double Val(const QString& text);

// Truncation toward zero, saturating at the bounds of a 64-bit integer (NaN gives 0).
std::int64_t truncToInt64(double value);

// Plain decimal text of an integer.
QString Str(std::int64_t value);
// Other signed integers (int, qint64 = long long, qsizetype) would be ambiguous
// between the int64 and the double overloads.
template <std::signed_integral T>
requires(!std::same_as<T, std::int64_t>) inline QString Str(T value) { return Str(static_cast<std::int64_t>(value)); }
// The one double-to-text form: the shortest digits that read back to the same
// double, plain from 1e-6 up to 1e21 ("100000", "0.000001"), else with an
// exponent ("1e+21", "1e-07").
QString Str(double value);

} // namespace toolkit
