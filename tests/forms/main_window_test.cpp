#include <gtest/gtest.h>

#include <QApplication>

#include "app/form_registry.h"
#include "app/guidance.h"
#include "app/main_window.h"
#include "builder/forms/builder_form.h"
#include "cadlink/command_texts.h"
#include "tests/forms/support/fakes.h"

namespace {

using testing_support::FakeProgram;

class Form1Test : public ::testing::Test {
protected:
    FakeProgram fake;
    app::Form1& form() { return fake.program->forms().form1(); }
    std::u16string guidance() { return form().Label3->caption(); }
};

TEST_F(Form1Test, StartUpGuidanceFollowsTheRunningInstances) {
    form().Form_Load();
    EXPECT_EQ(form().cmbfilename->listCount(), 0);
    EXPECT_EQ(form().cmbfilename->listIndex(), -1);
    EXPECT_EQ(guidance(), app::guidance::kNone);

    fake.startCad("Drawing1.dwg");
    form().Form_Load();
    EXPECT_EQ(form().cmbfilename->listCount(), 1);
    EXPECT_EQ(form().cmbfilename->listIndex(), 0);
    EXPECT_EQ(form().cmbfilename->text(), u"[Drawing1.dwg]");
    EXPECT_EQ(guidance(), app::guidance::kRegister);

    fake.startCad("図面2.dwg");
    form().Form_Load();
    EXPECT_EQ(form().cmbfilename->listCount(), 2);
    EXPECT_EQ(form().cmbfilename->listIndex(), 1);
    EXPECT_EQ(guidance(), u"複数のAUTOCADLTが起動中です。\r処理を行う対象の図面の選択は合っていますか？");
}

// AutoCAD LT still starting (or a title Tiermark does not know): its line stays empty, the guidance says
// why, and an action sends nothing to window 0 but tells the user once.
TEST_F(Form1Test, ALineWithoutMainWindowSaysSoAndSendsNothing) {
    const auto pid = fake.windows.addProcess("acadlt.exe");
    fake.windows.addWindow(pid, "AutoCAD LT 2025");  // the frame before a drawing is open
    form().Form_Load();
    ASSERT_EQ(form().cmbfilename->listCount(), 1);
    EXPECT_EQ(form().cmbfilename->itemText(0), u"");
    EXPECT_EQ(guidance(), app::guidance::kNoMainWindow);

    form().Command2[0]->setEnabled(true);
    form().Command2_Click(0);
    EXPECT_TRUE(fake.windows.sent.empty());
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text, cadlink::kNoWindowMessage);
    EXPECT_EQ(guidance(), app::guidance::kNoMainWindow);
    EXPECT_FALSE(form().Command2[0]->isHidden());  // still idle

    // Once its window carries today's title, the same line is found and driven.
    fake.windows.addWindow(pid, "Autodesk AutoCAD LT 2025 - [Drawing1.dwg]");
    form().Form_Load();
    EXPECT_EQ(form().cmbfilename->itemText(0), u"[Drawing1.dwg]");
    EXPECT_EQ(guidance(), app::guidance::kRegister);
    form().Command2_Click(0);
    EXPECT_EQ(fake.windows.sent.size(), cadlink::startTexts().size());
}

TEST_F(Form1Test, GuidanceTextsCarryTheirIdeographicSpaces) {
    EXPECT_NE(app::guidance::kMove.find(u"→　移動のみ"), std::u16string_view::npos);
    EXPECT_NE(app::guidance::kNone.find(u"注意！　AUTOCADLT"), std::u16string_view::npos);
    EXPECT_EQ(app::guidance::forStartUp(1, 3), app::guidance::changeMoveAndSelect());
}

TEST_F(Form1Test, TargetChangeAnsweredCancelChangesNothing) {
    fake.startCad("a.dwg");
    form().Form_Load();
    testing_support::offerCreatedLayer(*fake.program, u"構造物D-STR");
    form().Combo1_Click();
    const std::u16string before = guidance();
    fake.startCad("b.dwg");
    fake.dialogs.answers.push_back(ui::MsgAnswer::Cancel);

    form().Label1_Click();

    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    const ui::MessageRequest& ask = fake.dialogs.messages[0];
    EXPECT_EQ(ask.text, u"対象図面を変更します。\r入力済みレイヤー情報は破棄されます。実行しますか？。");
    EXPECT_EQ(ask.title, QStringLiteral("注意！！"));
    EXPECT_EQ(ask.buttons, ui::MsgButtons::OkCancel);
    EXPECT_EQ(ask.icon, ui::MsgIcon::Information);
    EXPECT_EQ(ask.defaultButton, ui::MsgDefault::Second);
    EXPECT_EQ(form().cmbfilename->listCount(), 1);
    EXPECT_EQ(form().Combo1->listCount(), 1);
    EXPECT_EQ(guidance(), before);
}

TEST_F(Form1Test, TargetChangeAnsweredOkRediscoversAndEmptiesTheLayerList) {
    fake.startCad("a.dwg");
    form().Form_Load();
    testing_support::offerCreatedLayer(*fake.program, u"構造物D-STR");
    testing_support::offerCreatedLayer(*fake.program, u"D-TTL");

    form().Label1_Click();

    EXPECT_EQ(form().Combo1->listCount(), 0);
    EXPECT_EQ(guidance(), app::guidance::changeMoveAndSelect());
    ASSERT_EQ(fake.dialogs.messages.size(), 2u);
    const ui::MessageRequest& notice = fake.dialogs.messages[1];
    EXPECT_EQ(notice.text,
              u"図面設定が変更されました。\rレイヤー情報は破棄されました。再度設定してください。");
    EXPECT_EQ(notice.title, QStringLiteral("注意！！"));
    EXPECT_EQ(notice.buttons, ui::MsgButtons::Ok);
    EXPECT_EQ(notice.icon, ui::MsgIcon::Exclamation);
}

TEST_F(Form1Test, ChoosingALayerShowsTheChangeAndMoveGuidance) {
    fake.startCad("a.dwg");
    form().Form_Load();
    testing_support::offerCreatedLayer(*fake.program, u"D-STR");
    form().Combo1->setListIndex(0);
    EXPECT_EQ(
        guidance(),
        u"レイヤー変更→レイヤー変更ボタンをクリック後レイヤーを変更するオブジェクトを選択してください。\r"
        u"レイヤー変更を伴わない移動処理→　移動のみボタンをクリック後オブジェクトを選択してください。");
}

TEST_F(Form1Test, TheBuilderOpensOnlyWithADrawing) {
    form().Form_Load();
    form().Command1_Click();
    EXPECT_EQ(fake.program->forms().userForm1IfLoaded(), nullptr);
    fake.startCad("a.dwg");
    form().Form_Load();
    form().Command1_Click();
    ASSERT_NE(fake.program->forms().userForm1IfLoaded(), nullptr);
    EXPECT_TRUE(fake.program->forms().userForm1IfLoaded()->isVisible());
}

TEST_F(Form1Test, ClosingReleasesTheDatabaseAndUnloadsTheOtherForms) {
    fake.startCad("a.dwg");
    form().Form_Load();
    fake.program->forms().ShowBuilder();
    form().close();
    EXPECT_EQ(fake.program->database().get(), nullptr);
    EXPECT_EQ(fake.program->forms().userForm1IfLoaded(), nullptr);
}

TEST_F(Form1Test, SendsCommandsInTheWideFormAndComplainsWithoutTarget) {
    form().Form_Load();
    form().SendCommand(u"-group\r");
    ASSERT_EQ(fake.dialogs.texts(), std::vector<std::u16string>{u"AutoCADが選択されていません"});
    const auto window = fake.startCad("a.dwg");
    form().Form_Load();
    form().SendCommand(u"C-STR\r");
    ASSERT_EQ(fake.windows.sent.size(), 1u);
    // The wide form, as the builder and the numbered-layer form send: C-STR CR and the 16-bit NUL.
    EXPECT_EQ(fake.windows.sent[0].bytes,
              (std::vector<std::uint8_t>{'C', 0, '-', 0, 'S', 0, 'T', 0, 'R', 0, '\r', 0, 0, 0}));
    EXPECT_EQ(fake.textsSentTo(window), std::vector<std::u16string>{u"C-STR\r"});
}

TEST_F(Form1Test, EveryControlCarriesItsCaptionAndProgramName) {
    const auto check = [](QWidget* w, const QString& programName, const QString& caption) {
        EXPECT_EQ(w->objectName(), programName);
        EXPECT_EQ(w->accessibleDescription(), programName);
        EXPECT_EQ(w->accessibleName(), caption);
    };
    check(form().cmbfilename, "cmbfilename", "対象図面");
    check(form().Combo1, "Combo1", "変更後のレイヤー");
    check(form().Command1, "Command1", "Tiermarkメニュー");
    check(form().Command2[0], "Command2(0)", "レイヤー変更");
    check(form().Command3[0], "Command3(0)", "移動のみ");
    check(form().Label3, "Label3", "コメント");
    check(form().Label6, "Label6", "ﾊﾞｰｼﾞｮﾝ 1.0.1");
    EXPECT_FALSE(form().Command2[0]->isEnabled());
    EXPECT_FALSE(form().Command3[0]->isEnabled());
    EXPECT_TRUE(form().Command2[1]->isHidden());
    EXPECT_EQ(form().size(), QSize(961, 122));
}

}  // namespace
