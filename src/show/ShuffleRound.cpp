#include "show/ShuffleRound.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace vz {

namespace {

// A whole number in [0, below) from a draw in [0, 1).
int pick(const std::function<double()> &draw, int below)
{
    return std::clamp(int(draw() * below), 0, below - 1);
}

} // namespace

void ShuffleRound::drawRound(const std::function<double()> &draw)
{
    std::vector<Integer> round(static_cast<std::size_t>(m_count));
    std::iota(round.begin(), round.end(), Integer(0));
    for (int i = int(round.size()) - 1; i > 0; --i)
        std::swap(round[std::size_t(i)], round[std::size_t(pick(draw, i + 1))]);
    const Integer before = m_queue.empty() ? m_last : m_queue.back().index;
    if (round.size() > 1 && round.front() == before)
        std::swap(round.front(), round[std::size_t(1 + pick(draw, int(round.size()) - 1))]);
    ++m_rounds;
    for (Integer i : round)
        m_queue.push_back({i, m_rounds});
}

Integer ShuffleRound::peek(Integer count, const std::function<double()> &draw, int ahead)
{
    if (count != m_count) {
        m_count = count;
        m_queue.clear();
    }
    while (int(m_queue.size()) <= ahead)
        drawRound(draw);
    return m_queue[std::size_t(ahead)].index;
}

void ShuffleRound::take(Integer index)
{
    const auto at = std::find_if(m_queue.begin(), m_queue.end(), [index](const Entry &e) { return e.index == index; });
    if (at != m_queue.end())
        m_queue.erase(at);
    m_last = index;
}

QList<Integer> ShuffleRound::left() const
{
    QList<Integer> out;
    for (const Entry &e : m_queue)
        if (e.round == m_queue.front().round)
            out << e.index;
    return out;
}

void ShuffleRound::restore(const QList<Integer> &left, Integer count)
{
    m_count = count;
    m_queue.clear();
    ++m_rounds;
    QList<Integer> kept;
    for (Integer i : left)
        if (i >= 0 && i < count && !kept.contains(i))
            kept << i;
    for (Integer i : kept)
        m_queue.push_back({i, m_rounds});
}

} // namespace vz
