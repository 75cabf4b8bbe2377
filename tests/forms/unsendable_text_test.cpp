// Text from outside the program (the database, the drawing, the user's boxes) that cannot be typed into
// AutoCAD LT: a control character would act on its command line. At each entry point nothing of the
// refused layer is sent, the rest goes on, and the user is told once which names were left out.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "cadlink/drawing_access.h"
#include "common/utf.h"
#include "numbered/forms/numbered_layer_form.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"

namespace {

using testing_support::FakeProgram;
using testing_support::MemoryDrawing;
using testing_support::SampleTables;
using testing_support::Value;
using Texts = std::vector<std::u16string>;

// The text a hostile database carried in its first layer row: typed as it stood, it renamed the drawing's
// own layer 外形線 through the ordinary layer creation.
const std::u16string kRename = u"-TTL\r\x1b\x1b-RENAME\rLA\r外形線\rPWNED-BY-DB\r";

// True when a sent text holds a control character other than CR, LF and ESC at its end, or NUL last.
bool carriesForeignControl(const std::u16string& text) {
    std::u16string body = text;
    while (!body.empty() &&
           (body.back() == u'\0' || body.back() == u'\r' || body.back() == u'\n' || body.back() == u'\x1b')) {
        body.pop_back();
    }
    return std::any_of(body.begin(), body.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; });
}

class Unsendable : public ::testing::Test {
protected:
    FakeProgram fake;
    SampleTables sample;
    cadlink::WindowHandle cad = 0;

    void SetUp() override {
        testing_support::registerSample(fake.settings, fake.workspace, sample);
        cad = fake.startCad("a.dwg");
        form1().Form_Load();
    }
    // Opens the builder on 一般図 with stage 設計 (D).
    void chooseDrawingKind() {
        fake.program->forms().ShowBuilder();
        builder().UserForm_Activate();
        builder().ListBox1->setListIndex(1);
        builder().ListBox2->setListIndex(0);
        builder().ListBox3->setListIndex(0);
        builder().ListBox4->setListIndex(0);
    }
    std::vector<Value>& layerRow(std::size_t i) { return sample.table(u"レイヤーテーブル").rows.at(i); }
    app::Form1& form1() { return fake.program->forms().form1(); }
    builder::UserForm1& builder() { return fake.program->forms().userForm1(); }
    Texts sent() const { return fake.textsSentTo(cad); }
    void expectNothingForeignSent() {
        for (const std::u16string& text : sent()) {
            EXPECT_FALSE(carriesForeignControl(text)) << tiermark::toUtf8(text);
        }
    }
};

TEST_F(Unsendable, LayerCreationLeavesOutTheRowsThatCannotBeSentAndNamesThem) {
    layerRow(0)[4] = testing_support::text(kRename.c_str());  // 図面オブジェクト of 図枠 -TTL
    layerRow(3)[6] = testing_support::text(u"破\x1b線");      // 線種 of 現況地物 -BGD
    chooseDrawingKind();
    fake.dialogs.onModal = [](QDialog& dialog) {
        static_cast<numbered::UserForm2&>(dialog).CommandButton2_Click();
    };
    builder().CommandButton1_Click();

    expectNothingForeignSent();
    for (const std::u16string& text : sent()) {
        EXPECT_EQ(text.find(u"RENAME"), std::u16string::npos);
        EXPECT_EQ(text.find(u"D-BGD"), std::u16string::npos);  // nothing of the refused row
    }
    EXPECT_EQ(sent().size(), 17u);  // D-STR-DIM alone: create, line type, colour
    EXPECT_EQ(form1().Combo1->items(), Texts{u"寸法D-STR-DIM"});
    ASSERT_EQ(fake.program->layers().created.records().size(), 1u);
    EXPECT_EQ(fake.program->layers().created.records()[0].name, u"D-STR-DIM");
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text,
              u"次のレイヤーは、AutoCAD LT に送れない文字かレイヤー名に使えない文字を含むため、作成しません"
              u"でした。\rデータベースの内容を確認してください。\r"
              u"D-TTL␍␛␛-RENAME␍LA␍外形線␍PWNED-BY-DB␍\r"
              u"D-BGD（線種：破␛線）");
    EXPECT_FALSE(builder().isVisible());  // the run went on with the other rows
}

TEST_F(Unsendable, NamesWithCharactersLayerNamesMayNotHoldAreLeftOutToo) {
    layerRow(1)[3] = testing_support::text(u"-DIM,D-EVIL");  // the comma would name a second layer
    chooseDrawingKind();
    fake.dialogs.onModal = [](QDialog& dialog) {
        static_cast<numbered::UserForm2&>(dialog).CommandButton2_Click();
    };
    builder().CommandButton1_Click();
    for (const std::u16string& text : sent()) {
        EXPECT_EQ(text.find(u"EVIL"), std::u16string::npos);
    }
    EXPECT_EQ(form1().Combo1->items(), (Texts{u"図枠D-TTL", u"現況地物D-BGD"}));
    ASSERT_EQ(fake.dialogs.messages.size(), 2u);  // the left-out layer, then the line type to load
    EXPECT_NE(fake.dialogs.messages[0].text.find(u"\rD-STR-DIM,D-EVIL"), std::u16string::npos);
    EXPECT_NE(fake.dialogs.messages[1].text.find(u"Continuous（実線）のまま"), std::u16string::npos);
}

TEST_F(Unsendable, TheNumberedFormAddsNothingWhoseContentCannotBeSent) {
    chooseDrawingKind();
    fake.dialogs.onModal = [this](QDialog& dialog) {
        auto& numberedForm = static_cast<numbered::UserForm2&>(dialog);
        numberedForm.TextBox1->setText16(std::u16string(u"副構造物") + char16_t(0xD800));
        numberedForm.ListBox1->setListIndex(1);
        numberedForm.CommandButton1_Click();
        EXPECT_TRUE(numberedForm.CommandButton1->isEnabled());  // the user may mend the content
        ASSERT_EQ(fake.dialogs.messages.size(), 1u);
        EXPECT_EQ(fake.dialogs.messages[0].text,
                  u"内容またはレイヤー名に、AutoCAD LT に送れない文字かレイヤー名に使えない文字が含まれている"
                  u"ため、レイヤーを追加できません。\r副構造物\uFFFDD-BYP-STR1");
        numberedForm.CommandButton2_Click();
    };
    builder().CommandButton1_Click();
    for (const std::u16string& text : sent()) {
        EXPECT_EQ(text.find(u"BYP"), std::u16string::npos);
    }
    EXPECT_EQ(form1().Combo1->items(), (Texts{u"図枠D-TTL", u"寸法D-STR-DIM", u"現況地物D-BGD"}));
}

TEST_F(Unsendable, TheMainWindowSendsNoChangeToALayerThatCannotBeSent) {
    form1().Command2[0]->setEnabled(true);
    form1().Command2_Click(0);  // the group texts
    fake.windows.sent.clear();
    for (const std::u16string& typed : {std::u16string(u"A-B\x1b\rC"), std::u16string(u"構造物D-ST:R")}) {
        SCOPED_TRACE(tiermark::toUtf8(typed));
        form1().Combo1->setText(typed);
        form1().Command2_Click(1);
        EXPECT_TRUE(sent().empty());
        // The change waits for another layer, or for キャンセル.
        EXPECT_FALSE(form1().Command2[1]->isHidden());
        EXPECT_FALSE(form1().Command2[2]->isHidden());
    }
    ASSERT_EQ(fake.dialogs.messages.size(), 2u);
    EXPECT_EQ(fake.dialogs.messages[0].text,
              u"変更後のレイヤー名に、AutoCAD LT に送れない文字かレイヤー名に使えない文字が含まれているため、"
              u"実行できません。\rレイヤーを選び直してください。\rA-B␛␍C");
    EXPECT_EQ(fake.dialogs.messages[1].text.substr(fake.dialogs.messages[1].text.rfind(u'\r') + 1),
              u"D-ST:R");

    form1().Combo1->setText(u"構造物D-STR");
    form1().Command2_Click(1);
    EXPECT_EQ(sent().size(), 21u);
    EXPECT_EQ(sent()[14], std::u16string(u"D-STR\r") + u'\0');
}

TEST_F(Unsendable, TheChangerGivesNoLayerANameThatCannotBeSent) {
    MemoryDrawing drawing;
    fake.program->setDrawingAccess(&drawing);
    // A drawing whose layer ends in ESC: as a member of the family -BYP-STRn it would be renamed to
    // D-BYP-STR followed by that ESC.
    drawing.layers = {u"0", u"副構造物D-BYP-STR\x1b", u"図枠D-TTL"};
    fake.program->forms().ShowBuilder();
    builder().UserForm_Activate();
    builder().ListBox8->setListIndex(1);
    builder().ListBox9->setListIndex(0);
    builder().ListBox10->setListIndex(0);
    builder().ListBox11->setListIndex(0);
    builder().CommandButton2_Click();
    EXPECT_EQ(drawing.renamedTo, Texts{u"D-TTL"});
    EXPECT_EQ(builder().ListBox12->items(), Texts{u"副構造物D-BYP-STR\x1b"});
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(
        fake.dialogs.messages[0].text,
        u"次の画層は、新しい名前に AutoCAD LT に送れない文字か画層名に使えない文字が含まれるため、変換しま"
        u"せんでした。\r副構造物D-BYP-STR␛");
}

}  // namespace
