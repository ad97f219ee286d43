#pragma once

#include "picture/region_table.h"

#include <cstdio>
#include <string>

namespace tessera {

struct RegionMap {
    int regionCount = 0; // records announced by the header
    int background = 0;  // kept from the header, never read
    RegionTable table;
    // The board the set is shown on, in board units: 640 x 480 unless a line
    // "board W H" follows the records (a set made from a photograph of another shape).
    int boardWidth = 640;
    int boardHeight = 480;
};

// The largest board side a map may name.
constexpr int maxBoardSide = 6400;

// Parsing core: reads the map text from an open stream into map. Never exits; returns
// an empty string on success or the message for the first fault. After the records only a
// board line is read; anything else there is left unread, as ever.
std::string parseRegionMap(std::FILE* in, RegionMap& map);

// Opens the named file and parses it; errno as for loadPpm.
std::string loadRegionMap(const char* path, RegionMap& map);

// Entry point used by the program: returns 1, or ends it through fatalError.
int readRegionMap(const char* path, RegionMap& map);

} // namespace tessera
