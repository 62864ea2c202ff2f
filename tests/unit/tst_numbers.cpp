// Whole-number conversions, the numeric test and number printing (every count,
// position, interval and list file goes through them), the command-line switch
// and the cursor's display counter.

#include <QGuiApplication>
#include <QTest>

#include "platform/qt/SystemCursor.h"
#include "runtime/Numbers.h"
#include "startup/Module1.h"

using namespace vz;

class tst_numbers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Text to a whole number, half to even, within 16 bits (-1: none); and
    // whether the numeric test takes the text, whatever its range.
    void conversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("numeric");
        const std::pair<const char *, int> rows[] = {
            {"2.5", 2}, {"0.5", 0}, {"-2.5", -2}, {"3.5", 4}, {"-3.5", -4}, {"2.4999", 2}, {"2.5001", 3},
            {"32767.4", 32767}, {"-32768.5", -32768}, {"32767.5", -99999}, {"-32768.6", -99999},
            {"123456789", -99999}, {" 10 ", 10}, {"\t 3  ", 3}, {"+7", 7}, {"1e1", 10}, {"25E-1", 2},
            {".6", 1}, {"4.", 4}, {"&H10", 16}, {"&hFFFF", -1}, {"&O17", 15}};
        for (auto [text, expected] : rows)
            QTest::newRow(text) << QString::fromUtf8(text) << expected << true;
        for (const char *text : {"", "   ", "abc", "12abc", "1.2.3", "-", "1e", "0x10", "inf", "nan", "1 0",
                                 "\u0661", "&HZZ", "1e999"})
            QTest::newRow(text) << QString::fromUtf8(text) << -99999 << false;
    }
    void conversion()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QFETCH(bool, numeric);
        const auto value = toInteger(text);
        QCOMPARE(value ? int(*value) : -99999, expected);
        QCOMPARE(isNumeric(text), numeric);
    }

    // The random draw's rounding and wrap: tst_forms' showPicks.
    void printing()
    {
        QVERIFY(!toInteger(std::numeric_limits<double>::quiet_NaN()));
        QCOMPARE(formatNumber(10), QStringLiteral(" 10 "));
        QCOMPARE(formatNumber(-5), QStringLiteral("-5 "));
    }

    void switchPicksTheMode()
    {
        const std::pair<const char *, Mode> rows[] = {
            {"/c", Mode::Settings}, {"/c:1234", Mode::Settings}, {"/config", Mode::Settings},
            {"", Mode::Show}, {"    ", Mode::Show}, {"  /s  ", Mode::Show}, {"/S:9", Mode::Show},
            {"-s", Mode::Show}, {"/A", Mode::Show}, {"/", Mode::Show}, {"/P", Mode::Preview},
            {"/p 1234", Mode::Preview}, {"   /p5678", Mode::Preview}};
        for (auto [line, mode] : rows)
            QVERIFY2(modeFor(commandSwitch(QString::fromLatin1(line))) == mode, line);
    }

    // Hidden whatever the counter; one restore undoes one hiding.
    void cursorCounter()
    {
        SystemCursor cursor;
        HideCursor(cursor);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        RestoreCursor(cursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(int(cursor.showCursor(true)), 1);
        HideCursor(cursor); // from 1: two calls, -1
        QCOMPARE(int(cursor.showCursor(true)), 0);
        HideCursor(cursor);
        HideCursor(cursor); // already hidden: one call, -2
        RestoreCursor(cursor);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        QCOMPARE(int(cursor.showCursor(true)), 0);
    }
};

QTEST_MAIN(tst_numbers)
#include "tst_numbers.moc"
