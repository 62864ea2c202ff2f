// The picture and music list files and the two stored switches: what is
// written byte for byte, and that damaged or hand-edited files load what they
// can without a message.

#include <QDir>
#include <QTest>

#include "platform/SettingsStore.h"
#include "runtime/TextFile.h"
#include "settings/ListFile.h"
#include "settings/MusicSettings.h"
#include "settings/PictureSettings.h"
#include "support/TestProgram.h"

using namespace vz;
using vz::test::TestProgram;

class tst_settingsfiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void savedBytesLoadBack()
    {
        TestProgram p;
        QCOMPARE(loadPictureSettings(*p).randomP, std::optional<int>(0)); // "0" when nothing is stored
        const QStringList pics{"/home/u/a.jpg", "/home/u/\u00e9t\u00e9.bmp", "/home/u/a.jpg"};
        QCOMPARE(savePictureSettings(*p, 1, QStringLiteral("5"), pics).error(), QString());
        QCOMPARE(saveMusicSettings(*p, 2, {"/m/a.mp3", "/m/b.wav"}).error(), QString());
        QCOMPARE(p.readProgramFile(kPictureListFile),
                 QByteArray("5\r\n 3 \r\n/home/u/a.jpg\r\n/home/u/\xc3\xa9t\xc3\xa9.bmp\r\n/home/u/a.jpg\r\n"));
        QCOMPARE(p.readProgramFile(kMusicListFile), QByteArray(" 2 \r\n/m/a.mp3\r\n/m/b.wav\r\n"));
        const PictureSettings s = loadPictureSettings(*p);
        QCOMPARE(s.randomP, std::optional<int>(1));
        QCOMPARE(s.interval, std::optional<QString>(QStringLiteral("5")));
        QCOMPARE(s.pictures, pics);
        QCOMPARE(loadMusicSettings(*p).randomM, std::optional<int>(2));
        QCOMPARE(readSongCount(*p), std::optional<Integer>(2));

        // An empty interval is stored as ten; empty lists hold the count alone.
        QCOMPARE(savePictureSettings(*p, 0, QString(), {}).error(), QString());
        QCOMPARE(saveMusicSettings(*p, 0, {}).error(), QString());
        QCOMPARE(p.readProgramFile(kPictureListFile), QByteArray(" 10 \r\n 0 \r\n"));
        QCOMPARE(p.readProgramFile(kMusicListFile), QByteArray(" 0 \r\n"));
        QCOMPARE(p->store().get(kAppTitle, kPresets, kRandomP, "x"), QStringLiteral("0"));
        QCOMPARE(p->store().get(kAppTitle, kPresets, kRandomM, "x"), QStringLiteral("0"));

        // A leading byte order mark character survives a save; elsewhere it is text.
        LineWriter w;
        w.add(QStringLiteral("\uFEFF 10 "));
        w.add(QStringLiteral("\uFEFFb"));
        LineReader r(w.bytes());
        QCOMPARE(*r.next(), QStringLiteral("\uFEFF 10 "));
        QCOMPARE(*r.next(), QStringLiteral("\uFEFFb"));
    }

    // The same body after an interval line (pictures) or on its own (music).
    void damagedFilesLoadWhatTheyCan_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("count"); // the show's song count; -99 none
        const QStringList ab{"/a", "/b"};
        QTest::newRow("extra lines ignored") << QByteArray(" 1 \r\n/a\r\n/b\r\n\r\n") << QStringList{"/a"} << 1;
        QTest::newRow("count with blanks") << QByteArray("   2   \r\n/a\r\n/b\r\n") << ab << 2;
        QTest::newRow("count without blanks") << QByteArray("2\r\n/a\r\n/b\r\n") << ab << 2;
        QTest::newRow("LF only") << QByteArray(" 2 \n/a\n/b\n") << ab << 2;
        QTest::newRow("CR only") << QByteArray(" 2 \r/a\r/b\r") << ab << 2;
        QTest::newRow("mixed") << QByteArray(" 2 \r\n/a\n/b\r") << ab << 2;
        QTest::newRow("truncated: no line repeated") << QByteArray(" 4 \r\n/a\r\n") << QStringList{"/a"} << 4;
        QTest::newRow("32767 and no entries") << QByteArray(" 32767 \r\n") << QStringList{} << 32767;
        QTest::newRow("negative count") << QByteArray("-3 \r\n/a\r\n") << QStringList{} << -3;
        QTest::newRow("count above range") << QByteArray(" 40000 \r\n/a\r\n") << QStringList{} << -99;
        QTest::newRow("letters") << QByteArray("abc\r\n/a\r\n") << QStringList{} << -99;
        QTest::newRow("no count line") << QByteArray() << QStringList{} << -99;
        QTest::newRow("empty entry line") << QByteArray(" 2 \r\n\r\n/b\r\n") << QStringList{"", "/b"} << 2;
        QTest::newRow("1 MB line") << (" 1 \r\n" + QByteArray(1 << 20, 'y') + "\r\n")
                                   << QStringList{QString(1 << 20, u'y')} << 1;
    }
    void damagedFilesLoadWhatTheyCan()
    {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, entries);
        QFETCH(int, count);
        TestProgram p;
        const QByteArray interval = body.contains('\n') ? "hello world\n" : "hello world\r";
        p.writeProgramFile(kPictureListFile, interval + body);
        p.writeProgramFile(kMusicListFile, body);
        const PictureSettings s = loadPictureSettings(*p);
        QCOMPARE(s.interval.value_or("<none>"), QStringLiteral("hello world"));
        QCOMPARE(s.pictures, entries);
        QCOMPARE(loadMusicSettings(*p).songs, entries);
        QCOMPARE(int(readSongCount(*p).value_or(-99)), count);
    }

    // The same rules for both switches (-1: the box stays as designed).
    void storedSwitches()
    {
        const std::pair<const char *, int> rows[] = {{"1", 1}, {"0", 0}, {"2", 2}, {" 1 ", 1}, {"5", -1},
                                                     {"-1", -1}, {"yes", -1}, {"40000", -1}};
        for (auto [stored, state] : rows) {
            TestProgram p;
            QVERIFY(p->store().save(kAppTitle, kPresets, kRandomP, QString::fromLatin1(stored)));
            QVERIFY(p->store().save(kAppTitle, kPresets, kRandomM, QString::fromLatin1(stored)));
            QCOMPARE(loadPictureSettings(*p).randomP.value_or(-1), state);
            QCOMPARE(loadMusicSettings(*p).randomM.value_or(-1), state);
        }
        TestProgram p;
        QVERIFY(!loadPictureSettings(*p).interval);
    }

    // A folder where the list file belongs: a message naming the file, and the
    // folder kept.
    void failedSaveNamesTheFileAndDestroysNothing()
    {
        TestProgram p;
        const QString path = p->programFile(kMusicListFile);
        QVERIFY(QDir().mkpath(path + QStringLiteral("/keep")));
        const QString message = saveMusicSettings(*p, 0, {"/b"}).error();
        QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
        QVERIFY(QFileInfo(path + QStringLiteral("/keep")).isDir());
    }
};

QTEST_GUILESS_MAIN(tst_settingsfiles)
#include "tst_settingsfiles.moc"
