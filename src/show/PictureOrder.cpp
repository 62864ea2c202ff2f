#include "show/PictureOrder.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <chrono>

namespace vz {

double clockSeededDraw()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    QRandomGenerator generator(quint32(now ^ (now >> 32) ^ QDateTime::currentMSecsSinceEpoch()));
    return generator.generateDouble();
}

PictureOrder::Choice PictureOrder::next(Integer count, Mode mode, int ahead)
{
    switch (mode) {
    case Mode::Random:
        return {randomIndex(m_draw(), count), mode};
    case Mode::Shuffled:
        return {m_round.peek(count, m_draw, ahead), mode};
    case Mode::InOrder:
        break;
    }
    // The list has wrapped around.
    if (m_picnum >= count)
        m_picnum = 0;
    return {Integer((m_picnum + ahead) % count), mode};
}

void PictureOrder::shown(const Choice &choice)
{
    if (choice.mode == Mode::InOrder)
        m_picnum = Integer(choice.index + 1);
    else if (choice.mode == Mode::Shuffled)
        m_round.take(choice.index);
}

void PictureOrder::resume(const Place &place, Integer count)
{
    m_picnum = place.picnum >= 0 && place.picnum < count ? place.picnum : Integer(0);
    m_round.restore(place.round, count);
}

} // namespace vz
