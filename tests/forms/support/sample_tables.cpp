#include "tests/forms/support/sample_tables.h"

#include <filesystem>
#include <stdexcept>

#include "common/utf.h"
#include "stddb/memory_database.h"
#include "tools/mdbwriter/tsv_tables.h"

namespace testing_support {

using stddb::Column;
using stddb::Table;

Value text(const char16_t* s) {
    return Value{std::u16string(s)};
}

namespace {

// The tables of the sample database as data/ declares them, the tables the build writes Tiermark.MDB from;
// read once.
const std::vector<Table>& declaredTables() {
    static const std::vector<Table> tables = [] {
        auto read = mdbwriter::readTsvFolder(std::filesystem::path(TIERMARK_SAMPLE_DATA));
        if (!read) {
            throw std::runtime_error("the sample tables of data/ cannot be read: " + read.error().message);
        }
        return std::move(*read);
    }();
    return tables;
}

// An empty table of this set with the name and the columns (names, types, lengths) that data/ declares.
// The rows below are written for the columns named here: a column renamed, added or moved in data/ stops
// every test that uses the set, instead of the set drifting from the database the program reads.
Table makeTable(std::u16string name, const std::vector<std::u16string>& columns) {
    for (const Table& declared : declaredTables()) {
        if (declared.name != name) {
            continue;
        }
        std::vector<std::u16string> names;
        for (const Column& column : declared.columns) {
            names.push_back(column.name);
        }
        if (names != columns) {
            throw std::logic_error("the columns of " + tiermark::toUtf8(name) + " differ from data/");
        }
        Table t;
        t.name = std::move(name);
        t.columns = declared.columns;
        return t;
    }
    throw std::logic_error("data/ declares no table " + tiermark::toUtf8(name));
}

}  // namespace

SampleTables::SampleTables() {
    Table stages = makeTable(u"ライフサークルテーブル", {u"サイクル名"});
    for (const char16_t* stage : {u"測量", u"設計", u"施工", u"維持管理"}) {
        stages.rows.push_back({text(stage)});
    }
    tables.push_back(stages);

    Table kinds = makeTable(u"種別テーブル", {u"名称"});
    for (const char16_t* kind : {u"道路", u"河川", u"砂防", u"海岸", u"下水道", u"公園", u"電気通信"}) {
        kinds.rows.push_back({text(kind)});
    }
    tables.push_back(kinds);

    // Work types per kind number; kind 6 has none in this set.
    Table workTypes = makeTable(u"工種テーブル", {u"工種ID", u"種別", u"工種名"});
    const int counts[] = {10, 4, 17, 4, 47, 0, 1};
    for (int kind = 1; kind <= 7; ++kind) {
        for (int i = 1; i <= counts[kind - 1]; ++i) {
            std::u16string name = u"工種" + std::u16string(1, char16_t(u'0' + kind)) + u"-";
            name += std::u16string(1, char16_t(u'A' + i - 1));
            workTypes.rows.push_back(
                {num(static_cast<std::int64_t>(workTypes.rows.size()) + 1), num(kind), Value{name}});
        }
    }
    tables.push_back(workTypes);

    Table drawings = makeTable(u"図面マスター", {u"工種名", u"図面名称"});
    drawings.rows = {{num(1), text(u"一般図")},  {num(1), text(u"平面図")},  {num(2), text(u"縦断図")},
                     {num(19), text(u"構造図")}, {num(94), text(u"配置図")}, {num(1), text(u"it's")}};
    tables.push_back(drawings);

    Table layers = makeTable(u"レイヤーテーブル", {u"工種ID", u"図面名", u"備考", u"作図要素",
                                                   u"図面オブジェクト", u"内容", u"線種", u"線色"});
    layers.rows = {
        {num(1), text(u"一般図"), kNull, kNull, text(u"-TTL"), text(u"図枠"), text(u"実線"), text(u"黄")},
        {num(1), text(u"一般図"), kNull, text(u"-DIM"), text(u"-STR"), text(u"寸法"), text(u"実線"),
         text(u"白")},
        {num(1), text(u"一般図"), num(2), text(u"-STRn"), text(u"-BYP"), text(u"副構造物"), kNull, kNull},
        {num(1), text(u"一般図"), kNull, kNull, text(u"-BGD"), text(u"現況地物"), text(u"破線"),
         text(u"任意")},
        {num(19), text(u"構造図"), kNull, kNull, text(u"-STR"), text(u"構造物"), text(u"実線"), text(u"赤")},
    };
    tables.push_back(layers);

    Table colours = makeTable(u"線色マスター", {u"名称", u"色定数", u"r", u"G", u"b"});
    colours.rows = {{text(u"黒"), num(0), num(0), num(0), num(0)},
                    {text(u"赤"), num(1), num(255), num(0), num(0)},
                    {text(u"黄"), num(2), num(255), num(255), num(0)},
                    {text(u"白"), num(7), num(255), num(255), num(255)},
                    {text(u"茶"), num(20), num(128), num(64), num(0)},
                    {text(u"薄緑"), num(22), num(128), num(255), num(128)}};
    tables.push_back(colours);

    Table papers = makeTable(u"用紙テーブル", {u"呼び方", u"短辺寸法", u"長辺寸法"});
    papers.rows = {{text(u"A4"), num(210), num(297)},
                   {text(u"A3"), num(297), num(420)},
                   {text(u"A2"), num(420), num(594)},
                   {text(u"A1"), num(594), num(841)},
                   {text(u"A0"), num(841), num(1189)}};
    tables.push_back(papers);

    Table widths = makeTable(u"線幅テーブル", {u"線幅"});
    widths.rows = {{Value{0.13}}, {Value{0.25}}, {Value{0.5}}};
    tables.push_back(widths);

    Table standards = makeTable(u"基準案テーブル", {u"基準名", u"バージョン"});
    standards.rows = {{text(u"国土交通省 CAD製図基準（案）"), text(u"平成16年6月版")},
                      {text(u"国土交通省 CAD製図基準（案）　電気通信設備編"), text(u"平成17年8月版")},
                      {text(u"国土交通省 CAD製図基準（案）　機械設備工事編"), text(u"平成17年3月版")},
                      {text(u"農林水産省 電子化図面データの作成要領（案）"), text(u"平成17年3月版")}};
    tables.push_back(standards);
}

stddb::Table& SampleTables::table(std::u16string_view name) {
    for (Table& t : tables) {
        if (t.name == name) {
            return t;
        }
    }
    throw std::out_of_range("no such sample table");
}

std::unique_ptr<stddb::Database> SampleTables::open() const {
    return std::make_unique<stddb::MemoryDatabase>(tables);
}

}  // namespace testing_support
