#include "translate/layer_map.h"

#include <gtest/gtest.h>

namespace translate {
namespace {

TEST(LayerMap, DrawingLayersAreOneEntryEachWithoutRegardToAsciiCase) {
    LayerMap map;
    map.set(u"gaikei", u"D-STR");
    map.set(u"寸法", u"D-STR-DIM");
    map.set(u"GAIKEI", u"D-BGD");  // the same drawing layer as AutoCAD LT sees it: replaced in place
    map.set(u"中心線", u"D-STR");

    ASSERT_EQ(map.pairs().size(), 3u);
    EXPECT_EQ(map.pairs()[0], (MapPair{u"GAIKEI", u"D-BGD"}));
    ASSERT_NE(map.targetOf(u"Gaikei"), nullptr);
    EXPECT_EQ(*map.targetOf(u"Gaikei"), u"D-BGD");
    EXPECT_EQ(map.targetOf(u"ｇａｉｋｅｉ"), nullptr);  // full-width letters are other characters
    EXPECT_EQ(map.sourcesOf(u"d-str"), (std::vector<std::u16string>{u"中心線"}));

    map.set(u"gaikei", u"D-STR");
    EXPECT_EQ(map.sourcesOf(u"D-STR"), (std::vector<std::u16string>{u"gaikei", u"中心線"}));
    map.remove(u"GaiKei");
    EXPECT_EQ(map.targetOf(u"gaikei"), nullptr);
    EXPECT_EQ(map.pairs().size(), 2u);
    map.remove(u"ない画層");
    EXPECT_EQ(map.pairs().size(), 2u);
}

TEST(MapFile, WrittenAndReadBackUnchanged) {
    LayerMap map;
    map.set(u"外形線", u"D-STR");
    map.set(u"#1 補助", u"D-BGD");  // begins with "#" but holds a tab in the file: a pair, not a comment
    map.set(u"現況\U0001F600", u"D-BGD");
    const std::string text = mapFileText(map);

    EXPECT_EQ(text.substr(0, 1), "#");
    EXPECT_EQ(text.find("\xEF\xBB\xBF"), std::string::npos);
    EXPECT_NE(text.find("\xE5\xA4\x96\xE5\xBD\xA2\xE7\xB7\x9A\tD-STR\r\n"), std::string::npos);
    const auto back = parseMapFile(text);
    ASSERT_TRUE(back.ok()) << back.error().message;
    EXPECT_EQ(back->pairs(), map.pairs());
}

TEST(MapFile, NamesThatNoLineCanHoldAreLeftOut) {
    LayerMap map;
    map.set(u"a\tb", u"D-STR");
    map.set(u"c", u"D\r\n");
    map.set(u"d", u"D-STR");
    const auto back = parseMapFile(mapFileText(map));
    ASSERT_TRUE(back.ok()) << back.error().message;
    EXPECT_EQ(back->pairs(), (std::vector<MapPair>{{u"d", u"D-STR"}}));
}

TEST(MapFile, ByteOrderMarkCommentsEmptyLinesAndBothLineEndsAreRead) {
    const auto map = parseMapFile(
        "\xEF\xBB\xBF# office map\r\n\r\n  \r\nA\tD-STR\r\n# another comment\nB\tD-BGD\n\nC\tD-TTL");
    ASSERT_TRUE(map.ok()) << map.error().message;
    EXPECT_EQ(map->pairs(), (std::vector<MapPair>{{u"A", u"D-STR"}, {u"B", u"D-BGD"}, {u"C", u"D-TTL"}}));
    const auto empty = parseMapFile("");
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty->empty());
}

#define NOT_UTF8 "UTF-8 の文字として読めないバイトがあります（UTF-8 で保存してください）"

TEST(MapFile, ABadLineIsNamedByItsNumber) {
    struct Case {
        const char* bytes;
        const char* message;
    };
    const Case cases[] = {
        {"A\tD-STR\r\nB D-BGD\r\n", "2 行目：図面の画層と標準の画層を区切るタブがありません"},
        {"\tD-STR\n", "1 行目：画層名が空です"},
        {"A\t\n", "1 行目：画層名が空です"},
        {"A\tB\tC\n", "1 行目：タブが二つ以上あります"},
        {"# x\nA\t\xE5\xA4\n", "2 行目：" NOT_UTF8},  // a sequence cut short
        {"A\t\xED\xA0\x80\n", "1 行目：" NOT_UTF8},   // an encoded surrogate
        {"A\t\xC0\xAF\n", "1 行目：" NOT_UTF8},       // an overlong form
        // "外形線" as a spreadsheet saves tab-separated text on Japanese Windows: code page 932
        {"\x8A\x4F\x8C\x60\x90\xFC\tD-STR\r\n", "1 行目：" NOT_UTF8},
        {"外形線\tD-STR\n# x\nb\tD-BGD\n外形線\tD-TTL\n",
         "4 行目：図面の画層「外形線」は 1 行目にもあります"},
        {"abc\tD-STR\nABC\tD-STR\n", "2 行目：図面の画層「ABC」は 1 行目にもあります"},
    };
    for (const Case& c : cases) {
        const auto map = parseMapFile(c.bytes);
        ASSERT_FALSE(map.ok()) << c.bytes;
        EXPECT_EQ(map.error().message, c.message) << c.bytes;
    }
}
#undef NOT_UTF8

TEST(MapFile, OneStandardLayerMayHaveManySources) {
    const auto map = parseMapFile("外形線\tD-STR\n構造物\tD-STR\n");
    ASSERT_TRUE(map.ok()) << map.error().message;
    EXPECT_EQ(map->sourcesOf(u"D-STR"), (std::vector<std::u16string>{u"外形線", u"構造物"}));
}

}  // namespace
}  // namespace translate
