#pragma once

#include <cstddef>
#include <cstdint>

namespace tessera {

// One input of each fuzz target, run through the reader as the program would meet it:
// shared by the libFuzzer entry points and the test that replays the committed inputs.
// Each returns normally for any bytes; a broken invariant aborts with a message.

// Parses the bytes as a picture.
void fuzzPpm(const std::uint8_t* data, std::size_t size);

// Parses the bytes as a mask and, when that succeeds, reads the cell under every point of
// a 640 x 480 board (both edges included), as spawning does.
void fuzzPgm(const std::uint8_t* data, std::size_t size);

// Parses the bytes as a region map.
void fuzzRegionMap(const std::uint8_t* data, std::size_t size);

// Reads the bytes as a replay file, header and every event, as a replay does.
void fuzzReplay(const std::uint8_t* data, std::size_t size);

// Makes a picture set of the bytes as a photograph given to the program is made into one:
// decoding, orientation, fitting, colour regions and the mask grid, all in memory.
void fuzzPhoto(const std::uint8_t* data, std::size_t size);

// Reads the bytes as a phone's message to the phones' server.
void fuzzBrushMessage(const std::uint8_t* data, std::size_t size);

} // namespace tessera
