#pragma once
// A private sound server for sound tests: PulseAudio with a null sink in its
// own runtime folder, and a recorder of everything played into that sink.

#include <QProcess>
#include <QTemporaryDir>
#include <vector>

namespace vz::test {

class SoundServer
{
public:
    SoundServer();
    ~SoundServer();
    bool ok() const { return m_ok; }
    QString address() const; // for PULSE_SERVER

    // Records the null sink's monitor (mono, 16-bit, kRate) from now on; the
    // first samples may take a moment, the recording's own length is its clock.
    void startRecording();
    // Samples recorded so far; the recorder keeps running.
    const std::vector<qint16> &samples();
    qint64 nowMs() { return qint64(samples().size()) * 1000 / kRate; }

    static constexpr int kRate = 44100;

private:
    QTemporaryDir m_dir;
    QProcess m_server, m_recorder;
    QByteArray m_raw;
    std::vector<qint16> m_samples;
    bool m_ok = false;
};

// Where one of the candidate pitches (Hz) sounds, or (pitch 0) silence.
struct Stretch {
    int pitch;
    qint64 fromMs, toMs;
};

// Splits a recording into stretches of one pitch each, judged in windows of
// windowMs; stretches shorter than minMs are dropped as transitions.
std::vector<Stretch> pitchStretches(const std::vector<qint16> &samples, const std::vector<int> &candidates,
                                    int windowMs = 20, int minMs = 100);

// Root-mean-square level of the samples in [fromMs, toMs), 0..1.
double level(const std::vector<qint16> &samples, qint64 fromMs, qint64 toMs);

// A tone file (.wav or .mp3, by its extension) made with sox.
bool makeTone(const QString &path, int hz, double seconds);

} // namespace vz::test
