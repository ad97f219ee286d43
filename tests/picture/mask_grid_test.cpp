#include "picture/mask_grid.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

struct GridRow {
    const char* name;
    int maskWidth, maskHeight;
    int cellWidth, cellHeight;
};

TEST(MaskGrid, CellSizeIsWholeBoardUnitsAndNeverZero) {
    const GridRow rows[] = {
        {"64 x 48 mask", 64, 48, 10, 10},
        {"100 wide truncates", 100, 7, 6, 68},
        {"wider than the board", 700, 500, 1, 1},
        {"one cell", 1, 1, 640, 480},
    };
    for (const GridRow& row : rows) {
        const MaskGrid grid{640, 480, row.maskWidth, row.maskHeight};
        SCOPED_TRACE(row.name);
        EXPECT_EQ(grid.cellWidth(), row.cellWidth);
        EXPECT_EQ(grid.cellHeight(), row.cellHeight);
    }
}

TEST(MaskGrid, CellUnderAPointCountsRowsFromTheBottom) {
    const MaskGrid grid{640, 480, 64, 48};
    EXPECT_EQ(grid.cellAt(100, 100), 10 * 64 + 10);
    EXPECT_EQ(grid.cellAt(0, 0), 0);
    EXPECT_EQ(grid.cellAt(9, 19), 64);
}

TEST(MaskGrid, EveryBoardPointLandsInsideTheMask) {
    // 60 x 45 cells of 10 units leave a strip past the last cell on the right and at the
    // top; the board's own top row (y 480) and right column (x 640) lie past it as well.
    for (const auto& [width, height] : {std::pair{60, 45}, {64, 48}, {900, 700}, {3, 2}}) {
        const MaskGrid grid{640, 480, width, height};
        const long cells = static_cast<long>(width) * height;
        for (int x = -1; x <= 641; ++x) {
            for (int y : {-1, 0, 239, 479, 480, 481}) {
                const long cell = grid.cellAt(x, y);
                ASSERT_GE(cell, 0) << width << "x" << height << " at " << x << "," << y;
                ASSERT_LT(cell, cells) << width << "x" << height << " at " << x << "," << y;
            }
        }
    }
    const MaskGrid uneven{640, 480, 60, 45};
    EXPECT_EQ(uneven.cellAt(640, 480), 60 * 45 - 1);
    EXPECT_EQ(uneven.cellAt(639, 0), 59);
}

} // namespace
} // namespace tessera
