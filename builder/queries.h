#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "builder/layer_set.h"
#include "common/result.h"
#include "stddb/database.h"
#include "stddb/shared_database.h"

namespace builder {

// Reading the result sets of the builder's queries (opened through stddb::SharedDatabase::openShared).

// A field of the current row as text (Null as empty text).
tiermark::Result<std::u16string> fieldText(const stddb::Recordset& rows, std::u16string_view field);

// Every value of one field, row by row from the current row to the end.
tiermark::Result<std::vector<std::u16string>> columnTexts(stddb::Recordset& rows, std::u16string_view field);

// "色定数" of the row of "線色マスター" whose "名称" is the colour name, read through a result set of the
// caller's own; nothing when no database is open, there is no such row or the table cannot be read.
std::optional<stddb::Value> colourConstant(stddb::Database* database, std::u16string_view colourName);

// The rows of "レイヤーテーブル" for a work-type key and a drawing kind, read whole through the shared result
// set, which is released before this returns: nothing that happens while the numbered-layer form is open
// (the builder's start-up runs again when it closes) can disturb a walk over them. Fails when the table
// cannot be opened or read, or lacks one of the fields.
tiermark::Result<std::vector<LayerRow>> layerRows(stddb::SharedDatabase& database, std::u16string_view key,
                                                  std::u16string_view drawing);

// The tables the builder and the forms it opens read, each with the sets of fields its filters compare.
std::vector<stddb::TablePlan> builderTablePlans();

// Reads the builder's tables ahead of its queries, all from the database just opened, indexed for the
// cascade's filters: no click then reads the file or compares every row of the layer table, and every list
// comes from one state of the file. A table the database lacks is left to its query, which reports it.
// Fails when a table cannot be read or the file changed while they were read.
tiermark::Result<void> preloadCascadeTables(stddb::Database& database);

// What the builder says when the registered database file cannot be read at its start-up (missing, not a
// database, damaged, truncated, being replaced, or on a share that cannot be reached); changedWhileRead
// when it changed while its tables were read.
std::u16string databaseUnreadableMessage(std::u16string_view path, bool changedWhileRead);

}  // namespace builder
