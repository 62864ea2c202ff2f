#pragma once
// The show's music: the songs of the hidden music dialog's play list, one
// after another, in list order or at random. The music timer polls the player
// every 500 ms and opens the next song once the last one has stopped; the
// player's own end report starts it at once. Failures are skipped silently:
// a show without music is still a show.

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "runtime/Numbers.h"
#include "show/ShuffleRound.h"

namespace vz {

class MediaPlayer;
class MusicClaim;
class Program;

class MusicSchedule final : public QObject
{
    Q_OBJECT
public:
    MusicSchedule(Program &program, std::function<double()> draw, QObject *parent);
    ~MusicSchedule() override;
    void setDraw(std::function<double()> draw) { m_draw = std::move(draw); }

    // The show's load: the music waits, and starts again from the first song,
    // or from `song` when the show continues where the last one stopped.
    void rewind(Integer song = 0);
    // Starts the music at songnum(); with a claim, once the claim is gained
    // (and at once when it is free).
    void start(MusicClaim *claim);
    // Opens song number `song` of the play list and keeps the music timer going.
    void musicon(Integer song);
    // The song last started (or to start, after rewind) in list order.
    Integer songnum() const { return m_songnum; }
    // The music ends and stays ended; a claim is given up.
    void stop();

Q_SIGNALS:
    // A song was opened in list order; the next in order is song + 1.
    void opened(Integer song);

private:
    void Timer2_Timer();
    void songEnded(bool played);
    MediaPlayer &player();

    Program &m_program;
    QTimer Timer2;
    std::unique_ptr<MediaPlayer> m_player;
    MusicClaim *m_claim = nullptr;
    std::function<double()> m_draw;
    ShuffleRound m_round; // songs left in this round, with "each song once"
    Integer songcount = 0;
    Integer m_songnum = 0;
    int m_failedSongs = 0; // songs in a row that did not play
};

} // namespace vz
