// The forms through the real modal loops (Qt's own event loops, message boxes included), each form that can
// close itself at least once. A robot plays the user; its watchdog ends any loop still running after a few
// seconds, so a form that never returns fails here instead of hanging the run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "builder/linetype_notice.h"
#include "numbered/forms/numbered_layer_form.h"
#include "numbered/member_scan.h"
#include "settings/forms/about_window.h"
#include "settings/forms/settings_window.h"
#include "stddb/forms/registration_form.h"
#include "stddb/forms/versions_form.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/modal_robot.h"
#include "tests/forms/support/sample_tables.h"

namespace {

using namespace std::chrono_literals;
using testing_support::LiveProgram;
using testing_support::ModalRobot;
using testing_support::processEventsFor;
using testing_support::SampleTables;
using Texts = std::vector<std::u16string>;

const std::u16string kFamilyFull(numbered::kFamilyFullMessage);

class LiveForms : public ::testing::Test {
protected:
    LiveProgram live;
    SampleTables sample;
    ModalRobot robot;
    cadlink::WindowHandle cad = 0;

    void SetUp() override {
        testing_support::registerSample(live.settings, live.workspace, sample);
        cad = live.windows.addWindow(live.windows.addProcess("acadlt.exe"), "AutoCAD LT - [a.dwg]");
        form1().Form_Load();
        form1().show();
        processEventsFor(20ms);
    }

    app::Form1& form1() { return live.program->forms().form1(); }
    app::Forms& forms() { return live.program->forms(); }
    builder::UserForm1& builder() { return forms().userForm1(); }

    // The builder shown from the main window, its start-up run, 一般図 of stage D chosen.
    void chooseDrawingKind() {
        form1().Command1_Click();
        processEventsFor(50ms);
        builder().ListBox1->setListIndex(1);
        builder().ListBox2->setListIndex(0);
        builder().ListBox3->setListIndex(0);
        builder().ListBox4->setListIndex(0);
    }

    // The 35 members of the family -BYP-STR (numbered-layer family 2) for stage D.
    static Texts fullFamily() {
        Texts members;
        for (char16_t suffix : std::u16string(u"123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
            members.push_back(u"副D-BYP-STR" + std::u16string(1, suffix));
        }
        return members;
    }

    static void click(QDialog& form, const char* button) {
        form.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
};

TEST_F(LiveForms, ANumberedFormThatFindsItsFamilyFullReturnsAtOnce) {
    for (const auto& member : fullFamily()) {
        testing_support::offerCreatedLayer(*live.program, member);
    }
    live.program->layers().layerAddMode = 2;
    forms().showNumbered();
    EXPECT_FALSE(robot.timedOut());
    EXPECT_EQ(robot.messages, Texts{kFamilyFull});
    EXPECT_EQ(robot.titles, std::vector<QString>{QStringLiteral("レイヤー設定エラー")});
    EXPECT_EQ(forms().userForm2IfLoaded(), nullptr);
}

TEST_F(LiveForms, AFullFamilyDoesNotHoldUpLayerCreation) {
    chooseDrawingKind();
    for (const auto& member : fullFamily()) {
        testing_support::offerCreatedLayer(*live.program, member);
    }
    builder().TextBox5->setText(QStringLiteral("420"));
    builder().TextBox4->setText(QStringLiteral("297"));
    builder().CommandButton1->click();
    EXPECT_FALSE(robot.timedOut());
    // Then, once, the line type the drawing must have loaded for the layers made (AutoCAD LT shows none).
    EXPECT_EQ(robot.messages, (Texts{kFamilyFull, builder::linetypeNoticeMessage({u"破線"}, false)}));
    // The rows after the family were created, the origin stored and the builder hidden; the members stay
    // offered after the new layers.
    EXPECT_EQ(form1().Combo1->itemText(2), u"現況地物D-BGD");
    EXPECT_EQ(form1().Combo1->listCount(), 3 + 35);
    EXPECT_EQ(live.program->layers().redrawOriginX, 420.0);
    EXPECT_EQ(live.program->layers().redrawOriginY, 297.0);
    EXPECT_TRUE(builder().isHidden());
}

TEST_F(LiveForms, TheNumberedFormAddsAMemberAndReturnsOnOK) {
    chooseDrawingKind();
    robot.onForm(QStringLiteral("UserForm2"), [](QDialog& dialog) {
        auto& form = static_cast<numbered::UserForm2&>(dialog);
        form.TextBox1->setText(QStringLiteral("追加"));
        form.ListBox1->setListIndex(0);
        form.CommandButton1->click();
        form.CommandButton2->click();
    });
    builder().CommandButton1->click();
    EXPECT_FALSE(robot.timedOut());
    EXPECT_EQ(robot.formsOperated, std::vector<QString>{QStringLiteral("UserForm2")});
    EXPECT_EQ(form1().Combo1->items(),
              (Texts{u"図枠D-TTL", u"寸法D-STR-DIM", u"追加D-BYP-STR1", u"現況地物D-BGD"}));
    EXPECT_TRUE(builder().isHidden());
}

TEST_F(LiveForms, TheNumberedFormThatAddsTheLastMemberUnloadsAndReturns) {
    builder().UserForm_Activate();  // opens the database: the form lists its colours
    Texts members = fullFamily();
    members.pop_back();  // up to Y: the form proposes Z
    for (const auto& member : members) {
        testing_support::offerCreatedLayer(*live.program, member);
    }
    live.program->layers().layerAddMode = 2;
    robot.onForm(QStringLiteral("UserForm2"), [](QDialog& dialog) {
        auto& form = static_cast<numbered::UserForm2&>(dialog);
        EXPECT_EQ(form.Label8->caption(), u"-BYP-STRZ");
        form.TextBox1->setText(QStringLiteral("最後"));
        form.ListBox1->setListIndex(0);
        form.CommandButton1->click();
    });
    forms().showNumbered();
    EXPECT_FALSE(robot.timedOut());
    EXPECT_EQ(forms().userForm2IfLoaded(), nullptr);
    EXPECT_TRUE(robot.messages.empty());
}

TEST_F(LiveForms, SettingsCloseWithTheButtonAndWithTheCloseBox) {
    chooseDrawingKind();
    robot.onForm(QStringLiteral("UserForm3"), [](QDialog& form) { click(form, "CommandButton2"); });
    builder().CommandButton3->click();
    EXPECT_NE(forms().userForm3IfLoaded(), nullptr);  // "閉じる" hides it
    robot.onForm(QStringLiteral("UserForm3"), [](QDialog& form) { form.close(); });
    builder().CommandButton3->click();
    processEventsFor(20ms);
    EXPECT_EQ(forms().userForm3IfLoaded(), nullptr);  // the close box unloads it
    EXPECT_FALSE(robot.timedOut());
}

TEST_F(LiveForms, SettingsUnloadThemselvesForTheRegistrationFormAndBothReturn) {
    chooseDrawingKind();
    robot.onForm(QStringLiteral("UserForm3"), [](QDialog& form) { click(form, "CommandButton1"); });
    robot.onForm(QStringLiteral("UserForm5"), [](QDialog& form) { click(form, "CommandButton3"); });
    builder().CommandButton3->click();
    EXPECT_FALSE(robot.timedOut());
    EXPECT_EQ(robot.formsOperated,
              (std::vector<QString>{QStringLiteral("UserForm3"), QStringLiteral("UserForm5")}));
    processEventsFor(20ms);
    EXPECT_EQ(forms().userForm3IfLoaded(), nullptr);
    EXPECT_EQ(forms().userForm5IfLoaded(), nullptr);
}

TEST_F(LiveForms, TheBuildersFallbackOffersTheSettingsWhichReturn) {
    ASSERT_TRUE(live.settings.DeleteSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath).ok());
    robot.onForm(QStringLiteral("UserForm3"), [](QDialog& form) { click(form, "CommandButton2"); });
    form1().Command1_Click();
    processEventsFor(100ms);
    EXPECT_FALSE(robot.timedOut());
    EXPECT_EQ(robot.formsOperated, std::vector<QString>{QStringLiteral("UserForm3")});
    EXPECT_EQ(builder().ListBox1->text(), u"施工");
}

TEST_F(LiveForms, RegistrationUnloadsItselfAndReloadsTheBuilder) {
    chooseDrawingKind();
    builder::UserForm1* before = &builder();
    robot.onForm(QStringLiteral("UserForm5"), [](QDialog& dialog) {
        auto& form = static_cast<stddb::UserForm5&>(dialog);
        form.TextBox1->setText(QStringLiteral("D:\\共有\\Tiermark.MDB"));
        form.CommandButton1->click();
    });
    forms().showRegistration();
    processEventsFor(50ms);
    EXPECT_FALSE(robot.timedOut());
    EXPECT_EQ(forms().userForm5IfLoaded(), nullptr);
    ASSERT_NE(forms().userForm1IfLoaded(), nullptr);
    EXPECT_NE(forms().userForm1IfLoaded(), before);
    EXPECT_TRUE(forms().userForm1IfLoaded()->isVisible());
    EXPECT_EQ(live.workspace.openedPaths.back(), u"D:\\共有\\Tiermark.MDB");
}

TEST_F(LiveForms, RegistrationEraseAndCloseBoxReturn) {
    robot.onForm(QStringLiteral("UserForm5"), [](QDialog& form) { form.close(); });
    forms().showRegistration();
    processEventsFor(20ms);
    EXPECT_EQ(forms().userForm5IfLoaded(), nullptr);
    robot.onForm(QStringLiteral("UserForm5"), [](QDialog& form) { click(form, "CommandButton2"); });
    forms().showRegistration();
    EXPECT_FALSE(robot.timedOut());
    EXPECT_EQ(live.dialogs.endRequests, 1);
    EXPECT_EQ(live.settings.GetSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath), u"");
}

TEST_F(LiveForms, VersionsCloseWithTheButtonAndTheCloseBoxUnloadsThem) {
    chooseDrawingKind();
    robot.onForm(QStringLiteral("UserForm4"), [](QDialog& form) { click(form, "CommandButton1"); });
    builder().CommandButton6->click();
    processEventsFor(20ms);
    EXPECT_EQ(forms().userForm4IfLoaded(), nullptr);

    // The close box unloads the form too: a later showing over a database of three rows shows the
    // designer texts in the fourth row, not the previous database's.
    robot.onForm(QStringLiteral("UserForm4"), [](QDialog& form) { form.close(); });
    builder().CommandButton6->click();
    processEventsFor(20ms);
    EXPECT_EQ(forms().userForm4IfLoaded(), nullptr);

    sample.table(u"基準案テーブル").rows.resize(3);
    builder().UserForm_Activate();
    std::u16string fourthVersion;
    robot.onForm(QStringLiteral("UserForm4"), [&fourthVersion](QDialog& dialog) {
        auto& form = static_cast<stddb::UserForm4&>(dialog);
        fourthVersion = form.versions[3]->caption();
        form.CommandButton1->click();
    });
    builder().CommandButton6->click();
    EXPECT_FALSE(robot.timedOut());
    EXPECT_EQ(fourthVersion, u"―");
    EXPECT_EQ(robot.messages, Texts{u"データベースが登録されていません。\rデータベースを登録してください。"});
}

TEST_F(LiveForms, AboutClosesItself) {
    robot.onForm(QStringLiteral("UserForm8"), [](QDialog& form) { click(form, "CommandButton1"); });
    forms().showAbout();
    EXPECT_FALSE(robot.timedOut());
    processEventsFor(20ms);
    EXPECT_EQ(forms().userForm8IfLoaded(), nullptr);
}

TEST_F(LiveForms, TheTranslationOpensFromTheBuilderAndClosesItself) {
    chooseDrawingKind();
    bool shown = false;
    robot.onForm(QStringLiteral("UserForm10"), [&](QDialog& form) {
        shown = true;
        click(form, "CommandButton10");
    });
    builder().CommandButton11->click();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(robot.timedOut());
    processEventsFor(20ms);
    EXPECT_EQ(forms().userForm10IfLoaded(), nullptr);
}

// Activation: the builder's start-up runs when the user comes back to it from another of the program's
// windows, and not when the user comes back from another application.
class LiveActivation : public LiveForms {
protected:
    void makeChoices() {
        chooseDrawingKind();
        builder().ListBox1->setListIndex(3);  // 維持管理
        builder().ListBox2->setListIndex(3);  // 海岸
        builder().ListBox7->setListIndex(1);  // A3
        builder().TextBox5->setText(QStringLiteral("123"));
        ASSERT_EQ(live.workspace.openedPaths.size(), 1u);
    }
    void expectChoicesKept() {
        EXPECT_EQ(builder().ListBox1->text(), u"維持管理");
        EXPECT_EQ(builder().ListBox2->text(), u"海岸");
        EXPECT_EQ(builder().ListBox7->text(), u"A3");
        EXPECT_EQ(builder().TextBox5->text16(), u"123");
        EXPECT_EQ(live.workspace.openedPaths.size(), 1u);
    }
};

TEST_F(LiveActivation, ComingBackFromAnotherApplicationKeepsTheUsersChoices) {
    makeChoices();
    ASSERT_EQ(QApplication::activeWindow(), &builder());
    QApplication::setActiveWindow(nullptr);  // AutoCAD LT takes the focus
    processEventsFor(20ms);
    QApplication::setActiveWindow(&builder());  // and the user comes back
    processEventsFor(20ms);
    expectChoicesKept();
}

TEST_F(LiveActivation, ComingBackFromAFormOfTheProgramRunsTheStartUp) {
    makeChoices();
    robot.onForm(QStringLiteral("UserForm8"), [](QDialog& form) { click(form, "CommandButton1"); });
    builder().CommandButton4->click();  // アップデート
    processEventsFor(50ms);
    EXPECT_FALSE(robot.timedOut());
    EXPECT_EQ(QApplication::activeWindow(), &builder());
    EXPECT_EQ(live.workspace.openedPaths.size(), 2u);
    EXPECT_EQ(builder().ListBox1->listIndex(), -1);  // no default stage stored
    EXPECT_EQ(builder().ListBox2->listIndex(), -1);
    EXPECT_EQ(builder().ListBox7->text(), u"A1");
}

TEST_F(LiveActivation, ComingBackThroughTheMainWindowRunsTheStartUp) {
    makeChoices();
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&form1());
    QApplication::setActiveWindow(&builder());
    processEventsFor(20ms);
    EXPECT_EQ(live.workspace.openedPaths.size(), 2u);
    EXPECT_EQ(builder().ListBox7->text(), u"A1");
}

}  // namespace
