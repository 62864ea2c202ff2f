#pragma once
// Random order without repeats: every entry of a list once per round, in an
// order drawn afresh for each round. A round never begins with the entry the
// round before ended with, so no entry comes twice in a row (lists of two or
// more). The rounds are drawn as they are needed, so that entries further
// ahead (for other monitors) can be looked at before they are taken.

#include <QList>
#include <deque>
#include <functional>

#include "runtime/Numbers.h"

namespace vz {

class ShuffleRound
{
public:
    // The entry `ahead` places after the next one of a list of count entries
    // (count > 0). A list of another length starts a new round.
    Integer peek(Integer count, const std::function<double()> &draw, int ahead = 0);
    // The entry is taken: it comes no more in this round.
    void take(Integer index);

    // What is left of the round, next first, to continue it later; restore()
    // takes it back for a list of count entries (entries out of range dropped).
    QList<Integer> left() const;
    void restore(const QList<Integer> &left, Integer count);

private:
    void drawRound(const std::function<double()> &draw);

    struct Entry {
        Integer index;
        int round;
    };
    Integer m_count = 0;
    Integer m_last = -1; // the entry taken last
    int m_rounds = 0;    // rounds drawn so far
    std::deque<Entry> m_queue;
};

} // namespace vz
