#include "canvas/matrix.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(MatrixInverse, IdentityInvertsToItself) {
    float m[16];
    identityMatrix(m);
    float inverse[16];
    EXPECT_EQ(invertMatrix(m, inverse), 1);
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(inverse[k], k % 5 == 0 ? 1.0f : 0.0f);
    }
}

TEST(MatrixInverse, ZeroColumnIsSingular) {
    float m[16];
    identityMatrix(m);
    m[2] = m[6] = m[10] = m[14] = 0.0f;
    float inverse[16];
    EXPECT_EQ(invertMatrix(m, inverse), 0);
}

TEST(MatrixInverse, InvertsInPlaceAndUndoesTheMatrix) {
    const float source[16] = {1, 3, 2, 0, 3, 1, 0, 2, 2, 0, 4, 1, 0, 2, 1, 5};
    float m[16];
    std::copy(source, source + 16, m);
    ASSERT_EQ(invertMatrix(m, m), 1);
    float product[16];
    multiplyMatrices(source, m, product);
    for (int k = 0; k < 16; ++k) {
        EXPECT_NEAR(product[k], k % 5 == 0 ? 1.0f : 0.0f, 1e-5) << k;
    }
}

TEST(MatrixInverse, PivotIsTheLastRowThatBeatsTheDiagonal) {
    // Column 0 holds 1, 3, 2, 0: rows 1 and 2 both beat the diagonal, so row 2 is taken
    // (not the largest, row 1). Column 1 is empty, so the work stops there and shows the
    // swap: row 0 of the result is identity row 2 divided by the pivot 2.
    const float source[16] = {1, 0, 0, 0, 3, 0, 1, 0, 2, 0, 0, 1, 0, 0, 0, 0};
    float result[16];
    EXPECT_EQ(invertMatrix(source, result), 0);
    EXPECT_EQ(result[0], 0.0f);
    EXPECT_EQ(result[1], 0.0f);
    EXPECT_EQ(result[2], 0.5f);
}

TEST(MatrixProduct, ReadsAsTheSecondTimesTheFirst) {
    float translate[16];
    float scale[16];
    identityMatrix(translate);
    identityMatrix(scale);
    translate[12] = 10.0f; // column-major: x translation
    scale[0] = 2.0f;
    float out[16];
    multiplyMatrices(translate, scale, out); // scale x translate: translation scaled too
    EXPECT_EQ(out[12], 20.0f);
    multiplyMatrices(scale, translate, out); // translate x scale
    EXPECT_EQ(out[12], 10.0f);
    EXPECT_EQ(out[0], 2.0f);
}

} // namespace
} // namespace tessera
