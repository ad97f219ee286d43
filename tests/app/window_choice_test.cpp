#include "app/window_choice.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(WindowChoice, FullScreenOnlyWhereItIsWantedOfferedAndComesOn) {
    const struct {
        const char* name;
        bool fullScreen;
        GameModeState state;
        WindowStep step;
    } rows[] = {
        {"mode offered: try it", true, {true, false, false}, WindowStep::EnterGameMode},
        {"mode on: keep it", true, {true, true, true}, WindowStep::KeepGameMode},
        {"offered but did not come on", true, {true, true, false}, WindowStep::FallBackToWindow},
        {"not offered", true, {false, false, false}, WindowStep::FallBackToWindow},
        {"window asked for", false, {true, false, false}, WindowStep::OpenWindow},
    };
    for (const auto& row : rows) {
        WindowRequest request;
        request.fullScreen = row.fullScreen;
        EXPECT_EQ(nextWindowStep(request, row.state), row.step) << row.name;
    }
}

} // namespace
} // namespace tessera
