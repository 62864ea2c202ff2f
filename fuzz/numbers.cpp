// The numeric conversions on arbitrary text, checked against each other:
// isNumeric agrees with parseNumber, toInteger of text is parseNumber then
// rounding, rounding is to the nearest whole number with a half going to the
// even neighbour, blanks around a number change nothing, the number written
// by formatNumber reads back as itself, a stored check state is 0, 1 or 2, and
// the show's random index stays inside its list.

#include "FuzzSupport.h"

#include "runtime/Numbers.h"
#include "settings/ListFile.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace vz;

namespace {

void checkRounding(double x)
{
    const auto r = toInteger(x);
    if (!std::isfinite(x)) {
        VZ_FUZZ_CHECK(!r);
        return;
    }
    const double nearest = std::nearbyint(x);
    const bool inRange = nearest >= std::numeric_limits<Integer>::min()
        && nearest <= std::numeric_limits<Integer>::max();
    VZ_FUZZ_CHECK(r.has_value() == inRange);
    if (!r)
        return;
    const double off = std::abs(double(*r) - x);
    VZ_FUZZ_CHECK(off <= 0.5);
    if (off == 0.5)
        VZ_FUZZ_CHECK(*r % 2 == 0);
}

void checkText(const QString &text)
{
    const auto number = parseNumber(text);
    VZ_FUZZ_CHECK(isNumeric(text) == number.has_value());
    if (number)
        VZ_FUZZ_CHECK(std::isfinite(*number));

    const auto whole = toInteger(text);
    VZ_FUZZ_CHECK(whole == (number ? toInteger(*number) : std::nullopt));

    const auto padded = parseNumber(QStringLiteral(" \t") + text + QStringLiteral("\t "));
    VZ_FUZZ_CHECK(padded.has_value() == number.has_value());
    if (number)
        VZ_FUZZ_CHECK(*padded == *number);

    if (whole) {
        const QString written = formatNumber(*whole);
        VZ_FUZZ_CHECK(toInteger(written) == whole);
        VZ_FUZZ_CHECK(parseNumber(written) == double(*whole));
    }

    const auto state = checkStateFromStored(text);
    if (state)
        VZ_FUZZ_CHECK(*state >= 0 && *state <= 2 && whole == Integer(*state));
    else
        VZ_FUZZ_CHECK(!whole || *whole < 0 || *whole > 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const char *chars = reinterpret_cast<const char *>(data);
    checkText(QString::fromUtf8(chars, qsizetype(size)));
    checkText(QString::fromLatin1(chars, qsizetype(size)));

    // The first bytes as binary numbers too: any double, any whole number.
    if (size >= sizeof(double)) {
        double x;
        std::memcpy(&x, data, sizeof x);
        checkRounding(x);
        long long n;
        std::memcpy(&n, data, sizeof n);
        VZ_FUZZ_CHECK(parseNumber(formatNumber(n)) == double(n));
        if (x >= 0 && x < 1 && size >= sizeof(double) + sizeof(Integer)) {
            Integer count;
            std::memcpy(&count, data + sizeof(double), sizeof count);
            if (count > 0) {
                const Integer index = randomIndex(x, count);
                VZ_FUZZ_CHECK(index >= 0 && index < count);
            }
        }
    }
    return 0;
}
