// Settings that cannot be stored: the registration, its erasure and the default stage, each against a real
// settings store whose file cannot be written, tell the user what was not stored and where.
#include <gtest/gtest.h>
#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "app/form_registry.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "settings/forms/settings_window.h"
#include "stddb/forms/registration_form.h"
#include "stddb/qt_settings_store.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"

namespace {

using testing_support::ScriptedWorkspace;
using ui::RecordingDialogs;

// A program whose settings file lies under a regular file: no write can succeed, whoever runs the test
// (root included, for whom file modes are no obstacle).
class UnstoredSettings : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QFile blocker(m_dir.filePath(QStringLiteral("home")));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        m_file = m_dir.filePath(QStringLiteral("home/Tiermark.conf"));
        m_settings = std::make_unique<stddb::QtSettingsStore>(m_file);
        m_program =
            std::make_unique<app::Tiermark>(core::Services{m_windows, m_workspace, *m_settings, m_dialogs});
    }
    void TearDown() override { m_program.reset(); }

    std::u16string location() const { return QDir::toNativeSeparators(m_file).toStdU16String(); }

    QTemporaryDir m_dir;
    QString m_file;
    cadlink::FakeWindowSystem m_windows;
    ScriptedWorkspace m_workspace;
    RecordingDialogs m_dialogs;
    std::unique_ptr<stddb::QtSettingsStore> m_settings;
    std::unique_ptr<app::Tiermark> m_program;
};

TEST_F(UnstoredSettings, ARegistrationThatCannotBeStoredIsReportedAndHoldsForTheRun) {
    m_dialogs.onModal = [](QDialog& dialog) {
        if (auto* registration = qobject_cast<stddb::UserForm5*>(&dialog)) {
            registration->TextBox1->setText(QStringLiteral("/srv/cad/Tiermark.MDB"));
            registration->CommandButton1_Click();
        }
    };
    m_program->forms().showRegistration();
    ASSERT_FALSE(m_dialogs.messages.empty());
    EXPECT_EQ(m_dialogs.messages.front().text,
              u"データベースの登録を保存できませんでした。この登録は今回の起動の間だけ有効です。\r保存先：" +
                  location() + u"\r保存先に書き込めるか確認してください。");
    // The builder reloaded by the registration opens the path given, for this run.
    EXPECT_EQ(m_settings->GetSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath),
              u"/srv/cad/Tiermark.MDB");
    m_program->forms().userForm1().UserForm_Activate();
    EXPECT_EQ(m_program->database().registeredPath(), u"/srv/cad/Tiermark.MDB");
}

// Marks a file immutable, which no one can write, root included; false where the file system or the
// process's rights do not allow it.
bool setImmutable(const QString& file, bool immutable) {
#ifndef __linux__
    // Only Linux file systems have the immutable flag; the test is skipped elsewhere.
    (void)file;
    (void)immutable;
    return false;
#else
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
#endif
}

TEST_F(UnstoredSettings, AnErasureThatCannotBeStoredIsReportedBeforeTheProgramEnds) {
    // A registration in a settings file that cannot be written any more (left by a run with other rights).
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Tiermark.conf"));
    {
        QSettings written(file, QSettings::IniFormat);
        written.setValue(QStringLiteral("DBSET/DBFOLDER"), QStringLiteral("/srv/cad/Tiermark.MDB"));
    }
    if (!setImmutable(file, true)) {
        GTEST_SKIP() << "files cannot be made immutable here";
    }
    stddb::QtSettingsStore store(file);
    app::Tiermark program(core::Services{m_windows, m_workspace, store, m_dialogs});
    m_dialogs.onModal = [](QDialog& dialog) {
        if (auto* registration = qobject_cast<stddb::UserForm5*>(&dialog)) {
            registration->CommandButton2_Click();
        }
    };
    program.forms().showRegistration();
    setImmutable(file, false);
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text,
              u"登録の消去を保存できませんでした。次回の起動時にも登録は残ります。\r保存先：" +
                  QDir::toNativeSeparators(file).toStdU16String() +
                  u"\r保存先に書き込めるか確認してください。");
    EXPECT_EQ(m_dialogs.endRequests, 1);
    QFile stored(file);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_TRUE(stored.readAll().contains("DBFOLDER=/srv/cad/Tiermark.MDB"));  // the file as it was
}

TEST(UnstoredErasure, IsReportedWhateverTheStoreBehindIt) {
    testing_support::FakeProgram fake;
    fake.settings.values[u"DBSET/DBFOLDER"] = u"/srv/cad/Tiermark.MDB";
    fake.settings.refuseWrites = true;
    fake.dialogs.onModal = [](QDialog& dialog) {
        if (auto* registration = qobject_cast<stddb::UserForm5*>(&dialog)) {
            registration->CommandButton2_Click();
        }
    };
    fake.program->forms().showRegistration();
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text,
              u"登録の消去を保存できませんでした。次回の起動時にも登録は残ります。\r保存先：" +
                  std::u16string(stddb::MemorySettingsStore::kLocation) +
                  u"\r保存先に書き込めるか確認してください。");
    EXPECT_EQ(fake.dialogs.endRequests, 1);
}

TEST_F(UnstoredSettings, ADefaultStageThatCannotBeStoredIsReportedByBothButtons) {
    settings::UserForm3* window = nullptr;
    m_dialogs.onModal = [&](QDialog& dialog) {
        if (auto* w = qobject_cast<settings::UserForm3*>(&dialog)) {
            window = w;
        }
    };
    m_program->forms().showSettings();
    ASSERT_NE(window, nullptr);
    window->ListBox1->setListIndex(1);
    window->CommandButton2_Click();  // 閉じる
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text,
              u"開始時のライフサイクルの設定を保存できませんでした。この設定は今回の起動の間だけ有効です。"
              u"\r保存先：" +
                  location() + u"\r保存先に書き込めるか確認してください。");
    EXPECT_EQ(m_settings->GetSetting(stddb::kSectionLife, stddb::kKeyDefaultStage), u"設計");

    m_dialogs.onModal = nullptr;
    m_program->forms().showSettings();
    window->ListBox1->setListIndex(2);
    window->CommandButton1_Click();  // データベースの更新、変更
    EXPECT_EQ(m_dialogs.messages.size(), 2u);
}

TEST_F(UnstoredSettings, SettingsThatCanBeStoredSayNothing) {
    QTemporaryDir writable;
    stddb::QtSettingsStore store(writable.filePath(QStringLiteral("Tiermark.conf")));
    app::Tiermark program(core::Services{m_windows, m_workspace, store, m_dialogs});
    m_dialogs.onModal = [](QDialog& dialog) {
        if (auto* w = qobject_cast<settings::UserForm3*>(&dialog)) {
            w->ListBox1->setListIndex(0);
            w->CommandButton2_Click();
        }
    };
    program.forms().showSettings();
    EXPECT_TRUE(m_dialogs.messages.empty());
    stddb::QtSettingsStore reopened(writable.filePath(QStringLiteral("Tiermark.conf")));
    EXPECT_EQ(reopened.GetSetting(stddb::kSectionLife, stddb::kKeyDefaultStage), u"測量");
}

}  // namespace
