#include "app/site_menu.h"

#include <gtest/gtest.h>

namespace {

TEST(SiteCaption, IsTheDirectorysOwnNameWithoutItsLastCharacter) {
    EXPECT_EQ(SiteCaption("/web/shop/"), "shop");
    EXPECT_EQ(SiteCaption("/web/shop"), "sho");
    EXPECT_EQ(SiteCaption("/web/日本語/"), "日本語");
    EXPECT_EQ(SiteCaption("shop/"), "shop");
    EXPECT_EQ(SiteCaption("/"), "");
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

TEST(SiteComponentName, IsAlwaysAValidUnusedIdentifier) {
    EXPECT_EQ(SiteComponentName("shop", 0, {}), "PMSshop");
    EXPECT_EQ(SiteComponentName("my site", 1, {}), "PMSSite1");
    EXPECT_EQ(SiteComponentName("a-b.c", 2, {}), "PMSSite2");
    EXPECT_EQ(SiteComponentName("日本", 3, {}), "PMSSite3");
    EXPECT_EQ(SiteComponentName("shop", 4, {"PMSshop"}), "PMSshop_2");
    EXPECT_EQ(SiteComponentName("shop", 5, {"PMSshop", "PMSshop_2"}), "PMSshop_3");
    EXPECT_EQ(SiteComponentName("Site1", 6, {}), "PMSSite1");
    EXPECT_EQ(SiteComponentName("x y", 1, {"PMSSite1"}), "PMSSite1_2");
}

} // namespace
