#include <gtest/gtest.h>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "cadlink/drawing_access.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"

namespace {

using testing_support::FakeProgram;
using testing_support::MemoryDrawing;
using testing_support::SampleTables;
using Texts = std::vector<std::u16string>;

class Changer : public ::testing::Test {
protected:
    FakeProgram fake;
    SampleTables sample;
    MemoryDrawing drawing;

    void SetUp() override {
        fake.program->setDrawingAccess(&drawing);
        testing_support::registerSample(fake.settings, fake.workspace, sample);
        fake.startCad("a.dwg");
        fake.program->forms().form1().Form_Load();
        builder().UserForm_Activate();
        builder().ListBox8->setListIndex(1);  // D
        builder().ListBox9->setListIndex(0);
        builder().ListBox10->setListIndex(0);
    }
    builder::UserForm1& builder() { return fake.program->forms().userForm1(); }
    void chooseDrawingKind() {
        builder().ListBox11->setListIndex(0);  // 一般図: D-TTL, D-STR-DIM, D-BYP-STRn, D-BGD
    }
};

TEST_F(Changer, ListsTheDrawingsLayersButZeroAndDefpoints) {
    drawing.layers = {u"0", u"図枠D-TTL", u"DEFPOINTS", u"defpoints", u"壁"};
    chooseDrawingKind();
    EXPECT_EQ(builder().ListBox12->items(), (Texts{u"図枠D-TTL", u"defpoints", u"壁"}));
    EXPECT_TRUE(builder().Label27->isHidden());
}

TEST_F(Changer, ConvertsContentNamesAndFamilyMembersBottomUp) {
    drawing.layers = {u"0", u"図枠D-TTL", u"副構造物D-BYP-STR 3", u"壁", u"寸法D-STR-DIM"};
    chooseDrawingKind();
    builder().CommandButton2_Click();
    EXPECT_EQ(drawing.layers, (Texts{u"0", u"D-TTL", u"D-BYP-STR3", u"壁", u"D-STR-DIM"}));
    EXPECT_EQ(builder().ListBox12->items(), Texts{u"壁"});
    EXPECT_FALSE(builder().Label26->isHidden());
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(Changer, AnUnreadableLayerTableIsReportedAndLeavesNoStandardNamesToConvertTo) {
    drawing.layers = {u"0", u"図枠D-TTL"};
    chooseDrawingKind();
    ASSERT_EQ(builder().ListBox13->listCount(), 4);
    sample.table(u"レイヤーテーブル").columns[0].name = u"工種番号";  // the filter's field is gone
    builder().UserForm_Activate();
    builder().ListBox11_Click();
    ASSERT_FALSE(fake.dialogs.messages.empty());
    EXPECT_EQ(fake.dialogs.texts().back(),
              u"データベースのレイヤーテーブルを読み込めませんでした。\r"
              u"データベースが壊れているおそれがあります。配布されたデータベースを登録し直してください。");
    EXPECT_EQ(builder().ListBox13->listCount(), 0);
    EXPECT_EQ(builder().ListBox12->listCount(), 0);
}

TEST_F(Changer, AnEmptyListOnlyHidesTheNote) {
    chooseDrawingKind();
    ASSERT_FALSE(builder().Label26->isHidden());
    builder().CommandButton2_Click();
    EXPECT_TRUE(builder().Label26->isHidden());
}

TEST_F(Changer, ALayerGoneBehindTheListsBackEndsThePass) {
    drawing.layers = {u"図枠D-TTL", u"寸法D-STR-DIM"};
    chooseDrawingKind();
    drawing.layers = {u"図枠D-TTL"};
    builder().CommandButton2_Click();
    EXPECT_EQ(fake.dialogs.texts(), Texts{u"この画層名は存在しません"});
    EXPECT_EQ(drawing.layers, Texts{u"図枠D-TTL"});  // the pass ended before the item above
    EXPECT_FALSE(builder().Label26->isHidden());
}

TEST_F(Changer, ARefusedRenameShowsItsReasonAndThePassGoesOnWhileStandardNamesStay) {
    drawing.layers = {u"D-TTL", u"図枠D-TTL", u"寸法D-STR-DIM"};
    chooseDrawingKind();
    builder().CommandButton2_Click();
    EXPECT_EQ(fake.dialogs.texts(), Texts{u"画層名変更できません。\r既に存在します"});
    // D-TTL carries its standard name already: it leaves the list without a rename.
    EXPECT_EQ(builder().ListBox12->items(), Texts{u"図枠D-TTL"});
    EXPECT_EQ(drawing.layers, (Texts{u"D-TTL", u"図枠D-TTL", u"D-STR-DIM"}));
}

TEST_F(Changer, WithoutReadBackThePageSaysWhyTheListIsEmpty) {
    cadlink::NullDrawingAccess none;
    fake.program->setDrawingAccess(&none);
    chooseDrawingKind();
    EXPECT_EQ(builder().ListBox12->listCount(), 0);
    EXPECT_FALSE(builder().Label27->isHidden());
    EXPECT_EQ(
        builder().Label27->caption(),
        u"AutoCAD LT では図面の画層を読み取れないため、一覧は空です。「参照...」で図面の DXF ファイルを選ぶと、その画層名を一覧します。");
    EXPECT_FALSE(builder().CommandButton10->isHidden());
}

}  // namespace
