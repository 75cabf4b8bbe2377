#include "builder/forms/builder_queries.h"

#include "app/program.h"
#include "builder/cascade.h"
#include "builder/value_text.h"

namespace builder {

tiermark::Result<stddb::Recordset*> openShared(app::Program& program, std::u16string_view table,
                                               std::u16string_view filter) {
    program.SharedRecordset.reset();
    if (!program.SharedDatabase) {
        return tiermark::makeError("no database is open");
    }
    auto opened = program.SharedDatabase->OpenRecordset(table);
    if (!opened) {
        return opened.error();
    }
    program.SharedRecordset = std::move(opened.value());
    if (!filter.empty()) {
        program.SharedRecordset->Filter = std::u16string(filter);
        auto filtered = program.SharedRecordset->OpenRecordset();
        if (!filtered) {
            return filtered.error();
        }
        program.SharedRecordset = std::move(filtered.value());
    }
    return program.SharedRecordset.get();
}

tiermark::Result<std::u16string> fieldText(const stddb::Recordset& rows, std::u16string_view field) {
    auto value = rows.Field(field);
    if (!value) {
        return value.error();
    }
    return valueText(*value);
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

std::optional<stddb::Value> colourConstant(app::Program& program, std::u16string_view colourName) {
    if (!program.SharedDatabase) {
        return std::nullopt;
    }
    auto table = program.SharedDatabase->OpenRecordset(u"線色マスター");
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

}  // namespace builder
