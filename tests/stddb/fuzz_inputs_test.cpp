// The fuzz target's seeds and every input it once crashed on, opened and read as the fuzz target does:
// each must end in a result (open or refusal), never a crash.
#include <gtest/gtest.h>

#include <filesystem>

#include "stddb/jet_workspace.h"

namespace stddb {
namespace {

TEST(FuzzInputs, OpenOrFailCleanly) {
    const std::filesystem::path root = TIERMARK_FUZZ_INPUTS;
    std::size_t seen = 0;
    std::size_t seeds = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        for (const auto& entry : std::filesystem::directory_iterator(root / folder)) {
            ++seen;
            JetWorkspace workspace;
            auto db = workspace.OpenDatabase(entry.path().u16string(), false, false, kConnectString);
            if (std::string(folder) == "corpus") {
                EXPECT_TRUE(db.ok()) << entry.path() << ": " << db.error().message;
                seeds += db.ok() ? 1 : 0;
            }
            if (!db) {
                continue;
            }
            for (const auto* table : {u"ライフサークルテーブル", u"種別テーブル", u"工種テーブル",
                                      u"図面マスター", u"レイヤーテーブル", u"線色マスター", u"線幅テーブル",
                                      u"用紙テーブル", u"基準案テーブル"}) {
                (void)db.value()->OpenRecordset(table);
            }
        }
    }
    EXPECT_GE(seen, 4u);
    EXPECT_GE(seeds, 3u);
}

}  // namespace
}  // namespace stddb
