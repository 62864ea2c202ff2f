// Whole-number conversions, the numeric test and number printing: every count,
// position, interval and list file goes through these.

#include <QTest>

#include "runtime/Numbers.h"

using namespace vz;

namespace {
constexpr int kNone = -99999;
} // namespace

class tst_numbers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Text to a whole number, half to even, within 16 bits; and whether the
    // numeric test takes the text, whatever its range.
    void conversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("numeric");
        auto row = [](const char *text, int expected, bool numeric = true) {
            QTest::newRow(text) << QString::fromUtf8(text) << expected << numeric;
        };
        row("2.5", 2);
        row("0.5", 0);
        row("-2.5", -2);
        row("3.5", 4);
        row("-3.5", -4);
        row("2.4999", 2);
        row("2.5001", 3);
        row("32767.4", 32767);
        row("-32768.5", -32768);
        row("32767.5", kNone);
        row("-32768.6", kNone);
        row("123456789", kNone);
        row(" 10 ", 10);
        row("\t 3  ", 3);
        row("+7", 7);
        row("1e1", 10);
        row("25E-1", 2);
        row(".6", 1);
        row("4.", 4);
        row("&H10", 16);
        row("&hFFFF", -1);
        row("&O17", 15);
        for (const char *text : {"", "   ", "abc", "12abc", "1.2.3", "-", "1e", "0x10", "inf", "nan", "1 0",
                                 "\u0661", "&HZZ", "1e999"})
            row(text, kNone, false);
    }
    void conversion()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QFETCH(bool, numeric);
        const auto r = toInteger(text);
        QCOMPARE(r.has_value(), expected != kNone);
        if (r)
            QCOMPARE(int(*r), expected);
        QCOMPARE(isNumeric(text), numeric);
    }

    void nonFiniteIsAnError()
    {
        QVERIFY(!toInteger(1e300).has_value());
        QVERIFY(!toInteger(std::numeric_limits<double>::infinity()).has_value());
        QVERIFY(!toInteger(std::numeric_limits<double>::quiet_NaN()).has_value());
    }

    void numbersArePrintedWithBlanks()
    {
        QCOMPARE(formatNumber(10), QStringLiteral(" 10 "));
        QCOMPARE(formatNumber(-5), QStringLiteral("-5 "));
        // What is printed reads back as the same number.
        for (long long n : {0LL, 3LL, -32768LL, 32767LL})
            QCOMPARE(int(*toInteger(formatNumber(n))), int(n));
    }

    void randomIndexWrapsAndRoundsHalfToEven()
    {
        QCOMPARE(int(randomIndex(3.7 / 4, 4)), 0); // 3.7 -> 4 -> 0
        QCOMPARE(int(randomIndex(3.5 / 4, 4)), 0); // 3.5 -> 4 -> 0
        QCOMPARE(int(randomIndex(2.5 / 4, 4)), 2);
        QCOMPARE(int(randomIndex(1.5 / 3, 3)), 2);
        QCOMPARE(int(randomIndex(0.3, 0)), 0);
        // Every index of a list is reachable and none outside it.
        QSet<int> seen;
        for (int i = 0; i < 1000; ++i) {
            const int r = randomIndex(i / 1000.0, 7);
            QVERIFY(r >= 0 && r < 7);
            seen.insert(r);
        }
        QCOMPARE(seen.size(), 7);
    }
};

QTEST_GUILESS_MAIN(tst_numbers)
#include "tst_numbers.moc"
