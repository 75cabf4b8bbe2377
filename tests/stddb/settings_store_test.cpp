#include <gtest/gtest.h>

#include <QTemporaryDir>

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

}  // namespace
}  // namespace stddb
