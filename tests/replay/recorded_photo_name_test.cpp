#include "replay/recorded_photo_name.h"

#include <gtest/gtest.h>
#include <string>

namespace tessera {
namespace {

TEST(RecordedPhotoName, IsTheFilesOwnNameOnOneLineThatFitsAHeaderLine) {
    const struct {
        const char* name;
        std::string fileName;
        std::string recorded; // empty: refused
        std::string refusal;
    } rows[] = {
        {"plain", "fruits.jpg", "fruits.jpg", ""},
        {"spaces and UTF-8", "Früchte im Mai.jpeg", "Früchte im Mai.jpeg", ""},
        {"a folder", "Pictures/2024/fruits.jpg", "fruits.jpg", ""},
        {"a folder alone", "Pictures/", "", "a photograph without a file name cannot be recorded"},
        {"a line break", "two\nlines.jpg", "",
         "two\\nlines.jpg: a name with a control character cannot be recorded; rename the file"},
        {"an escape", "\x1b[2Jfruits.jpg", "",
         "\\x1b[2Jfruits.jpg: a name with a control character cannot be recorded; rename the "
         "file"},
        {"DEL", "fruit\x7f.jpg", "",
         "fruit\\x7f.jpg: a name with a control character cannot be recorded; rename the file"},
        {"longest", std::string(4180, 'a'), std::string(4180, 'a'), ""},
        {"too long", std::string(4181, 'a'), "", "the picture's name is too long to record"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string recorded = "untouched";
        EXPECT_EQ(recordedPhotoName(row.fileName, recorded), row.refusal);
        EXPECT_EQ(recorded, row.recorded.empty() ? "untouched" : row.recorded);
    }
}

} // namespace
} // namespace tessera
