// Opens the input as a database file through the Jet workspace and reads every table the program reads
// (and the tables of the seed fixtures) whole. Whatever the bytes, this must end in a result: no crash,
// no hang, no memory error.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "stddb/jet_workspace.h"

namespace {

const std::u16string kTables[] = {u"ライフサークルテーブル", u"種別テーブル",     u"工種テーブル",
                                  u"図面マスター",           u"レイヤーテーブル", u"線色マスター",
                                  u"線幅テーブル",           u"用紙テーブル",     u"基準案テーブル"};

const std::filesystem::path& inputPath() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tiermark-fuzz-" + std::to_string(::getpid()) + ".mdb");
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path& path = inputPath();
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    } else {
        return 0;
    }
    stddb::JetWorkspace workspace;
    auto db = workspace.OpenDatabase(path.u16string(), false, false, stddb::kConnectString);
    if (db) {
        for (const auto& table : kTables) {
            auto rs = db.value()->OpenRecordset(table);
            if (rs) {
                for (; !rs.value()->Eof(); (void)rs.value()->MoveNext()) {
                    (void)rs.value()->Field(u"名称");
                }
            }
        }
    }
    return 0;
}
