#pragma once

namespace tessera {

// The program's own pseudo-random sequence, the same on every platform: state starts at
// 1, state = state * 214013 + 2531011 (mod 2^32), result (state >> 16) & 32767. Its
// first values are 41, 18467, 6334, 26500. The C library's rand differs on Linux, and the
// toolbar's look depends on this sequence.
int rand();

// Puts the sequence back at its start (or at a chosen state), for tests and replays.
void seedRandom(unsigned int state = 1);
// Where the sequence is now: seedRandom(randomState()) goes on from here.
unsigned int randomState();

} // namespace tessera
