#include "builder/linetype_notice.h"

#include <gtest/gtest.h>

#include "common/utf.h"

namespace builder {
namespace {

using Names = std::vector<std::u16string>;
using Table = std::vector<cadlink::DrawingLayer>;

const std::vector<SentLinetype> kSent = {
    {u"破線", u"D-BGD"},       {u"Continuous", u"D-TTL"}, {u"一点鎖線", u"D-BMK"}, {u"破線", u"D-STR"},
    {u"CONTINUOUS", u"D-DIM"}, {u"dashed", u"D-HCH"},     {u"DASHED", u"D-TXT"},
};

TEST(LinetypeNotice, WhatIsToldWithAndWithoutTheDrawingsTable) {
    struct Case {
        const char* name;
        std::optional<Table> table;
        std::set<std::u16string> toldBefore;
        Names expected;
    };
    const Case cases[] = {
        {"AutoCAD LT: every line type sent but Continuous, once each, in order",
         std::nullopt,
         {},
         {u"破線", u"一点鎖線", u"dashed"}},
        {"AutoCAD LT: what was told before for the drawing is not told again",
         std::nullopt,
         {u"破線", u"DASHED"},
         {u"一点鎖線"}},
        {"the stand-in: only what some layer did not get",
         Table{{u"D-BGD", 7, u"破線"},
               {u"D-STR", 7, u"破線"},
               {u"D-BMK", 7, u"Continuous"},
               {u"D-HCH", 7, u"DASHED"},
               {u"d-txt", 7, u"DASHED"}},
         {},
         {u"一点鎖線"}},
        {"the stand-in: a layer missing from the table counts as not given it",
         Table{{u"D-BMK", 7, u"一点鎖線"}, {u"D-HCH", 7, u"DASHED"}, {u"D-TXT", 7, u"DASHED"}},
         {},
         {u"破線"}},
        {"the stand-in: all loaded, nothing to tell",
         Table{{u"D-BGD", 7, u"破線"},
               {u"D-STR", 7, u"破線"},
               {u"D-BMK", 7, u"一点鎖線"},
               {u"D-HCH", 7, u"DASHED"},
               {u"D-TXT", 7, u"DASHED"}},
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::set<std::u16string> told = c.toldBefore;
        EXPECT_EQ(linetypesToTell(kSent, c.table, told), c.expected);
    }
}

TEST(LinetypeNotice, AutoCadLtIsToldOnceForADrawing) {
    std::set<std::u16string> told;
    EXPECT_EQ(linetypesToTell(kSent, std::nullopt, told).size(), 3u);
    EXPECT_TRUE(linetypesToTell(kSent, std::nullopt, told).empty());
    EXPECT_EQ(linetypesToTell({{u"二点鎖線", u"D-X"}}, std::nullopt, told), Names{u"二点鎖線"});
}

TEST(LinetypeNotice, TheMessageNamesTheLineTypesAndHowToLoadThem) {
    const std::u16string maybe = linetypeNoticeMessage({u"破線", u"一点鎖線"}, false);
    EXPECT_NE(maybe.find(u"\r破線、一点鎖線\r"), std::u16string::npos);
    EXPECT_NE(maybe.find(u"読み込まれている場合だけ"), std::u16string::npos);
    EXPECT_NE(maybe.find(u"LINETYPE"), std::u16string::npos);
    const std::u16string certain = linetypeNoticeMessage({u"破線"}, true);
    EXPECT_NE(certain.find(u"読み込まれていないため"), std::u16string::npos);
    EXPECT_TRUE(isContinuous(u"continuous"));
    EXPECT_FALSE(isContinuous(u"実線"));
}

}  // namespace
}  // namespace builder
