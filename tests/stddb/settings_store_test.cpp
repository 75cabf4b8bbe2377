#include <gtest/gtest.h>

#include <QTemporaryDir>

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
        store.DeleteSetting(kSectionDatabase, kKeyDatabasePath);  // missing: no error
        store.SaveSetting(kSectionDatabase, kKeyDatabasePath, u"C:\\CAD\\Tiermark\\Tiermark.MDB");
        store.SaveSetting(kSectionLife, kKeyDefaultStage, u"設計");
        EXPECT_EQ(store.GetSetting(kSectionLife, kKeyDefaultStage), u"設計");
    }
    QtSettingsStore reopened(file);
    EXPECT_EQ(reopened.GetSetting(kSectionDatabase, kKeyDatabasePath), u"C:\\CAD\\Tiermark\\Tiermark.MDB");
    EXPECT_EQ(reopened.GetSetting(kSectionLife, kKeyDefaultStage), u"設計");
    reopened.DeleteSetting(kSectionDatabase, kKeyDatabasePath);
    EXPECT_EQ(reopened.GetSetting(kSectionDatabase, kKeyDatabasePath), u"");
    EXPECT_EQ(reopened.GetSetting(kSectionLife, kKeyDefaultStage), u"設計");
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
        store->DeleteSetting(kSectionLife, kKeyDefaultStage);
        store->SaveSetting(kSectionDatabase, kKeyDatabasePath, u"D:\\図面\\Tiermark.MDB");
        store->SaveSetting(kSectionLife, kKeyDefaultStage, u"施工");
        store->SaveSetting(kSectionLife, kKeyDefaultStage, u"");
    }
    same(kSectionDatabase, kKeyDatabasePath);
    same(kSectionLife, kKeyDefaultStage);
    same(kSectionDatabase, kKeyDefaultStage);  // a key of another section
    for (SettingsStore* store : {static_cast<SettingsStore*>(&real), static_cast<SettingsStore*>(&fake)}) {
        store->DeleteSetting(kSectionDatabase, kKeyDatabasePath);
    }
    same(kSectionDatabase, kKeyDatabasePath);
}

}  // namespace
}  // namespace stddb
