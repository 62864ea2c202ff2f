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
}

MediaPlayer::~MediaPlayer()
{
    m_player->stop();
}

bool MediaPlayer::Open(const QString &fileName)
{
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
    m_player->play();
    return true;
}

void MediaPlayer::Stop()
{
    m_player->stop();
}

int MediaPlayer::PlayState() const
{
    // A song that cannot be played may leave the player claiming to play; its
    // error or invalid status says it has ended.
    if (m_player->source().isEmpty() || m_player->error() != QMediaPlayer::NoError)
        return kStopped;
    switch (m_player->mediaStatus()) {
    case QMediaPlayer::InvalidMedia:
    case QMediaPlayer::EndOfMedia:
    case QMediaPlayer::NoMedia:
        return kStopped;
    default:
        // Playing, or still being opened: an opening song counts as playing,
        // so the poll does not skip it before it has had a chance to start.
        return m_player->playbackState() == QMediaPlayer::PlayingState ? kPlaying : kStopped;
    }
}

} // namespace vz
