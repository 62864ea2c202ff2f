// Music in the show, heard for real: the real program on a private X server
// plays into a private sound server whose output is recorded and its pitches
// measured.

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <csignal>

#include "support/Desktop.h"
#include "support/Sound.h"

using namespace vz::test;

namespace {

const QString kShow = QStringLiteral("^Veroridovuz$");
const std::vector<int> kPitches{440, 660, 880};
// Every song is a one-second tone.
constexpr qint64 kSongMs = 1000;

struct MusicShow {
    SoundServer sound;
    XServer x;
    App app{x};
    QStringList songs;

    MusicShow()
    {
        QProcessEnvironment env = app.env();
        sound.applyTo(env);
        for (const QString &k : env.keys())
            app.setEnv(k, env.value(k));
        const QStringList names{"s440.wav", "s660.mp3", "s880.wav"};
        for (int i = 0; i < 3; ++i) {
            songs << app.filePath(names[i]);
            makeTone(songs.last(), kPitches[i], kSongMs / 1000.0);
        }
        // A picture list with a picture, so the slide show itself runs normally.
        writePictureList(app, QStringLiteral("1"), {solidPicture(app, QStringLiteral("p.bmp"), {100, 51}, Qt::red)});
    }
    void setPlayList(const QStringList &list, bool random = false)
    {
        QByteArray b = " " + QByteArray::number(list.size()) + " \r\n";
        for (const QString &s : list)
            b += s.toUtf8() + "\r\n";
        app.writeFile(QStringLiteral("RozM.ini"), b);
        app.setStored(QStringLiteral("RandomM"), random ? QStringLiteral("1") : QStringLiteral("0"));
    }
    bool start()
    {
        sound.startRecording();
        x.mouseMove(500, 500);
        app.start({QStringLiteral("/s")});
        return waitFor([&] { return !x.windowsNamed(kShow).isEmpty(); });
    }
    qint64 nowMs() const { return sound.clockMs() - sound.recordingStartMs(); }
    // The songs heard so far, by pitch, in order. A song that the sound
    // server let drop out for a moment (a loaded machine) is heard in two
    // pieces of the same pitch that together last no longer than one song:
    // they count once. Two plays of a song last twice as long.
    std::vector<int> heard()
    {
        std::vector<int> out;
        qint64 lastMs = 0;
        for (const Stretch &s : pitchStretches(sound.samples(), kPitches)) {
            if (!s.pitch)
                continue;
            const qint64 ms = s.toMs - s.fromMs;
            if (!out.empty() && out.back() == s.pitch && lastMs + ms <= kSongMs + 60) {
                lastMs += ms;
                continue;
            }
            out.push_back(s.pitch);
            lastMs = ms;
        }
        return out;
    }
    int messageBoxes() const { return x.windowsNamed(kShow).size() - 1; }
};

} // namespace

class tst_showmusic : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void orderModePlaysTheListAroundWithShortGaps()
    {
        MusicShow m;
        QVERIFY(m.sound.ok());
        m.setPlayList(m.songs);
        QVERIFY(m.start());
        QVERIFY(waitFor([&] { return m.heard().size() >= 5; }, 20000));
        const std::vector<int> heard = m.heard();
        qInfo() << "heard" << QList<int>(heard.begin(), heard.end());
        QCOMPARE(std::vector<int>(heard.begin(), heard.begin() + 5), (std::vector<int>{440, 660, 880, 440, 660}));
        // Between songs: the 500 ms poll plus the time to open the next one.
        const auto stretches = pitchStretches(m.sound.samples(), kPitches);
        QList<qint64> gaps;
        for (size_t i = 1; i + 1 < stretches.size(); ++i)
            if (stretches[i].pitch == 0 && stretches[i - 1].pitch && stretches[i + 1].pitch)
                gaps << stretches[i].toMs - stretches[i].fromMs;
        qInfo() << "gaps between songs (ms):" << gaps;
        for (qint64 g : gaps)
            QVERIFY2(g <= 800, qPrintable(QString::number(g)));
    }

    void oneSongRepeatsAndRandomStartsWithTheFirst_data()
    {
        QTest::addColumn<bool>("random");
        QTest::newRow("order, one song") << false;
        QTest::newRow("random, first song first") << true;
    }
    void oneSongRepeatsAndRandomStartsWithTheFirst()
    {
        QFETCH(bool, random);
        MusicShow m;
        if (random)
            m.setPlayList({m.songs[2], m.songs[0], m.songs[1]}, true);
        else
            m.setPlayList({m.songs[1]});
        QVERIFY(m.start());
        if (random) {
            QVERIFY(waitFor([&] { return !m.heard().empty(); }, 10000));
            QCOMPARE(m.heard()[0], 880);
            return;
        }
        // The one-second song plays again and again: more than two seconds of
        // it, and nothing else.
        auto heardMs = [&] {
            qint64 total = 0;
            for (const Stretch &s : pitchStretches(m.sound.samples(), kPitches))
                total += s.pitch == 660 ? s.toMs - s.fromMs : 0;
            return total;
        };
        QVERIFY2(waitFor([&] { return heardMs() > 2500; }, 25000), qPrintable(QString::number(heardMs())));
        for (int pitch : m.heard())
            QCOMPARE(pitch, 660);
    }

    void missingSongIsSkipped()
    {
        MusicShow m;
        m.setPlayList({m.songs[0], m.app.filePath(QStringLiteral("gone.mp3")), m.songs[2]});
        QVERIFY(m.start());
        QVERIFY(waitFor([&] { return m.heard().size() >= 3; }, 15000));
        const std::vector<int> heard = m.heard();
        QCOMPARE(std::vector<int>(heard.begin(), heard.begin() + 3), (std::vector<int>{440, 880, 440}));
        QCOMPARE(m.messageBoxes(), 0);
    }

    void songDeletedWhilePlayingLetsTheShowGoOn()
    {
        MusicShow m;
        QVERIFY(m.sound.ok());
        m.setPlayList(m.songs);
        QVERIFY(m.start());
        QVERIFY(waitFor([&] { return !m.heard().empty(); }, 10000));
        QVERIFY(QFile::remove(m.songs[0]));
        // The next songs follow; next time round the deleted one is skipped.
        QVERIFY(waitFor([&] { return m.heard().size() >= 4; }, 20000));
        const std::vector<int> heard = m.heard();
        QStringList timeline;
        for (const Stretch &s : pitchStretches(m.sound.samples(), kPitches))
            timeline << QStringLiteral("%1 Hz %2-%3 ms").arg(s.pitch).arg(s.fromMs).arg(s.toMs);
        qInfo() << "heard" << timeline.join(QStringLiteral(", "));
        QCOMPARE(std::vector<int>(heard.begin(), heard.begin() + 4), (std::vector<int>{440, 660, 880, 660}));
        QCOMPARE(m.messageBoxes(), 0);
        QVERIFY(m.app.running());
    }

    void noMusicMeansSilenceAndNoMessage_data()
    {
        QTest::addColumn<bool>("listFile");
        QTest::newRow("empty play list") << true;
        QTest::newRow("no music list file") << false;
    }
    void noMusicMeansSilenceAndNoMessage()
    {
        QFETCH(bool, listFile);
        MusicShow m;
        if (listFile)
            m.setPlayList({});
        QVERIFY(m.start());
        // The slide show runs normally: the picture comes after one interval.
        QVERIFY(waitFor([&] {
            const QImage shot = m.x.screenshot();
            return qRed(shot.pixel(512, 384)) > 200;
        }, 5000));
        const qint64 t = m.nowMs();
        QVERIFY(!waitFor([&] { return m.messageBoxes() > 0; }, 1500));
        QVERIFY(level(m.sound.samples(), 0, t + 1500) < 0.002);
        QVERIFY(m.app.running());
    }

    // Moving the mouse or SIGTERM: silent within 200 ms; the signal ends the
    // program within 200 ms too, cleanly and without a word.
    void endingSilencesAtOnce_data()
    {
        QTest::addColumn<bool>("signal");
        QTest::newRow("mouse move") << false;
        QTest::newRow("SIGTERM") << true;
    }
    void endingSilencesAtOnce()
    {
        QFETCH(bool, signal);
        MusicShow m;
        m.setPlayList({m.songs[0]});
        QVERIFY(m.start());
        QVERIFY(waitFor([&] { return level(m.sound.samples(), m.nowMs() - 100, m.nowMs()) > 0.05; }, 5000));
        const qint64 at = m.nowMs();
        QElapsedTimer t;
        t.start();
        if (signal)
            ::kill(pid_t(m.app.pid()), SIGTERM);
        else
            m.x.mouseMove(3, 3);
        QVERIFY(m.app.waitForExit(5000));
        qInfo() << "ended" << t.elapsed() << "ms after the input";
        if (signal) {
            QVERIFY(t.elapsed() <= scaledMs(200));
            QCOMPARE(m.app.exitCode(), 0);
            QVERIFY2(m.app.stderrText().isEmpty(), m.app.stderrText().constData());
        }
        QVERIFY(waitFor([&] { return m.nowMs() > at + 700; }));
        const double after = level(m.sound.samples(), at + 200, at + 700);
        QVERIFY2(after < 0.002, qPrintable(QString::number(after)));
    }
};

QTEST_GUILESS_MAIN(tst_showmusic)
#include "tst_showmusic.moc"
