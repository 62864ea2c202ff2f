#pragma once
// The show's music player: opens a song and plays it in the background; the
// show polls its state, hears when a song is over and stops it. It has no window.
//
// A new song is heard only some time after it is opened (the sound pipeline
// fills its buffers first). So that songs follow each other without a pause,
// a song whose length is known is reported as ended that much before its last
// sound, and that last sound plays out to its end on its own while the next
// song starts.
//
// The player's pipeline keeps time by the system clock and drops the sound it
// finds late; a sound server that starts a stream late (a fresh server, an
// output waking from suspend) would cost the first song a good part of its
// first second. When no song has been heard for a while, a short silence is
// therefore played first, again until the server plays it in time, and only
// then the song.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>

class QMediaPlayer;
class QAudioOutput;
class QBuffer;

namespace vz {

class MediaPlayer : public QObject
{
    Q_OBJECT
public:
    // The value PlayState reads while a song plays (or is still opening).
    static constexpr int kPlaying = 2;
    static constexpr int kStopped = 0;

    explicit MediaPlayer(QObject *parent = nullptr);
    ~MediaPlayer() override;

    // Starts playing the file by itself. False when the name is empty or names
    // no file; a file that turns out not to play stops on its own.
    bool Open(const QString &fileName);
    // Playback ends and stays ended.
    void Stop();
    // kPlaying while a song plays or is still opening, kStopped otherwise.
    int PlayState() const;

Q_SIGNALS:
    // The song opened last has come to its end (played true) or turned out
    // not to play. Not sent for Stop, nor for a name that Open refused.
    void ended(bool played);

private:
    // What plays one sound: its own player and output, and the bytes it plays
    // when they are made in memory (a lengthened wave file, the lead-in).
    struct Song {
        std::unique_ptr<QBuffer> bytes;
        std::unique_ptr<QAudioOutput> output;
        std::unique_ptr<QMediaPlayer> player;
    };
    // How long before its last sound a song is reported as ended: a little
    // less than a new song takes to be heard through the desktop's sound
    // server (130 to 150 ms), so that two songs seldom overlap.
    static constexpr int kEarlyEndMs = 100;
    // The ended song's last sound plays until its player reports the end;
    // this long after its expected end it is stopped all the same.
    static constexpr int kTailGraceMs = 3000;
    // After this long without a song heard the sound server may have let its
    // output sleep, and the next song gets a lead-in.
    static constexpr qint64 kServerIdleMs = 3000;
    // The lead-in's silence, how much later than that it may end and still
    // count as played in time, and how often it is tried before the song
    // starts all the same.
    static constexpr int kLeadInMs = 500;
    static constexpr int kLeadInSlackMs = 250;
    static constexpr int kMostLeadIns = 5;

    // Idle: nothing playing. Leading: the lead-in plays, the song waits.
    // Opening: a song was opened and has not yet been heard to start.
    // Playing: it started and has not yet ended.
    enum class Phase { Idle, Leading, Opening, Playing };
    static constexpr int kOpeningLimitMs = 10000;
    static Song makePlayer(std::unique_ptr<QBuffer> bytes, const QString &path);
    void startLeadIn();
    void startSong(std::unique_ptr<QBuffer> bytes);
    void follow();
    void followLeadIn();
    void watchForEnd();
    void handOver();
    void finish(bool played);
    void dropSong();

    Phase m_phase = Phase::Idle;
    QString m_song;
    QString m_songPath;
    // What the song plays from memory, kept while the lead-in plays.
    std::unique_ptr<QBuffer> m_songBytes;
    // Whether the song's length is exact enough to hand over before its end.
    bool m_lengthKnown = false;
    QElapsedTimer m_opening;
    // Since a song or lead-in of this player was last heard; invalid before
    // the first.
    QElapsedTimer m_lastHeard;
    QElapsedTimer m_leadInClock;
    int m_leadIns = 0;
    QTimer m_earlyEnd;
    QTimer m_tailEnd;
    Song m_current;
    Song m_leadIn;
    // The song reported ended whose last sound still plays.
    Song m_tail;
};

} // namespace vz
