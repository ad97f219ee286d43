#include "tessera/window_choice.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(WindowChoice, GameModeOnlyWhereItIsWantedOfferedAndComesOnElseTheWholeScreen) {
    const struct {
        const char* name;
        WindowRequest request;
        GameModeState state;
        WindowStep step;
    } rows[] = {
        {"mode offered: try it",
         WindowRequest::GameModeFirst,
         {true, false, false},
         WindowStep::EnterGameMode},
        {"mode on: keep it",
         WindowRequest::GameModeFirst,
         {true, true, true},
         WindowStep::KeepGameMode},
        {"offered but did not come on",
         WindowRequest::GameModeFirst,
         {true, true, false},
         WindowStep::FallBackToFullScreen},
        {"not offered",
         WindowRequest::GameModeFirst,
         {false, false, false},
         WindowStep::FallBackToFullScreen},
        {"full screen asked for: no mode change even where offered",
         WindowRequest::FullScreen,
         {true, false, false},
         WindowStep::OpenFullScreen},
        {"window asked for", WindowRequest::Window, {true, false, false}, WindowStep::OpenWindow},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(nextWindowStep(row.request, row.state), row.step) << row.name;
    }
}

} // namespace
} // namespace tessera
