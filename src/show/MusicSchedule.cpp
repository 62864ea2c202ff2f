#include "show/MusicSchedule.h"

#include <QCheckBox>

#include "controls/ListBox.h"
#include "dialogs/music/frmMusic.h"
#include "dialogs/picture/frmSettings.h"
#include "platform/MusicClaim.h"
#include "runtime/Program.h"
#include "settings/MusicSettings.h"
#include "show/ListEntries.h"
#include "show/MediaPlayer.h"

namespace vz {

MusicSchedule::MusicSchedule(Program &program, std::function<double()> draw, QObject *parent)
    : QObject(parent), m_program(program), m_draw(std::move(draw))
{
    Timer2.setInterval(500);
    connect(&Timer2, &QTimer::timeout, this, &MusicSchedule::Timer2_Timer);
    Timer2.start();
}

MusicSchedule::~MusicSchedule() = default;

void MusicSchedule::rewind(Integer song)
{
    m_songnum = song;
    Timer2.stop();
}

MediaPlayer &MusicSchedule::player()
{
    if (!m_player) {
        m_player = std::make_unique<MediaPlayer>();
        // Queued: the player may report a failure from inside Open.
        connect(m_player.get(), &MediaPlayer::ended, this, &MusicSchedule::songEnded, Qt::QueuedConnection);
    }
    return *m_player;
}

void MusicSchedule::musicon(Integer song)
{
    if (const auto count = readSongCount(m_program))
        songcount = *count;
    player().Open(entry(m_program.form<frmMusic>().List1(), song));
    Q_EMIT opened(song);
    Timer2.start();
}

void MusicSchedule::start(MusicClaim *claim)
{
    // The first song counts as played in the first round of "each song once".
    auto &music = m_program.form<frmMusic>();
    if (music.chkRandomM()->checkState() == Qt::Checked && countOf(music.List1()) > 0) {
        m_round.peek(countOf(music.List1()), m_draw);
        m_round.take(m_songnum);
    }
    if (!claim) {
        musicon(m_songnum);
        return;
    }
    m_claim = claim;
    connect(claim, &MusicClaim::gained, this, [this] { musicon(m_songnum); });
    claim->request();
}

void MusicSchedule::stop()
{
    if (m_claim) {
        disconnect(m_claim, nullptr, this, nullptr);
        m_claim->release();
        m_claim = nullptr;
    }
    Timer2.stop();
    if (m_player)
        m_player->Stop();
}

void MusicSchedule::Timer2_Timer()
{
    auto &music = m_program.form<frmMusic>();
    const Integer n = countOf(music.List1());
    if (player().PlayState() == MediaPlayer::kPlaying)
        return;
    if (music.chkRandomM()->checkState() == Qt::Checked) {
        Integer song = 0;
        if (!m_program.form<frmSettings>().showOptions().shuffleM)
            song = randomIndex(m_draw(), n);
        else if (n > 0)
            m_round.take(song = m_round.peek(n, m_draw));
        player().Open(entry(music.List1(), song));
        return;
    }
    m_songnum = m_songnum + 1 < songcount ? Integer(m_songnum + 1) : Integer(0);
    musicon(m_songnum);
}

void MusicSchedule::songEnded(bool played)
{
    // The next song follows at once, as the tick would have it, while the music
    // is on. Songs that fail at once are followed at once for one round of the
    // play list; after that the tick paces them.
    m_failedSongs = played ? 0 : m_failedSongs + 1;
    if (Timer2.isActive() && m_failedSongs <= countOf(m_program.form<frmMusic>().List1()))
        Timer2_Timer();
}

} // namespace vz
