#include "translate/check_command.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "builder/value_text.h"
#include "common/utf.h"
#include "layercheck/drawing_file.h"
#include "layercheck/drawing_kinds.h"
#include "translate/folder_run.h"
#include "translate/kind_choice.h"

namespace translate {

namespace {

using layercheck::CheckRequest;
using layercheck::CheckServices;
using layercheck::shownPath;

// The standards the drawings are checked against: the one kind named, or every kind, for each drawing
// the best match.
struct Kinds {
    std::vector<layercheck::Standard> standards;
    std::vector<std::u16string> names;
    bool automatic = false;

    FileStandard of(const std::vector<cadlink::DrawingLayer>& layers) const {
        if (!automatic) {
            return {&standards.front(), names.front()};
        }
        return bestKindOfFile(standards, names)(layers);
    }
};

// Every kind at every stage, for "--kind auto": a drawing's names carry the stage's letter, so the best match
// names the stage too.
tiermark::Result<Kinds> everyKind(stddb::SharedDatabase& database) {
    auto stages = layercheck::columnOf(database, u"ライフサークルテーブル", u"サイクル名");
    if (!stages) {
        return stages.error();
    }
    if (stages->empty()) {
        stages->emplace_back();
    }
    Kinds kinds;
    kinds.automatic = true;
    for (const std::u16string& stage : *stages) {
        auto every = layercheck::everyDrawingKind(database, stage);
        if (!every) {
            return every.error();
        }
        for (layercheck::KindStandard& kind : *every) {
            kinds.standards.push_back(std::move(kind.chosen.standard));
            kinds.names.push_back(std::move(kind.name));
        }
    }
    if (kinds.standards.empty()) {
        return layercheck::commandError(u"データベースに標準レイヤーのある図面の種類がありません。");
    }
    return kinds;
}

tiermark::Result<Kinds> kindsOf(const CheckRequest& request, stddb::SharedDatabase& database,
                                const std::u16string& defaultStage) {
    if (request.kind == layercheck::kAutomaticKind) {
        return everyKind(database);
    }
    Kinds kinds;
    auto kind = layercheck::parseKind(request.kind);
    if (!kind) {
        return kind.error();
    }
    auto chosen = layercheck::standardOfKind(database, *kind, defaultStage);
    if (!chosen) {
        return chosen.error();
    }
    kinds.standards.push_back(std::move(chosen->standard));
    kinds.names.push_back(std::move(chosen->heading));
    return kinds;
}

// The drawings of every input, in order; an input that names none is said, and errors set.
std::vector<std::filesystem::path> everyDrawing(const std::vector<std::u16string>& inputs,
                                                const CheckServices& services, bool& errors) {
    std::vector<std::filesystem::path> drawings;
    for (const std::u16string& input : inputs) {
        auto found = layercheck::drawingsOf(std::filesystem::path(input));
        if (!found) {
            services.err(shownPath(std::filesystem::path(input)) + u": " +
                         tiermark::fromUtf8(found.error().message));
            errors = true;
            continue;
        }
        drawings.insert(drawings.end(), found->begin(), found->end());
    }
    return drawings;
}

tiermark::Result<LayerMap> readMap(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return layercheck::commandError(u"レイヤー対応表を開けません：" + shownPath(path));
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto map = parseMapFile(bytes);
    if (!map) {
        return layercheck::commandError(u"レイヤー対応表を読めません：" + shownPath(path) + u"（" +
                                        tiermark::fromUtf8(map.error().message) + u"）");
    }
    return map;
}

bool save(const std::filesystem::path& path, const std::string& bytes, std::u16string_view what,
          const CheckServices& services) {
    std::error_code ignored;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ignored);
    }
    if (auto saved = services.saveFile(path, bytes); !saved) {
        services.err(shownPath(path) + u": " + std::u16string(what) + u"を保存できませんでした（" +
                     tiermark::fromUtf8(saved.error().message) + u"）");
        return false;
    }
    return true;
}

// The plan's counts in one line: "名前を変更：2　統合：1　…".
std::u16string planText(const Plan& plan) {
    std::u16string text;
    for (std::size_t i = 0; i < kOutcomeCount; ++i) {
        const auto outcome = static_cast<Outcome>(i);
        text += (text.empty() ? u"" : u"　") + std::u16string(outcomeText(outcome)) + u"：" +
                builder::integerText(plan.count(outcome));
    }
    return text;
}

// What the command prints of one file: its summary line (the check of the drawing, or of its translated
// copy) and its notes; false when it could not be done (said).
bool tell(const FileOutcome& file, const Kinds& kinds, const CheckServices& services, bool& findings) {
    const std::u16string name = shownPath(file.file);
    if (!file.error.empty()) {
        services.err(name + u": " + file.error);
        return false;
    }
    layercheck::Result counts;
    counts.counts = file.counts;
    std::u16string line =
        layercheck::summaryLine(file.plan ? name + u" → " + shownPath(file.written) : name, counts);
    if (kinds.automatic) {
        line += u"　図面の種類：" + file.heading;
    }
    if (file.plan) {
        line += u"　変換：" + planText(*file.plan);
    }
    services.out(line);
    for (const std::u16string& note : file.notes) {
        services.err(name + u": " + note);
    }
    findings = findings || counts.findings() > 0;
    return true;
}

// The CSV of one checked drawing, the window's own.
bool saveCsv(const FileOutcome& file, const std::filesystem::path& csv, const Kinds& kinds,
             const CheckServices& services) {
    auto table = dxf::readLayerTableFile(file.file);
    const FileStandard standard = table ? kinds.of(table->layers) : FileStandard{};
    if (standard.standard == nullptr) {
        return false;  // said with the file's summary
    }
    const layercheck::Result result = layercheck::checkLayers(table->layers, *standard.standard);
    return save(csv, layercheck::csvOf(result.rows), u"CSV ファイル", services);
}

// The report of the run: the CSV at the path given, the HTML page beside it.
bool saveReport(const std::filesystem::path& path, const FolderRun& run, const std::u16string& title,
                const CheckServices& services) {
    std::filesystem::path html = path;
    html.replace_extension(u".html");
    if (html == path) {
        services.err(shownPath(path) + u": --report には CSV のファイル名（.csv）を指定してください。");
        return false;
    }
    const bool csvSaved = save(path, reportCsv(run), u"報告の CSV", services);
    return save(html, reportHtml(run, title), u"報告の HTML", services) && csvSaved;
}

}  // namespace

namespace {

// What the run needs before any drawing is read: the standards, the drawings, the CSV files, the map.
struct Setup {
    Kinds kinds;
    std::vector<std::filesystem::path> drawings;
    std::vector<std::filesystem::path> csv;
    std::optional<LayerMap> map;
    bool errors = false;  // an input that names no drawing
};

tiermark::Result<Setup> setUp(const CheckRequest& request, const CheckServices& services) {
    if (request.kind != layercheck::kAutomaticKind) {
        if (auto kind = layercheck::parseKind(request.kind); !kind) {
            return kind.error();
        }
    }
    // The database given, or the one registered with Tiermark.
    const std::u16string path =
        request.database.empty() ? stddb::registeredDatabasePath(services.settings) : request.database;
    if (path.empty()) {
        return layercheck::commandError(
            u"データベースが登録されていません。Tiermark で Tiermark.MDB を登録するか、--database で指定して"
            u"ください。");
    }
    stddb::SharedDatabase database;
    if (auto opened = database.open(services.workspace, path); !opened) {
        return layercheck::commandError(u"データベースを開けません：" +
                                        shownPath(std::filesystem::path(path)) + u"（" +
                                        tiermark::fromUtf8(opened.error().message) + u"）");
    }
    Setup setup;
    auto kinds = kindsOf(request, database,
                         services.settings.GetSetting(stddb::kSectionLife, stddb::kKeyDefaultStage));
    if (!kinds) {
        return kinds.error();
    }
    setup.kinds = std::move(*kinds);
    if (!request.map.empty()) {
        auto map = readMap(std::filesystem::path(request.map));
        if (!map) {
            return map.error();
        }
        setup.map = std::move(*map);
    }
    // Every drawing first, so that a mistyped name is said before any file is checked.
    setup.drawings = everyDrawing(request.inputs, services, setup.errors);
    if (!request.csv.empty()) {
        auto paths = layercheck::csvPaths(std::filesystem::path(request.csv), setup.drawings);
        if (!paths) {
            return paths.error();
        }
        setup.csv = std::move(*paths);
    }
    return setup;
}

}  // namespace

int runCheckCommand(const std::vector<std::u16string>& arguments, const CheckServices& services) {
    const auto fail = [&](const std::u16string& message) {
        services.err(u"tiermark-check: " + message);
        return layercheck::kExitError;
    };
    auto request = layercheck::parseArguments(arguments);
    if (!request) {
        return fail(tiermark::fromUtf8(request.error().message) + u"（--help で使い方を表示します）");
    }
    if (request->help) {
        std::u16string text = layercheck::helpText();
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find(u'\n', start);
            services.out(std::u16string_view(text).substr(start, end - start));
            start = end == std::u16string::npos ? text.size() : end + 1;
        }
        return layercheck::kExitClean;
    }
    auto setup = setUp(*request, services);
    if (!setup) {
        return fail(tiermark::fromUtf8(setup.error().message));
    }
    const Kinds& kinds = setup->kinds;
    const StandardOfFile standardOf = [&kinds](const std::vector<cadlink::DrawingLayer>& layers) {
        return kinds.of(layers);
    };
    const FolderRun run = setup->map ? translateFolder(setup->drawings, *setup->map, standardOf,
                                                       std::filesystem::path(request->out), {})
                                     : checkFolder(setup->drawings, standardOf, {});
    bool errors = setup->errors;
    bool findings = false;
    for (std::size_t i = 0; i < run.files.size(); ++i) {
        const bool told = tell(run.files[i], kinds, services, findings);
        errors = !told ||
                 (told && !setup->csv.empty() && !saveCsv(run.files[i], setup->csv[i], kinds, services)) ||
                 errors;
    }
    if (!request->report.empty()) {
        const std::u16string title =
            (setup->map ? u"レイヤー変換の報告（" : u"レイヤーチェックの報告（") +
            (kinds.automatic ? std::u16string(u"図面ごとの種類") : kinds.names.front()) + u"）";
        errors = !saveReport(std::filesystem::path(request->report), run, title, services) || errors;
    }
    if (errors) {
        return layercheck::kExitError;
    }
    return findings ? layercheck::kExitFindings : layercheck::kExitClean;
}

}  // namespace translate
