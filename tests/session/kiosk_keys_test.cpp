#include "session/kiosk_keys.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

constexpr int ctrlAlt = KioskKeys::control | KioskKeys::alt;

TEST(KioskKeys, AKioskLetsOnlyThePaintingKeysThroughAndTheOwnerOut) {
    const struct {
        const char* name;
        unsigned char key;
        int modifiers;
        KioskKeys::Action outside;
        KioskKeys::Action inKiosk;
    } rows[] = {
        {"grave accent", '`', 0, KioskKeys::ForwardAndQuit, KioskKeys::Ignore},
        {"Escape", 27, 0, KioskKeys::Forward, KioskKeys::Ignore},
        {"pan left", 'a', 0, KioskKeys::Forward, KioskKeys::Ignore},
        {"zoom out", '-', 0, KioskKeys::Forward, KioskKeys::Ignore},
        {"snapshot", 'p', 0, KioskKeys::Forward, KioskKeys::Ignore},
        {"a letter with no use", 'q', 0, KioskKeys::Forward, KioskKeys::Ignore},
        {"the nul key", '\0', 0, KioskKeys::Forward, KioskKeys::Ignore},
        {"first tool", '1', 0, KioskKeys::Forward, KioskKeys::Forward},
        {"last tool", '4', 0, KioskKeys::Forward, KioskKeys::Forward},
        {"no fifth tool", '5', 0, KioskKeys::Forward, KioskKeys::Ignore},
        {"scatter", 'r', 0, KioskKeys::Forward, KioskKeys::Forward},
        {"undo", 'z', 0, KioskKeys::Forward, KioskKeys::Forward},
        {"Backspace", 8, 0, KioskKeys::Forward, KioskKeys::Forward},
        {"Delete", 127, 0, KioskKeys::Forward, KioskKeys::Forward},
        {"Ctrl+Alt+Q as X11 sends it", 17, ctrlAlt, KioskKeys::Forward, KioskKeys::EndShow},
        {"Ctrl+Alt+Q as a letter", 'q', ctrlAlt, KioskKeys::Forward, KioskKeys::EndShow},
        {"Ctrl+Alt+Shift+Q", 'Q', ctrlAlt | KioskKeys::shift, KioskKeys::Forward,
         KioskKeys::EndShow},
        {"Ctrl+Q alone", 17, KioskKeys::control, KioskKeys::Forward, KioskKeys::Ignore},
        {"Alt+Q alone", 'q', KioskKeys::alt, KioskKeys::Forward, KioskKeys::Ignore},
        {"Ctrl+Alt+W", 23, ctrlAlt, KioskKeys::Forward, KioskKeys::Ignore},
        {"grave accent with the chord's keys", '`', ctrlAlt, KioskKeys::ForwardAndQuit,
         KioskKeys::Ignore},
    };
    const KioskKeys outside(false);
    const KioskKeys kiosk(true);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(outside.action(row.key, row.modifiers), row.outside);
        EXPECT_EQ(kiosk.action(row.key, row.modifiers), row.inKiosk);
    }
}

} // namespace
} // namespace tessera
