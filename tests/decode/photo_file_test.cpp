#include "decode/photo_file.h"
#include "photo/make_picture_set.h"
#include "scratch_folder.h"
#include "test_image_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessera {
namespace {

long peakResidentKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(PhotoFile, ARegularFileAboveTheCapIsRefusedBeforeItIsRead) {
    ScratchFolder folder;
    const std::string path = folder.path("huge.jpg");
    // Sparse: it takes no room on disk, but reading it would fill 1 GiB of memory.
    writeBytes(path, {'\xff', '\xd8', '\xff'});
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(maxPhotoFileBytes) + 1), 0);
    const long before = peakResidentKib();

    std::vector<unsigned char> bytes;
    EXPECT_EQ(readPhotoFile(path.c_str(), bytes), "file is larger than 1 GiB");

    EXPECT_TRUE(bytes.empty());
    EXPECT_LT(peakResidentKib() - before, 64 * 1024) << "KiB more at the peak";
}

TEST(PhotoFile, AnEndlessStreamThatStartsLikeNoPhotographIsRefusedAtOnce) {
    const long before = peakResidentKib();
    PictureSet set;

    EXPECT_EQ(makePictureSet("/dev/zero", PhotoOptions{}, set), "not a JPEG or PNG image");

    EXPECT_LT(peakResidentKib() - before, 64 * 1024) << "KiB more at the peak";
}

TEST(PhotoFile, ALargeFileWhoseHeaderIsBrokenIsRefusedFromItsFirstBytes) {
    ScratchFolder folder;
    const std::string path = folder.path("huge.png");
    writeBytes(path, {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n', 'n', 'o', 't', ' ', 'I', 'H',
                      'D', 'R'});
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(maxPhotoFileBytes)), 0);
    const long before = peakResidentKib();

    std::vector<unsigned char> bytes;
    EXPECT_EQ(readPhotoFile(path.c_str(), bytes),
              "cannot decode PNG: the signature is not followed by an IHDR chunk");

    EXPECT_LT(peakResidentKib() - before, 16 * 1024) << "KiB more at the peak";
}

// Nobody writes to the FIFO: an open that waited for a writer would never return, and the
// alarm would end the test.
TEST(PhotoFile, AFifoIsRefusedWithoutWaitingForAWriter) {
    ScratchFolder folder;
    const std::string path = folder.path("photo.png");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    alarm(10);
    std::vector<unsigned char> bytes;
    EXPECT_EQ(readPhotoFile(path.c_str(), bytes), "not a regular file but a FIFO");
    FileStamp stamp;
    std::string error;
    EXPECT_EQ(photoFormatOfFile(path.c_str(), stamp, error), PhotoFormat::unknown);
    EXPECT_EQ(error, "not a regular file but a FIFO");
    alarm(0);
}

} // namespace
} // namespace tessera
