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
