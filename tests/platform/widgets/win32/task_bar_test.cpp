#include "platform/widgets/win32/task_bar_state.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// A run that waits for the user shows its button in the paused colour.
TEST(TaskBarState, FollowsTheRunsState) {
    const std::pair<TProgressState, TBPFLAG> cases[] = {{TProgressState::None, TBPF_NOPROGRESS},
                                                        {TProgressState::Normal, TBPF_NORMAL},
                                                        {TProgressState::Paused, TBPF_PAUSED}};
    for (const auto& [state, flag] : cases) {
        EXPECT_EQ(TaskBarState(state), flag) << static_cast<int>(state);
    }
}

} // namespace
