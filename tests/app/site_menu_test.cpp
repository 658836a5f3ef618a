#include "app/site_menu.h"

#include <gtest/gtest.h>

namespace {

TEST(SiteCaption, IsTheDirectorysOwnNameWithoutItsLastCharacter) {
    const auto posix = [](std::string_view dir) { return SiteCaption(dir, TPathStyle::Posix); };
    EXPECT_EQ(posix("/web/shop/"), "shop");
    EXPECT_EQ(posix("/web/shop"), "sho");
    EXPECT_EQ(posix("/web/日本語/"), "日本語");
    EXPECT_EQ(posix("shop/"), "shop");
    EXPECT_EQ(posix("/"), "");
    const auto windows = [](std::string_view dir) { return SiteCaption(dir, TPathStyle::Windows); };
    EXPECT_EQ(windows("C:\\web\\shop\\"), "shop");
    EXPECT_EQ(windows("C:/web/shop/"), "shop");
    EXPECT_EQ(windows("C:\\web\\\x95\x5C\x8E\x86"), "\x95\x5C"); // 表紙 without 紙
    EXPECT_EQ(windows("C:\\"), "C:"); // no separator before the final one
}

// Two "shop" entries in the menu would not say which site each is.
TEST(SiteCaptions, SitesThatShareANameShowEnoughOfTheirPathsToTellThemApart) {
    using Strings = std::vector<std::string>;
    EXPECT_EQ(SiteCaptions({"/a/x/shop/", "/b/x/shop/", "/c/shop/", "/web/", "/d/web/"},
                           TPathStyle::Posix),
              (Strings{"a/x/shop", "b/x/shop", "c/shop", "/web", "d/web"}));
    // A path written twice cannot be told apart from itself.
    EXPECT_EQ(SiteCaptions({"/x/shop/", "/x/shop/", "/y/x/shop/", "shop/"}, TPathStyle::Posix),
              (Strings{"/x/shop", "/x/shop", "y/x/shop", "shop"}));
    // 表 ends in the byte of "\"; "/" separates too.
    EXPECT_EQ(SiteCaptions({"C:\\\x95\x5C\\shop\\", "D:\\\x95\x5C\\shop\\", "C:/web/"},
                           TPathStyle::Windows),
              (Strings{"C:\\\x95\x5C\\shop", "D:\\\x95\x5C\\shop", "web"}));
}

TEST(InSite, IsAByteExactPrefixTest) {
    EXPECT_TRUE(InSite("/web/shop/a.html", "/web/shop/"));
    EXPECT_TRUE(InSite("/web/shop/a.html", "/web/"));
    EXPECT_FALSE(InSite("/web/shop2/a.html", "/web/shop/"));
    EXPECT_TRUE(InSite("/web/shop2/a.html", "/web/shop"));
    EXPECT_FALSE(InSite("/Web/shop/a.html", "/web/shop/"));
    EXPECT_FALSE(InSite("/web/", "/web/shop/"));
    EXPECT_FALSE(InSite("/old/web/shop/a.html", "/web/shop/"));
}

} // namespace
