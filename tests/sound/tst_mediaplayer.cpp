// The show's player against a real sound server: its play state from the
// moment a song is opened, and silence the moment it is stopped.

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

    // What it plays and how it sounds is heard in the show's own test.
    void openingCountsAsPlayingUntilTheEnd()
    {
        for (const char *name : {"a440.wav", "b660.mp3"}) {
            MediaPlayer player;
            QVERIFY(player.Open(file(QString::fromLatin1(name))));
            QCOMPARE(player.PlayState(), MediaPlayer::kPlaying);
            QTRY_COMPARE_WITH_TIMEOUT(player.PlayState(), MediaPlayer::kStopped, 5000);
        }
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
