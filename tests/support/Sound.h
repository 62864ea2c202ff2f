#pragma once
// A private sound server for sound tests: PulseAudio with a null sink, in its
// own runtime folder, and a recorder of everything played into that sink.

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <vector>

namespace vz::test {

class SoundServer
{
public:
    SoundServer();
    ~SoundServer();
    bool ok() const { return m_ok; }
    // Points a client environment at this server.
    void applyTo(QProcessEnvironment &env) const;
    QString address() const;

    // Records the null sink's monitor: mono, 16-bit, kRate samples a second.
    void startRecording();
    // Samples recorded so far (the recorder keeps running).
    const std::vector<qint16> &samples();
    // Milliseconds on the test's clock (clock()) at which sample 0 was recorded.
    qint64 recordingStartMs() const { return m_recordStartMs; }
    // The clock that recordingStartMs is measured on.
    qint64 clockMs() const { return m_clock.elapsed(); }

    static constexpr int kRate = 44100;

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_recorder;
    QElapsedTimer m_clock;
    qint64 m_recordStartMs = -1;
    QByteArray m_raw;
    std::vector<qint16> m_samples;
    bool m_ok = false;
};

// One stretch of the recording: which of the candidate pitches (Hz) sounds in
// it, or 0 for silence.
struct Stretch {
    int pitch;
    qint64 fromMs;
    qint64 toMs;
};

// Splits a recording into stretches of one pitch each, in windows of windowMs;
// windows quieter than the silence threshold count as silence. Stretches shorter
// than minMs are dropped as transitions.
std::vector<Stretch> pitchStretches(const std::vector<qint16> &samples, const std::vector<int> &candidates,
                                    int windowMs = 20, int minMs = 100);

// Root-mean-square level of the samples in [fromMs, toMs), 0..1.
double level(const std::vector<qint16> &samples, qint64 fromMs, qint64 toMs);

// Makes a tone file (.wav or .mp3, by its extension) with sox.
bool makeTone(const QString &path, int hz, double seconds);

} // namespace vz::test
