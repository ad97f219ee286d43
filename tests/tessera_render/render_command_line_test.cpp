#include "tessera_render/render_command_line.h"

#include <gtest/gtest.h>
#include <vector>

namespace tessera {
namespace {

std::string parse(const std::vector<const char*>& arguments, RenderCommandLine& options) {
    return parseRenderCommandLine(static_cast<int>(arguments.size()), arguments.data(), options);
}

TEST(RenderCommandLine, TakesTheFileAndItsOutputsInAnyOrder) {
    RenderCommandLine options;
    ASSERT_EQ(parse({"--frames=out", "demo.tessera-replay", "--every", "30", "--snapshot",
                     "last.png", "--picture", "moved/fruit", "--size", "1920x1080"},
                    options),
              "");
    EXPECT_EQ(options.width, 1920);
    EXPECT_EQ(options.height, 1080);
    EXPECT_EQ(options.replay, "demo.tessera-replay");
    EXPECT_EQ(options.frames, "out");
    EXPECT_EQ(options.every, 30);
    EXPECT_EQ(options.snapshot, "last.png");
    EXPECT_EQ(options.picture, "moved/fruit");
}

TEST(RenderCommandLine, NamesWhatIsWrong) {
    const struct {
        const char* name;
        std::vector<const char*> arguments;
        const char* message;
    } rows[] = {
        {"no file", {"--snapshot=a.png"}, "no replay file given"},
        {"two files",
         {"a", "b", "--snapshot=a.png"},
         "more than one replay file given: 'a' and 'b'"},
        {"no output",
         {"a"},
         "nothing to write: give --snapshot OUT.png, --frames DIR or --video OUT"},
        {"video with frames",
         {"a", "--video=a.mp4", "--every=1"},
         "--video cannot be given with --snapshot, --frames or --every"},
        {"every without frames",
         {"a", "--snapshot=a.png", "--every=2"},
         "--every only goes with --frames"},
        {"every zero",
         {"a", "--frames=f", "--every=0"},
         "--every needs a whole number from 1 to 1000000, not '0'"},
        {"unknown option", {"a", "--fast"}, "unknown option '--fast'"},
        {"unknown group", {"a", "-qz", "--snapshot=a.png"}, "unknown option '-q'"},
        {"missing value", {"a", "--frames"}, "--frames needs a value"},
        {"picture without its value",
         {"a", "--snapshot=a.png", "--picture"},
         "--picture needs a value"},
        {"empty picture",
         {"a", "--snapshot=a.png", "--picture="},
         "--picture needs a picture set or a photograph"},
        {"picture twice",
         {"a", "--picture=x.jpg", "--snapshot=a.png", "--picture", "y.jpg"},
         "--picture given twice: 'x.jpg' and 'y.jpg'"},
        {"size of 0",
         {"a", "--snapshot=a.png", "--size=0x480"},
         "--size needs WxH with W and H from 1 to 8192, not '0x480'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RenderCommandLine options;
        EXPECT_EQ(parse(row.arguments, options), row.message);
    }
}

} // namespace
} // namespace tessera
