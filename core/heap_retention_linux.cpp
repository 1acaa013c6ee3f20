#include "core/heap_retention.h"

#include <malloc.h>

namespace omra {

void keepFreedHeapMemory() {
    // Trim the heap's top only beyond 512 MiB of free memory: never, for this program. Setting
    // the threshold also fixes glibc's otherwise adaptive choice between heap and mmap.
    constexpr int TrimThreshold = 512 * 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, TrimThreshold);
}

} // namespace omra
