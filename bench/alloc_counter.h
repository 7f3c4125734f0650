// Counts heap allocations made by this program: malloc, calloc, realloc and operator new.
#pragma once

#include <cstdint>

namespace bench {

uint64_t AllocationCount();

}  // namespace bench
