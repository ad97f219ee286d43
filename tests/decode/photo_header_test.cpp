#include "decode/photo_header.h"
#include "test_image_files.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace tessera {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes pngBytes() {
    const std::vector<char> file = [] {
        const std::string path = testing::TempDir() + "tessera-header.png";
        writePng(path, solidImage(40, 30, 200, 10, 10));
        return readBytes(path);
    }();
    return Bytes(file.begin(), file.end());
}

// Where the frame header's marker (SOF0, as libjpeg writes it) is.
std::size_t frameHeaderAt(const Bytes& jpeg) {
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xff && jpeg[i + 1] == 0xc0) {
            return i;
        }
    }
    return 0;
}

TEST(PhotoHeader, RefusesWhatTheFirstBytesShowToBeBrokenAndLeavesTheRestToTheDecoder) {
    const Bytes png = pngBytes();
    const Bytes jpeg = encodeJpeg(solidImage(40, 30, 10, 200, 10));
    using Change = std::function<void(Bytes&)>;
    const struct {
        const char* name;
        const Bytes& bytes;
        Change change;
        std::string error;
    } rows[] = {
        {"a sound PNG", png, [](Bytes&) {}, ""},
        {"a sound JPEG", jpeg, [](Bytes&) {}, ""},
        {"a PNG cut inside its header", png, [](Bytes& b) { b.resize(20); }, ""},
        {"a PNG whose first chunk is not IHDR", png, [](Bytes& b) { b[12] = 'i'; },
         "cannot decode PNG: the signature is not followed by an IHDR chunk"},
        {"a PNG whose IHDR does not match its CRC", png, [](Bytes& b) { b[30] ^= 1; },
         "cannot decode PNG: IHDR: CRC error"},
        {"a JPEG with no marker after its first segment", jpeg,
         [](Bytes& b) { b[4 + (b[4] << 8 | b[5])] = 'x'; },
         "cannot decode JPEG: no marker at byte 20 before the frame header"},
        {"a JPEG whose scan comes before its frame header", jpeg,
         [](Bytes& b) { b[frameHeaderAt(b) + 1] = 0xda; },
         "cannot decode JPEG: marker 0xda before the frame header"},
        {"a JPEG frame of no width", jpeg,
         [](Bytes& b) { std::fill_n(b.begin() + frameHeaderAt(b) + 7, 2, 0); },
         "cannot decode JPEG: picture is 0 x 30 pixels"},
    };
    ASSERT_NE(frameHeaderAt(jpeg), 0u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Bytes bytes = row.bytes;
        row.change(bytes);
        EXPECT_EQ(photoHeaderError(bytes.data(), bytes.size()), row.error);
    }
}

} // namespace
} // namespace tessera
