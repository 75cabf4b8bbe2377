// Filling a list or a combo box with many entries in one insertion: the same items, in the same order, with
// the chosen item and the typed text kept and no Click run, as when the entries are added one at a time.
#include <gtest/gtest.h>

#include <QWidget>

#include <string>
#include <vector>

#include "ui/controls.h"

namespace {

std::vector<std::u16string> entries(int count, const std::u16string& stem) {
    std::vector<std::u16string> all;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        all.push_back(stem + std::u16string(number.begin(), number.end()));
    }
    return all;
}

TEST(ListFilling, ListBoxAddsInOneGoWhatItemByItemAdds) {
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "shown" : "hidden");
        QWidget form;
        ui::ListBox batched(&form, QStringLiteral("ListBox3"), QString());
        ui::ListBox single(&form, QStringLiteral("ListBox2"), QString());
        form.setVisible(shown);
        int clicks = 0;
        QObject::connect(&batched, &ui::ListBox::clicked, [&clicks] { ++clicks; });

        batched.addItem(u"先頭");
        single.addItem(u"先頭");
        ASSERT_TRUE(batched.setListIndex(0));
        clicks = 0;

        const std::vector<std::u16string> more = entries(3000, u"構造物");
        batched.addItems(more);
        for (const auto& text : more) {
            single.addItem(text);
        }
        batched.addItems({});

        EXPECT_EQ(batched.items(), single.items());
        EXPECT_EQ(batched.listCount(), 3001);
        EXPECT_EQ(batched.itemText(3000), u"構造物2999");
        EXPECT_EQ(batched.listIndex(), 0) << "the chosen item stays chosen";
        EXPECT_EQ(batched.text(), u"先頭");
        EXPECT_EQ(clicks, 0) << "filling the list is not a click";

        batched.clearItems();
        batched.addItems(more);
        EXPECT_EQ(batched.listIndex(), -1) << "a list filled afresh has nothing chosen";
        EXPECT_TRUE(batched.setListIndex(2999));
        EXPECT_EQ(batched.text(), u"構造物2999");
        EXPECT_EQ(clicks, 1);
    }
}

TEST(ListFilling, ComboBoxKeepsTheTypedTextAndRunsNoClick) {
    QWidget form;
    ui::ComboBox combo(&form, QStringLiteral("Combo1"), QString());
    int clicks = 0;
    QObject::connect(&combo, &ui::ComboBox::clicked, [&clicks] { ++clicks; });

    combo.setText(u"D-STR-L01");
    const std::vector<std::u16string> more = entries(2000, u"D-STR-L");
    combo.addItem(u"最初");
    combo.addItems(more);
    combo.addItems({});

    EXPECT_EQ(combo.text(), u"D-STR-L01") << "the typed text is not replaced by the first entry";
    ASSERT_EQ(combo.listCount(), 2001);
    EXPECT_EQ(combo.itemText(0), u"最初");
    EXPECT_EQ(combo.itemText(2000), u"D-STR-L1999");
    EXPECT_EQ(clicks, 0);

    combo.clearItems();
    combo.addItems(more);
    EXPECT_EQ(combo.text(), u"") << "a cleared combo box keeps its empty text";
    EXPECT_TRUE(combo.setListIndex(5));
    EXPECT_EQ(combo.text(), u"D-STR-L5");
    EXPECT_EQ(clicks, 1);
}

}  // namespace
