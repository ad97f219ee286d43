#include "canvas/matrix.h"

#include <cmath>
#include <utility>

namespace tessera {

void multiplyMatrices(const float a[16], const float b[16], float out[16]) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            out[4 * i + j] = a[4 * i] * b[j] + a[4 * i + 1] * b[4 + j] + a[4 * i + 2] * b[8 + j] +
                             a[4 * i + 3] * b[12 + j];
        }
    }
}

void identityMatrix(float m[16]) {
    for (int k = 0; k < 16; ++k) {
        m[k] = (k % 5 == 0) ? 1.0f : 0.0f;
    }
}

int invertMatrix(const float source[16], float result[16]) {
    float t[4][4];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            t[r][c] = source[4 * r + c];
        }
    }
    identityMatrix(result);
    auto out = [result](int r, int c) -> float& { return result[4 * r + c]; };
    for (int i = 0; i < 4; ++i) {
        int pivot = i;
        for (int r = i + 1; r < 4; ++r) {
            if (std::fabs(t[r][i]) > std::fabs(t[i][i])) {
                pivot = r;
            }
        }
        if (pivot != i) {
            for (int c = 0; c < 4; ++c) {
                std::swap(t[i][c], t[pivot][c]);
                std::swap(out(i, c), out(pivot, c));
            }
        }
        if (t[i][i] == 0.0f) {
            return 0;
        }
        const float d = t[i][i];
        for (int c = 0; c < 4; ++c) {
            t[i][c] /= d;
            out(i, c) /= d;
        }
        for (int j = 0; j < 4; ++j) {
            if (j == i) {
                continue;
            }
            const float f = t[j][i];
            for (int c = 0; c < 4; ++c) {
                t[j][c] -= f * t[i][c];
                out(j, c) -= f * out(i, c);
            }
        }
    }
    return 1;
}

} // namespace tessera
