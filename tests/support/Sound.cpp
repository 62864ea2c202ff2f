#include "support/Sound.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "support/Desktop.h"

namespace vz::test {

SoundServer::SoundServer()
{
    m_clock.start();
    const QString runDir = m_dir.path();
    QFile::setPermissions(runDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runDir);
    env.insert(QStringLiteral("HOME"), runDir);
    env.remove(QStringLiteral("PULSE_SERVER"));
    m_server.setProcessEnvironment(env);
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.start(QStringLiteral("pulseaudio"),
                   {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                    QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--load=module-null-sink"),
                    QStringLiteral("--load=module-native-protocol-unix")});
    if (!m_server.waitForStarted(10000))
        return;
    QProcessEnvironment client = QProcessEnvironment::systemEnvironment();
    applyTo(client);
    m_ok = waitFor([&] {
        return run(QStringLiteral("pactl"), {QStringLiteral("info")}, client, 5000).exitCode == 0;
    }, 15000);
}

SoundServer::~SoundServer()
{
    for (QProcess *p : {&m_recorder, &m_server}) {
        if (p->state() == QProcess::NotRunning)
            continue;
        p->terminate();
        if (!p->waitForFinished(3000)) {
            p->kill();
            p->waitForFinished(2000);
        }
    }
}

QString SoundServer::address() const
{
    return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("pulse/native"));
}

void SoundServer::applyTo(QProcessEnvironment &env) const
{
    env.insert(QStringLiteral("PULSE_SERVER"), address());
}

void SoundServer::startRecording()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    applyTo(env);
    m_recorder.setProcessEnvironment(env);
    m_recorder.start(QStringLiteral("parec"),
                     {QStringLiteral("-d"), QStringLiteral("null.monitor"), QStringLiteral("--format=s16le"),
                      QStringLiteral("--rate=%1").arg(kRate), QStringLiteral("--channels=1"),
                      QStringLiteral("--raw"), QStringLiteral("--latency-msec=10")});
    m_recorder.waitForStarted(5000);
    // The first bytes mark the start; the null sink's monitor delivers silence
    // continuously, so they come at once.
    m_recorder.waitForReadyRead(5000);
    m_recordStartMs = m_clock.elapsed();
    m_raw = m_recorder.readAllStandardOutput();
    m_recordStartMs -= (m_raw.size() / 2) * 1000 / kRate;
}

const std::vector<qint16> &SoundServer::samples()
{
    m_raw += m_recorder.readAllStandardOutput();
    const qsizetype n = m_raw.size() / 2;
    m_samples.resize(n);
    std::memcpy(m_samples.data(), m_raw.constData(), n * 2);
    return m_samples;
}

namespace {

double goertzel(const qint16 *x, int n, double hz)
{
    const double w = 2.0 * M_PI * hz / SoundServer::kRate;
    const double c = 2.0 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (int i = 0; i < n; ++i) {
        const double s0 = x[i] / 32768.0 + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - c * s1 * s2)) / n;
}

} // namespace

double level(const std::vector<qint16> &samples, qint64 fromMs, qint64 toMs)
{
    const qint64 a = std::clamp<qint64>(fromMs * SoundServer::kRate / 1000, 0, qint64(samples.size()));
    const qint64 b = std::clamp<qint64>(toMs * SoundServer::kRate / 1000, a, qint64(samples.size()));
    if (b == a)
        return 0;
    double sum = 0;
    for (qint64 i = a; i < b; ++i)
        sum += (samples[i] / 32768.0) * (samples[i] / 32768.0);
    return std::sqrt(sum / double(b - a));
}

std::vector<Stretch> pitchStretches(const std::vector<qint16> &samples, const std::vector<int> &candidates,
                                    int windowMs, int minMs)
{
    const int n = SoundServer::kRate * windowMs / 1000;
    std::vector<Stretch> raw;
    for (qint64 start = 0; start + n <= qint64(samples.size()); start += n) {
        const qint64 fromMs = start * 1000 / SoundServer::kRate;
        int pitch = 0;
        if (level(samples, fromMs, fromMs + windowMs) > 0.01) {
            double best = 0;
            for (int hz : candidates) {
                const double m = goertzel(samples.data() + start, n, hz);
                if (m > best) {
                    best = m;
                    pitch = hz;
                }
            }
        }
        if (!raw.empty() && raw.back().pitch == pitch)
            raw.back().toMs = fromMs + windowMs;
        else
            raw.push_back({pitch, fromMs, fromMs + windowMs});
    }
    std::vector<Stretch> out;
    for (const Stretch &s : raw) {
        if (s.toMs - s.fromMs < minMs)
            continue;
        if (!out.empty() && out.back().pitch == s.pitch)
            out.back().toMs = s.toMs;
        else
            out.push_back(s);
    }
    return out;
}

bool makeTone(const QString &path, int hz, double seconds)
{
    return run(QStringLiteral("sox"),
               {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"),
                QStringLiteral("1"), path, QStringLiteral("synth"), QString::number(seconds),
                QStringLiteral("sine"), QString::number(hz), QStringLiteral("gain"), QStringLiteral("-6")},
               QProcessEnvironment::systemEnvironment())
               .exitCode == 0;
}

} // namespace vz::test
