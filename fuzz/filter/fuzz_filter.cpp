// The filter parser and its application to a small table. Input: one mode byte, then the filter text
// (UTF-8 when the mode byte is even, raw UTF-16LE units otherwise). Whatever the text, parsing ends in
// terms or an error; terms that parse are applied to rows of every value kind, Null included.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/utf.h"
#include "fuzz/support/fuzz_input.h"
#include "stddb/database.h"
#include "stddb/filter.h"

namespace {

const stddb::Table& sampleTable() {
    static const stddb::Table table = [] {
        stddb::Table t;
        t.name = u"図面マスター";
        t.columns = {{u"工種ID", stddb::ColumnType::Long, 0},
                     {u"図面名", stddb::ColumnType::Text, 50},
                     {u"尺度", stddb::ColumnType::Double, 0},
                     {u"名称", stddb::ColumnType::Memo, 0}};
        t.rows = {{std::int64_t{19}, std::u16string(u"一般図"), 0.5, std::u16string(u"")},
                  {std::int64_t{-3}, std::u16string(u"'"), 1e300, std::monostate{}},
                  {std::monostate{}, std::monostate{}, std::monostate{}, std::u16string(u"12.5")},
                  {std::int64_t{0}, std::u16string(u"平面図 "), -0.0, std::u16string(u"a and b")}};
        return t;
    }();
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tiermark::fuzz::FuzzInput input(data, size);
    const bool wide = (input.byte() & 1) != 0;
    const std::u16string filter = wide ? input.restUtf16() : tiermark::fromUtf8(input.restBytes());

    auto terms = stddb::parseFilter(filter);
    if (!terms) {
        if (terms.error().message.empty()) {
            std::abort();  // a refusal always says why
        }
        return 0;
    }
    const stddb::Table& table = sampleTable();
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        all.push_back(i);
    }
    auto rows = stddb::applyFilter(table, all, terms.value());
    if (rows) {
        // The rows that satisfy the filter come from the candidates, in their order, each once.
        std::size_t previous = 0;
        bool first = true;
        for (std::size_t row : rows.value()) {
            if (row >= table.rows.size() || (!first && row <= previous)) {
                std::abort();
            }
            previous = row;
            first = false;
        }
    }

    // The same filter through a result set, as the forms use it.
    auto shared = std::make_shared<const stddb::Table>(table);
    stddb::Recordset whole(shared, all);
    whole.Filter = filter;
    auto narrowed = whole.OpenRecordset();
    if (narrowed.ok() != rows.ok()) {
        std::abort();
    }
    if (narrowed) {
        for (; !narrowed.value()->Eof(); (void)narrowed.value()->MoveNext()) {
            (void)narrowed.value()->Field(u"図面名");
        }
    }
    return 0;
}
