// Whole-number conversions, the numeric test and number printing: every count,
// position, interval and list file goes through these.

#include <QTest>

#include "runtime/Numbers.h"

using namespace vz;

class tst_numbers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundingIsHalfToEven_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("expected");
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("3.5") << 3.5 << 4;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("-3.5") << -3.5 << -4;
        QTest::newRow("2.4999") << 2.4999 << 2;
        QTest::newRow("2.5001") << 2.5001 << 3;
        QTest::newRow("max") << 32767.0 << 32767;
        QTest::newRow("max+0.4") << 32767.4 << 32767;
        QTest::newRow("min") << -32768.0 << -32768;
        QTest::newRow("min-0.5") << -32768.5 << -32768;
    }
    void roundingIsHalfToEven()
    {
        QFETCH(double, x);
        QFETCH(int, expected);
        const auto r = toInteger(x);
        QVERIFY(r.has_value());
        QCOMPARE(int(*r), expected);
    }

    void outOfRangeIsAnError()
    {
        QVERIFY(!toInteger(32767.5).has_value()); // rounds to 32768
        QVERIFY(!toInteger(32768.0).has_value());
        QVERIFY(!toInteger(-32768.6).has_value());
        QVERIFY(!toInteger(1e300).has_value());
        QVERIFY(!toInteger(std::numeric_limits<double>::infinity()).has_value());
        QVERIFY(!toInteger(std::numeric_limits<double>::quiet_NaN()).has_value());
        QVERIFY(!toInteger(QStringLiteral("40000")).has_value());
        QVERIFY(!toInteger(QStringLiteral("-32769")).has_value());
    }

    void textConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -99999: not a number
        QTest::newRow("plain") << "5" << 5;
        QTest::newRow("blanks around") << " 10 " << 10;
        QTest::newRow("tabs and blanks") << "\t 3  " << 3;
        QTest::newRow("half") << "2.5" << 2;
        QTest::newRow("negative") << "-5" << -5;
        QTest::newRow("plus") << "+7" << 7;
        QTest::newRow("exponent") << "1e1" << 10;
        QTest::newRow("exponent sign") << "25E-1" << 2;
        QTest::newRow("leading point") << ".6" << 1;
        QTest::newRow("trailing point") << "4." << 4;
        QTest::newRow("hex") << "&H10" << 16;
        QTest::newRow("hex all ones is -1") << "&hFFFF" << -1;
        QTest::newRow("octal") << "&O17" << 15;
        QTest::newRow("empty") << "" << -99999;
        QTest::newRow("blanks only") << "   " << -99999;
        QTest::newRow("letters") << "abc" << -99999;
        QTest::newRow("digits then letters") << "12abc" << -99999;
        QTest::newRow("two points") << "1.2.3" << -99999;
        QTest::newRow("bare sign") << "-" << -99999;
        QTest::newRow("bare exponent") << "1e" << -99999;
        QTest::newRow("c hex") << "0x10" << -99999;
        QTest::newRow("inf") << "inf" << -99999;
        QTest::newRow("nan") << "nan" << -99999;
        QTest::newRow("inner blank") << "1 0" << -99999;
        QTest::newRow("arabic digits") << QString::fromUtf8("\u0661") << -99999;
        QTest::newRow("bad hex") << "&HZZ" << -99999;
        QTest::newRow("huge exponent") << "1e999" << -99999;
    }
    void textConversion()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const auto r = toInteger(text);
        if (expected == -99999) {
            QVERIFY2(!r.has_value(), qPrintable(text));
            QVERIFY(!isNumeric(text) || text == u"1e999");
        } else {
            QVERIFY2(r.has_value(), qPrintable(text));
            QCOMPARE(int(*r), expected);
            QVERIFY(isNumeric(text));
        }
    }

    void numericTestTakesNumbersOutsideTheWholeNumberRange()
    {
        // The interval check takes any number; range is the show's business.
        QVERIFY(isNumeric(QStringLiteral("123456789")));
        QVERIFY(isNumeric(QStringLiteral("0")));
        QVERIFY(isNumeric(QStringLiteral("-5")));
        QVERIFY(isNumeric(QStringLiteral("2.5")));
    }

    void numbersArePrintedWithBlanks()
    {
        QCOMPARE(formatNumber(10), QStringLiteral(" 10 "));
        QCOMPARE(formatNumber(0), QStringLiteral(" 0 "));
        QCOMPARE(formatNumber(32767), QStringLiteral(" 32767 "));
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
        QCOMPARE(int(randomIndex(0.4 / 4, 4)), 0);
        QCOMPARE(int(randomIndex(2.6 / 3, 3)), 0);
        QCOMPARE(int(randomIndex(1.5 / 3, 3)), 2);
        QCOMPARE(int(randomIndex(0.5 / 3, 3)), 0);
        QCOMPARE(int(randomIndex(0.999, 1)), 0);
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
