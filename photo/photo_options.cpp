#include "photo/photo_options.h"

namespace tessera {
namespace {

// Reads a whole number from 1 to limit made only of digits; "+5", "5 " and "05x" fail.
bool parseCount(const std::string& text, int limit, int& value) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoi(text);
    return value >= 1 && value <= limit;
}

// Reads "WxH" with W from 1 to widthLimit and H from 1 to heightLimit.
bool parseSize(const std::string& text, int widthLimit, int heightLimit, int& width, int& height) {
    const std::size_t cross = text.find('x');
    return cross != std::string::npos && parseCount(text.substr(0, cross), widthLimit, width) &&
           parseCount(text.substr(cross + 1), heightLimit, height);
}

std::string regionsNeed() {
    return "--regions needs a whole number from 1 to " + std::to_string(maxRegions);
}

std::string cellsNeed() {
    return "--cells needs auto or WxH with W from 1 to " + std::to_string(maxCellsAcross) +
           " and H from 1 to " + std::to_string(maxCellsDown);
}

std::string maxSizeNeed() {
    return "--max-size needs WxH with W and H from 1 to " + std::to_string(maxPictureSide);
}

const char* fitNeed = "--fit needs own, crop, pad or stretch";

bool inRange(int value, int limit) {
    return value >= 1 && value <= limit;
}

} // namespace

bool isPhotoOption(const std::string& option) {
    return option == "--regions" || option == "--cells" || option == "--max-size" ||
           option == "--fit";
}

std::string setPhotoOption(const std::string& option, const std::string& value,
                           PhotoOptions& options) {
    if (!isPhotoOption(option)) {
        return "unknown option '" + option + "'";
    }
    PhotoOptions changed = options;
    bool valid = false;
    std::string need;
    if (option == "--regions") {
        valid = parseCount(value, maxRegions, changed.regions);
        need = regionsNeed();
    } else if (option == "--cells") {
        valid = value == "auto" || parseSize(value, maxCellsAcross, maxCellsDown,
                                             changed.cellsAcross, changed.cellsDown);
        if (value == "auto") {
            changed.cellsAcross = changed.cellsDown = 0;
        }
        need = cellsNeed();
    } else if (option == "--max-size") {
        valid =
            parseSize(value, maxPictureSide, maxPictureSide, changed.maxWidth, changed.maxHeight);
        need = maxSizeNeed();
    } else {
        valid = value == "own" || value == "crop" || value == "pad" || value == "stretch";
        changed.fit = value == "pad"       ? Fit::pad
                      : value == "stretch" ? Fit::stretch
                      : value == "crop"    ? Fit::crop
                                           : Fit::own;
        need = fitNeed;
    }
    if (!valid) {
        return need + ", not '" + value + "'";
    }
    options = changed;
    return "";
}

std::string photoOptionsError(const PhotoOptions& options) {
    if (!inRange(options.regions, maxRegions)) {
        return regionsNeed();
    }
    const bool automatic = options.cellsAcross == 0 && options.cellsDown == 0;
    if (!automatic && (!inRange(options.cellsAcross, maxCellsAcross) ||
                       !inRange(options.cellsDown, maxCellsDown))) {
        return cellsNeed();
    }
    if (!inRange(options.maxWidth, maxPictureSide) || !inRange(options.maxHeight, maxPictureSide)) {
        return maxSizeNeed();
    }
    if (options.fit != Fit::own && options.fit != Fit::crop && options.fit != Fit::pad &&
        options.fit != Fit::stretch) {
        return fitNeed;
    }
    return "";
}

void cellsFor(const PhotoOptions& options, BoardSize board, int& cellsAcross, int& cellsDown) {
    cellsAcross = options.cellsAcross;
    cellsDown = options.cellsDown;
    if (cellsAcross == 0 && cellsDown == 0) {
        cellsAcross = board.width / boardCellUnits;
        cellsDown = board.height / boardCellUnits;
    }
}

} // namespace tessera
