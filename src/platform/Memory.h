#pragma once
// How the process's memory allocator treats large blocks.

namespace vz {

// The show decodes a picture of up to a screen's size every few seconds, for
// weeks. Large blocks (decoded pictures, sound buffers) are given their own
// pages, so that memory freed with a picture goes back to the system at once
// instead of staying in the heap, where it would make the program's size
// follow the biggest picture seen so far. Call once, at start.
void returnLargeBlocksToSystem();

} // namespace vz
