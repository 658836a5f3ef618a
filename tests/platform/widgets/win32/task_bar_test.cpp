#include "platform/widgets/win32/task_bar_state.h"

#include <gtest/gtest.h>

namespace {

// A run that waits for the user shows its button in the paused colour.
TEST(TaskBarState, FollowsTheRunsState) {
    EXPECT_EQ(TaskBarState(TProgressState::None), TBPF_NOPROGRESS);
    EXPECT_EQ(TaskBarState(TProgressState::Normal), TBPF_NORMAL);
    EXPECT_EQ(TaskBarState(TProgressState::Paused), TBPF_PAUSED);
}

} // namespace
