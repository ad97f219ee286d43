#include "picture/fatal_error.h"

#include <cstdio>
#include <cstdlib>

namespace tessera {

void fatalError(const char* message) {
    std::perror(message);
    std::exit(-1);
}

} // namespace tessera
