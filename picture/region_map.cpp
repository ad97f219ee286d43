#include "picture/region_map.h"

#include "picture/fatal_error.h"
#include "picture/white_space.h"

#include <cerrno>
#include <climits>
#include <cstdint>

// The map file is read the way the scanf patterns "regions %d\nbackground %d\n" and
// "%d %x %d %d %d\n" would read it, but by hand, so that a number too large for an int
// is a fault rather than undefined behaviour.

namespace tessera {
namespace {

const char headerFault[] = "error loading header from map file\n";
const char recordFault[] = "error loading region data from map file\n";
const char boardFault[] = "error loading board size from map file\n";

// Matches a literal word byte for byte, with no white space skipped before it.
bool matchWord(std::FILE* in, const char* word) {
    for (; *word != '\0'; ++word) {
        if (std::getc(in) != static_cast<unsigned char>(*word)) {
            return false;
        }
    }
    return true;
}

int digitValue(int c, int base) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (base == 16 && c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (base == 16 && c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads an int as %d (base 10) or %x (base 16) does: white space, an optional sign, for
// base 16 an optional 0x or 0X, then digits. Fails without digits, or for base 10 outside
// int range. Base 16 takes up to 32 bits and keeps them as the int's own bits, as %x stores
// them (80000000 is INT_MIN, ffffffff is -1); wider values fail.
bool readInt(std::FILE* in, int base, int& value) {
    skipWhiteSpace(in);
    int c = std::getc(in);
    const bool negative = c == '-';
    if (c == '+' || c == '-') {
        c = std::getc(in);
    }
    if (base == 16 && c == '0') {
        const int next = std::getc(in);
        if (next == 'x' || next == 'X') {
            c = std::getc(in);
            // The C library takes a bare "0x" as zero; so do we.
            if (digitValue(c, base) < 0) {
                if (c != EOF) {
                    std::ungetc(c, in);
                }
                value = 0;
                return true;
            }
        } else if (next != EOF) {
            std::ungetc(next, in); // the 0 is the first digit
        }
    }
    if (digitValue(c, base) < 0) {
        return false;
    }
    const long long limit = base == 16 ? static_cast<long long>(UINT32_MAX)
                            : negative ? -static_cast<long long>(INT_MIN)
                                       : INT_MAX;
    long long magnitude = 0;
    for (int digit = digitValue(c, base); digit >= 0; digit = digitValue(c, base)) {
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            return false;
        }
        c = std::getc(in);
    }
    if (c != EOF) {
        std::ungetc(c, in);
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(signedValue)));
    return true;
}

// Values outside 0-255 are not refused: only their low 8 bits are kept.
std::uint8_t lowByte(int value) {
    return static_cast<std::uint8_t>(value);
}

// The optional "board W H" after the records; both sides from 1 to maxBoardSide.
std::string parseBoard(std::FILE* in, RegionMap& map) {
    skipWhiteSpace(in);
    if (!matchWord(in, "board")) {
        return {};
    }
    int width = 0;
    int height = 0;
    if (!readInt(in, 10, width) || !readInt(in, 10, height) || width < 1 || height < 1 ||
        width > maxBoardSide || height > maxBoardSide) {
        return boardFault;
    }
    map.boardWidth = width;
    map.boardHeight = height;
    return {};
}

} // namespace

std::string parseRegionMap(std::FILE* in, RegionMap& map) {
    // "regions" must start at the first byte; between fields any white space, or none.
    if (!matchWord(in, "regions") || !readInt(in, 10, map.regionCount)) {
        return headerFault;
    }
    skipWhiteSpace(in);
    if (!matchWord(in, "background") || !readInt(in, 10, map.background)) {
        return headerFault;
    }
    // Records are read one by one and never counted ahead: the header's count may lie.
    for (int i = 0; i < map.regionCount; ++i) {
        int number = 0;
        int key = 0;
        int red = 0;
        int green = 0;
        int blue = 0;
        if (!readInt(in, 10, number) || !readInt(in, 16, key) || !readInt(in, 10, red) ||
            !readInt(in, 10, green) || !readInt(in, 10, blue)) {
            return recordFault;
        }
        const Region region{lowByte(number), lowByte(red), lowByte(green), lowByte(blue)};
        // A key seen before keeps its entry but takes the later record's values.
        map.table.insert({key, region}).first->second = region;
    }
    return parseBoard(in, map);
}

std::string loadRegionMap(const char* path, RegionMap& map) {
    std::FILE* in = std::fopen(path, "r");
    if (in == nullptr) {
        return "error opening map file\n"; // fopen's errno stands
    }
    const std::string error = parseRegionMap(in, map);
    std::fclose(in);
    if (!error.empty()) {
        errno = EINVAL; // so that perror names a bad file, not "Success"
    }
    return error;
}

int readRegionMap(const char* path, RegionMap& map) {
    const std::string error = loadRegionMap(path, map);
    if (!error.empty()) {
        fatalError(error.c_str());
    }
    return 1;
}

} // namespace tessera
