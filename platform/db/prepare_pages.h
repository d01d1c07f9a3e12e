// preparePagesForWriting(storage, bytes): makes present at once the whole pages of
// [storage, storage + bytes), storage about to be written whole (a mesh's copied arrays, a
// snapshot's vertex lists). On Linux 5.14 on this is one MADV_POPULATE_WRITE call in place of a
// trap per page as each is first written; below kPreparePagesMinBytes, elsewhere and on older
// kernels it does nothing and the pages come one fault at a time. Contents are never changed.
#pragma once

#include <cstddef>

namespace kafhost {

constexpr std::size_t kPreparePagesMinBytes = std::size_t{256} << 10;

void preparePagesForWriting(void* storage, std::size_t bytes);

}  // namespace kafhost
