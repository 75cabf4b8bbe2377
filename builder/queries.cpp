#include "builder/queries.h"

#include "builder/cascade.h"
#include "builder/value_text.h"

namespace builder {

tiermark::Result<std::u16string> fieldText(const stddb::Recordset& rows, std::u16string_view field) {
    auto value = rows.Field(field);
    if (!value) {
        return value.error();
    }
    return stddb::asText(*value);
}

tiermark::Result<std::vector<std::u16string>> columnTexts(stddb::Recordset& rows, std::u16string_view field) {
    std::vector<std::u16string> texts;
    while (!rows.Eof()) {
        auto text = fieldText(rows, field);
        if (!text) {
            return text.error();
        }
        texts.push_back(std::move(text.value()));
        auto next = rows.MoveNext();
        if (!next) {
            return next.error();
        }
    }
    return texts;
}

std::optional<stddb::Value> colourConstant(stddb::Database* database, std::u16string_view colourName) {
    if (database == nullptr) {
        return std::nullopt;
    }
    auto table = database->OpenRecordset(u"線色マスター");
    if (!table) {
        return std::nullopt;
    }
    (*table)->Filter = colourFilter(colourName);
    auto rows = (*table)->OpenRecordset();
    if (!rows || !(*rows)->MoveFirst()) {
        return std::nullopt;
    }
    auto value = (*rows)->Field(u"色定数");
    return value ? std::optional<stddb::Value>(*value) : std::nullopt;
}

tiermark::Result<std::vector<LayerRow>> layerRows(stddb::SharedDatabase& database, std::u16string_view key,
                                                  std::u16string_view drawing) {
    std::vector<LayerRow> rows;
    auto opened = database.openShared(u"レイヤーテーブル", layerFilter(key, drawing));
    if (!opened) {
        return opened.error();
    }
    stddb::Recordset& set = **opened;
    std::optional<tiermark::Error> failure;
    auto field = [&set, &failure](std::u16string_view name) {
        auto value = set.Field(name);
        if (!value) {
            failure = value.error();
            return stddb::Value{};
        }
        return value.value();
    };
    while (!set.Eof() && !failure) {
        rows.push_back(LayerRow{field(u"備考"), field(u"作図要素"), field(u"図面オブジェクト"),
                                field(u"内容"), field(u"線種"), field(u"線色")});
        if (auto next = set.MoveNext(); !next) {
            failure = next.error();
        }
    }
    if (failure) {
        return *failure;
    }
    return rows;
}

std::vector<stddb::TablePlan> builderTablePlans() {
    return {
        {u"ライフサークルテーブル", {}},
        {u"種別テーブル", {}},
        {u"線幅テーブル", {}},
        {u"用紙テーブル", {{u"呼び方"}}},
        {u"工種テーブル", {{u"種別"}}},
        {u"図面マスター", {{u"工種名"}}},
        {u"レイヤーテーブル", {{u"工種ID", u"図面名"}}},
        {u"線色マスター", {{u"名称"}}},
        {u"基準案テーブル", {}},
    };
}

tiermark::Result<void> preloadCascadeTables(stddb::Database& database) {
    return database.Preload(builderTablePlans());
}

std::u16string databaseUnreadableMessage(std::u16string_view path, bool changedWhileRead) {
    const std::u16string file = u"データベースファイル「" + std::u16string(path) + u"」";
    if (changedWhileRead) {
        return file +
               u"は読み込みの間に書き換えられました。\r"
               u"新しいデータベースのコピーが終わってから、もう一度開いてください。";
    }
    return file +
           u"を読み込めません。\r"
           u"ファイルがないか、ネットワーク上の共有フォルダーに接続できないか、ファイルが壊れているか"
           u"コピーの途中です。\r"
           u"組み込みのライフサイクルで続けます。データベースの場所を確かめてください。";
}

}  // namespace builder
