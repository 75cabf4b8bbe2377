// tiermark-export-all: every layer set the sample database can export, written as the builder's
// "DXF・スクリプト書き出し..." writes it, for the test that audits each with an independent reader (ezdxf).
//
//   tiermark-export-all DATABASE FOLDER
//
// For every construction kind, work type and drawing kind of the database: one file per life-cycle stage
// with the stage letter in the names, and one with the content texts ("内容") as names; beside them
// manifest.json, which says for each file the layers the database gives (name, colour, line type).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "builder/cascade.h"
#include "builder/layer_set.h"
#include "builder/layer_set_export.h"
#include "builder/queries.h"
#include "cadsim/core/json.h"
#include "common/utf.h"
#include "stddb/jet_workspace.h"
#include "stddb/shared_database.h"

namespace {

std::vector<std::u16string> column(stddb::SharedDatabase& database, std::u16string_view table,
                                   std::u16string_view field, std::u16string_view filter = {}) {
    auto rows = database.openShared(table, filter);
    if (!rows) {
        return {};
    }
    auto texts = builder::columnTexts(**rows, field);
    return texts ? *texts : std::vector<std::u16string>{};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tiermark-export-all DATABASE FOLDER\n");
        return 2;
    }
    stddb::JetWorkspace workspace;
    stddb::SharedDatabase database;
    if (auto opened = database.open(workspace, tiermark::fromUtf8(argv[1])); !opened) {
        std::fprintf(stderr, "%s\n", opened.error().message.c_str());
        return 2;
    }
    const std::filesystem::path folder = argv[2];
    std::filesystem::create_directories(folder);
    stddb::Database* open = database.get();
    const builder::ColourLookup colours = [open](std::u16string_view name) {
        return builder::colourConstant(open, name);
    };
    const std::size_t stages = column(database, u"ライフサークルテーブル", u"サイクル名").size();
    const std::vector<std::u16string> kinds = column(database, u"種別テーブル", u"名称");
    std::string manifest = "{";
    int files = 0;
    int failures = 0;
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
        const auto workTypes =
            column(database, u"工種テーブル", u"工種名", builder::kindFilter(static_cast<int>(kind) + 1));
        for (std::size_t work = 0; work < workTypes.size(); ++work) {
            const std::u16string key =
                builder::workTypeKeyText(static_cast<int>(kind), static_cast<int>(work));
            for (const std::u16string& drawing :
                 column(database, u"図面マスター", u"図面名称", builder::workTypeFilter(key))) {
                auto rows = builder::layerRows(database, key, drawing);
                if (!rows) {
                    continue;
                }
                // The stages with their letters, then the content texts (the same for every stage).
                for (int stage = 0; stage <= static_cast<int>(stages); ++stage) {
                    const bool letters = stage < static_cast<int>(stages);
                    const auto layers = builder::plannedLayers(*rows, letters ? stage : 0, letters, colours);
                    auto written = builder::layerSetFiles(layers);
                    const std::string name =
                        "k" + std::to_string(kind) + "-w" + std::to_string(work) + "-" +
                        tiermark::toUtf8(drawing) + "-" +
                        (letters ? "s" + std::to_string(stage) : std::string("content")) + ".dxf";
                    if (!written) {
                        std::fprintf(stderr, "%s: %s\n", name.c_str(), written.error().message.c_str());
                        ++failures;
                        continue;
                    }
                    std::ofstream(folder / std::filesystem::path(tiermark::fromUtf8(name)), std::ios::binary)
                        << written->dxf;
                    std::string entries;
                    for (const cadlink::LayerRecord& layer : layers) {
                        bool leftOut = false;
                        for (const auto& out : written->leftOut) {
                            leftOut = leftOut || out == layer.name;
                        }
                        if (leftOut) {
                            continue;
                        }
                        entries += std::string(entries.empty() ? "" : ", ") + "[" +
                                   cadsim::jsonString(layer.name) + ", " + std::to_string(layer.colour) +
                                   ", " + cadsim::jsonString(cadlink::effectiveLinetype(layer)) + "]";
                    }
                    manifest += std::string(files == 0 ? "" : ",\n") +
                                cadsim::jsonString(tiermark::fromUtf8(name)) + ": [" + entries + "]";
                    ++files;
                }
            }
        }
    }
    std::ofstream(folder / "manifest.json", std::ios::binary) << manifest << "}\n";
    std::printf("%d layer sets written, %d refused\n", files, failures);
    return failures == 0 ? 0 : 1;
}
