#pragma once

namespace omra {

// Keeps memory the process frees for its next allocations instead of handing it back to the
// system. Mesa's software rasteriser allocates and frees its vertex storage on every draw; with
// the C library's default trimming each frame would fault that memory back in page by page,
// which costs more than the drawing itself.
void keepFreedHeapMemory();

} // namespace omra
