#include "layercheck/drawing_kinds.h"

#include <algorithm>

#include "builder/cascade.h"
#include "builder/queries.h"

namespace layercheck {

tiermark::Result<std::vector<std::u16string>> columnOf(stddb::SharedDatabase& database,
                                                       std::u16string_view table, std::u16string_view field,
                                                       std::u16string_view filter) {
    auto rows = database.openShared(table, filter);
    if (!rows) {
        return rows.error();
    }
    return builder::columnTexts(**rows, field);
}

ChosenStandard standardOfDrawing(stddb::SharedDatabase& database, const std::vector<builder::LayerRow>& rows,
                                 const std::vector<std::u16string>& stages, int stage,
                                 std::u16string_view drawing) {
    stddb::Database* open = database.get();
    ChosenStandard chosen;
    chosen.standard = standardOf(
        rows, stage, [open](std::u16string_view colour) { return builder::colourConstant(open, colour); });
    const std::u16string letter = builder::lifeCycleLetter(stage);
    chosen.heading =
        std::u16string(drawing) + u"（" +
        (stage < 0 ? std::u16string(u"ライフサイクルなし") : stages[static_cast<std::size_t>(stage)]) +
        (letter.empty() ? u"" : u"、" + letter) + u"）";
    return chosen;
}

tiermark::Result<std::vector<KindStandard>> everyDrawingKind(stddb::SharedDatabase& database,
                                                             std::u16string_view stage) {
    auto stages = columnOf(database, u"ライフサークルテーブル", u"サイクル名");
    if (!stages) {
        return stages.error();
    }
    const auto found = std::find(stages->begin(), stages->end(), stage);
    const int stageIndex =
        stage.empty() || found == stages->end() ? -1 : static_cast<int>(found - stages->begin());
    auto kinds = columnOf(database, u"種別テーブル", u"名称");
    if (!kinds) {
        return kinds.error();
    }
    std::vector<KindStandard> every;
    for (std::size_t kindIndex = 0; kindIndex < kinds->size(); ++kindIndex) {
        auto workTypes = columnOf(database, u"工種テーブル", u"工種名",
                                  builder::kindFilter(static_cast<int>(kindIndex) + 1));
        if (!workTypes) {
            return workTypes.error();
        }
        for (std::size_t workIndex = 0; workIndex < workTypes->size(); ++workIndex) {
            const std::u16string key =
                builder::workTypeKeyText(static_cast<int>(kindIndex), static_cast<int>(workIndex));
            auto drawings = columnOf(database, u"図面マスター", u"図面名称", builder::workTypeFilter(key));
            if (!drawings) {
                return drawings.error();
            }
            for (const std::u16string& drawing : *drawings) {
                if (!builder::drawingNameFitsFilter(drawing)) {
                    continue;  // a name that no query can name holds no layers the builder can read
                }
                auto rows = builder::layerRows(database, key, drawing);
                if (!rows) {
                    return rows.error();
                }
                if (rows->empty()) {
                    continue;  // a drawing kind without standard layers matches no drawing
                }
                ChosenStandard chosen = standardOfDrawing(database, *rows, *stages, stageIndex, drawing);
                KindStandard kind;
                kind.kind = KindText{
                    stageIndex < 0 ? std::u16string() : (*stages)[static_cast<std::size_t>(stageIndex)],
                    (*kinds)[kindIndex], (*workTypes)[workIndex], key, drawing};
                kind.name = kind.kind.constructionKind + u"/" + kind.kind.workType + u"/" + chosen.heading;
                kind.chosen = std::move(chosen);
                every.push_back(std::move(kind));
            }
        }
    }
    return every;
}

}  // namespace layercheck
