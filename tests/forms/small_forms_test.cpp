#include <gtest/gtest.h>

#include <QLayout>

#include "app/form_registry.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "settings/forms/about_window.h"
#include "settings/forms/settings_window.h"
#include "stddb/forms/registration_form.h"
#include "stddb/forms/versions_form.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"

namespace {

using testing_support::FakeProgram;
using testing_support::SampleTables;

class SmallForms : public ::testing::Test {
protected:
    FakeProgram fake;
    SampleTables sample;

    void openDatabase() {
        testing_support::registerSample(fake.settings, fake.workspace, sample);
        fake.startCad("a.dwg");
        fake.program->forms().userForm1().UserForm_Activate();
    }
};

TEST_F(SmallForms, VersionsShowTheFourStandards) {
    openDatabase();
    sample.table(u"基準案テーブル").rows[1][1] = testing_support::kNull;
    fake.program->forms().userForm1().UserForm_Activate();
    stddb::UserForm4* versions = nullptr;
    fake.dialogs.onModal = [&](QDialog& dialog) { versions = qobject_cast<stddb::UserForm4*>(&dialog); };
    fake.program->forms().showVersions();
    ASSERT_NE(versions, nullptr);
    EXPECT_EQ(versions->versions[0]->caption(), u"平成16年6月版");
    EXPECT_EQ(versions->versions[1]->caption(), u"―");  // Null: no entry
    EXPECT_EQ(versions->names[3]->caption(), u"農林水産省 電子化図面データの作成要領（案）");
    EXPECT_TRUE(fake.dialogs.messages.empty());
    EXPECT_EQ(fake.program->database().currentRows(), nullptr);
}

TEST_F(SmallForms, VersionsWithThreeRowsFillThreeAndReport) {
    sample.table(u"基準案テーブル").rows.resize(3);
    sample.table(u"基準案テーブル").rows[2][1] = testing_support::text(u"第3版");
    openDatabase();
    stddb::UserForm4* versions = nullptr;
    fake.dialogs.onModal = [&](QDialog& dialog) { versions = qobject_cast<stddb::UserForm4*>(&dialog); };
    fake.program->forms().showVersions();
    ASSERT_NE(versions, nullptr);
    EXPECT_EQ(versions->versions[2]->caption(), u"第3版");
    EXPECT_EQ(versions->versions[3]->caption(), u"―");
    EXPECT_EQ(versions->names[3]->caption(), u"農林水産省 電子化図面データの作成要領（案）");
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].title, QStringLiteral("データベース設定エラー"));
    EXPECT_EQ(fake.dialogs.messages[0].text,
              u"データベースが登録されていません。\rデータベースを登録してください。");
}

TEST_F(SmallForms, VersionsWithoutDatabaseKeepTheDesignerTexts) {
    stddb::UserForm4* versions = nullptr;
    fake.dialogs.onModal = [&](QDialog& dialog) { versions = qobject_cast<stddb::UserForm4*>(&dialog); };
    fake.program->forms().showVersions();
    ASSERT_NE(versions, nullptr);
    EXPECT_EQ(versions->names[1]->caption(), u"国土交通省 CAD製図基準（案）　電気通信設備編");
    EXPECT_EQ(versions->versions[0]->caption(), u"―");
    EXPECT_EQ(fake.dialogs.messages.size(), 1u);
}

TEST_F(SmallForms, RegistrationPastesStoresAndReloadsTheBuilder) {
    openDatabase();
    builder::UserForm1* before = fake.program->forms().userForm1IfLoaded();
    fake.dialogs.clipboard = QStringLiteral("D:\\共有\\Tiermark");
    fake.dialogs.onModal = [](QDialog& dialog) {
        auto& registration = static_cast<stddb::UserForm5&>(dialog);
        EXPECT_EQ(registration.TextBox1->text16(), u"C:\\CAD\\Tiermark.MDB");
        registration.CommandButton4_Click();
        EXPECT_EQ(registration.TextBox1->text16(), u"D:\\共有\\Tiermark\\Tiermark.MDB");
        registration.CommandButton1_Click();
    };
    fake.program->forms().showRegistration();
    EXPECT_EQ(fake.settings.GetSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath),
              u"D:\\共有\\Tiermark\\Tiermark.MDB");
    builder::UserForm1* after = fake.program->forms().userForm1IfLoaded();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_EQ(fake.program->forms().userForm5IfLoaded(), nullptr);
}

TEST_F(SmallForms, APastedLinuxFolderGetsTheFileWithASlash) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows path keeps its backslash";
#endif
    openDatabase();
    fake.dialogs.clipboard = QStringLiteral("/home/user/Tiermark\n");
    fake.dialogs.onModal = [](QDialog& dialog) {
        auto& registration = static_cast<stddb::UserForm5&>(dialog);
        registration.CommandButton4_Click();
        registration.CommandButton1_Click();
    };
    fake.program->forms().showRegistration();
    EXPECT_EQ(fake.settings.GetSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath),
              u"/home/user/Tiermark/Tiermark.MDB");
}

TEST_F(SmallForms, RegistrationCancelStoresNothingAndEraseEndsTheProgram) {
    openDatabase();
    fake.dialogs.onModal = [](QDialog& dialog) {
        auto& registration = static_cast<stddb::UserForm5&>(dialog);
        registration.TextBox1->setText(QStringLiteral("E:\\other\\Tiermark.MDB"));
        registration.CommandButton3_Click();
    };
    fake.program->forms().showRegistration();
    EXPECT_EQ(fake.settings.GetSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath),
              u"C:\\CAD\\Tiermark.MDB");

    fake.dialogs.onModal = [](QDialog& dialog) {
        static_cast<stddb::UserForm5&>(dialog).CommandButton2_Click();
    };
    fake.program->forms().showRegistration();
    EXPECT_EQ(fake.settings.GetSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath), u"");
    EXPECT_EQ(fake.dialogs.endRequests, 1);
    EXPECT_EQ(fake.program->forms().userForm1IfLoaded(), nullptr);
}

TEST_F(SmallForms, ALongPastedPathIsStoredAsGiven) {
    openDatabase();
    const std::u16string longPath = u"C:\\" + std::u16string(2000, u'深') + u"\\Tiermark.MDB";
    fake.dialogs.onModal = [&longPath](QDialog& dialog) {
        auto& registration = static_cast<stddb::UserForm5&>(dialog);
        registration.TextBox1->setText16(longPath);
        registration.CommandButton1_Click();
    };
    fake.program->forms().showRegistration();
    EXPECT_EQ(fake.settings.GetSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath), longPath);
}

TEST_F(SmallForms, SettingsShowTheRegisteredPathOrTheDesignerText) {
    settings::UserForm3* window = nullptr;
    fake.dialogs.onModal = [&](QDialog& dialog) { window = qobject_cast<settings::UserForm3*>(&dialog); };
    fake.program->forms().showSettings();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Label2->caption(), u"格納されていません。詳しくはマニュアルを参照ください。");
    EXPECT_EQ(window->ListBox1->items(),
              (std::vector<std::u16string>{u"測量", u"設計", u"施工", u"維持管理"}));
    window->CommandButton2_Click();  // nothing chosen: an empty default is stored
    EXPECT_EQ(fake.settings.values.count(u"Life/DefAction"), 1u);
    EXPECT_EQ(fake.settings.GetSetting(stddb::kSectionLife, stddb::kKeyDefaultStage), u"");

    openDatabase();
    fake.program->forms().showSettings();
    EXPECT_EQ(window->Label2->caption(), u"C:\\CAD\\Tiermark.MDB");
}

TEST_F(SmallForms, AboutShowsTheReleaseAndClosesItself) {
    settings::UserForm8* about = nullptr;
    fake.dialogs.onModal = [&](QDialog& dialog) {
        about = qobject_cast<settings::UserForm8*>(&dialog);
        EXPECT_EQ(about->Label2->caption(), u"2007_10_V02");
        about->CommandButton1_Click();
    };
    fake.program->forms().showAbout();
    EXPECT_EQ(fake.program->forms().userForm8IfLoaded(), nullptr);
}

// A path without blanks cannot be wrapped; laid out wrapped, a long one took seconds to minutes and
// gigabytes. It is shown on one line, shortened in the middle, whole in the tooltip.
TEST_F(SmallForms, ALongRegisteredPathIsShownOnOneLineShortenedInTheMiddle) {
    const std::u16string path = u"/srv/" + std::u16string(stddb::kLongestPath - 18, u'x') + u"/Tiermark.MDB";
    ASSERT_EQ(path.size(), stddb::kLongestPath);
    EXPECT_TRUE(fake.settings.SaveSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath, path).ok());
    settings::UserForm3* window = nullptr;
    fake.dialogs.onModal = [&](QDialog& dialog) {
        if (auto* w = qobject_cast<settings::UserForm3*>(&dialog)) {
            window = w;
            w->resize(460, 330);
            w->layout()->activate();  // the label gets its width now, without running the event loop
        }
    };
    fake.program->forms().userForm1().UserForm_Activate();  // no database: the fallback opens the settings
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Label2->caption(), path);
    EXPECT_EQ(window->Label2->toolTip().toStdU16String(), path);
    const QString shown = window->Label2->text();
    EXPECT_FALSE(window->Label2->wordWrap());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/srv/x"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("x/Tiermark.MDB"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_LE(window->Label2->fontMetrics().horizontalAdvance(shown), window->Label2->contentsRect().width());
}

TEST_F(SmallForms, ARegisteredTextLongerThanAnyPathCountsAsNotRegistered) {
    const std::u16string text(stddb::kLongestPath + 1, u'x');
    EXPECT_TRUE(fake.settings.SaveSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath, text).ok());
    settings::UserForm3* window = nullptr;
    fake.dialogs.onModal = [&](QDialog& dialog) { window = qobject_cast<settings::UserForm3*>(&dialog); };
    fake.program->forms().userForm1().UserForm_Activate();
    EXPECT_TRUE(fake.program->database().registeredPath().empty());
    EXPECT_TRUE(fake.workspace.openedPaths.empty());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Label2->caption(), u"格納されていません。詳しくはマニュアルを参照ください。");
}

}  // namespace
