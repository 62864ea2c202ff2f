#pragma once
// The picture choices: the picture list file "\RozG.ini" (where listPlace says)
// (display interval, count, one path per line) and the stored values "RandomP"
// and "FitP".

#include "common/Result.h"
#include <QString>
#include <QStringList>
#include <optional>

#include "settings/ListFile.h"

namespace vz {

class Program;

inline const QString kPictureListFile = QStringLiteral("\\RozG.ini");
inline const QString kRandomP = QStringLiteral("RandomP");
inline const QString kFitP = QStringLiteral("FitP");

struct PictureSettings {
    std::optional<int> randomP;      // check state; nullopt leaves the box clear
    std::optional<int> fitP;         // the same for fitting large pictures
    std::optional<QString> interval; // line 1, blanks kept; nullopt leaves the box empty
    QStringList pictures;
};

// Reads what is there and skips what is not; never fails.
PictureSettings loadPictureSettings(Program &program);

// Stores "RandomP" and "FitP", then replaces the file. An empty interval is
// written as the number 10. A failure's reason is a message for the user that
// names what could not be written and why; the previous file is then still whole.
// options: further values to store beside them (see ShowOptions.h).
Result<> savePictureSettings(Program &program, int randomP, const QString &interval,
                             const QStringList &pictures, int fitP = 0, const QList<StoredState> &options = {});

} // namespace vz
