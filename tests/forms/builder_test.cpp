#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "settings/forms/settings_window.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"

namespace {

using testing_support::FakeProgram;
using testing_support::SampleTables;

// A key pressed and released, and a left click, as the platform delivers them to a widget (no Qt Test: the
// Windows build of Qt leaves its test library out).
void keyClick(QWidget& widget, Qt::Key key) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
}

void leftClick(QWidget& widget, QPoint at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
}

constexpr std::u16string_view kNoWorkType =
    u"選択したは施工種別は現在のデータベースセットに登録されていません。\rﾃﾞｰﾀﾍﾞｰｽに追加セットが必要です。\r\r"
    u"詳しくはサポート会社にお問い合わせください。";

class Builder : public ::testing::Test {
protected:
    FakeProgram fake;
    SampleTables sample;

    void SetUp() override {
        testing_support::registerSample(fake.settings, fake.workspace, sample);
        fake.startCad("a.dwg");
        fake.program->forms().form1().Form_Load();
    }

    builder::UserForm1& form() { return fake.program->forms().userForm1(); }
    bool settingsShown() const {
        return std::count(fake.dialogs.modalForms.begin(), fake.dialogs.modalForms.end(), "UserForm3") > 0;
    }
    static std::vector<std::u16string> builtInStages() { return {u"測量", u"設計", u"施工", u"維持管理"}; }
};

TEST_F(Builder, StartUpFillsTheListsAndPreselectsTheStoredStageAndA1) {
    EXPECT_TRUE(fake.settings.SaveSetting(stddb::kSectionLife, stddb::kKeyDefaultStage, u"設計").ok());
    form().UserForm_Activate();
    EXPECT_EQ(fake.workspace.openedPaths, std::vector<std::u16string>{u"C:\\CAD\\Tiermark.MDB"});
    EXPECT_EQ(form().ListBox1->items(), builtInStages());
    EXPECT_EQ(form().ListBox8->items(), builtInStages());
    EXPECT_EQ(form().ListBox1->listIndex(), 1);
    EXPECT_EQ(form().ListBox8->listIndex(), 1);
    EXPECT_EQ(form().ListBox2->listCount(), 7);
    EXPECT_EQ(form().ListBox2->listIndex(), -1);
    EXPECT_EQ(form().ListBox9->listCount(), 7);
    EXPECT_EQ(form().ListBox5->listIndex(), 0);
    EXPECT_EQ(form().ListBox7->text(), u"A1");
    EXPECT_EQ(form().Label9->caption(), u"594(mm)");
    EXPECT_EQ(form().Label10->caption(), u"841(mm)");
    EXPECT_EQ(form().TextBox4->text16(), u"6940");
    EXPECT_EQ(form().TextBox5->text16(), u"9410");
    EXPECT_FALSE(settingsShown());
    EXPECT_EQ(fake.program->database().currentRows(), nullptr);
}

TEST_F(Builder, NoRegisteredPathFallsBackWithoutTouchingTheDatabase) {
    EXPECT_TRUE(fake.settings.DeleteSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath).ok());
    form().UserForm_Activate();
    EXPECT_TRUE(fake.workspace.openedPaths.empty());
    EXPECT_EQ(form().ListBox1->items(), builtInStages());
    EXPECT_EQ(form().ListBox1->text(), u"施工");
    EXPECT_EQ(form().ListBox2->listCount(), 0);
    EXPECT_EQ(form().ListBox7->listCount(), 0);
    EXPECT_TRUE(settingsShown());
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(Builder, FailuresGoToTheFallbackKeepingWhatWasFilled) {
    struct Case {
        const char* name;
        std::function<void(SampleTables&)> damage;
        bool kindsFilled;
    };
    const Case cases[] = {
        {"fewer than four papers", [](SampleTables& s) { s.table(u"用紙テーブル").rows.resize(3); }, true},
        {"no line widths", [](SampleTables& s) { s.table(u"線幅テーブル").rows.clear(); }, true},
        {"missing field", [](SampleTables& s) { s.table(u"種別テーブル").columns[0].name = u"種別名"; },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeProgram local;
        SampleTables tables;
        c.damage(tables);
        EXPECT_TRUE(
            local.settings.SaveSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath, u"x.mdb").ok());
        local.workspace.open =
            [&tables](const std::u16string&) -> tiermark::Result<std::unique_ptr<stddb::Database>> {
            return tables.open();
        };
        builder::UserForm1& f = local.program->forms().userForm1();
        f.UserForm_Activate();
        EXPECT_EQ(f.ListBox1->items(), builtInStages());
        EXPECT_EQ(f.ListBox1->listIndex(), 2);
        EXPECT_EQ(f.ListBox8->listCount(), 4);  // filled from the database before the failure
        EXPECT_EQ(f.ListBox2->listCount(), c.kindsFilled ? 7 : 0);
        EXPECT_EQ(local.dialogs.modalForms, std::vector<QString>{"UserForm3"});
    }
}

TEST_F(Builder, AFileThatCannotBeOpenedIsNamedAndFallsBack) {
    fake.workspace.open = [](const std::u16string&) -> tiermark::Result<std::unique_ptr<stddb::Database>> {
        return tiermark::makeError("wrong password");
    };
    form().UserForm_Activate();
    EXPECT_EQ(form().ListBox1->text(), u"施工");
    EXPECT_TRUE(settingsShown());
    EXPECT_EQ(
        fake.dialogs.texts(),
        std::vector<std::u16string>{
            u"データベースファイル「C:\\CAD\\Tiermark.MDB」を読み込めません。\r"
            u"ファイルがないか、ネットワーク上の共有フォルダーに接続できないか、ファイルが壊れているかコピーの途中"
            u"です。\r"
            u"組み込みのライフサイクルで続けます。データベースの場所を確かめてください。"});
}

TEST_F(Builder, TheSettingsWindowIsOfferedOncePerShowing) {
    EXPECT_TRUE(fake.settings.DeleteSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath).ok());
    form().UserForm_Activate();
    form().UserForm_Activate();  // the settings window closed and handed the activation back
    EXPECT_EQ(fake.dialogs.modalForms.size(), 1u);
}

TEST_F(Builder, AnEmptyStageTableLeavesBothStageListsEmptyAndGoesOn) {
    sample.table(u"ライフサークルテーブル").rows.clear();
    form().UserForm_Activate();
    EXPECT_EQ(form().ListBox1->listCount(), 0);
    EXPECT_EQ(form().ListBox8->listCount(), 0);
    EXPECT_EQ(form().ListBox7->text(), u"A1");
    EXPECT_FALSE(settingsShown());
}

TEST_F(Builder, DefaultStageMatchesByTextAndTheLastDuplicateWins) {
    sample.table(u"ライフサークルテーブル").rows.push_back({testing_support::text(u"設計")});
    EXPECT_TRUE(fake.settings.SaveSetting(stddb::kSectionLife, stddb::kKeyDefaultStage, u"設計").ok());
    form().UserForm_Activate();
    EXPECT_EQ(form().ListBox1->listIndex(), 4);
    EXPECT_EQ(form().ListBox8->listIndex(), 4);

    EXPECT_TRUE(fake.settings.SaveSetting(stddb::kSectionLife, stddb::kKeyDefaultStage, u"竣工").ok());
    form().UserForm_Activate();
    EXPECT_EQ(form().ListBox1->listIndex(), -1);
}

TEST_F(Builder, TheCascadeComputesKeysAndFillsTheListsOnPageOne) {
    form().UserForm_Activate();
    form().ListBox2->setListIndex(2);
    EXPECT_EQ(form().ListBox3->listCount(), 17);
    form().ListBox3->setListIndex(4);
    EXPECT_EQ(form().Label6->caption(), u"19");
    EXPECT_EQ(form().ListBox4->items(), std::vector<std::u16string>{u"構造図"});
    EXPECT_FALSE(form().CommandButton1->isEnabled());
    form().ListBox4->setListIndex(0);
    EXPECT_EQ(form().ListBox6->items(), std::vector<std::u16string>{u"構造物-STR"});
    EXPECT_TRUE(form().CommandButton1->isEnabled());

    form().ListBox2->setListIndex(0);
    EXPECT_EQ(form().ListBox6->listCount(), 0);
    EXPECT_TRUE(form().CommandButton1->isEnabled());  // choosing a kind does not disable it
    form().ListBox3->setListIndex(0);
    EXPECT_EQ(form().Label6->caption(), u"1");
    EXPECT_FALSE(form().CommandButton1->isEnabled());
    form().OptionButton1->setChecked(true);
    form().ListBox4->setListIndex(0);
    EXPECT_EQ(form().ListBox6->items(),  // no stage chosen: no letter
              (std::vector<std::u16string>{u"-TTL", u"-STR-DIM", u"-BYP-STRn", u"-BGD"}));
    form().ListBox1->setListIndex(1);
    form().ListBox4->setListIndex(1);
    form().ListBox4->setListIndex(0);
    EXPECT_EQ(form().ListBox6->items(),
              (std::vector<std::u16string>{u"D-TTL", u"D-STR-DIM", u"D-BYP-STRn", u"D-BGD"}));
}

TEST_F(Builder, AKindWithoutWorkTypesKeepsTheOldListAndSaysSo) {
    form().UserForm_Activate();
    form().ListBox2->setListIndex(3);
    const auto before = form().ListBox3->items();
    form().ListBox2->setListIndex(5);
    EXPECT_EQ(fake.dialogs.texts(), std::vector<std::u16string>{std::u16string(kNoWorkType)});
    EXPECT_EQ(form().ListBox3->items(), before);
    form().ListBox3->setListIndex(0);  // the new kind's offset applies to the old list
    EXPECT_EQ(form().Label6->caption(), u"83");
}

TEST_F(Builder, TheCascadeOnPageTwoCarriesTheLetterAndItsOwnKey) {
    form().UserForm_Activate();
    form().ListBox8->setListIndex(2);
    form().ListBox9->setListIndex(6);
    form().ListBox10->setListIndex(0);
    EXPECT_EQ(form().Label18->caption(), u"94");
    EXPECT_EQ(form().ListBox11->items(), std::vector<std::u16string>{u"配置図"});
    form().ListBox9->setListIndex(0);
    form().ListBox10->setListIndex(0);
    form().ListBox11->setListIndex(0);
    EXPECT_EQ(form().ListBox13->items(),
              (std::vector<std::u16string>{u"C-TTL", u"C-STR-DIM", u"C-BYP-STRn", u"C-BGD"}));
    // A work type without drawing kinds empties the page-2 lists.
    form().ListBox9->setListIndex(3);
    form().ListBox10->setListIndex(3);
    EXPECT_EQ(form().ListBox11->listCount(), 0);
    EXPECT_EQ(form().ListBox13->listCount(), 0);
}

TEST_F(Builder, ADrawingNameWithAQuoteDisablesLayerCreationAndSaysWhy) {
    form().UserForm_Activate();
    form().ListBox2->setListIndex(0);
    form().ListBox3->setListIndex(0);
    form().ListBox4->setListIndex(0);  // 一般図: "レイヤー作成" enabled
    ASSERT_TRUE(form().CommandButton1->isEnabled());
    form().ListBox4->setListIndex(2);  // it's
    EXPECT_EQ(form().ListBox6->listCount(), 0);
    EXPECT_FALSE(form().CommandButton1->isEnabled());
    const std::u16string why =
        u"図面名「it's」に ' （アポストロフィ）が含まれているため、この図面のレイヤーをデータベースから読み出せません。\r"
        u"データベースの図面名を確認してください。";
    EXPECT_EQ(fake.dialogs.texts(), std::vector<std::u16string>{why});

    // Page 2 says the same and offers no standard names from an earlier choice.
    form().ListBox9->setListIndex(0);
    form().ListBox10->setListIndex(0);
    form().ListBox11->setListIndex(0);
    ASSERT_GT(form().ListBox13->listCount(), 0);
    form().ListBox11->setListIndex(2);
    EXPECT_EQ(form().ListBox13->listCount(), 0);
    EXPECT_EQ(fake.dialogs.texts(), (std::vector<std::u16string>{why, why}));
}

TEST_F(Builder, ADrawingKindWithoutLayersDisablesLayerCreation) {
    form().UserForm_Activate();
    form().ListBox2->setListIndex(0);
    form().ListBox3->setListIndex(0);
    form().ListBox4->setListIndex(0);
    ASSERT_TRUE(form().CommandButton1->isEnabled());
    form().ListBox4->setListIndex(1);  // 平面図 has no layer rows
    EXPECT_FALSE(form().CommandButton1->isEnabled());
    EXPECT_EQ(fake.dialogs.texts(),
              std::vector<std::u16string>{u"選択した図面名にはレイヤーが登録されていません。"});
}

TEST_F(Builder, AStartUpThatFailsInATableLeavesNoEarlierItemsInItsLists) {
    form().UserForm_Activate();
    ASSERT_EQ(form().ListBox2->listCount(), 7);
    ASSERT_EQ(form().ListBox8->listCount(), 4);
    // The next database lacks a field of the kinds' table: its lists are emptied, not left as they were.
    sample.table(u"種別テーブル").columns[0].name = u"種別名";
    form().UserForm_Activate();
    EXPECT_EQ(form().ListBox2->listCount(), 0);
    EXPECT_EQ(form().ListBox9->listCount(), 0);
    // And one that lacks the stages' field empties the page-2 stage list (page 1 gets the built-in ones).
    sample.table(u"種別テーブル").columns[0].name = u"名称";
    sample.table(u"ライフサークルテーブル").columns[0].name = u"名前";
    form().UserForm_Activate();
    EXPECT_EQ(form().ListBox8->listCount(), 0);
    EXPECT_EQ(form().ListBox1->items(), builtInStages());
}

TEST_F(Builder, ListsFollowRealSelectionsNotTheKeyboardFocus) {
    form().UserForm_Activate();
    form().show();
    QApplication::setActiveWindow(&form());
    ui::ListBox& kinds = *form().ListBox2;
    kinds.setFocus(Qt::TabFocusReason);  // Tab into the construction kinds
    QApplication::processEvents();
    ASSERT_TRUE(kinds.hasFocus());
    EXPECT_EQ(kinds.listIndex(), -1);
    EXPECT_EQ(form().ListBox3->listCount(), 0);  // no kind chosen, no work types
    EXPECT_TRUE(fake.dialogs.messages.empty());

    keyClick(kinds, Qt::Key_Down);  // the arrow keys move the selection: a click
    EXPECT_EQ(kinds.listIndex(), 1);
    EXPECT_EQ(form().ListBox3->listCount(), 4);

    const QRect fourth = kinds.visualItemRect(kinds.item(3));
    leftClick(*kinds.viewport(), fourth.center());  // 海岸
    EXPECT_EQ(kinds.text(), u"海岸");
    EXPECT_EQ(form().ListBox3->listCount(), 4);

    // Leaving the list and coming back by Tab keeps the choice.
    form().ListBox1->setFocus(Qt::TabFocusReason);
    kinds.setFocus(Qt::BacktabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(kinds.text(), u"海岸");
}

TEST_F(Builder, ThePaperSetsTheSidesAndTheRedrawOriginFollowsEveryChange) {
    form().UserForm_Activate();
    form().TextBox1->setText(QString());
    EXPECT_EQ(form().TextBox4->text16(), u"0.000");
    EXPECT_EQ(form().TextBox5->text16(), u"0.000");
    form().TextBox1->setText(QStringLiteral("1"));
    EXPECT_EQ(form().TextBox4->text16(), u"694");
    EXPECT_EQ(form().TextBox5->text16(), u"941");
    form().TextBox2->setText(QStringLiteral("10.5"));
    EXPECT_EQ(form().TextBox4->text16(), u"704.5");
    form().ListBox7->setListIndex(0);
    EXPECT_EQ(form().Label11->caption(), u"A4");
    EXPECT_EQ(form().Label24->caption(), u"210");
    EXPECT_EQ(form().Label9->caption(), u"210(mm)");
    EXPECT_EQ(form().TextBox5->text16(), u"397");
}

TEST_F(Builder, BeforeAnyPaperTheOriginMirrorsTheCorner) {
    form().TextBox2->setText(QStringLiteral("5"));
    EXPECT_EQ(form().TextBox4->text16(), u"5");
    EXPECT_EQ(form().TextBox5->text16(), u"0.000");
}

TEST_F(Builder, AQuoteInThePaperNameReadsTheFirstRowOfTheWholeTable) {
    sample.table(u"用紙テーブル").rows[3][0] = testing_support::text(u"A'1");
    form().UserForm_Activate();
    EXPECT_EQ(form().Label11->caption(), u"A'1");
    EXPECT_EQ(form().Label9->caption(), u"210(mm)");
}

TEST_F(Builder, TheSettingsWindowCopiesTheStageByPositionAndByText) {
    // The database lists the stages in another order than the settings window.
    auto& stages = sample.table(u"ライフサークルテーブル").rows;
    std::swap(stages[0], stages[3]);  // 維持管理, 設計, 施工, 測量
    form().UserForm_Activate();
    form().ListBox1->setListIndex(0);  // 維持管理

    app::Forms& forms = fake.program->forms();
    fake.dialogs.onModal = [](QDialog& dialog) {
        auto& settingsWindow = static_cast<settings::UserForm3&>(dialog);
        EXPECT_EQ(settingsWindow.ListBox1->text(), u"測量");  // by position
        settingsWindow.ListBox1->setListIndex(3);             // 維持管理
        settingsWindow.CommandButton2_Click();
    };
    form().CommandButton3_Click();
    EXPECT_EQ(fake.settings.GetSetting(stddb::kSectionLife, stddb::kKeyDefaultStage), u"維持管理");
    EXPECT_EQ(form().ListBox1->listIndex(), 3);  // by position: 測量 in the database's order
    ASSERT_NE(forms.userForm3IfLoaded(), nullptr);

    fake.dialogs.onModal = [](QDialog& dialog) {
        if (auto* settingsWindow = qobject_cast<settings::UserForm3*>(&dialog)) {
            settingsWindow->ListBox1->setListIndex(3);  // 維持管理
            settingsWindow->CommandButton1_Click();     // by text, then the registration form
        }
    };
    form().CommandButton3_Click();
    EXPECT_EQ(form().ListBox1->text(), u"維持管理");
    EXPECT_EQ(fake.dialogs.modalForms.back(), QStringLiteral("UserForm5"));
}

}  // namespace
