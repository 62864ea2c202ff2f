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

PictureOrder::Choice PictureOrder::next(Integer count, bool random)
{
    if (random)
        return {randomIndex(m_draw(), count), false};
    // The list has wrapped around.
    if (m_picnum >= count)
        m_picnum = 0;
    return {m_picnum, true};
}

void PictureOrder::shown(const Choice &choice)
{
    if (choice.inOrder)
        m_picnum = Integer(choice.index + 1);
}

} // namespace vz
