#pragma once
// Which entry of the picture list the show takes next: in list order from
// the first, starting again at the first after the last; drawn at random for
// every picture; or, shuffled, at random with every entry once per round.
// The order's place (picnum, the round) moves on only when a chosen picture
// is shown, so a choice that is dropped costs nothing, and a later show can
// continue from the place.

#include <QList>
#include <functional>

#include "runtime/Numbers.h"
#include "show/ShuffleRound.h"

namespace vz {

class PictureOrder
{
public:
    enum class Mode { InOrder, Random, Shuffled };
    struct Choice {
        Integer index = 0;
        Mode mode = Mode::InOrder;
    };
    // Where an order stands: the next entry in list order, and what is left
    // of the shuffled round.
    struct Place {
        Integer picnum = 0;
        QList<Integer> round;
    };

    // draw: a number in [0, 1) from a generator seeded afresh from the clock.
    explicit PictureOrder(std::function<double()> draw) : m_draw(std::move(draw)) {}
    void setDraw(std::function<double()> draw) { m_draw = std::move(draw); }

    // The entry that comes next in a list of count entries (count > 0), or
    // the one `ahead` places after it (in order and shuffled).
    Choice next(Integer count, Mode mode, int ahead = 0);
    // The chosen picture is on the screen.
    void shown(const Choice &choice);

    Place place() const { return {m_picnum, m_round.left()}; }
    // Continues from a place of a list of count entries.
    void resume(const Place &place, Integer count);

private:
    std::function<double()> m_draw;
    Integer m_picnum = 0;
    ShuffleRound m_round;
};

// A uniform draw in [0, 1) from a generator seeded afresh from the clock.
double clockSeededDraw();

} // namespace vz
