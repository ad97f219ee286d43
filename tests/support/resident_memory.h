#pragma once

#include <cstdio>
#include <unistd.h>

namespace tessera::test {

// The process's resident memory now, in KiB (0 where /proc cannot tell).
inline long residentKib() {
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace tessera::test
