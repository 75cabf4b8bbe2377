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

}  // namespace builder
