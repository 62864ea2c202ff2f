#pragma once
// The show's music player: opens a song and plays it in the background; the
// show polls its state, hears when a song is over and stops it. It has no window.

#include <QElapsedTimer>
#include <QObject>
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
    // Idle: nothing playing. Opening: a song was opened and has not yet been
    // heard to start. Playing: it started and has not yet ended.
    enum class Phase { Idle, Opening, Playing };
    static constexpr int kOpeningLimitMs = 10000;
    void follow();
    void finish(bool played);

    Phase m_phase = Phase::Idle;
    QString m_song;
    QElapsedTimer m_opening;
    std::unique_ptr<QTemporaryFile> m_lengthened;
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};

} // namespace vz
