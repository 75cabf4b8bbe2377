#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "builder/layer_set.h"
#include "common/result.h"
#include "layercheck/command_arguments.h"
#include "layercheck/command_line.h"
#include "stddb/shared_database.h"

// The drawing kinds of the database and their standards, read as the builder reads them: the one kind that
// tiermark-check is given, and every kind, from which the drawing-kind proposal chooses for a drawing whose
// kind nobody named.
namespace layercheck {

// Every value of one field of a table, filtered or not, through the shared result set.
tiermark::Result<std::vector<std::u16string>> columnOf(stddb::SharedDatabase& database,
                                                       std::u16string_view table, std::u16string_view field,
                                                       std::u16string_view filter = {});

// The standard of a drawing kind from its rows of "レイヤーテーブル" at a stage (an index into the stages;
// -1 for none), with its heading ("位置図（設計、D）").
ChosenStandard standardOfDrawing(stddb::SharedDatabase& database, const std::vector<builder::LayerRow>& rows,
                                 const std::vector<std::u16string>& stages, int stage,
                                 std::u16string_view drawing);

struct KindStandard {
    KindText kind;        // the stage, construction kind, work type, work-type key and drawing name
    std::u16string name;  // how the reports name it: "道路/道路一般/位置図（設計、D）"
    ChosenStandard chosen;
};

// Every drawing kind that has standard layers, in the database's order (construction kind, work type,
// drawing), at the stage named (none when the database lacks it or it is empty).
tiermark::Result<std::vector<KindStandard>> everyDrawingKind(stddb::SharedDatabase& database,
                                                             std::u16string_view stage);

}  // namespace layercheck
