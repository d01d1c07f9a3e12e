#include "platform/db/prepare_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kafhost {

void preparePagesForWriting(void* storage, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (storage == nullptr || bytes < kPreparePagesMinBytes) {
        return;
    }
    static const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(storage);
    // Only pages wholly inside the range: the bytes around it may belong to other objects.
    const std::uintptr_t begin = (start + page - 1) & ~(page - 1);
    const std::uintptr_t end = (start + bytes) & ~(page - 1);
    if (begin < end) {
        // Failure (an older kernel) leaves the pages to come as they are written.
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    }
#else
    (void)storage;
    (void)bytes;
#endif
}

}  // namespace kafhost
