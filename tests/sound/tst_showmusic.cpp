// Music in the show, heard for real: the real program on a private X server
// plays its songs into a private sound server whose output is recorded and its
// pitches measured.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/Desktop.h"
#include "support/Sound.h"

using namespace vz::test;

namespace {

const QString kMusic = QStringLiteral(VZ_TEST_DATA "/music/");
// One 0.4 s tone per format, each of its own pitch.
const QStringList kSongs{"440.flac", "550.ogg", "660.opus", "770.m4a", "880.mp3", "990.wav"};
const std::vector<int> kPitches{440, 550, 660, 770, 880, 990};
constexpr qint64 kSongMs = 400;

// The show, started with a play list, playing into the test's sound server.
struct Show {
    XServer x;
    App app{x};
    SoundServer &sound;
    qint64 startMs = 0;

    QTemporaryDir temp;

    Show(SoundServer &server, const QStringList &songs, bool random = false) : sound(server)
    {
        app.setEnv(QStringLiteral("PULSE_SERVER"), sound.address());
        app.setEnv(QStringLiteral("TMPDIR"), temp.path());
        QByteArray list = " " + QByteArray::number(songs.size()) + " \r\n";
        for (const QString &song : songs)
            list += song.toUtf8() + "\r\n";
        app.writeFile(QStringLiteral("RozM.ini"), list);
        app.setStored(QStringLiteral("RandomM"), QString::number(int(random)));
        // No picture is due within the test: the show only plays music.
        app.writeFile(QStringLiteral("RozG.ini"), "60\r\n 0 \r\n");
        // What the show before this one played has died away.
        waitFor([&] { return level(sound.samples(), sound.nowMs() - 150, sound.nowMs()) < 0.002; }, 3000);
        startMs = sound.nowMs();
        app.start({QStringLiteral("/s")});
    }
    std::vector<Stretch> stretches(const std::vector<int> &pitches, int windowMs = 20, int minMs = 100)
    {
        const auto &all = sound.samples();
        const std::vector<qint16> since(all.begin() + std::min<qint64>(startMs * SoundServer::kRate / 1000, all.size()),
                                        all.end());
        return pitchStretches(since, pitches, windowMs, minMs);
    }
    // The songs heard so far, by pitch. Pieces of one pitch that together last
    // not much longer than a song (a moment's dropout) count once; a song
    // played twice lasts twice as long.
    std::vector<int> heard()
    {
        std::vector<int> out;
        qint64 lastMs = 0;
        for (const Stretch &s : stretches(kPitches)) {
            const qint64 ms = s.toMs - s.fromMs;
            if (s.pitch && !out.empty() && out.back() == s.pitch && lastMs + ms <= kSongMs + 150)
                lastMs += ms;
            else if (s.pitch)
                out.push_back(s.pitch), lastMs = ms;
        }
        return out;
    }
    bool hears(size_t songs) { return waitFor([&] { return heard().size() >= songs; }, 15000); }
};

} // namespace

class tst_showmusic : public QObject
{
    Q_OBJECT
    std::unique_ptr<SoundServer> m_sound;

private Q_SLOTS:
    void initTestCase()
    {
        m_sound = std::make_unique<SoundServer>();
        QVERIFY(m_sound->ok());
        m_sound->startRecording();
    }

    // Marked at both ends (0.3 s of 660 Hz, 1.4 s of 440 Hz, 0.3 s of 880 Hz),
    // a song is heard whole: the first of the show, on a sound server that
    // has played nothing yet and starts late; later, as a wave file handed
    // over just before its end; and as an MP3 whose length is only estimated,
    // played to its end. Copies of short wave files stay out of the
    // temporary folder, where a killed show would leave them.
    void markedSongsAreHeardWhole()
    {
        QStringList list;
        for (const char *song : {"marked.wav", "990.wav", "marked.mp3", "550.ogg"})
            list << kMusic + QLatin1String(song);
        Show show(*m_sound, list);
        const std::vector<int> expected{660, 440, 880, 990, 660, 440, 880, 550, 660, 440, 880};
        std::vector<int> pitches;
        std::vector<qint64> lengths;
        QVERIFY(waitFor([&] {
            pitches.clear(), lengths.clear();
            for (const Stretch &s : show.stretches({660, 440, 880, 990, 550}, 10, 50))
                if (s.pitch)
                    pitches.push_back(s.pitch), lengths.push_back(s.toMs - s.fromMs);
            return pitches.size() > expected.size();
        }, 30000));
        qInfo() << "heard (Hz, ms):" << pitches << lengths;
        QCOMPARE(std::vector<int>(pitches.begin(), pitches.begin() + expected.size()), expected);
        for (size_t i : {0, 1, 2, 4, 5, 6, 8, 9, 10})
            QCOMPARE_LE(qAbs(lengths[i] - (expected[i] == 440 ? 1400 : 300)), 20);
        QVERIFY(QDir(show.temp.path()).isEmpty());
    }

    // Every format in list order, one after the other without the tick's
    // half-second pause; a song that does not play and a 10 ms clip of 64-bit
    // floating-point samples on the way.
    void everyFormatInListOrderAtOnce()
    {
        QStringList list;
        for (const QString &song : kSongs)
            list << kMusic + song;
        list.insert(3, QStringLiteral(VZ_TEST_DATA "/ORIGIN.md")); // not sound
        list << kMusic + QStringLiteral("1320-f64-10ms.wav");
        Show show(*m_sound, list);
        QVERIFY(show.hears(7));
        const std::vector<int> heard = show.heard();
        QCOMPARE(std::vector<int>(heard.begin(), heard.begin() + 7), (std::vector<int>{440, 550, 660, 770, 880, 990, 440}));
        const auto clip = show.stretches({440, 550, 660, 770, 880, 990, 1320}, 10, 10);
        QVERIFY(std::any_of(clip.begin(), clip.end(), [](const Stretch &s) { return s.pitch == 1320; }));
        QList<qint64> gaps;
        std::vector<Stretch> tones;
        for (const Stretch &s : show.stretches(kPitches))
            if (s.pitch)
                tones.push_back(s);
        for (size_t i = 1; i < tones.size(); ++i)
            if (tones[i].pitch != tones[i - 1].pitch)
                gaps << std::max<qint64>(0, tones[i].fromMs - tones[i - 1].toMs);
        std::sort(gaps.begin(), gaps.end());
        qInfo() << "gaps between songs (ms):" << gaps;
        QVERIFY(gaps.size() >= 5 && gaps[gaps.size() / 2] <= scaledMs(250));
    }

    void randomOrderStartsWithTheFirstSong()
    {
        Show show(*m_sound, {kMusic + kSongs[4], kMusic + kSongs[0], kMusic + kSongs[2]}, true);
        QVERIFY(show.hears(2));
        const std::vector<int> heard = show.heard();
        QCOMPARE(heard[0], 880);
        QVERIFY(std::all_of(heard.begin(), heard.end(), [](int p) { return p == 880 || p == 440 || p == 660; }));
    }

    // A song deleted while it plays is skipped next time round, without a
    // word; moving the mouse ends the show and its music at once.
    void deletedSongIsSkippedAndTheEndSilences()
    {
        QTemporaryDir dir;
        QStringList list;
        for (int i : {0, 2, 4})
            QVERIFY(QFile::copy(kMusic + kSongs[i], list.emplace_back(dir.filePath(kSongs[i]))));
        Show show(*m_sound, list);
        QVERIFY(show.hears(1));
        QVERIFY(QFile::remove(list[0]));
        QVERIFY(show.hears(4));
        const std::vector<int> heard = show.heard();
        QCOMPARE(std::vector<int>(heard.begin(), heard.begin() + 4), (std::vector<int>{440, 660, 880, 660}));
        QCOMPARE(show.x.windowsNamed(QStringLiteral("^Veroridovuz$")).size(), 1);
        const qint64 at = m_sound->nowMs();
        show.x.mouseMove(3, 3);
        QVERIFY(show.app.waitForExit(5000));
        QVERIFY(waitFor([&] { return m_sound->nowMs() > at + 600; }, 2000));
        QCOMPARE_LT(level(m_sound->samples(), at + 200, at + 600), 0.002);
    }
};

QTEST_GUILESS_MAIN(tst_showmusic)
#include "tst_showmusic.moc"
