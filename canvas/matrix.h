#pragma once

namespace tessera {

// 4 x 4 matrices as 16 floats in OpenGL's column-major order, as glGetFloatv gives them.

// out[4i + j] = sum over k of a[4i + k] * b[4k + j]: read as OpenGL matrices, out = B x A,
// so multiplyMatrices(modelview, projection, out) gives projection x modelview. out must
// be neither a nor b.
void multiplyMatrices(const float a[16], const float b[16], float out[16]);

void identityMatrix(float m[16]);

// Gauss-Jordan elimination with row pivoting; source and result may be the same array.
// The pivot row for column i is the last row below i whose entry beats the diagonal entry
// in magnitude. Returns 0 for a singular matrix (result then holds partial work).
int invertMatrix(const float source[16], float result[16]);

} // namespace tessera
