#include "show/MediaPlayer.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMediaPlayer>
#include <QUrl>
#include <QtEndian>
#include <array>
#include <cstring>

namespace vz {

namespace {

Q_LOGGING_CATEGORY(lcMusic, "vz.show.music", QtWarningMsg)

// The player reports a song's end, and stops, once its last sample has gone to
// the sound server, which plays it only after a delay of its own; a song
// shorter than that delay would be stopped before anything of it is heard. A
// short wave file is therefore played from a copy in memory with silence after
// it, to this length. Longer or larger files are played as they are.
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

// A wave file of silence (mono, 16-bit), as long as the player's sink holds
// more than its sound server's buffer, so that it ends only once the server
// has played it.
QByteArray silentWave(quint32 lengthMs)
{
    constexpr quint32 rate = 44100;
    const quint32 bytes = rate * lengthMs / 1000 * 2;
    QByteArray wave = "RIFF" + QByteArray(4, 0) + "WAVEfmt " + QByteArray(16 + 8, 0) + QByteArray(bytes, 0);
    char *d = wave.data();
    qToLittleEndian<quint32>(quint32(wave.size() - 8), d + 4);
    qToLittleEndian<quint32>(16, d + 16);
    qToLittleEndian<quint16>(1, d + 20); // integer samples
    qToLittleEndian<quint16>(1, d + 22); // one channel
    qToLittleEndian<quint32>(rate, d + 24);
    qToLittleEndian<quint32>(rate * 2, d + 28);
    qToLittleEndian<quint16>(2, d + 32);
    qToLittleEndian<quint16>(16, d + 34);
    std::memcpy(d + 36, "data", 4);
    qToLittleEndian<quint32>(bytes, d + 40);
    return wave;
}

// Whether the player can only estimate the file's length from its first
// frames: AAC in ADTS frames, or MP3 whose frames are not all of one size and
// that has no header counting them (Xing, Info, VBRI). Such a song is played
// to its real end rather than handed over early at a guessed one.
bool lengthIsEstimate(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 4)
        return false;
    const uchar *map = file.map(0, file.size());
    if (!map)
        return false;
    const qsizetype size = file.size();
    qsizetype at = 0;
    if (size >= 10 && std::memcmp(map, "ID3", 3) == 0) // syncsafe tag size, and a footer
        at = 10 + ((map[6] & 0x7F) << 21 | (map[7] & 0x7F) << 14 | (map[8] & 0x7F) << 7 | (map[9] & 0x7F)) +
             (map[5] & 0x10 ? 10 : 0);
    const auto header = [&](qsizetype pos) { return pos + 4 <= size ? qFromBigEndian<quint32>(map + pos) : 0u; };
    if (const quint32 h = header(at); (h >> 20) == 0xFFF && ((h >> 17) & 3) == 0)
        return true; // ADTS
    // Layer III frame length in bytes, 0 for anything else.
    const auto frameLength = [](quint32 h) -> qsizetype {
        static constexpr std::array<int, 15> v1{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
        static constexpr std::array<int, 15> v2{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
        static constexpr std::array<int, 3> rates{44100, 48000, 32000};
        const int version = (h >> 19) & 3, bitrate = (h >> 12) & 15, rate = (h >> 10) & 3;
        if ((h >> 21) != 0x7FF || version == 1 || ((h >> 17) & 3) != 1 || bitrate == 0 || bitrate == 15 || rate == 3)
            return 0;
        const int hz = rates[rate] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
        return (version == 3 ? 144 : 72) * (version == 3 ? v1 : v2)[bitrate] * 1000 / hz + ((h >> 9) & 1);
    };
    const quint32 first = header(at);
    const qsizetype firstLength = frameLength(first);
    if (firstLength == 0)
        return (first >> 21) == 0x7FF && ((first >> 12) & 15) == 0; // free-format MP3
    const QByteArrayView frame(reinterpret_cast<const char *>(map) + at, std::min(firstLength, size - at));
    for (const char *tag : {"Xing", "Info", "VBRI"})
        if (frame.indexOf(QByteArrayView(tag)) >= 0)
            return false;
    for (at += firstLength; frameLength(header(at)) != 0; at += frameLength(header(at)))
        if (((header(at) ^ first) >> 12 & 15) != 0)
            return true;
    return false;
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

MediaPlayer::Song MediaPlayer::makePlayer(std::unique_ptr<QBuffer> bytes, const QString &path)
{
    Song song{std::move(bytes), std::make_unique<QAudioOutput>(), std::make_unique<QMediaPlayer>()};
    song.player->setAudioOutput(song.output.get());
    if (song.bytes)
        song.player->setSourceDevice(song.bytes.get(), QUrl::fromLocalFile(path));
    else
        song.player->setSource(QUrl::fromLocalFile(path));
    return song;
}

bool MediaPlayer::Open(const QString &fileName)
{
    // Every song gets a player of its own: reports about the song before it
    // that are still on their way cannot touch the new one.
    dropSong();
    m_songBytes = {};
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.isFile()) {
        if (!fileName.isEmpty())
            qCWarning(lcMusic) << "song skipped, no such file:" << fileName;
        return false;
    }
    const QString path = info.absoluteFilePath();
    std::unique_ptr<QBuffer> bytes;
    if (QByteArray wave = lengthenedWave(path); !wave.isEmpty()) {
        bytes = std::make_unique<QBuffer>();
        bytes->setData(std::move(wave));
        bytes->open(QIODevice::ReadOnly);
    }
    m_song = fileName;
    m_songPath = path;
    m_lengthKnown = !lengthIsEstimate(path);
    m_opening.start();
    // While the last song plays out, or soon after, the sound server is awake.
    if (!m_tail.player && (!m_lastHeard.isValid() || m_lastHeard.hasExpired(kServerIdleMs))) {
        m_phase = Phase::Leading;
        m_songBytes = std::move(bytes);
        m_leadIns = 0;
        startLeadIn();
    } else {
        startSong(std::move(bytes));
    }
    return true;
}

void MediaPlayer::startSong(std::unique_ptr<QBuffer> bytes)
{
    m_current = makePlayer(std::move(bytes), m_songPath);
    QMediaPlayer *player = m_current.player.get();
    connect(player, &QMediaPlayer::mediaStatusChanged, this, &MediaPlayer::follow);
    connect(player, &QMediaPlayer::playbackStateChanged, this, &MediaPlayer::follow);
    connect(player, &QMediaPlayer::positionChanged, this, &MediaPlayer::follow);
    connect(player, &QMediaPlayer::errorOccurred, this, &MediaPlayer::follow);
    m_phase = Phase::Opening;
    m_opening.start();
    player->play();
    follow();
}

void MediaPlayer::startLeadIn()
{
    auto silence = std::make_unique<QBuffer>();
    silence->setData(silentWave(kLeadInMs));
    silence->open(QIODevice::ReadOnly);
    m_leadIn = makePlayer(std::move(silence), QStringLiteral("lead-in.wav"));
    QMediaPlayer *player = m_leadIn.player.get();
    connect(player, &QMediaPlayer::mediaStatusChanged, this, &MediaPlayer::followLeadIn);
    connect(player, &QMediaPlayer::errorOccurred, this, &MediaPlayer::followLeadIn);
    ++m_leadIns;
    m_leadInClock.start();
    player->play();
}

void MediaPlayer::followLeadIn()
{
    QMediaPlayer *leadIn = m_leadIn.player.get();
    if (m_phase != Phase::Leading || !leadIn)
        return;
    const bool failed = leadIn->mediaStatus() == QMediaPlayer::InvalidMedia || leadIn->error() != QMediaPlayer::NoError;
    if (!failed && leadIn->mediaStatus() != QMediaPlayer::EndOfMedia)
        return;
    disconnect(leadIn, nullptr, this, nullptr);
    qCDebug(lcMusic) << "lead-in" << m_leadIns << "ended after" << m_leadInClock.elapsed() << "ms"
                     << leadIn->errorString();
    // A lead-in that ended late was held up by the server; it is played
    // again (by a new player, once this one's report is over) until one
    // plays in time.
    if (!failed && m_leadInClock.elapsed() > kLeadInMs + kLeadInSlackMs && m_leadIns < kMostLeadIns) {
        QTimer::singleShot(0, this, [this] {
            if (m_phase == Phase::Leading)
                startLeadIn();
        });
        return;
    }
    if (!failed)
        m_lastHeard.start();
    // The spent lead-in is let go once its report is over.
    QTimer::singleShot(0, this, [this] {
        if (m_phase != Phase::Leading)
            m_leadIn = {};
    });
    startSong(std::move(m_songBytes));
}

void MediaPlayer::Stop()
{
    dropSong();
    m_tailEnd.stop();
    m_tail = {};
}

// The players are let go rather than stopped: a stop waits for the sound to
// pause, up to a second where the sound server does not answer, while a player
// let go falls silent at once.
void MediaPlayer::dropSong()
{
    m_phase = Phase::Idle;
    m_earlyEnd.stop();
    m_current = {};
    m_leadIn = {};
}

void MediaPlayer::finish(bool played)
{
    if (!played)
        qCWarning(lcMusic) << "song skipped, it does not play:" << m_song << m_current.player->errorString();
    else
        m_lastHeard.start();
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
    if (!m_lengthKnown || m_earlyEnd.isActive() || length <= 2 * kEarlyEndMs || heard <= 0 ||
        left > 3 * kEarlyEndMs)
        return;
    m_earlyEnd.start(int(std::max<qint64>(0, left - kEarlyEndMs)));
}

void MediaPlayer::handOver()
{
    if (m_phase != Phase::Playing)
        return;
    // The position may have moved on slower than the clock (as while the
    // sound server starts up): the timer is set again for what is left.
    const qint64 left = m_current.player->duration() - m_current.player->position();
    if (left > kEarlyEndMs + 10) {
        m_earlyEnd.start(int(left - kEarlyEndMs));
        return;
    }
    // The song plays out in its own player until that reports its end; it is
    // let go a little later (not from inside its own report).
    QMediaPlayer *player = m_current.player.get();
    disconnect(player, nullptr, this, nullptr);
    const auto release = [this, player] {
        if (player->mediaStatus() == QMediaPlayer::EndOfMedia || player->error() != QMediaPlayer::NoError ||
            player->playbackState() == QMediaPlayer::StoppedState)
            m_tailEnd.start(0);
    };
    connect(player, &QMediaPlayer::mediaStatusChanged, this, release);
    connect(player, &QMediaPlayer::playbackStateChanged, this, release);
    connect(player, &QMediaPlayer::errorOccurred, this, release);
    m_tail = std::move(m_current);
    m_current = {};
    m_tailEnd.start(int(std::max<qint64>(0, left)) + kTailGraceMs);
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
    case Phase::Leading:
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
    case Phase::Leading:
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
