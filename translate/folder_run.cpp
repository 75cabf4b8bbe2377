#include "translate/folder_run.h"

#include <map>
#include <system_error>
#include <utility>

#include "builder/value_text.h"
#include "common/ascii.h"
#include "common/utf.h"
#include "dxf/layer_table.h"
#include "dxf/translated_copy.h"
#include "layercheck/drawing_file.h"
#include "translate/dxf_copy.h"

namespace translate {

namespace {

using layercheck::Verdict;

// The findings from the most severe down: a name AutoCAD LT cannot take, a layer outside the standard, a
// numbered member the kind does not allow, a standard layer missing, a standard layer with other
// properties.
constexpr std::array<Verdict, 5> kSeverity = {Verdict::Forbidden, Verdict::NotStandard,
                                              Verdict::NumberedNotAllowed, Verdict::Missing,
                                              Verdict::OtherProperties};

constexpr std::u16string_view kNoKind = u"この図面に当てはまる図面の種類がありません。";

void takeCheck(FileOutcome& outcome, const layercheck::Result& result) {
    outcome.counts = result.counts;
    outcome.worst.reset();
    for (Verdict verdict : kSeverity) {
        if (result.count(verdict) > 0) {
            outcome.worst = verdict;
            break;
        }
    }
}

// The file's layer table and its standard; false (the outcome says why) when either is missing.
bool readFile(FileOutcome& outcome, const StandardOfFile& standardOf, dxf::LayerTable& table,
              FileStandard& standard) {
    auto read = dxf::readLayerTableFile(outcome.file);
    if (!read) {
        outcome.error = tiermark::fromUtf8(read.error().message);
        return false;
    }
    table = std::move(*read);
    outcome.notes = layercheck::readingNotes(table);
    standard = standardOf(table.layers);
    outcome.heading = standard.heading;
    if (standard.standard == nullptr) {
        outcome.error = kNoKind;
        return false;
    }
    return true;
}

// Goes through the files, one outcome each, as long as the progress lets it.
template <typename OneFile>
FolderRun eachFile(const std::vector<std::filesystem::path>& files, const Progress& progress,
                   OneFile oneFile) {
    FolderRun run;
    run.files.reserve(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        FileOutcome outcome;
        outcome.file = files[i];
        oneFile(i, outcome);
        run.files.push_back(std::move(outcome));
        if (progress && !progress(i + 1, files.size())) {
            run.cancelled = i + 1 < files.size();
            break;
        }
    }
    return run;
}

// Where each copy goes: the file's name in the target folder, a second file of the same name (ASCII case
// aside) with "_2" after its stem.
std::vector<std::filesystem::path> targetsOf(const std::vector<std::filesystem::path>& files,
                                             const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> targets;
    std::map<std::u16string, int> taken;
    for (const std::filesystem::path& file : files) {
        const std::u16string stem = file.stem().u16string();
        const int seen = ++taken[tiermark::asciiLowercased(file.filename().u16string())];
        targets.push_back(
            seen == 1 ? folder / file.filename()
                      : folder / (stem + u"_" + builder::integerText(seen) + file.extension().u16string()));
    }
    return targets;
}

void translateFile(FileOutcome& outcome, const LayerMap& map, const StandardOfFile& standardOf,
                   const std::filesystem::path& target) {
    dxf::LayerTable table;
    FileStandard standard;
    if (!readFile(outcome, standardOf, table, standard)) {
        return;
    }
    Plan plan = planTranslation(table.layers, map, *standard.standard, table.currentLayer);
    auto copied =
        dxf::writeTranslatedCopy(outcome.file, target, layerChanges(table.layers, plan, *standard.standard));
    for (const Step& step : plan.steps) {
        if (step.outcome == Outcome::Refused) {
            // What the map asks but the copy does not do, and why.
            outcome.notes.push_back(u"画層" + layercheck::quoted(step.drawing) + u"→" +
                                    layercheck::quoted(step.standard) + u"：" + step.reason + u"。");
        }
    }
    outcome.plan = std::move(plan);
    if (!copied) {
        outcome.error = u"書き出せません：" + tiermark::fromUtf8(copied.error().message);
        return;
    }
    outcome.written = target;
    outcome.notes.insert(outcome.notes.end(), copied->notes.begin(), copied->notes.end());
    auto check = layercheck::checkDrawingFile(target, *standard.standard);
    if (!check) {
        outcome.error = u"書き出したファイルを読めません：" + tiermark::fromUtf8(check.error().message);
        return;
    }
    takeCheck(outcome, check->result);
}

}  // namespace

FolderRun checkFolder(const std::vector<std::filesystem::path>& files, const StandardOfFile& standardOf,
                      const Progress& progress) {
    return eachFile(files, progress, [&](std::size_t, FileOutcome& outcome) {
        dxf::LayerTable table;
        FileStandard standard;
        if (readFile(outcome, standardOf, table, standard)) {
            takeCheck(outcome, layercheck::checkLayers(table.layers, *standard.standard));
        }
    });
}

FolderRun translateFolder(const std::vector<std::filesystem::path>& files, const LayerMap& map,
                          const StandardOfFile& standardOf, const std::filesystem::path& targetFolder,
                          const Progress& progress) {
    std::error_code failure;
    std::filesystem::create_directories(targetFolder, failure);
    const bool folderReady = std::filesystem::is_directory(targetFolder, failure);
    const std::vector<std::filesystem::path> targets = targetsOf(files, targetFolder);
    // A copy may replace its own source (the user chose the source's folder), never another file of the
    // run, which would then be lost before it is read.
    std::map<std::filesystem::path, std::size_t> sources;
    for (std::size_t i = 0; i < files.size(); ++i) {
        sources.emplace(std::filesystem::weakly_canonical(files[i], failure), i);
    }
    return eachFile(files, progress, [&](std::size_t i, FileOutcome& outcome) {
        std::error_code unknown;
        const auto source = sources.find(std::filesystem::weakly_canonical(targets[i], unknown));
        if (!folderReady) {
            outcome.error = u"書き出し先のフォルダーを作れません。";
        } else if (source != sources.end() && source->second != i) {
            outcome.error = u"書き出し先（" + targets[i].filename().u16string() +
                            u"）が、ほかに変換する図面と同じファイルです。";
        } else {
            translateFile(outcome, map, standardOf, targets[i]);
        }
    });
}

}  // namespace translate
