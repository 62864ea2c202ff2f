#include "settings/ShowOptions.h"

#include "runtime/Numbers.h"
#include "runtime/Program.h"

namespace vz {

namespace {

int storedNumber(Program &program, const QString &key, int lowest, int highest, int fallback)
{
    const auto number = toInteger(program.store().get(kAppTitle, kPresets, key, QString()));
    return number && *number >= lowest && *number <= highest ? int(*number) : fallback;
}

bool storedSwitch(Program &program, const QString &key)
{
    return storedNumber(program, key, 0, 1, 0) == 1;
}

} // namespace

ShowOptions loadShowOptions(Program &program)
{
    ShowOptions o;
    o.shuffleP = storedSwitch(program, kShuffleP);
    o.shuffleM = storedSwitch(program, kShuffleM);
    o.resumeP = storedSwitch(program, kResumeP);
    o.fadeP = storedSwitch(program, kFadeP);
    o.fadeMs = storedNumber(program, kFadeMs, ShowOptions::kShortestFadeMs, ShowOptions::kLongestFadeMs, o.fadeMs);
    o.blurP = storedSwitch(program, kBlurP);
    o.captionP = storedNumber(program, kCaptionP, ShowOptions::NoCaption, ShowOptions::NameAndDate, o.captionP);
    o.allMonP = storedSwitch(program, kAllMonP);
    return o;
}

QList<StoredState> storedStates(Program &program, const ShowOptions &o)
{
    const ShowOptions defaults;
    const QList<std::pair<StoredState, bool>> all = {
        {{kShuffleP, int(o.shuffleP)}, o.shuffleP != defaults.shuffleP},
        {{kShuffleM, int(o.shuffleM)}, o.shuffleM != defaults.shuffleM},
        {{kResumeP, int(o.resumeP)}, o.resumeP != defaults.resumeP},
        {{kFadeP, int(o.fadeP)}, o.fadeP != defaults.fadeP},
        {{kFadeMs, o.fadeMs}, o.fadeMs != defaults.fadeMs},
        {{kBlurP, int(o.blurP)}, o.blurP != defaults.blurP},
        {{kCaptionP, o.captionP}, o.captionP != defaults.captionP},
        {{kAllMonP, int(o.allMonP)}, o.allMonP != defaults.allMonP}};
    const QString absent = QStringLiteral("\x01");
    QList<StoredState> out;
    for (const auto &[state, changed] : all)
        if (changed || program.store().get(kAppTitle, kPresets, state.key, absent) != absent)
            out << state;
    return out;
}

} // namespace vz
