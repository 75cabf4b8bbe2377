#include <gtest/gtest.h>

#include "builder/layer_names.h"
#include "builder/layer_tables.h"
#include "cadlink/command_texts.h"

namespace builder {
namespace {

using Texts = std::vector<std::u16string>;

const stddb::Value kNull;
stddb::Value text(const char16_t* t) {
    return std::u16string(t);
}
// Test-side spelling of a text of the main window's sequences: every text ends in NUL.
std::u16string z(std::u16string_view text) {
    return std::u16string(text) + u'\0';
}

TEST(LayerNames, StandardAndDisplayNames) {
    EXPECT_EQ(standardLayerName(u"D", text(u"-STR"), kNull), u"D-STR");
    EXPECT_EQ(standardLayerName(u"D", text(u"-STR"), text(u"-DIM")), u"D-STR-DIM");
    EXPECT_EQ(standardLayerName(u"", text(u"-STR"), text(u"-dim")), u"-STR-dim");  // case kept
    EXPECT_EQ(displayName(false, text(u"構造物"), u"D-STR"), u"構造物D-STR");
    EXPECT_EQ(displayName(false, kNull, u"D-STR"), u"D-STR");
    EXPECT_EQ(displayName(true, text(u"構造物"), u"D-STR"), u"D-STR");
}

TEST(LayerNames, StandardNameFromDisplayName) {
    const std::pair<std::u16string, std::optional<std::u16string>> cases[] = {
        {u"構造物D-STR-DIM", u"D-STR-DIM"},
        {u"D-STR", u"D-STR"},
        {u"-STR", u"-STR"},  // hyphen first: the whole text
        {u"xx-A", u"x-A"},   // one character before the first hyphen
        {u"a-b-c", u"a-b-c"},
        {u"構造物", std::nullopt},
        {u"", std::nullopt},
    };
    for (const auto& [display, name] : cases) {
        EXPECT_EQ(standardPart(display), name);
    }
}

TEST(LayerNames, TemplateElementsEndInN) {
    EXPECT_TRUE(isTemplateElement(text(u"-STRn")));
    EXPECT_FALSE(isTemplateElement(text(u"-STRN")));
    EXPECT_FALSE(isTemplateElement(text(u"")));
    EXPECT_FALSE(isTemplateElement(kNull));
}

// The main window's change: the layer recovered from Combo1's text, and the texts that put the group on it.
TEST(CommandTexts, TargetLayerFromCombo1Text) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"C-STR", u"C-STR"}, {u"xx-A", u"x-A"}, {u"-A", u"-A"},
        {u"", u""},           {u"構造物", u""},  {u"構造物D-STR-DIM", u"D-STR-DIM"},
    };
    for (const auto& [text, layer] : cases) {
        EXPECT_EQ(targetLayer(text), layer);
        EXPECT_EQ(cadlink::changeTexts(targetLayer(text)).value()[6],
                  z(layer + u"\r"));  // C7; just CR NUL when empty
    }
}

// The main window observes the program's list: each added layer is told as the list's last, a clearing as
// such, and the layers set aside during a creation run are handed back once.
TEST(CreatedLayers, TellsItsObserverAndHandsBackWhatWasSetAside) {
    CreatedLayers created;
    Texts shown;
    created.observe([&shown](CreatedLayers::Change change, const CreatedLayers& layers) {
        if (change == CreatedLayers::Change::Cleared) {
            shown.clear();
        } else {
            shown.push_back(layers.records().back().display);
        }
    });
    created.add({u"D-STR", u"構造物D-STR"});
    created.add({u"D-TTL", u"D-TTL"});
    EXPECT_EQ(shown, created.displayNames());
    created.setAsideAll();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(created.setAsideDisplayNames(), (Texts{u"構造物D-STR", u"D-TTL"}));
    created.add({u"D-BGD", u"現況D-BGD"});
    EXPECT_EQ(shown, Texts{u"現況D-BGD"});
    EXPECT_EQ(created.takeSetAside().size(), 2u);
    EXPECT_TRUE(created.setAside().empty());
    created.observe({});
    created.clear();
    EXPECT_EQ(shown, Texts{u"現況D-BGD"});  // no longer observed
    EXPECT_TRUE(created.empty());
}

}  // namespace
}  // namespace builder
