// The command-line switch table and the cursor routines.

#include <QGuiApplication>
#include <QTest>

#include "platform/x11/SystemCursor.h"
#include "startup/Module1.h"

using namespace vz;

class tst_startup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void switchPicksTheMode_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<int>("mode");
        QTest::newRow("settings") << "/c" << 1;
        QTest::newRow("settings upper") << "/C" << 1;
        QTest::newRow("settings with handle") << "/c:1234" << 1;
        QTest::newRow("empty") << "" << 2;
        QTest::newRow("blanks only") << "    " << 2;
        QTest::newRow("show") << "/S" << 2;
        QTest::newRow("show blanks around") << "  /s  " << 2;
        QTest::newRow("show with more") << "/S:9" << 2;
        QTest::newRow("dash s") << "-s" << 2;
        QTest::newRow("other letter") << "/A" << 2;
        QTest::newRow("slash alone") << "/" << 2;
        QTest::newRow("preview") << "/P" << 3;
        QTest::newRow("preview with handle") << "/p 1234" << 3;
        QTest::newRow("preview after blanks") << "   /p5678" << 3;
        QTest::newRow("word starting with slash c") << "/config" << 1;
    }
    void switchPicksTheMode()
    {
        QFETCH(QString, commandLine);
        QFETCH(int, mode);
        QCOMPARE(int(modeFor(commandSwitch(commandLine))), mode);
    }

    void hideCursorHidesWhateverTheCounter()
    {
        SystemCursor cursor;
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        HideCursor(cursor);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        RestoreCursor(cursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(int(cursor.showCursor(true)), 1); // back at 0 before this call

        // From 1 (raised above) HideCursor takes two calls and ends at -1.
        HideCursor(cursor);
        QCOMPARE(int(cursor.showCursor(false)), -2);
        QCOMPARE(int(cursor.showCursor(true)), -1);
        // Already hidden: one more call, -2; one restore leaves it hidden.
        HideCursor(cursor);
        RestoreCursor(cursor);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        QCOMPARE(int(cursor.showCursor(true)), 0);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
