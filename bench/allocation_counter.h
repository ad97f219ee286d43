#pragma once

#include <cstddef>

namespace tessera::bench {

// Number of operator new calls made by the process so far.
std::size_t allocationCount();

} // namespace tessera::bench
