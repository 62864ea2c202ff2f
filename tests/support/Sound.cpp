#include "support/Sound.h"
#include "support/Desktop.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <utility>

namespace vz::test {

SoundServer::SoundServer()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    env.insert(QStringLiteral("HOME"), m_dir.path());
    env.insert(QStringLiteral("PULSE_SERVER"), address());
    m_server.setProcessEnvironment(env);
    m_recorder.setProcessEnvironment(env);
    m_server.start(QStringLiteral("pulseaudio"), {"-n", "--daemonize=no", "--exit-idle-time=-1", "--load=module-null-sink",
                                                  "--load=module-native-protocol-unix socket=" + m_dir.filePath("native")});
    m_ok = m_server.waitForStarted(5000) &&
           waitFor([&] { return QFile::exists(m_dir.filePath(QStringLiteral("native"))); }, 10000);
}

SoundServer::~SoundServer()
{
    for (QProcess *p : {&m_recorder, &m_server}) {
        p->terminate();
        if (!p->waitForFinished(3000))
            p->kill();
        p->waitForFinished(2000);
    }
}

QString SoundServer::address() const
{
    return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("native"));
}

void SoundServer::startRecording()
{
    m_recorder.start(QStringLiteral("parec"), {"-d", "null.monitor", "--format=s16le", QStringLiteral("--rate=%1").arg(kRate),
                                               "--channels=1", "--raw", "--latency-msec=10"});
    m_recorder.waitForStarted(5000);
}

const std::vector<qint16> &SoundServer::samples()
{
    m_raw += m_recorder.readAllStandardOutput();
    m_samples.resize(m_raw.size() / 2);
    if (!m_samples.empty())
        std::memcpy(m_samples.data(), m_raw.constData(), m_samples.size() * 2);
    return m_samples;
}

double level(const std::vector<qint16> &samples, qint64 fromMs, qint64 toMs)
{
    const qint64 a = std::clamp<qint64>(fromMs * SoundServer::kRate / 1000, 0, samples.size());
    const qint64 b = std::clamp<qint64>(toMs * SoundServer::kRate / 1000, a, samples.size());
    double sum = 0;
    for (qint64 i = a; i < b; ++i)
        sum += double(samples[i]) * samples[i];
    return b == a ? 0 : std::sqrt(sum / double(b - a)) / 32768.0;
}

std::vector<Stretch> pitchStretches(const std::vector<qint16> &samples, const std::vector<int> &candidates,
                                    int windowMs, int minMs)
{
    // Each loud window takes the candidate with the strongest Goertzel response.
    const qint64 n = SoundServer::kRate * windowMs / 1000;
    std::vector<Stretch> raw, out;
    for (qint64 start = 0; start + n <= qint64(samples.size()); start += n) {
        const qint64 fromMs = start * 1000 / SoundServer::kRate;
        int pitch = 0;
        double best = 0;
        const bool loud = level(samples, fromMs, fromMs + windowMs) > 0.01;
        for (int hz : loud ? candidates : std::vector<int>{}) {
            const double c = 2.0 * std::cos(2.0 * M_PI * hz / SoundServer::kRate);
            double s1 = 0, s2 = 0;
            for (qint64 i = start; i < start + n; ++i)
                s2 = std::exchange(s1, samples[i] + c * s1 - s2);
            const double power = s1 * s1 + s2 * s2 - c * s1 * s2;
            if (power > best)
                std::tie(best, pitch) = std::pair(power, hz);
        }
        if (raw.empty() || raw.back().pitch != pitch)
            raw.push_back({pitch, fromMs, fromMs});
        raw.back().toMs = fromMs + windowMs;
    }
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
    return QProcess::execute(QStringLiteral("sox"), {"-n", "-r", "44100", "-c", "1", path, "synth", QString::number(seconds),
                                                     "sine", QString::number(hz), "gain", "-6"}) == 0;
}

} // namespace vz::test
