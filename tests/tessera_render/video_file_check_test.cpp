#include "scratch_folder.h"
#include "tessera_render/program_search.h"
#include "tessera_render/video_container.h"
#include "tessera_render/video_encoder.h"
#include "tessera_render/video_file_check.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace tessera {
namespace {

using namespace std::string_literals;

std::string bigEndian(std::uint64_t value, int count) {
    std::string bytes;
    for (int i = count - 1; i >= 0; --i) {
        bytes += static_cast<char>(value >> (8 * i) & 0xff);
    }
    return bytes;
}

// A whole box of type with length bytes after its header.
std::string box(const std::string& type, std::uint32_t length) {
    return bigEndian(8 + length, 4) + type + std::string(length, 'x');
}

const std::string ftyp = box("ftyp", 8);                 // bytes 0 to 15
const std::string moov = box("moov", 4);                 // then 16 to 27
const std::string ebml = "\x1a\x45\xdf\xa3\x82"s + "ab"; // an EBML header of 7 bytes
const std::string segmentId = "\x18\x53\x80\x67";

struct Case {
    const char* name;
    std::string (*check)(const std::string&);
    std::string bytes;
    std::string fault;
};

TEST(VideoFileCheck, EachFaultIsNamedAndWholeFilesPass) {
    const Case cases[] = {
        {"MP4 not starting with ftyp", mp4FileFault, moov + box("mdat", 1),
         "the file begins with the box 'moov', not 'ftyp'"},
        {"MP4 box header cut", mp4FileFault, ftyp + moov + "\0\0\0"s,
         "the box header at byte 28 is cut after 3 of its 8 bytes"},
        {"MP4 box cut by a byte", mp4FileFault, ftyp + moov + box("mdat", 10).substr(0, 17),
         "the box 'mdat' at byte 28 is 18 bytes long but only 17 are left"},
        {"MP4 box smaller than its header", mp4FileFault, ftyp + bigEndian(7, 4) + "free",
         "the box 'free' at byte 16 gives its size as 7, less than its header"},
        {"MP4 64-bit size cut", mp4FileFault, ftyp + bigEndian(1, 4) + "mdat" + "\0\0\0"s,
         "the 64-bit size of the box 'mdat' at byte 16 is cut"},
        {"MP4 64-bit size past the end", mp4FileFault,
         ftyp + moov + bigEndian(1, 4) + "mdat" + bigEndian(0x100000010, 8) + "abcd",
         "the box 'mdat' at byte 28 is 4294967312 bytes long but only 20 are left"},
        {"MP4 without an index", mp4FileFault, ftyp + box("mdat", 1),
         "there is no 'moov' box (the index)"},
        {"MP4 without frames", mp4FileFault, ftyp + moov, "there is no 'mdat' box (the frames)"},
        {"MP4 box of size 0 runs to the end", mp4FileFault,
         ftyp + moov + bigEndian(0, 4) + "mdat" + "abc", ""},
        {"MP4 64-bit size to the end", mp4FileFault,
         ftyp + moov + bigEndian(1, 4) + "mdat" + bigEndian(20, 8) + "abcd", ""},
        {"WebM without an EBML header", webmFileFault, "RIFF....",
         "the file does not begin with an EBML header"},
        {"WebM header size cut", webmFileFault, "\x1a\x45\xdf\xa3\x40",
         "the size of the EBML header is cut"},
        {"WebM header past the end", webmFileFault, "\x1a\x45\xdf\xa3\x85"s + "ab",
         "the EBML header at byte 0 is 10 bytes long but only 7 are left"},
        {"WebM without a Segment", webmFileFault, ebml + "\x1f\x43\xb6\x75\x80",
         "no Segment follows the EBML header"},
        {"WebM Segment cut by a byte", webmFileFault,
         ebml + segmentId + "\x8a" + std::string(9, 'x'),
         "the Segment at byte 7 is 15 bytes long but only 14 are left"},
        {"WebM Segment ending early", webmFileFault, ebml + segmentId + "\x81xyz",
         "the Segment ends 2 bytes before the end of the file"},
        {"WebM Segment of 8-byte size to the end", webmFileFault,
         ebml + segmentId + "\x01\0\0\0\0\0\0\x03"s + "xyz", ""},
        {"WebM Segment of unknown size", webmFileFault,
         ebml + segmentId + "\x01\xff\xff\xff\xff\xff\xff\xff" + "xyz", ""},
        {"GIF without its signature", gifFileFault, "GIF88a;",
         "the file does not begin with GIF87a or GIF89a"},
        {"GIF without its trailer", gifFileFault, "GIF89a;x",
         "the last byte is 0x78, not the GIF trailer 0x3B"},
    };
    ScratchFolder folder;
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        std::ofstream(folder.path("video"), std::ios::binary) << row.bytes;
        EXPECT_EQ(row.check(folder.path("video")), row.fault);
    }
}

// What ffmpeg really makes of each container passes, and fails when one byte is cut off.
TEST(VideoFileCheck, FfmpegsFilesPassWholeAndFailCutByOneByte) {
    const std::string ffmpeg = findProgram("ffmpeg");
    if (ffmpeg.empty()) {
        GTEST_SKIP() << "ffmpeg is not installed (Debian package ffmpeg)";
    }
    ScratchFolder folder;
    const RgbImage frame{std::vector<std::uint8_t>(16 * 16 * 3, 200), 16, 16};
    for (const char* name : {"a.mp4", "a.webm", "a.gif"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.path(name);
        const VideoContainer& container = *videoContainer(path);
        VideoEncoder encoder;
        ASSERT_EQ(encoder.start(ffmpeg, container, 16, 16, path), "");
        for (int i = 0; i < 3; ++i) {
            ASSERT_EQ(encoder.addFrame(frame), "");
        }
        ASSERT_EQ(encoder.finish(), "");
        EXPECT_EQ(container.fileFault(path), "");

        std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
        EXPECT_NE(container.fileFault(path), "");
    }
}

} // namespace
} // namespace tessera
