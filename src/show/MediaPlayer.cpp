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

MediaPlayer::MediaPlayer(QObject *parent) : QObject(parent), m_output(std::make_unique<QAudioOutput>()) {}

MediaPlayer::~MediaPlayer()
{
    Stop();
}

bool MediaPlayer::Open(const QString &fileName)
{
    Stop();
    // Every song gets a player of its own: reports about the song before it
    // that are still on their way cannot touch the new one.
    m_player.reset();
    m_lengthened.reset();
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
            m_lengthened = std::move(copy);
        }
    }
    m_song = fileName;
    m_player = std::make_unique<QMediaPlayer>();
    m_player->setAudioOutput(m_output.get());
    connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, this, &MediaPlayer::follow);
    connect(m_player.get(), &QMediaPlayer::playbackStateChanged, this, &MediaPlayer::follow);
    connect(m_player.get(), &QMediaPlayer::positionChanged, this, &MediaPlayer::follow);
    connect(m_player.get(), &QMediaPlayer::errorOccurred, this, &MediaPlayer::follow);
    m_player->setSource(QUrl::fromLocalFile(path));
    m_phase = Phase::Opening;
    m_opening.start();
    m_player->play();
    follow();
    return true;
}

void MediaPlayer::Stop()
{
    m_phase = Phase::Idle;
    if (m_player)
        m_player->stop();
}

void MediaPlayer::finish(bool played)
{
    if (!played)
        qCWarning(lcMusic) << "song skipped, it does not play:" << m_song << m_player->errorString();
    m_phase = Phase::Idle;
    Q_EMIT ended(played);
}

void MediaPlayer::follow()
{
    const auto status = m_player->mediaStatus();
    const bool playing = m_player->playbackState() == QMediaPlayer::PlayingState;
    const bool failed = status == QMediaPlayer::InvalidMedia || m_player->error() != QMediaPlayer::NoError;
    switch (m_phase) {
    case Phase::Idle:
        break;
    case Phase::Opening:
        if (failed || status == QMediaPlayer::EndOfMedia)
            finish(!failed);
        else if (playing && (status == QMediaPlayer::BufferedMedia || m_player->position() > 0))
            m_phase = Phase::Playing;
        break;
    case Phase::Playing:
        if (failed || !playing || status == QMediaPlayer::EndOfMedia)
            finish(!failed);
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
