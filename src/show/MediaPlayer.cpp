#include "show/MediaPlayer.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

namespace vz {

MediaPlayer::MediaPlayer(QObject *parent)
    : QObject(parent), m_output(std::make_unique<QAudioOutput>()),
      m_player(std::make_unique<QMediaPlayer>())
{
    m_player->setAudioOutput(m_output.get());
    connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, this, &MediaPlayer::follow);
    connect(m_player.get(), &QMediaPlayer::playbackStateChanged, this, &MediaPlayer::follow);
    connect(m_player.get(), &QMediaPlayer::positionChanged, this, &MediaPlayer::follow);
    connect(m_player.get(), &QMediaPlayer::errorOccurred, this, [this] { m_phase = Phase::Idle; });
}

MediaPlayer::~MediaPlayer()
{
    m_player->stop();
}

bool MediaPlayer::Open(const QString &fileName)
{
    m_phase = Phase::Idle;
    m_player->stop();
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.isFile()) {
        m_player->setSource(QUrl());
        return false;
    }
    // Cleared first: the same song opened again (a play list of one) must start
    // from the beginning, not stay at its end.
    m_player->setSource(QUrl());
    m_player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    m_phase = Phase::Opening;
    m_opening.start();
    m_player->play();
    follow();
    return true;
}

void MediaPlayer::Stop()
{
    m_phase = Phase::Idle;
    m_player->stop();
}

void MediaPlayer::follow()
{
    const auto status = m_player->mediaStatus();
    const bool playing = m_player->playbackState() == QMediaPlayer::PlayingState;
    switch (m_phase) {
    case Phase::Idle:
        break;
    case Phase::Opening:
        // Reports about the song before it (its end, the cleared source) may
        // still arrive; only the new song's own progress or failure counts.
        if (status == QMediaPlayer::InvalidMedia || m_player->error() != QMediaPlayer::NoError)
            m_phase = Phase::Idle;
        else if (playing && (status == QMediaPlayer::BufferedMedia || m_player->position() > 0))
            m_phase = Phase::Playing;
        break;
    case Phase::Playing:
        if (!playing || status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia ||
            m_player->error() != QMediaPlayer::NoError)
            m_phase = Phase::Idle;
        break;
    }
}

int MediaPlayer::PlayState() const
{
    switch (m_phase) {
    case Phase::Idle:
        return kStopped;
    case Phase::Opening:
        // An opening song counts as playing, so the poll does not skip it
        // before it has had a chance to start; one that never starts is given up.
        return m_opening.hasExpired(kOpeningLimitMs) ? kStopped : kPlaying;
    case Phase::Playing:
        return kPlaying;
    }
    return kStopped;
}

} // namespace vz
