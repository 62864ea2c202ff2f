#pragma once
// Whole numbers as the program's lists, counts, positions and timers use them:
// 16-bit signed, converted from text or floating point by rounding to the
// nearest whole number with a half going to the even neighbour. A result outside
// the 16-bit range is an error, not a wrap-around.

#include <QString>
#include <cstdint>
#include <optional>

namespace vz {

using Integer = std::int16_t;

// Rounds half to even; nullopt when the result is outside -32768..32767 or x is not finite.
std::optional<Integer> toInteger(double x);

// Reads text as a number (see isNumeric) and converts it as above; nullopt when
// the text is not a number or the result is out of range.
std::optional<Integer> toInteger(const QString &text);

// The program's numeric test: blanks around the number are allowed; a sign,
// digits with at most one decimal point, and an optional exponent ("1e1");
// also "&H" hexadecimal and "&O" octal whole numbers.
bool isNumeric(const QString &text);

// The number that isNumeric accepts, as a double; nullopt for anything else.
std::optional<double> parseNumber(const QString &text);

// A whole number as the list files hold it: a blank (or the minus sign), the
// digits, a blank. 3 gives " 3 ", -5 gives "-5 ".
QString formatNumber(long long n);

// The random index draw of the show: draw * count rounded half to even, with a
// result equal to count replaced by 0. draw must lie in [0, 1).
Integer randomIndex(double draw, Integer count);

} // namespace vz
