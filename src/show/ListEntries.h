#pragma once
// The show reads its lists from the hidden dialogs' list boxes: a count as a
// 16-bit whole number, and an entry by index, empty where there is none.

#include <QListWidget>
#include <algorithm>

#include "runtime/Numbers.h"

namespace vz {

inline Integer countOf(const QListWidget *list)
{
    return Integer(std::min(list->count(), 32767));
}

inline QString entry(const QListWidget *list, Integer index)
{
    if (index < 0 || index >= list->count())
        return {};
    return list->item(index)->text();
}

} // namespace vz
