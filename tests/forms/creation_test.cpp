#include <gtest/gtest.h>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "numbered/forms/numbered_layer_form.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"

namespace {

using testing_support::FakeProgram;
using testing_support::SampleTables;
using Texts = std::vector<std::u16string>;

const std::u16string ESC = u"\x1b";
const std::u16string ESC2 = u"\x1b\x1b";
const std::u16string NUL(1, u'\0');

void createTexts(Texts& t, const std::u16string& n) {
    t.insert(t.end(), {ESC2, u"-Layer\r", u"n\r", n + u"\r", ESC});
}
void linetypeTexts(Texts& t, const std::u16string& l, const std::u16string& n) {
    t.insert(t.end(), {ESC2, u"-Layer\r", u"L\r", l + u"\r", n + u"\r", ESC2});
}
void colourTexts(Texts& t, const std::u16string& c, const std::u16string& n) {
    t.insert(t.end(), {ESC2, u"-Layer\r", u"C\r", c + u"\r", n + u"\r", ESC2});
}

// A database whose "レイヤーテーブル" cannot be read while damaged is set, as the workspace reports a file
// whose table is damaged; every other table reads as before.
class DamagedLayerTable final : public stddb::Database {
public:
    DamagedLayerTable(std::unique_ptr<stddb::Database> inner, const bool& damaged)
        : m_inner(std::move(inner)), m_damaged(damaged) {}
    tiermark::Result<std::unique_ptr<stddb::Recordset>> OpenRecordset(std::u16string_view table) override {
        if (m_damaged && table == u"レイヤーテーブル") {
            return tiermark::makeError(
                "the database file is damaged: table レイヤーテーブル: 3 rows read where the table records "
                "9");
        }
        return m_inner->OpenRecordset(table);
    }

private:
    std::unique_ptr<stddb::Database> m_inner;
    const bool& m_damaged;
};

const std::u16string kUnreadable =
    u"データベースのレイヤーテーブルを読み込めませんでした。\r"
    u"データベースが壊れているおそれがあります。配布されたデータベースを登録し直してください。";

class Creation : public ::testing::Test {
protected:
    FakeProgram fake;
    SampleTables sample;
    cadlink::WindowHandle cad = 0;

    void SetUp() override {
        testing_support::registerSample(fake.settings, fake.workspace, sample);
        cad = fake.startCad("a.dwg");
        form1().Form_Load();
        fake.program->forms().ShowBuilder();
        builder().UserForm_Activate();
        builder().ListBox1->setListIndex(1);  // 設計: D
        builder().ListBox2->setListIndex(0);
        builder().ListBox3->setListIndex(0);
        builder().ListBox4->setListIndex(0);  // 一般図
    }

    app::Form1& form1() { return fake.program->forms().form1(); }
    builder::UserForm1& builder() { return fake.program->forms().userForm1(); }
};

TEST_F(Creation, CreatesEveryLayerAndTheNumberedMemberInOrder) {
    std::vector<std::u16string> proposals;
    fake.dialogs.onModal = [&](QDialog& dialog) {
        auto& numberedForm = static_cast<numbered::UserForm2&>(dialog);
        EXPECT_EQ(numberedForm.Label1->caption(),
                  u"副構造物(-STRn)について下表の既に登録済みレイヤー以外にレイヤーを増やすこと可能です");
        proposals.push_back(numberedForm.Label8->caption());
        EXPECT_FALSE(numberedForm.CommandButton1->isEnabled());
        numberedForm.TextBox1->setText(QStringLiteral("副構造物"));
        EXPECT_FALSE(numberedForm.CommandButton1->isEnabled());
        numberedForm.ListBox1->setListIndex(1);  // 赤
        ASSERT_TRUE(numberedForm.CommandButton1->isEnabled());
        numberedForm.CommandButton1_Click();
        proposals.push_back(numberedForm.Label8->caption());
        EXPECT_EQ(numberedForm.ListBox2->items(), Texts{u"副構造物D-BYP-STR1"});
        EXPECT_FALSE(numberedForm.CommandButton1->isEnabled());
        numberedForm.CommandButton2_Click();
    };
    builder().CommandButton1_Click();

    Texts expected;
    createTexts(expected, u"D-TTL");
    linetypeTexts(expected, u"Continuous", u"D-TTL");
    colourTexts(expected, u"2", u"D-TTL");
    createTexts(expected, u"D-STR-DIM");
    linetypeTexts(expected, u"Continuous", u"D-STR-DIM");
    colourTexts(expected, u"7", u"D-STR-DIM");
    expected.insert(expected.end(), {ESC2, u"-Layer\r", u"n\r", u"D-BYP-STR1\r\n", ESC});
    linetypeTexts(expected, u"Continuous", u"D-BYP-STR1");
    colourTexts(expected, u"1", u"D-BYP-STR1");
    createTexts(expected, u"D-BGD");
    linetypeTexts(expected, u"破線", u"D-BGD");
    colourTexts(expected, u"8", u"D-BGD");
    EXPECT_EQ(fake.textsSentTo(cad), expected);
    EXPECT_EQ(proposals, (Texts{u"-BYP-STR1", u"-BYP-STR2"}));

    EXPECT_EQ(form1().Combo1->items(),
              (Texts{u"図枠D-TTL", u"寸法D-STR-DIM", u"副構造物D-BYP-STR1", u"現況地物D-BGD"}));
    EXPECT_EQ(form1().Combo1->text(), u"図枠D-TTL");
    EXPECT_TRUE(form1().Command2[0]->isEnabled());
    EXPECT_TRUE(form1().Command3[0]->isEnabled());
    EXPECT_FALSE(builder().isVisible());
    EXPECT_DOUBLE_EQ(fake.program->layers().redrawOriginX, 9410);
    EXPECT_DOUBLE_EQ(fake.program->layers().redrawOriginY, 6940);
    // The program's list holds what Combo1 shows, with each layer's name, line type and colour.
    using cadlink::LayerRecord;
    EXPECT_EQ(fake.program->layers().created.records(),
              (std::vector<LayerRecord>{{u"D-TTL", u"図枠D-TTL", u"Continuous", 2},
                                        {u"D-STR-DIM", u"寸法D-STR-DIM", u"Continuous", 7},
                                        {u"D-BYP-STR1", u"副構造物D-BYP-STR1", u"Continuous", 1, 2, 1},
                                        {u"D-BGD", u"現況地物D-BGD", u"破線", 8}}));
    EXPECT_EQ(fake.program->layers().layerAddMode, 2);
}

TEST_F(Creation, ThenTheMainWindowMovesAndChangesThePickedObjects) {
    fake.dialogs.onModal = [](QDialog& dialog) {
        static_cast<numbered::UserForm2&>(dialog).CommandButton2_Click();
    };
    builder().CommandButton1_Click();
    fake.windows.sent.clear();

    form1().Command2_Click(0);
    EXPECT_TRUE(form1().Command2[0]->isHidden());
    EXPECT_FALSE(form1().Command2[1]->isHidden());
    EXPECT_FALSE(form1().Command2[2]->isHidden());
    EXPECT_FALSE(form1().Command3[0]->isEnabled());
    // A group KESTRA left behind is exploded first, then the new one waits for the picks.
    EXPECT_EQ(fake.textsSentTo(cad),
              (Texts{ESC2 + NUL, u"-group\r" + NUL, u"E\r" + NUL, u"KESTRA\r" + NUL, ESC2 + NUL,
                     u"-group\r" + NUL, u"C\r" + NUL, u"KESTRA\r" + NUL, u"C\r" + NUL}));
    fake.windows.sent.clear();

    form1().Command2_Click(1);
    const Texts sent = fake.textsSentTo(cad);
    ASSERT_EQ(sent.size(), 21u);
    EXPECT_EQ(sent[0], u"_redraw\r" + NUL);  // the picks confirmed, if they were not
    EXPECT_EQ(sent[6], u"0,0\r9410,6940\r" + NUL);
    EXPECT_EQ(sent[14], u"D-TTL\r" + NUL);
    EXPECT_EQ(sent[18], u"E\r" + NUL);  // Explode dissolves the group
    EXPECT_EQ(sent[20], ESC2 + NUL);
    EXPECT_FALSE(form1().Command2[0]->isHidden());
    EXPECT_TRUE(form1().Command2[1]->isHidden());
    EXPECT_TRUE(form1().Command3[0]->isEnabled());
    EXPECT_EQ(
        form1().Label3->caption(),
        u"選択されたオブジェクトのレイヤー変更が完了しました。変更後オブジェクトは所定位置に移動しています。\r"
        u"続けて変更、移動の処理が可能です。");
}

TEST_F(Creation, MoveAndCancelSendOnlyTheirTexts) {
    fake.dialogs.onModal = [](QDialog& dialog) {
        static_cast<numbered::UserForm2&>(dialog).CommandButton2_Click();
    };
    builder().CommandButton1_Click();
    fake.windows.sent.clear();
    form1().Command3_Click(0);
    EXPECT_FALSE(form1().Command2[0]->isEnabled());
    form1().Command3_Click(1);
    EXPECT_EQ(fake.textsSentTo(cad).size(), 9u + 12u);
    fake.windows.sent.clear();
    form1().Command2_Click(0);
    form1().Command2_Click(2);
    EXPECT_EQ(fake.textsSentTo(cad),
              (Texts{ESC2 + NUL, u"-group\r" + NUL, u"E\r" + NUL, u"KESTRA\r" + NUL, ESC2 + NUL,
                     u"-group\r" + NUL, u"C\r" + NUL, u"KESTRA\r" + NUL, u"C\r" + NUL, ESC2 + NUL,
                     u"-group\r" + NUL, u"E\r" + NUL, u"KESTRA\r" + NUL, ESC2 + NUL}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form1().Command2[i]->isHidden(), i != 0);
        EXPECT_EQ(form1().Command3[i]->isHidden(), i != 0);
    }
    EXPECT_EQ(form1().Label3->caption().substr(0, 18), u"レイヤー変更の処理を中止しました。\r");
}

TEST_F(Creation, WithoutTargetTheActionSaysSoOnceAndStaysIdle) {
    form1().cmbfilename->setListIndex(-1);
    form1().Command3[0]->setEnabled(true);
    form1().Command2[0]->setEnabled(true);
    form1().Command3_Click(0);
    EXPECT_EQ(fake.dialogs.texts(), Texts{u"AutoCADが選択されていません"});
    EXPECT_FALSE(form1().Command3[0]->isHidden());
    EXPECT_TRUE(form1().Command3[1]->isHidden());
    EXPECT_TRUE(form1().Command2[0]->isEnabled());
    EXPECT_EQ(form1().Label3->caption(),
              u"対象図面が選択されていないため、処理は行っていません。\r"
              u"対象図面の表題をクリックして図面を選択してから、もう一度操作してください。");
    EXPECT_TRUE(fake.windows.sent.empty());
}

const std::u16string kNotTaken =
    u"AutoCAD LT がコマンドを受け付けませんでした（応答がないか、終了しています）。\r"
    u"残りのコマンドは送っていません。AutoCAD LT のコマンドラインを確認し、Esc キーを押して実行中のコマンドを取り消してください。";
const std::u16string kNotDone =
    u"AutoCAD LT がコマンドを受け付けなかったため、処理は完了していません。\r"
    u"AutoCAD LT のコマンドラインを確認し、Esc キーを押してから、もう一度操作してください。";

TEST_F(Creation, AnExecuteThatAutoCadStopsTakingIsNotReportedAsDone) {
    fake.dialogs.onModal = [](QDialog& dialog) {
        static_cast<numbered::UserForm2&>(dialog).CommandButton2_Click();
    };
    builder().CommandButton1_Click();
    form1().Command2_Click(0);
    fake.windows.sent.clear();
    fake.dialogs.messages.clear();
    fake.windows.closeWindowAfter(cad, 7);  // AutoCAD LT stops in the middle of CHANGE
    form1().Command2_Click(1);
    EXPECT_EQ(fake.textsSentTo(cad).size(), 7u);        // nothing after the text it did not take
    EXPECT_EQ(fake.dialogs.texts(), Texts{kNotTaken});  // one message for the action
    EXPECT_EQ(form1().Label3->caption(), kNotDone);     // no 「…完了しました。」
    EXPECT_FALSE(form1().Command2[0]->isHidden());
    EXPECT_TRUE(form1().Command2[1]->isHidden());
    EXPECT_TRUE(form1().Command3[0]->isEnabled());
}

TEST_F(Creation, AStartThatIsNotTakenLeavesTheButtonsIdle) {
    fake.dialogs.onModal = [](QDialog& dialog) {
        static_cast<numbered::UserForm2&>(dialog).CommandButton2_Click();
    };
    builder().CommandButton1_Click();
    fake.dialogs.messages.clear();
    fake.windows.closeWindowAfter(cad, 2);
    form1().Command3_Click(0);
    EXPECT_EQ(fake.dialogs.texts(), Texts{kNotTaken});
    EXPECT_FALSE(form1().Command3[0]->isHidden());
    EXPECT_TRUE(form1().Command3[1]->isHidden());
    EXPECT_TRUE(form1().Command2[0]->isEnabled());
    EXPECT_EQ(form1().Label3->caption(), kNotDone);
}

TEST_F(Creation, LayerCreationThatIsNotTakenStopsSaysSoOnceAndKeepsTheBuilder) {
    fake.windows.closeWindowAfter(cad, 20);  // the first layer, and three texts of the second
    int numberedForms = 0;
    fake.dialogs.onModal = [&](QDialog&) { ++numberedForms; };
    builder().CommandButton1_Click();
    EXPECT_EQ(fake.textsSentTo(cad).size(), 20u);
    EXPECT_EQ(numberedForms, 0);
    EXPECT_EQ(fake.dialogs.texts(), Texts{kNotTaken});
    EXPECT_EQ(form1().Combo1->items(), Texts{u"図枠D-TTL"});
    EXPECT_TRUE(builder().isVisible());
    EXPECT_TRUE(builder().CommandButton1->isEnabled());
    EXPECT_DOUBLE_EQ(fake.program->layers().redrawOriginX, 0);
}

TEST_F(Creation, ANumberedMemberThatIsNotTakenKeepsTheFormAndItsInput) {
    std::u16string label8After;
    fake.dialogs.onModal = [&](QDialog& dialog) {
        auto& numberedForm = static_cast<numbered::UserForm2&>(dialog);
        fake.windows.closeWindowAfter(cad, 3);
        numberedForm.TextBox1->setText(QStringLiteral("副構造物"));
        numberedForm.ListBox1->setListIndex(1);
        numberedForm.CommandButton1_Click();
        label8After = numberedForm.Label8->caption();
        EXPECT_EQ(numberedForm.TextBox1->text(), QStringLiteral("副構造物"));  // kept for another try
        EXPECT_EQ(numberedForm.ListBox2->listCount(), 0);
        numberedForm.CommandButton2_Click();
    };
    builder().CommandButton1_Click();
    EXPECT_EQ(label8After, u"-BYP-STR1");
    // The form's message, then the run's own when its next text is not taken either.
    EXPECT_EQ(fake.dialogs.texts(), (Texts{kNotTaken, kNotTaken}));
    EXPECT_EQ(form1().Combo1->items(), (Texts{u"図枠D-TTL", u"寸法D-STR-DIM"}));
}

TEST_F(Creation, ADrawingKindWithoutLayersCreatesNothingAndSaysSo) {
    sample.table(u"レイヤーテーブル").rows.clear();
    builder().UserForm_Activate();  // the database opens afresh without layer rows
    builder().CommandButton1_Click();
    EXPECT_TRUE(fake.windows.sent.empty());
    EXPECT_EQ(fake.dialogs.texts().back(), u"選択した図面名にはレイヤーが登録されていません。");
    EXPECT_FALSE(form1().Command2[0]->isEnabled());
}

TEST_F(Creation, ADamagedLayerTableIsReportedAsUnreadableNotAsADrawingKindWithoutLayers) {
    bool damaged = false;
    fake.workspace.open = [&](const std::u16string&) -> tiermark::Result<std::unique_ptr<stddb::Database>> {
        return std::unique_ptr<stddb::Database>(std::make_unique<DamagedLayerTable>(sample.open(), damaged));
    };
    builder().UserForm_Activate();
    builder().ListBox4_Click();
    ASSERT_TRUE(builder().CommandButton1->isEnabled());

    // Damaged after the kind was listed: the creation reads the rows again and stops before sending.
    damaged = true;
    builder().CommandButton1_Click();
    EXPECT_TRUE(fake.windows.sent.empty());
    EXPECT_EQ(fake.dialogs.texts(), Texts{kUnreadable});
    EXPECT_FALSE(form1().Command2[0]->isEnabled());
    EXPECT_TRUE(builder().isVisible());

    // Damaged when the kind is chosen: said at once, and there is nothing to create.
    builder().ListBox4_Click();
    EXPECT_EQ(fake.dialogs.texts(), (Texts{kUnreadable, kUnreadable}));
    EXPECT_EQ(builder().ListBox6->listCount(), 0);
    EXPECT_FALSE(builder().CommandButton1->isEnabled());
}

TEST_F(Creation, ALayerTableWithoutALineTypeFieldIsUnreadableAndNothingIsSent) {
    for (stddb::Column& column : sample.table(u"レイヤーテーブル").columns) {
        if (column.name == u"線種") {
            column.name = u"線の種類";
        }
    }
    builder().UserForm_Activate();
    builder().ListBox4_Click();  // the entries need no line type
    ASSERT_TRUE(builder().CommandButton1->isEnabled());
    builder().CommandButton1_Click();
    EXPECT_TRUE(fake.windows.sent.empty());
    EXPECT_EQ(fake.dialogs.texts(), Texts{kUnreadable});
}

TEST_F(Creation, AFullFamilyIsReportedAndTheFormCloses) {
    for (int i = 1; i <= 9; ++i) {
        testing_support::offerCreatedLayer(*fake.program,
                                           u"D-BYP-STR" + std::u16string(1, char16_t(u'0' + i)));
    }
    for (char16_t c = u'A'; c <= u'Z'; ++c) {
        testing_support::offerCreatedLayer(*fake.program, u"D-BYP-STR" + std::u16string(1, c));
    }
    fake.program->layers().layerAddMode = 2;
    fake.program->forms().showNumbered();
    ASSERT_FALSE(fake.dialogs.messages.empty());
    EXPECT_EQ(fake.dialogs.messages.back().text,
              u"既にレイヤー情報がいっぱいです。\r36項目以上の同一レイヤー上のセットは無効です。");
    EXPECT_EQ(fake.dialogs.messages.back().title, QStringLiteral("レイヤー設定エラー"));
    EXPECT_EQ(fake.program->forms().userForm2IfLoaded(), nullptr);
}

}  // namespace
