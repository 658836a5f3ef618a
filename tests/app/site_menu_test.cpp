#include "app/site_menu.h"

#include <gtest/gtest.h>

namespace {

#ifndef _WIN32
TEST(SiteCaption, IsTheDirectorysOwnNameWithoutItsLastCharacter) {
    EXPECT_EQ(SiteCaption("/web/shop/"), "shop");
    EXPECT_EQ(SiteCaption("/web/shop"), "sho");
    EXPECT_EQ(SiteCaption("/web/日本語/"), "日本語");
    EXPECT_EQ(SiteCaption("shop/"), "shop");
    EXPECT_EQ(SiteCaption("/"), "");
}

#else
// The last character may be a double-byte one; a second byte 5C (表 95 5C, ソ 83 5C) is never
// taken for "\".
TEST(SiteCaption, IsTheDirectorysOwnNameWithoutItsLastCharacter) {
    EXPECT_EQ(SiteCaption("C:\\web\\shop\\"), "shop");
    EXPECT_EQ(SiteCaption("C:\\web\\shop"), "sho");
    EXPECT_EQ(SiteCaption("C:\\web\\\x95\x5C\\"), "\x95\x5C");
    EXPECT_EQ(SiteCaption("C:\\web\\\x95\x5C\x8E\x86"), "\x95\x5C");
    EXPECT_EQ(SiteCaption("C:\\\x83\x5C\\\x95\x5C\x8E\x86\\"), "\x95\x5C\x8E\x86");
    EXPECT_EQ(SiteCaption("C:\\"), "C:"); // no separator before the final one
}
#endif

TEST(InSite, IsAByteExactPrefixTest) {
    EXPECT_TRUE(InSite("/web/shop/a.html", "/web/shop/"));
    EXPECT_TRUE(InSite("/web/shop/a.html", "/web/"));
    EXPECT_FALSE(InSite("/web/shop2/a.html", "/web/shop/"));
    EXPECT_TRUE(InSite("/web/shop2/a.html", "/web/shop"));
    EXPECT_FALSE(InSite("/Web/shop/a.html", "/web/shop/"));
    EXPECT_FALSE(InSite("/web/", "/web/shop/"));
    EXPECT_FALSE(InSite("/old/web/shop/a.html", "/web/shop/"));
}

TEST(SiteComponentNames, AreValidIdentifiersGivenOnce) {
    TSiteComponentNames names{"PMSiteCheck"};
    EXPECT_EQ(names.Next("shop", 0), "PMSshop");
    EXPECT_EQ(names.Next("my site", 1), "PMSSite1");
    EXPECT_EQ(names.Next("a-b.c", 2), "PMSSite2");
    EXPECT_EQ(names.Next("日本", 3), "PMSSite3");
    EXPECT_EQ(names.Next("shop", 4), "PMSshop_2");
    EXPECT_EQ(names.Next("shop_3", 5), "PMSshop_3");
    EXPECT_EQ(names.Next("shop", 6), "PMSshop_4");
    EXPECT_EQ(names.Next("Site1", 7), "PMSSite1_2");
    EXPECT_EQ(names.Next("iteCheck", 8), "PMSiteCheck_2");
    EXPECT_EQ(names.Next("shop_2", 9), "PMSshop_2_2");
}

} // namespace
