#pragma once
// The show's music player: opens a song and plays it in the background; the
// show polls its state, hears when a song is over and stops it. It has no window.
//
// A new song is heard only some time after it is opened (the sound pipeline
// fills its buffers first). So that songs follow each other without a pause,
// a song is reported as ended that much before its last sound, and that last
// sound plays out on its own while the next song starts.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>

class QMediaPlayer;
class QAudioOutput;
class QTemporaryFile;

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
    // What plays one song: its own player and output, and the copy it plays
    // when the file needed lengthening.
    struct Song {
        std::unique_ptr<QTemporaryFile> lengthened;
        std::unique_ptr<QAudioOutput> output;
        std::unique_ptr<QMediaPlayer> player;
    };
    // How long before its last sound a song is reported as ended: a little
    // less than a new song takes to be heard through the desktop's sound
    // server (130 to 150 ms), so that two songs seldom overlap. Songs whose
    // length is not known end when the player says so.
    static constexpr int kEarlyEndMs = 100;
    // The ended song's last sound is cut off after this long, in case its
    // length was estimated short.
    static constexpr int kTailLimitMs = 400;

    // Idle: nothing playing. Opening: a song was opened and has not yet been
    // heard to start. Playing: it started and has not yet ended.
    enum class Phase { Idle, Opening, Playing };
    static constexpr int kOpeningLimitMs = 10000;
    void follow();
    void watchForEnd();
    void handOver();
    void finish(bool played);
    void stopSong();

    Phase m_phase = Phase::Idle;
    QString m_song;
    QElapsedTimer m_opening;
    QTimer m_earlyEnd;
    QTimer m_tailEnd;
    Song m_current;
    // The song reported ended whose last sound still plays.
    Song m_tail;
};

} // namespace vz
