#include "show/MediaPlayer.h"

#include <QAudioOutput>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMediaPlayer>
#include <QTemporaryFile>
#include <QUrl>
#include <QtEndian>

namespace vz {

namespace {

Q_LOGGING_CATEGORY(lcMusic, "vz.show.music", QtCriticalMsg)

// The player reports a song's end, and stops, once its last sample has gone to
// the sound server, which plays it only after a delay of its own; a song
// shorter than that delay would be stopped before anything of it is heard. A
// short wave file is therefore played from a copy with silence after it, to
// this length. Longer or larger files are played as they are.
constexpr qint64 kShortestSongMs = 500;
constexpr qint64 kLargestCopiedBytes = 1 << 22;

// The wave file's bytes with its samples followed by silence up to
// kShortestSongMs, or nothing when it needs no such copy or is not a wave file
// of plain samples.
QByteArray lengthenedWave(const QString &path)
{
    QFile file(path);
    if (file.size() > kLargestCopiedBytes || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray wave = file.readAll();
    if (!wave.startsWith("RIFF") || wave.mid(8, 4) != "WAVE")
        return {};
    const auto le = [&wave](qsizetype at, int bytes) -> quint32 {
        if (at < 0 || at + bytes > wave.size())
            return 0;
        return bytes == 2 ? qFromLittleEndian<quint16>(wave.constData() + at)
                          : qFromLittleEndian<quint32>(wave.constData() + at);
    };
    quint32 tag = 0, rate = 0, blockAlign = 0, bits = 0;
    for (qsizetype at = 12; at + 8 <= wave.size();) {
        const QByteArray id = wave.mid(at, 4);
        const qsizetype size = std::min<qsizetype>(le(at + 4, 4), wave.size() - at - 8);
        if (id == "fmt ") {
            tag = le(at + 8, 2);
            rate = le(at + 12, 4);
            blockAlign = le(at + 20, 2);
            bits = le(at + 22, 2);
            if (tag == 0xFFFE) // extensible: the sample format opens its sub-format
                tag = le(at + 32, 2);
        } else if (id == "data") {
            // Integer, floating-point, A-law and mu-law samples; silence is 0x80
            // for 8-bit integers, 0xD5 and 0xFF for A-law and mu-law, 0 otherwise.
            const bool plain = tag == 1 || tag == 3 || tag == 6 || tag == 7;
            if (!plain || rate == 0 || blockAlign == 0 || size * 1000 >= kShortestSongMs * rate * blockAlign)
                return {};
            const char silence = tag == 6 ? char(0xD5) : tag == 7 ? char(0xFF) : tag == 1 && bits <= 8 ? char(0x80) : 0;
            const qsizetype frames = kShortestSongMs * rate / 1000 - size / blockAlign;
            QByteArray data = wave.mid(at + 8, size) + QByteArray(frames * blockAlign, silence);
            QByteArray out = wave.left(at + 4) + QByteArray(4, 0) + data;
            qToLittleEndian<quint32>(quint32(data.size()), out.data() + at + 4);
            if (data.size() % 2)
                out += '\0';
            out += wave.mid(at + 8 + size + size % 2);
            qToLittleEndian<quint32>(quint32(out.size() - 8), out.data() + 4);
            return out;
        }
        at += 8 + size + size % 2;
    }
    return {};
}

} // namespace

MediaPlayer::MediaPlayer(QObject *parent) : QObject(parent)
{
    m_earlyEnd.setSingleShot(true);
    m_tailEnd.setSingleShot(true);
    connect(&m_earlyEnd, &QTimer::timeout, this, &MediaPlayer::handOver);
    connect(&m_tailEnd, &QTimer::timeout, this, [this] { m_tail = {}; });
}

MediaPlayer::~MediaPlayer()
{
    Stop();
}

bool MediaPlayer::Open(const QString &fileName)
{
    // Every song gets a player of its own: reports about the song before it
    // that are still on their way cannot touch the new one.
    stopSong();
    m_current = {};
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.isFile()) {
        if (!fileName.isEmpty())
            qCWarning(lcMusic) << "song skipped, no such file:" << fileName;
        return false;
    }
    QString path = info.absoluteFilePath();
    if (const QByteArray wave = lengthenedWave(path); !wave.isEmpty()) {
        auto copy = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/vz-song-XXXXXX.wav"));
        if (copy->open() && copy->write(wave) == wave.size() && copy->flush()) {
            path = copy->fileName();
            m_current.lengthened = std::move(copy);
        }
    }
    m_song = fileName;
    m_current.output = std::make_unique<QAudioOutput>();
    m_current.player = std::make_unique<QMediaPlayer>();
    QMediaPlayer *player = m_current.player.get();
    player->setAudioOutput(m_current.output.get());
    connect(player, &QMediaPlayer::mediaStatusChanged, this, &MediaPlayer::follow);
    connect(player, &QMediaPlayer::playbackStateChanged, this, &MediaPlayer::follow);
    connect(player, &QMediaPlayer::positionChanged, this, &MediaPlayer::follow);
    connect(player, &QMediaPlayer::errorOccurred, this, &MediaPlayer::follow);
    player->setSource(QUrl::fromLocalFile(path));
    m_phase = Phase::Opening;
    m_opening.start();
    player->play();
    follow();
    return true;
}

void MediaPlayer::Stop()
{
    stopSong();
    m_tailEnd.stop();
    m_tail = {};
}

void MediaPlayer::stopSong()
{
    m_phase = Phase::Idle;
    m_earlyEnd.stop();
    if (m_current.player)
        m_current.player->stop();
}

void MediaPlayer::finish(bool played)
{
    if (!played)
        qCWarning(lcMusic) << "song skipped, it does not play:" << m_song << m_current.player->errorString();
    m_phase = Phase::Idle;
    m_earlyEnd.stop();
    Q_EMIT ended(played);
}

void MediaPlayer::watchForEnd()
{
    // Near the end, a timer is set for the moment the song counts as ended;
    // the player's position tells how much of it is still to be heard.
    const qint64 length = m_current.player->duration(), heard = m_current.player->position();
    const qint64 left = length - heard;
    if (m_earlyEnd.isActive() || length <= 2 * kEarlyEndMs || heard <= 0 || left > 3 * kEarlyEndMs)
        return;
    m_earlyEnd.start(int(std::max<qint64>(0, left - kEarlyEndMs)));
}

void MediaPlayer::handOver()
{
    if (m_phase != Phase::Playing)
        return;
    // The position may have moved on slower than the clock (as while the
    // sound server starts up): the timer is set again for what is left.
    if (const qint64 left = m_current.player->duration() - m_current.player->position(); left > kEarlyEndMs + 10) {
        m_earlyEnd.start(int(left - kEarlyEndMs));
        return;
    }
    // The song plays out in its own player, which reports nothing more.
    disconnect(m_current.player.get(), nullptr, this, nullptr);
    m_tail = std::move(m_current);
    m_current = {};
    m_tailEnd.start(kTailLimitMs);
    finish(true);
}

void MediaPlayer::follow()
{
    QMediaPlayer *player = m_current.player.get();
    if (!player)
        return;
    const auto status = player->mediaStatus();
    const bool playing = player->playbackState() == QMediaPlayer::PlayingState;
    const bool failed = status == QMediaPlayer::InvalidMedia || player->error() != QMediaPlayer::NoError;
    switch (m_phase) {
    case Phase::Idle:
        break;
    case Phase::Opening:
        if (failed || status == QMediaPlayer::EndOfMedia)
            finish(!failed);
        else if (playing && (status == QMediaPlayer::BufferedMedia || player->position() > 0))
            m_phase = Phase::Playing;
        break;
    case Phase::Playing:
        if (failed || !playing || status == QMediaPlayer::EndOfMedia)
            finish(!failed);
        else
            watchForEnd();
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
