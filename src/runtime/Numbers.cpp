#include "runtime/Numbers.h"

#include <cmath>
#include <limits>

namespace vz {

std::optional<Integer> toInteger(double x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    // nearbyint rounds with the default mode, round-half-to-even.
    const double r = std::nearbyint(x);
    if (r < std::numeric_limits<Integer>::min() || r > std::numeric_limits<Integer>::max())
        return std::nullopt;
    return static_cast<Integer>(r);
}

std::optional<Integer> toInteger(const QString &text)
{
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    return toInteger(*value);
}

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

std::optional<double> parseRadix(QStringView body, int base)
{
    if (body.isEmpty() || body.size() > 22)
        return std::nullopt;
    bool ok = false;
    const qulonglong v = body.toULongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    // "&HFFFF" reads as the 16-bit pattern -1, the way whole-number literals do.
    if (v <= 0xFFFF)
        return static_cast<double>(static_cast<std::int16_t>(v));
    if (v <= 0xFFFFFFFFull)
        return static_cast<double>(static_cast<std::int32_t>(v));
    return std::nullopt;
}

} // namespace

std::optional<double> parseNumber(const QString &text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    const QStringView s = QStringView(text).mid(b, e - b);
    if (s.isEmpty())
        return std::nullopt;

    if (s.size() >= 2 && s[0] == u'&') {
        const QChar kind = s[1].toUpper();
        if (kind == u'H')
            return parseRadix(s.mid(2), 16);
        if (kind == u'O')
            return parseRadix(s.mid(2), 8);
        return std::nullopt;
    }

    // Decimal: [sign] digits [. digits] [e|d [sign] digits], at least one digit
    // in the mantissa. Checked by hand so that forms like "0x1", "inf" or "nan",
    // which the C library would take, are refused.
    qsizetype i = 0;
    if (s[i] == u'+' || s[i] == u'-')
        ++i;
    int mantissaDigits = 0;
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        ++i;
        ++mantissaDigits;
    }
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    QString normalized = s.left(i).toString();
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        ++i;
        qsizetype expStart = i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        int expDigits = 0;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
        normalized += u'e';
        normalized += s.mid(expStart, i - expStart);
    }
    if (i != s.size())
        return std::nullopt;
    bool ok = false;
    const double v = normalized.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool isNumeric(const QString &text) { return parseNumber(text).has_value(); }

QString formatNumber(long long n)
{
    return (n < 0 ? QString() : QStringLiteral(" ")) + QString::number(n) + u' ';
}

Integer randomIndex(double draw, Integer count)
{
    const auto r = toInteger(draw * count);
    if (!r || *r == count)
        return 0;
    return *r;
}

} // namespace vz
