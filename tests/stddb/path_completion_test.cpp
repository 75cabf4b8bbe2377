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
    };
    for (const auto& [pasted, completed] : cases) {
        EXPECT_EQ(CompletePastedPath(pasted), completed);
    }
}

}  // namespace
}  // namespace stddb
