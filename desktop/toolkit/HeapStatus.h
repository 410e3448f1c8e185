#pragma once

#include <cstddef>

namespace toolkit {

// Bytes the process has allocated from the heap and not freed, mapped blocks included.
std::size_t HeapAllocatedBytes();

}  // namespace toolkit
