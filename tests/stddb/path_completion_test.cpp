#include "stddb/path_completion.h"

#include <gtest/gtest.h>

namespace stddb {
namespace {

TEST(PastedPath, CompletesFoldersAndKeepsTheFourFileNames) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"C:\\CAD\\Tiermark", u"C:\\CAD\\Tiermark\\Tiermark.MDB"},
        {u"C:\\CAD\\TIERMARK", u"C:\\CAD\\TIERMARK\\Tiermark.MDB"},
        {u"C:\\CAD\\", u"C:\\CAD\\Tiermark.MDB"},
        {u"C:\\CAD\\TIERMARK.mdb", u"C:\\CAD\\TIERMARK.mdb"},
        {u"C:\\CAD\\Tiermark.MDB", u"C:\\CAD\\Tiermark.MDB"},
        {u"C:\\CAD\\tiermark.mdb", u"C:\\CAD\\tiermark.mdb\\Tiermark.MDB"},
        {u"C:\\CAD", u"C:\\CAD\\Tiermark.MDB"},
        {u"", u"\\Tiermark.MDB"},
        // What Explorer's "パスのコピー" and other copies bring along is dropped.
        {u"\"C:\\CAD\\Tiermark\"", u"C:\\CAD\\Tiermark\\Tiermark.MDB"},
        {u"  \"C:\\CAD\\Tiermark.MDB\"\r\n", u"C:\\CAD\\Tiermark.MDB"},
        {u"\tC:\\CAD\\\n", u"C:\\CAD\\Tiermark.MDB"},
        {u"　D:\\共有\\Tiermark　", u"D:\\共有\\Tiermark\\Tiermark.MDB"},
    };
    for (const auto& [pasted, completed] : cases) {
        EXPECT_EQ(CompletePastedPath(pasted, u'\\'), completed);
    }
}

TEST(PastedPath, UsesTheSeparatorThePathUses) {
    // On Linux ("/" is the platform's own): a Linux path goes on with "/", a Windows path keeps "\".
    const std::pair<std::u16string, std::u16string> onLinux[] = {
        {u"/home/user/Tiermark", u"/home/user/Tiermark/Tiermark.MDB"},
        {u"/home/user/", u"/home/user/Tiermark.MDB"},
        {u"/home/user/cad", u"/home/user/cad/Tiermark.MDB"},
        {u"/home/user/Tiermark.MDB\n", u"/home/user/Tiermark.MDB"},
        {u"C:\\CAD\\Tiermark", u"C:\\CAD\\Tiermark\\Tiermark.MDB"},
        {u"Tiermark", u"Tiermark/Tiermark.MDB"},
        {u"", u"/Tiermark.MDB"},
    };
    for (const auto& [pasted, completed] : onLinux) {
        EXPECT_EQ(CompletePastedPath(pasted, u'/'), completed);
    }
    // On Windows a path written with "/" goes on with "/".
    EXPECT_EQ(CompletePastedPath(u"C:/CAD/Tiermark", u'\\'), u"C:/CAD/Tiermark/Tiermark.MDB");
}

}  // namespace
}  // namespace stddb

namespace stddb {
namespace {

TEST(PastedPath, KeepsTheFormOfAPathOnANetworkShare) {
    struct Case {
        const char16_t* pasted;
        char16_t native;
        const char16_t* completed;
    };
    const Case cases[] = {
        // Windows: a UNC path stays one, folder or file, quoted or not.
        {u"\\\\server\\share", u'\\', u"\\\\server\\share\\Tiermark.MDB"},
        {u"\\\\server\\share\\", u'\\', u"\\\\server\\share\\Tiermark.MDB"},
        {u"\\\\server\\share\\CAD\\Tiermark", u'\\', u"\\\\server\\share\\CAD\\Tiermark\\Tiermark.MDB"},
        {u"\"\\\\server\\share\\CAD\\TIERMARK.MDB\"", u'\\', u"\\\\server\\share\\CAD\\TIERMARK.MDB"},
        {u" \\\\ファイル鯖\\共有\\基準\r\n", u'\\', u"\\\\ファイル鯖\\共有\\基準\\Tiermark.MDB"},
        {u"\\\\192.168.1.5\\cad$\\Tiermark.mdb", u'\\', u"\\\\192.168.1.5\\cad$\\Tiermark.mdb"},
        {u"//server/share/CAD", u'\\', u"//server/share/CAD/Tiermark.MDB"},
        // Linux: the same text pasted keeps its backslashes; a share mounted as a folder is a plain path.
        {u"\\\\server\\share\\CAD", u'/', u"\\\\server\\share\\CAD\\Tiermark.MDB"},
        {u"/mnt/share/CAD/Tiermark", u'/', u"/mnt/share/CAD/Tiermark/Tiermark.MDB"},
        {u"//server/share", u'/', u"//server/share/Tiermark.MDB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompletePastedPath(c.pasted, c.native), c.completed);
    }
}

TEST(ChosenPath, GivesTheDialogsChoiceInThePlatformsOwnForm) {
    struct Case {
        const char16_t* chosen;
        char16_t native;
        const char16_t* shown;
    };
    const Case cases[] = {
        {u"//server/share/CAD/Tiermark.MDB", u'\\', u"\\\\server\\share\\CAD\\Tiermark.MDB"},
        {u"C:/CAD/Tiermark.MDB", u'\\', u"C:\\CAD\\Tiermark.MDB"},
        {u"\\\\server\\share\\Tiermark.MDB", u'\\', u"\\\\server\\share\\Tiermark.MDB"},
        {u"/home/user/Tiermark.MDB", u'/', u"/home/user/Tiermark.MDB"},
        {u"/mnt/共有/a\\b.MDB", u'/', u"/mnt/共有/a\\b.MDB"},  // a backslash is a name's character here
        {u"", u'\\', u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChosenFilePath(c.chosen, c.native), c.shown);
    }
}

}  // namespace
}  // namespace stddb
