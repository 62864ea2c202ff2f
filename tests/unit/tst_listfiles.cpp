// Line I/O and the picture list file: what is written byte for byte, and that
// every kind of damaged or hand-edited file loads without a crash or message.

#include <QDir>
#include <QFile>
#include <QTest>

#include "runtime/TextFile.h"
#include "settings/ListFile.h"
#include "settings/MusicSettings.h"
#include "settings/PictureSettings.h"
#include "support/TestProgram.h"

using namespace vz;
using vz::test::TestProgram;

class tst_listfiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void linesEndWithCrLfLfOrCrAndAreWrittenWithCrLf()
    {
        LineReader r(QByteArray("a\r\nb\nc\rd\r\n\r\ne"));
        QStringList got;
        while (auto line = r.next())
            got << *line;
        QCOMPARE(got, (QStringList{"a", "b", "c", "d", "", "e"}));
        QVERIFY(!LineReader(QByteArray()).next());
        LineWriter w;
        w.add(QStringLiteral(" 3 "));
        w.add(QString());
        w.add(QStringLiteral("/p/\u00e9t\u00e9.jpg"));
        QCOMPARE(w.bytes(), QByteArray(" 3 \r\n\r\n/p/\xc3\xa9t\xc3\xa9.jpg\r\n"));
    }

    // A byte order mark counts only at the very start of a file; the same
    // character anywhere else is text, and a save keeps it.
    void byteOrderMarkOnlyAtTheStart()
    {
        LineReader r(QByteArray("\xef\xbb\xbf" "a\r\n\xef\xbb\xbf" "b\r\n"));
        QCOMPARE(*r.next(), QStringLiteral("a"));
        QCOMPARE(*r.next(), QStringLiteral("\uFEFFb"));

        const QString marked = QStringLiteral("\uFEFF 10 ");
        LineWriter w;
        w.add(marked);
        w.add(marked);
        LineReader back(w.bytes());
        QCOMPARE(*back.next(), marked);
        QCOMPARE(*back.next(), marked);
        QVERIFY(!back.next());
    }

    void saveWritesExactBytesAndLoadsBack()
    {
        TestProgram p;
        PictureSettings s = loadPictureSettings(*p);
        QCOMPARE(s.randomP, std::optional<int>(0)); // the default "0" on a first start
        QVERIFY(!s.interval);
        QVERIFY(s.pictures.isEmpty());

        const QStringList pics{"/home/u/a.jpg", "/home/u/b.bmp", "/home/u/a.jpg"};
        QVERIFY(!savePictureSettings(*p, 1, QStringLiteral("5"), pics));
        QCOMPARE(p.readProgramFile(kPictureListFile),
                 QByteArray("5\r\n 3 \r\n/home/u/a.jpg\r\n/home/u/b.bmp\r\n/home/u/a.jpg\r\n"));
        QCOMPARE(p->store().get(kAppTitle, kPresets, kRandomP, "x"), QStringLiteral("1"));
        s = loadPictureSettings(*p);
        QCOMPARE(s.randomP, std::optional<int>(1));
        QCOMPARE(s.interval, std::optional<QString>(QStringLiteral("5")));
        QCOMPARE(s.pictures, pics);

        // An empty interval is stored as ten.
        QVERIFY(!savePictureSettings(*p, 0, QString(), {}));
        QCOMPARE(p.readProgramFile(kPictureListFile), QByteArray(" 10 \r\n 0 \r\n"));
    }

    void damagedFilesLoadWhatTheyCan_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QStringList>("pictures");
        const QString none = QStringLiteral("<none>");
        QTest::newRow("extra lines ignored") << QByteArray("5\r\n 1 \r\n/a\r\n/b\r\n") << "5" << QStringList{"/a"};
        QTest::newRow("count with blanks") << QByteArray("5\r\n   2   \r\n/a\r\n/b\r\n") << "5" << QStringList{"/a", "/b"};
        QTest::newRow("LF only") << QByteArray(" 10 \n 2 \n/a\n/b\n") << " 10 " << QStringList{"/a", "/b"};
        QTest::newRow("CR only") << QByteArray("7\r 2 \r/a\r/b\r") << "7" << QStringList{"/a", "/b"};
        QTest::newRow("truncated: no line repeated") << QByteArray("5\r\n 4 \r\n/a\r\n") << "5" << QStringList{"/a"};
        QTest::newRow("count 32767 and no entries") << QByteArray("5\r\n 32767 \r\n") << "5" << QStringList{};
        QTest::newRow("negative count") << QByteArray("5\r\n-3 \r\n/a\r\n") << "5" << QStringList{};
        QTest::newRow("count above range") << QByteArray("5\r\n 40000 \r\n/a\r\n") << "5" << QStringList{};
        QTest::newRow("count not a number") << QByteArray("5\r\nabc\r\n/a\r\n") << "5" << QStringList{};
        QTest::newRow("missing count line") << QByteArray("3\r\n") << "3" << QStringList{};
        QTest::newRow("empty file") << QByteArray() << none << QStringList{};
        QTest::newRow("interval of any text") << QByteArray("hello world\r\n 1 \r\n/a\r\n") << "hello world" << QStringList{"/a"};
        QTest::newRow("empty entry line") << QByteArray("5\r\n 2 \r\n\r\n/b\r\n") << "5" << QStringList{"", "/b"};
        QByteArray binary("\x01\xff\x00\x7f\r\n 1 \r\n\xfe\xfa\x00x\r\n", 17);
        QTest::newRow("binary bytes") << binary << "*" << QStringList{"*"};
        QTest::newRow("1 MB line") << (QByteArray(1 << 20, 'x') + "\r\n 1 \r\n" + QByteArray(1 << 20, 'y') + "\r\n")
                                   << QString(1 << 20, u'x') << QStringList{QString(1 << 20, u'y')};
    }
    void damagedFilesLoadWhatTheyCan()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, interval);
        QFETCH(QStringList, pictures);
        TestProgram p;
        p.writeProgramFile(kPictureListFile, bytes);
        const PictureSettings s = loadPictureSettings(*p);
        if (interval == u"<none>") {
            QVERIFY(!s.interval);
        } else if (interval == u"*") {
            QVERIFY(s.interval); // undecodable bytes come back as replacement characters
            QCOMPARE(s.pictures.size(), pictures.size());
            return;
        } else {
            QCOMPARE(*s.interval, interval);
        }
        QCOMPARE(s.pictures, pictures);
    }

    void storedRandomValue_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("state"); // -1: the box stays as designed
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("2 grayed") << "2" << 2;
        QTest::newRow("5") << "5" << -1;
        QTest::newRow("-1") << "-1" << -1;
        QTest::newRow("letters") << "yes" << -1;
        QTest::newRow("40000") << "40000" << -1;
        QTest::newRow("blanks") << " 1 " << 1;
    }
    // The same rules for both switches.
    void storedRandomValue()
    {
        QFETCH(QString, stored);
        QFETCH(int, state);
        TestProgram p, m;
        QVERIFY(!p->store().save(kAppTitle, kPresets, kRandomP, stored));
        QVERIFY(!m->store().save(kAppTitle, kPresets, kRandomM, stored));
        QCOMPARE(loadPictureSettings(*p).randomP.value_or(-1), state);
        QCOMPARE(loadMusicSettings(*m).randomM.value_or(-1), state);
    }

    void musicListRoundTrip()
    {
        TestProgram p;
        QVERIFY(!saveMusicSettings(*p, 1, {"/m/a.mp3", "/m/b.wav"}));
        QCOMPARE(p.readProgramFile(kMusicListFile), QByteArray(" 2 \r\n/m/a.mp3\r\n/m/b.wav\r\n"));
        const MusicSettings s = loadMusicSettings(*p);
        QCOMPARE(s.randomM, std::optional<int>(1));
        QCOMPARE(s.songs, (QStringList{"/m/a.mp3", "/m/b.wav"}));
        QCOMPARE(readSongCount(*p), std::optional<Integer>(2));
        // Both switches live side by side in one section.
        QVERIFY(!savePictureSettings(*p, 0, {}, {}));
        QCOMPARE(p->store().get(kAppTitle, kPresets, kRandomM, "x"), QStringLiteral("1"));

        QVERIFY(!saveMusicSettings(*p, 0, {}));
        QCOMPARE(p.readProgramFile(kMusicListFile), QByteArray(" 0 \r\n"));
        QVERIFY(loadMusicSettings(*p).songs.isEmpty());
    }

    void damagedMusicFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("songs");
        QTest::addColumn<int>("count"); // what the show's count read gives; -1 none
        QTest::newRow("many blanks") << QByteArray("   3   \r\n/a\r\n/b\r\n/c\r\n\r\n") << QStringList{"/a", "/b", "/c"}
                                     << 3;
        QTest::newRow("truncated") << QByteArray(" 3 \r\n/a\r\n") << QStringList{"/a"} << 3;
        QTest::newRow("LF only") << QByteArray(" 2 \n/a\n/b\n") << QStringList{"/a", "/b"} << 2;
        QTest::newRow("count above range") << QByteArray(" 40000 \r\n/a\r\n") << QStringList{} << -1;
        QTest::newRow("letters") << QByteArray("abc\r\n/a\r\n") << QStringList{} << -1;
        QTest::newRow("-1") << QByteArray("-1\r\n/a\r\n") << QStringList{} << -1;
        QTest::newRow("empty file") << QByteArray() << QStringList{} << -1;
    }
    void damagedMusicFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, songs);
        QFETCH(int, count);
        TestProgram p;
        p.writeProgramFile(kMusicListFile, bytes);
        QCOMPARE(loadMusicSettings(*p).songs, songs);
        if (QByteArray(QTest::currentDataTag()) == "-1")
            QCOMPARE(readSongCount(*p), std::optional<Integer>(-1));
        else
            QCOMPARE(readSongCount(*p).value_or(-1), count);
    }

    void failedSaveNamesTheFileAndDestroysNothing()
    {
        TestProgram p;
        // A folder standing where the list file belongs makes the write fail.
        const QString path = p->programFile(kPictureListFile);
        QVERIFY(QDir().mkpath(path + QStringLiteral("/keep")));
        const QString message = savePictureSettings(*p, 0, QStringLiteral("9"), {"/b"}).value_or(QString());
        QVERIFY2(message.contains(path), qPrintable(message));
        QVERIFY(QFileInfo(path + QStringLiteral("/keep")).isDir());
    }
};

QTEST_GUILESS_MAIN(tst_listfiles)
#include "tst_listfiles.moc"
