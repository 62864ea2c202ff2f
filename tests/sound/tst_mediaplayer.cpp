// The show's player against a real sound server: what it plays is recorded
// from the server's null sink and its pitch measured.

#include <QTemporaryDir>
#include <QTest>

#include "show/MediaPlayer.h"
#include "support/Desktop.h"
#include "support/Sound.h"

using namespace vz;
using namespace vz::test;

class tst_mediaplayer : public QObject
{
    Q_OBJECT
    std::unique_ptr<SoundServer> m_sound;
    QTemporaryDir m_dir;

    QString file(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        m_sound = std::make_unique<SoundServer>();
        QVERIFY(m_sound->ok());
        // The player connects to the sound server named here when it is first made.
        qputenv("PULSE_SERVER", m_sound->address().toLocal8Bit());
        QVERIFY(makeTone(file("a440.wav"), 440, 1.0));
        QVERIFY(makeTone(file("b660.mp3"), 660, 1.0));
        m_sound->startRecording();
    }

    void playsASongToItsEndAndReportsIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pitch");
        QTest::newRow("wav") << "a440.wav" << 440;
        QTest::newRow("mp3") << "b660.mp3" << 660;
    }
    void playsASongToItsEndAndReportsIt()
    {
        QFETCH(QString, name);
        QFETCH(int, pitch);
        MediaPlayer player;
        const qint64 from = m_sound->clockMs() - m_sound->recordingStartMs();
        QVERIFY(player.Open(file(name)));
        // Opening counts as playing from the first moment.
        QCOMPARE(player.PlayState(), MediaPlayer::kPlaying);
        QTRY_COMPARE_WITH_TIMEOUT(player.PlayState(), MediaPlayer::kStopped, 5000);
        QTest::qWait(200);
        std::vector<qint16> rec(m_sound->samples().begin() + from * SoundServer::kRate / 1000,
                                m_sound->samples().end());
        const auto stretches = pitchStretches(rec, {440, 660});
        std::vector<int> heard;
        for (const auto &s : stretches)
            if (s.pitch)
                heard.push_back(s.pitch);
        QCOMPARE(heard, std::vector<int>{pitch});
        for (const auto &s : stretches)
            if (s.pitch == pitch)
                QVERIFY2(s.toMs - s.fromMs > 800, qPrintable(QString::number(s.toMs - s.fromMs)));
    }

    void stopSilencesAtOnce()
    {
        MediaPlayer player;
        QVERIFY(player.Open(file("a440.wav")));
        QTRY_VERIFY_WITH_TIMEOUT(level(m_sound->samples(), m_sound->clockMs() - m_sound->recordingStartMs() - 100,
                                       m_sound->clockMs() - m_sound->recordingStartMs()) > 0.05,
                                 3000);
        const qint64 stopAt = m_sound->clockMs() - m_sound->recordingStartMs();
        player.Stop();
        QCOMPARE(player.PlayState(), MediaPlayer::kStopped);
        QTest::qWait(600);
        const auto &rec = m_sound->samples();
        QVERIFY2(level(rec, stopAt + 200, stopAt + 500) < 0.005,
                 qPrintable(QString::number(level(rec, stopAt + 200, stopAt + 500))));
        QCOMPARE(player.PlayState(), MediaPlayer::kStopped);
    }

    void namesThatCannotPlayReadAsStopped()
    {
        MediaPlayer player;
        QVERIFY(!player.Open(QString()));
        QCOMPARE(player.PlayState(), MediaPlayer::kStopped);
        QVERIFY(!player.Open(file("missing.mp3")));
        QCOMPARE(player.PlayState(), MediaPlayer::kStopped);
        QVERIFY(!player.Open(m_dir.path())); // a folder
        QCOMPARE(player.PlayState(), MediaPlayer::kStopped);
        // A file that is not sound opens, then stops by itself.
        QFile junk(file("junk.mp3"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
        junk.close();
        player.Open(junk.fileName());
        QTRY_COMPARE_WITH_TIMEOUT(player.PlayState(), MediaPlayer::kStopped, 5000);
    }
};

QTEST_MAIN(tst_mediaplayer)
#include "tst_mediaplayer.moc"
