#pragma once
// The show's options beyond its interval and random switches, each stored in
// the "Presets" section beside "RandomP" and off when absent, so that a show
// without them is the show as it always was. Set in the show options dialog,
// stored by the picture dialog's OK.

#include <QList>
#include <QString>

#include "settings/ListFile.h"

namespace vz {

class Program;

inline const QString kShuffleP = QStringLiteral("ShuffleP");
inline const QString kShuffleM = QStringLiteral("ShuffleM");
inline const QString kResumeP = QStringLiteral("ResumeP");
inline const QString kFadeP = QStringLiteral("FadeP");
inline const QString kFadeMs = QStringLiteral("FadeMs");
inline const QString kBlurP = QStringLiteral("BlurP");
inline const QString kCaptionP = QStringLiteral("CaptionP");
inline const QString kAllMonP = QStringLiteral("AllMonP");

struct ShowOptions {
    // In random order, every picture (song) once before any comes again.
    bool shuffleP = false;
    bool shuffleM = false;
    // The next show continues where the last one stopped.
    bool resumeP = false;
    // The next picture fades in over fadeMs.
    bool fadeP = false;
    int fadeMs = 1000;
    // A blurred, darkened copy of the picture fills the screen around it.
    bool blurP = false;
    // The caption in the bottom-left corner.
    enum Caption { NoCaption = 0, FileName = 1, DateTaken = 2, NameAndDate = 3 };
    int captionP = NoCaption;
    // Pictures on every monitor instead of black covers.
    bool allMonP = false;

    static constexpr int kShortestFadeMs = 250;
    static constexpr int kLongestFadeMs = 3000;
    bool operator==(const ShowOptions &) const = default;
};

// Reads the stored options; a value that is absent or out of its range
// leaves that option as it is by default.
ShowOptions loadShowOptions(Program &program);
// The values that the picture dialog's OK stores for the options: those that
// are on, and those stored before (so that they can be turned off again); a
// user who never sets an option finds nothing more in the store than before.
QList<StoredState> storedStates(Program &program, const ShowOptions &options);

} // namespace vz
