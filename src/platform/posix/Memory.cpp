#include "platform/Memory.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace vz {

void returnLargeBlocksToSystem()
{
#if defined(M_MMAP_THRESHOLD)
    // A fixed threshold: by default glibc raises it to the size of every
    // mapped block freed (up to 32 MB), after which pictures come from the
    // heap and their pages are kept when they are freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

} // namespace vz
