#pragma once
// Gives a list box a horizontal scroll range wide enough for its longest entry.

namespace vz {

class ListBox;

// The longest entry by character count (the earlier one on a tie), plus one
// blank, measured in the font of the list's form. The dialogs call this once,
// at the end of their load; later entries do not widen the range.
void SetListExtent(ListBox &list);

} // namespace vz
