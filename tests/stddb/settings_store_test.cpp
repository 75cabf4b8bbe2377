#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <future>
#include <thread>

#include "stddb/memory_settings_store.h"
#include "stddb/qt_settings_store.h"

namespace stddb {
namespace {

TEST(QtSettingsStore, KeepsOneTextPerSectionAndKey) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    {
        QtSettingsStore store(file);
        EXPECT_EQ(store.GetSetting(kSectionDatabase, kKeyDatabasePath), u"");
        EXPECT_TRUE(store.DeleteSetting(kSectionDatabase, kKeyDatabasePath).ok());  // missing: no error
        EXPECT_TRUE(
            store.SaveSetting(kSectionDatabase, kKeyDatabasePath, u"C:\\CAD\\Tiermark\\Tiermark.MDB").ok());
        EXPECT_TRUE(store.SaveSetting(kSectionLife, kKeyDefaultStage, u"設計").ok());
        EXPECT_EQ(store.GetSetting(kSectionLife, kKeyDefaultStage), u"設計");
        EXPECT_TRUE(store.openingProblem().empty());
    }
    QtSettingsStore reopened(file);
    EXPECT_EQ(reopened.GetSetting(kSectionDatabase, kKeyDatabasePath), u"C:\\CAD\\Tiermark\\Tiermark.MDB");
    EXPECT_EQ(reopened.GetSetting(kSectionLife, kKeyDefaultStage), u"設計");
    EXPECT_TRUE(reopened.DeleteSetting(kSectionDatabase, kKeyDatabasePath).ok());
    EXPECT_EQ(reopened.GetSetting(kSectionDatabase, kKeyDatabasePath), u"");
    EXPECT_EQ(reopened.GetSetting(kSectionLife, kKeyDefaultStage), u"設計");
}

TEST(QtSettingsStore, TheUsersStoreIsTheFileOfTheNativeFormat) {
    // A registration made by an earlier version (through QSettings's native format) is still found.
    QTemporaryDir config;
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    {
        QSettings native(QSettings::NativeFormat, QSettings::UserScope,
                         QString::fromLatin1(kSettingsOrganisation),
                         QString::fromLatin1(kSettingsApplication));
        native.setValue(QStringLiteral("DBSET/DBFOLDER"), QStringLiteral("/srv/Tiermark.MDB"));
    }
    QtSettingsStore store;
    EXPECT_EQ(store.GetSetting(kSectionDatabase, kKeyDatabasePath), u"/srv/Tiermark.MDB");
    EXPECT_EQ(
        store.location(),
        (config.path() + QStringLiteral("/VB and VBA Program Settings/Tiermark.conf")).toStdU16String());
    qputenv("XDG_CONFIG_HOME", previous);
}

TEST(QtSettingsStore, AFolderThatDoesNotExistYetIsMade) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("new/folder/Tiermark.conf"));
    QtSettingsStore store(file);
    EXPECT_TRUE(store.SaveSetting(kSectionLife, kKeyDefaultStage, u"施工").ok());
    EXPECT_TRUE(QFile::exists(file));
}

// Under a regular file no settings file can be made, whoever runs the test (root included).
TEST(QtSettingsStore, AWriteThatFailsIsReportedAndReadsBackForTheRun) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("home")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString file = dir.filePath(QStringLiteral("home/Tiermark.conf"));
    QtSettingsStore store(file);
    EXPECT_TRUE(store.openingProblem().empty());  // a file that cannot exist reads as empty, no problem yet
    EXPECT_FALSE(store.SaveSetting(kSectionDatabase, kKeyDatabasePath, u"/srv/Tiermark.MDB").ok());
    EXPECT_EQ(store.GetSetting(kSectionDatabase, kKeyDatabasePath), u"/srv/Tiermark.MDB");
    EXPECT_FALSE(store.DeleteSetting(kSectionDatabase, kKeyDatabasePath).ok());
    EXPECT_EQ(store.GetSetting(kSectionDatabase, kKeyDatabasePath), u"");
    EXPECT_EQ(store.location(), QDir::toNativeSeparators(file).toStdU16String());

    // Once the folder can be made, the next write is judged on its own (QSettings keeps its first error).
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("home"))));
    EXPECT_TRUE(store.SaveSetting(kSectionLife, kKeyDefaultStage, u"設計").ok());
    QtSettingsStore reopened(file);
    EXPECT_EQ(reopened.GetSetting(kSectionLife, kKeyDefaultStage), u"設計");
    EXPECT_EQ(reopened.GetSetting(kSectionDatabase, kKeyDatabasePath), u"");  // never stored
}

// Opens the store on its own thread: a store that waits on a FIFO for ever fails the test in seconds
// instead of hanging it, and the FIFO is then opened for writing to let the stuck thread go.
std::u16string openedProblem(const QString& file, bool& inTime) {
    auto opened = std::async(std::launch::async, [file] {
        QtSettingsStore store(file);
        const std::u16string stage = store.GetSetting(kSectionLife, kKeyDefaultStage);
        return stage + u"|" + store.openingProblem();
    });
    inTime = opened.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!inTime) {
        const int writer = ::open(file.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            ::close(writer);
        }
    }
    return opened.get();
}

TEST(QtSettingsStore, AFifoOrAFolderInPlaceOfTheFileReadsAsEmptyAndIsReported) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.conf"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.conf"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString link = dir.filePath(QStringLiteral("link.conf"));
    ASSERT_TRUE(QFile::link(fifo, link));
    for (const QString& file : {fifo, folder, link}) {
        SCOPED_TRACE(file.toStdString());
        bool inTime = false;
        const std::u16string seen = openedProblem(file, inTime);
        EXPECT_TRUE(inTime);
        EXPECT_EQ(
            seen,
            u"|設定ファイルが通常のファイルではないため、読み込めませんでした。登録のない状態で起動します。"
            u"\r保存先：" +
                QDir::toNativeSeparators(file).toStdU16String());
    }
    QtSettingsStore store(fifo);
    EXPECT_FALSE(store.SaveSetting(kSectionLife, kKeyDefaultStage, u"測量").ok());
    EXPECT_EQ(store.GetSetting(kSectionLife, kKeyDefaultStage), u"測量");  // for this run
}

TEST(QtSettingsStore, AFifoPutInPlaceAfterStartIsNotWaitedOn) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Tiermark.conf"));
    QtSettingsStore store(file);
    ASSERT_TRUE(store.SaveSetting(kSectionLife, kKeyDefaultStage, u"設計").ok());
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_EQ(::mkfifo(file.toLocal8Bit().constData(), 0600), 0);
    auto saved = std::async(std::launch::async, [&store] {
        return store.SaveSetting(kSectionLife, kKeyDefaultStage, u"施工").ok();
    });
    const bool inTime = saved.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!inTime) {
        const int writer = ::open(file.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            ::close(writer);
        }
    }
    EXPECT_TRUE(inTime);
    EXPECT_FALSE(saved.get());
    EXPECT_EQ(store.GetSetting(kSectionLife, kKeyDefaultStage), u"施工");
}

// The fake that the tests, the benchmarks and the road use answers every step as the real store does.
TEST(MemorySettingsStore, AnswersAsTheQtStoreDoes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtSettingsStore real(dir.filePath(QStringLiteral("settings.ini")));
    MemorySettingsStore fake;
    const auto same = [&](std::u16string_view section, std::u16string_view key) {
        EXPECT_EQ(fake.GetSetting(section, key), real.GetSetting(section, key));
    };
    for (SettingsStore* store : {static_cast<SettingsStore*>(&real), static_cast<SettingsStore*>(&fake)}) {
        EXPECT_TRUE(store->DeleteSetting(kSectionLife, kKeyDefaultStage).ok());
        EXPECT_TRUE(store->SaveSetting(kSectionDatabase, kKeyDatabasePath, u"D:\\図面\\Tiermark.MDB").ok());
        EXPECT_TRUE(store->SaveSetting(kSectionLife, kKeyDefaultStage, u"施工").ok());
        EXPECT_TRUE(store->SaveSetting(kSectionLife, kKeyDefaultStage, u"").ok());
    }
    same(kSectionDatabase, kKeyDatabasePath);
    same(kSectionLife, kKeyDefaultStage);
    same(kSectionDatabase, kKeyDefaultStage);  // a key of another section
    for (SettingsStore* store : {static_cast<SettingsStore*>(&real), static_cast<SettingsStore*>(&fake)}) {
        EXPECT_TRUE(store->DeleteSetting(kSectionDatabase, kKeyDatabasePath).ok());
    }
    same(kSectionDatabase, kKeyDatabasePath);

    // A store that cannot be written: both fail, and both give the value back for the run.
    QFile blocker(dir.filePath(QStringLiteral("home")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    QtSettingsStore unwritable(dir.filePath(QStringLiteral("home/settings.ini")));
    fake.refuseWrites = true;
    for (SettingsStore* store :
         {static_cast<SettingsStore*>(&unwritable), static_cast<SettingsStore*>(&fake)}) {
        EXPECT_FALSE(store->SaveSetting(kSectionLife, kKeyDefaultStage, u"維持管理").ok());
        EXPECT_EQ(store->GetSetting(kSectionLife, kKeyDefaultStage), u"維持管理");
    }
}

}  // namespace
}  // namespace stddb
