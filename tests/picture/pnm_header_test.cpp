#include "picture/pnm_reader.h"
#include "support/byte_stream.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessera {
namespace {

// Both readers share their header rules; every case runs against both, with '@' in the
// bytes and the expected message standing for the magic word and each message prefixed
// with the file kind.
struct Format {
    const char* kind;
    const char* magic;
    std::string (*parse)(std::FILE*, Image&);
};

const Format formats[] = {{"ppm", "P6", parsePpm}, {"pgm", "P5", parsePgm}};

struct HeaderCase {
    const char* story;
    std::string bytes;
    std::string fault; // empty: the header is good
};

std::string withMagic(std::string text, const Format& format) {
    for (auto at = text.find('@'); at != std::string::npos; at = text.find('@')) {
        text.replace(at, 1, format.magic);
    }
    return text;
}

void expectHeaderResults(const std::vector<HeaderCase>& cases) {
    for (const Format& format : formats) {
        for (const HeaderCase& c : cases) {
            SCOPED_TRACE(std::string(format.kind) + ": " + c.story);
            test::ByteStream in(withMagic(c.bytes, format));
            Image image;
            std::string expected;
            if (!c.fault.empty()) {
                expected = std::string(format.kind) + " " + withMagic(c.fault, format) + "\n";
            }
            EXPECT_EQ(format.parse(in.get(), image), expected);
            EXPECT_EQ(image.pixels.empty(), !c.fault.empty());
        }
    }
}

TEST(PnmHeader, OnlyTheExactMagicWordIsAccepted) {
    expectHeaderResults({
        {"empty file", "", "type not @"},
        {"white space only", " \n\t", "type not @"},
        {"magic word cut short", "P", "type not @"},
        {"word with a tail", "@X 1 1 255\n", "type not @"},
        {"word far longer than the magic", "@" + std::string(28, 'x') + " 1 1 255\n", "type not @"},
        {"lower case", "p6 1 1 255\n", "type not @"},
        {"leading white space", "\n @\n1 1\n255\nabc", ""},
    });
}

TEST(PnmHeader, WidthAndHeightArePositiveDecimalNumbers) {
    expectHeaderResults({
        {"file ends after the magic word", "@", "width invalid"},
        {"width missing", "@\n\n", "width invalid"},
        {"width not a number", "@ x 1 255\n", "width invalid"},
        {"width zero", "@ 0 1 255\n", "width invalid"},
        {"width negative", "@ -4 1 255\n", "width invalid"},
        {"width with a plus sign", "@ +4 1 255\n", "width invalid"},
        {"width beyond an int", "@ 99999999999 1 255\n", "width invalid"},
        {"junk after the width", "@ 4x4 255\n", "height invalid"},
        {"file ends after the width", "@ 1", "height invalid"},
        {"height zero", "@ 1 0 255\n", "height invalid"},
        {"height beyond an int", "@ 1 2147483648 255\n", "height invalid"},
    });
}

TEST(PnmHeader, SizesAboveTheCapAreRefusedBeforeAllocating) {
    expectHeaderResults({
        {"widest accepted", "@ 8192 1 255\n" + std::string(3 * 8192, 'x'), ""},
        {"width above the cap", "@ 8193 1 255\n", "size too large"},
        {"height above the cap", "@ 1 8193 255\n", "size too large"},
        {"largest int", "@ 2147483647 2147483647 255\n", "size too large"},
    });
}

TEST(PnmHeader, MaximumValueMustBeANumberEndedByWhiteSpaceButIsOtherwiseIgnored) {
    expectHeaderResults({
        {"file ends before it", "@ 1 1", "maximum value invalid"},
        {"not a number", "@ 1 1 x\n", "maximum value invalid"},
        {"beyond an int", "@ 1 1 4294967296\n", "maximum value invalid"},
        {"zero", "@ 1 1 0\nabc", ""},
        {"running into the samples", "@ 1 1 255abc", "maximum value invalid"},
        {"file ends inside it", "@ 1 1 25", "data short"},
        {"file ends right after it", "@ 1 1 255\n", "data short"},
    });
}

TEST(PnmHeader, CommentIsReportedRatherThanMisread) {
    expectHeaderResults({
        {"before the width", "@\n# made by hand\n1 1\n255\n", "header has a comment"},
        {"right after the height", "@ 1 1# max\n255\n", "header has a comment"},
    });
}

} // namespace
} // namespace tessera
