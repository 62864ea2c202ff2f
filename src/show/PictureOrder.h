#pragma once
// Which entry of the picture list the show takes next: in list order from
// the first, starting again at the first after the last, or drawn at random
// for every picture. The order's place (picnum) moves on only when a picture
// chosen in order is shown, so a choice that is dropped costs nothing.

#include <functional>

#include "runtime/Numbers.h"

namespace vz {

class PictureOrder
{
public:
    struct Choice {
        Integer index = 0;
        bool inOrder = false;
    };

    // draw: a number in [0, 1) from a generator seeded afresh from the clock.
    explicit PictureOrder(std::function<double()> draw) : m_draw(std::move(draw)) {}
    void setDraw(std::function<double()> draw) { m_draw = std::move(draw); }

    // The entry that comes next in a list of count entries (count > 0).
    Choice next(Integer count, bool random);
    // The chosen picture is on the screen.
    void shown(const Choice &choice);

    Integer picnum() const { return m_picnum; }

private:
    std::function<double()> m_draw;
    Integer m_picnum = 0;
};

// A uniform draw in [0, 1) from a generator seeded afresh from the clock.
double clockSeededDraw();

} // namespace vz
