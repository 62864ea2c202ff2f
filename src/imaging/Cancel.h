#pragma once
// A decode can be given up from another thread: the show drops the picture it
// is preparing when it ends. The flag is looked at where a decoder can stop
// cleanly (between blocks of input, rows of output, metafile records); a
// decode given up ends with a failure whose picture nobody shows.

#include <atomic>

namespace vz::picture {

using CancelFlag = std::atomic<bool>;

inline bool isCancelled(const CancelFlag *flag)
{
    return flag && flag->load(std::memory_order_relaxed);
}

} // namespace vz::picture
