#include "app/list_follow.h"

#include <gtest/gtest.h>

namespace {

// A list that shows rows 10 to 14.
TEST(ListFollowTest, TheRunsPageComesIntoViewUnlessTheUserScrolledAwayFromTheLastOne) {
    EXPECT_EQ(FollowingTop(10, 5, 12, std::nullopt), 10) << "in view already";
    EXPECT_EQ(FollowingTop(10, 5, 30, std::nullopt), 30) << "the first page, below";
    EXPECT_EQ(FollowingTop(10, 5, 3, std::nullopt), 3) << "the first page, above";
    EXPECT_EQ(FollowingTop(10, 5, 15, 14), 15) << "the next page turns the view";
    EXPECT_EQ(FollowingTop(10, 5, 40, 14), 40) << "pages left out in between";
    EXPECT_EQ(FollowingTop(10, 5, 15, 9), 10) << "the user scrolled the last page away";
    EXPECT_EQ(FollowingTop(10, 5, 30, 20), 10) << "and looks elsewhere still";
}

} // namespace
