#include "desktop/toolkit/HeapStatus.h"

#include <malloc.h>

namespace toolkit {

std::size_t HeapAllocatedBytes() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

}  // namespace toolkit
