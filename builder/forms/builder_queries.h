#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "stddb/database.h"

namespace app {
class Program;
}  // namespace app

namespace builder {

// The query idiom of the builder: opens the table as a dynaset into the program's shared result set and,
// when a filter is given, opens the filtered result set in its place. Fails when no database is open, the
// table is missing or the filter is invalid.
tiermark::Result<stddb::Recordset*> openShared(app::Program& program, std::u16string_view table,
                                               std::u16string_view filter = {});

// A field of the current row as text (Null as empty text).
tiermark::Result<std::u16string> fieldText(const stddb::Recordset& rows, std::u16string_view field);

// Every value of one field, row by row from the current row to the end.
tiermark::Result<std::vector<std::u16string>> columnTexts(stddb::Recordset& rows, std::u16string_view field);

// "色定数" of the row of "線色マスター" whose "名称" is the colour name, read through a result set of the
// caller's own; nothing when there is no such row or the table cannot be read.
std::optional<stddb::Value> colourConstant(app::Program& program, std::u16string_view colourName);

}  // namespace builder
