#include "layercheck/command_line.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "builder/cascade.h"
#include "builder/queries.h"
#include "common/utf.h"
#include "layercheck/drawing_file.h"

namespace layercheck {

namespace {

tiermark::Error error(const std::u16string& message) {
    return tiermark::makeError(tiermark::toUtf8(message));
}

std::u16string bracketed(std::u16string_view text) {
    return u"「" + std::u16string(text) + u"」";
}

std::u16string number(std::size_t value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

std::u16string joined(const std::vector<std::u16string>& texts) {
    std::u16string out;
    for (const std::u16string& text : texts) {
        out += (out.empty() ? u"" : u"、") + text;
    }
    return out;
}

// How a path is shown to the user: with the separators of the platform.
std::u16string shown(const std::filesystem::path& path) {
    std::filesystem::path preferred = path;
    preferred.make_preferred();
    return preferred.u16string();
}

bool isDigits(std::u16string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// Every value of one field of a table, filtered or not, through the shared result set.
tiermark::Result<std::vector<std::u16string>> column(stddb::SharedDatabase& database,
                                                     std::u16string_view table, std::u16string_view field,
                                                     std::u16string_view filter = {}) {
    auto rows = database.openShared(table, filter);
    if (!rows) {
        return rows.error();
    }
    return builder::columnTexts(**rows, field);
}

// The position of a name in a list, or an error that names the list's choices.
tiermark::Result<int> positionOf(const std::vector<std::u16string>& list, std::u16string_view name,
                                 std::u16string_view what, std::u16string_view where) {
    const auto found = std::find(list.begin(), list.end(), name);
    if (found == list.end()) {
        return error(std::u16string(what) + bracketed(name) + u"は" + std::u16string(where) +
                     u"にありません（" + (list.empty() ? std::u16string(u"登録なし") : joined(list)) +
                     u"）。");
    }
    return static_cast<int>(found - list.begin());
}

bool isDxfFile(const std::filesystem::path& path) {
    std::u16string extension = path.extension().u16string();
    for (char16_t& c : extension) {
        c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    }
    return extension == u".dxf";
}

}  // namespace

tiermark::Result<CheckRequest> parseArguments(const std::vector<std::u16string>& arguments) {
    CheckRequest request;
    bool options = true;
    const auto takeValue = [&](std::size_t& i, std::u16string_view option, std::u16string& into,
                               std::u16string_view what) -> tiermark::Result<void> {
        const std::u16string& argument = arguments[i];
        std::u16string value;
        if (argument.size() > option.size() && argument[option.size()] == u'=') {
            value = argument.substr(option.size() + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return error(std::u16string(option) + u" の後に" + std::u16string(what) +
                         u"を指定してください。");
        }
        if (value.empty()) {
            return error(std::u16string(option) + u" の後に" + std::u16string(what) +
                         u"を指定してください。");
        }
        if (!into.empty()) {
            return error(std::u16string(option) + u" が二度指定されています。");
        }
        into = std::move(value);
        return {};
    };
    const auto is = [](const std::u16string& argument, std::u16string_view option) {
        return argument == option ||
               (argument.size() > option.size() && argument.compare(0, option.size(), option) == 0 &&
                argument[option.size()] == u'=');
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (!options || argument.empty() || argument[0] != u'-' || argument == u"-") {
            request.inputs.push_back(argument);
            continue;
        }
        tiermark::Result<void> taken;
        if (argument == u"--") {
            options = false;
        } else if (argument == u"-h" || argument == u"--help" || argument == u"/?") {
            request.help = true;
        } else if (is(argument, u"--kind")) {
            taken = takeValue(i, u"--kind", request.kind, u"図面の種類");
        } else if (is(argument, u"--database")) {
            taken = takeValue(i, u"--database", request.database, u"データベースのファイル");
        } else if (is(argument, u"--csv")) {
            taken = takeValue(i, u"--csv", request.csv, u"CSV のファイルかフォルダー");
        } else {
            return error(u"知らないオプションです：" + argument);
        }
        if (!taken) {
            return taken.error();
        }
    }
    if (request.help) {
        return request;
    }
    if (request.kind.empty()) {
        return error(u"--kind で図面の種類を指定してください（例：--kind 設計/道路/道路一般/位置図）。");
    }
    if (request.inputs.empty()) {
        return error(u"チェックする DXF ファイルかフォルダーを指定してください。");
    }
    return request;
}

std::u16string helpText() {
    return u"使い方: tiermark-check --kind 図面の種類 [--database ファイル] [--csv ファイル|フォルダー] "
           u"図面.dxf|フォルダー...\n"
           u"\n"
           u"DXF ファイルの画層を、CAD製図基準の図面の種類の標準レイヤーと照らし合わせます（Tiermark の"
           u"「レイヤーチェック」と同じチェックです）。\n"
           u"\n"
           u"  --kind 種類       図面の種類。「ライフサイクル/施工種別/工種/図面名」（例：設計/道路/道路一般/位置図）、\n"
           u"                    または「工種番号/図面名」（例：1/位置図。ライフサイクルは Tiermark の開始時の設定）、\n"
           u"                    「ライフサイクル/工種番号/図面名」（例：設計/1/位置図）。\n"
           u"  --database ファイル\n"
           u"                    使うデータベース（Tiermark.MDB）。省略すると Tiermark に登録されたもの。\n"
           u"  --csv ファイル    結果を CSV（UTF-8、Excel で開けます）に保存します。図面が複数のときは\n"
           u"                    フォルダーを指定すると、図面ごとに「図面名.csv」を保存します。\n"
           u"  -h, --help        この説明を表示します。\n"
           u"\n"
           u"図面にはファイルかフォルダーを指定します。フォルダーはその中の .dxf ファイルをすべてチェック"
           u"します。どの版の DXF も読めます（ASCII とバイナリ、R12～2018）。\n"
           u"図面ごとに 1 行、判定ごとの件数を表示します。\n"
           u"\n"
           u"終了コード:\n"
           u"  0  すべての画層が標準どおり（指摘なし）\n"
           u"  1  指摘がある（標準名で色・線種が異なる、標準外、使用できない文字、図面にない標準レイヤーなど）\n"
           u"  2  エラー（読めないファイル、知らない図面の種類、データベースがないなど）\n";
}

tiermark::Result<KindText> parseKind(std::u16string_view text) {
    std::vector<std::u16string> parts(1);
    for (char16_t c : text) {
        if (c == u'/' || c == u'／') {
            parts.emplace_back();
        } else {
            parts.back().push_back(c);
        }
    }
    const bool empty =
        std::any_of(parts.begin(), parts.end(), [](const std::u16string& p) { return p.empty(); });
    KindText kind;
    if (!empty && parts.size() == 4) {
        kind = KindText{parts[0], parts[1], parts[2], {}, parts[3]};
        return kind;
    }
    if (!empty && parts.size() == 3 && isDigits(parts[1])) {
        kind = KindText{parts[0], {}, {}, parts[1], parts[2]};
        return kind;
    }
    if (!empty && parts.size() == 2 && isDigits(parts[0])) {
        kind = KindText{{}, {}, {}, parts[0], parts[1]};
        return kind;
    }
    return error(u"図面の種類" + bracketed(text) +
                 u"が読めません。「ライフサイクル/施工種別/工種/図面名」（例：設計/道路/道路一般/位置図）か"
                 u"「工種番号/図面名」（例：1/位置図）で指定してください。");
}

tiermark::Result<ChosenStandard> standardOfKind(stddb::SharedDatabase& database, const KindText& kind,
                                                std::u16string_view defaultStage) {
    auto stages = column(database, u"ライフサークルテーブル", u"サイクル名");
    if (!stages) {
        return stages.error();
    }
    // The stage given, or the one the builder starts with; none when neither names one.
    int stage = -1;
    if (!kind.stage.empty()) {
        auto found = positionOf(*stages, kind.stage, u"ライフサイクル", u"データベース");
        if (!found) {
            return found.error();
        }
        stage = *found;
    } else if (const auto found = std::find(stages->begin(), stages->end(), defaultStage);
               !defaultStage.empty() && found != stages->end()) {
        stage = static_cast<int>(found - stages->begin());
    }

    std::u16string key = kind.key;
    if (key.empty()) {
        auto kinds = column(database, u"種別テーブル", u"名称");
        if (!kinds) {
            return kinds.error();
        }
        auto kindIndex = positionOf(*kinds, kind.constructionKind, u"施工種別", u"データベース");
        if (!kindIndex) {
            return kindIndex.error();
        }
        auto workTypes = column(database, u"工種テーブル", u"工種名", builder::kindFilter(*kindIndex + 1));
        if (!workTypes) {
            return workTypes.error();
        }
        auto workIndex =
            positionOf(*workTypes, kind.workType, u"工種", u"施工種別" + bracketed(kind.constructionKind));
        if (!workIndex) {
            return workIndex.error();
        }
        key = builder::workTypeKeyText(*kindIndex, *workIndex);
    } else {
        key.erase(0, std::min(key.find_first_not_of(u'0'), key.size() - 1));  // "019" is 19
    }

    if (!builder::drawingNameFitsFilter(kind.drawing)) {
        return error(builder::quotedDrawingNameMessage(kind.drawing));
    }
    auto drawings = column(database, u"図面マスター", u"図面名称", builder::workTypeFilter(key));
    if (!drawings) {
        return drawings.error();
    }
    auto drawing = positionOf(*drawings, kind.drawing, u"図面名", u"工種番号 " + key + u" の図面");
    if (!drawing) {
        return drawing.error();
    }
    auto rows = builder::layerRows(database, key, kind.drawing);
    if (!rows) {
        return rows.error();
    }
    if (rows->empty()) {
        return error(u"図面名" + bracketed(kind.drawing) + u"にはデータベースに標準レイヤーがありません。");
    }
    stddb::Database* open = database.get();
    ChosenStandard chosen;
    chosen.standard = standardOf(
        *rows, stage, [open](std::u16string_view colour) { return builder::colourConstant(open, colour); });
    const std::u16string letter = builder::lifeCycleLetter(stage);
    chosen.heading =
        kind.drawing + u"（" +
        (stage < 0 ? std::u16string(u"ライフサイクルなし") : (*stages)[static_cast<std::size_t>(stage)]) +
        (letter.empty() ? u"" : u"、" + letter) + u"）";
    return chosen;
}

tiermark::Result<std::vector<std::filesystem::path>> drawingsOf(const std::filesystem::path& input) {
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(input, failure);
    if (failure || !std::filesystem::exists(status)) {
        return error(u"ファイルかフォルダーが見つかりません。");
    }
    if (!std::filesystem::is_directory(status)) {
        return std::vector<std::filesystem::path>{input};
    }
    std::vector<std::filesystem::path> drawings;
    for (std::filesystem::directory_iterator entry(input, failure), end; !failure && entry != end;
         entry.increment(failure)) {
        std::error_code regular;
        if (isDxfFile(entry->path()) && entry->is_regular_file(regular)) {
            drawings.push_back(entry->path());
        }
    }
    if (failure) {
        return error(u"フォルダーの中を読めません。");
    }
    if (drawings.empty()) {
        return error(u"フォルダーに DXF ファイル（.dxf）がありません。");
    }
    std::sort(drawings.begin(), drawings.end());
    return drawings;
}

std::u16string summaryLine(const std::u16string& shownPath, const Result& result) {
    const int findings = result.findings();
    return shownPath + u": " +
           (findings == 0 ? std::u16string(u"指摘なし")
                          : u"指摘 " + number(static_cast<std::size_t>(findings)) + u" 件") +
           u"　" + countsText(result);
}

tiermark::Result<std::vector<std::filesystem::path>> csvPaths(
    const std::filesystem::path& csv, const std::vector<std::filesystem::path>& drawings) {
    std::error_code failure;
    const bool folder = std::filesystem::is_directory(csv, failure) ||
                        (!csv.empty() && !csv.has_filename());  // "out/": a folder, made when missing
    if (!folder) {
        if (drawings.size() > 1) {
            return error(
                u"図面が複数あるときは、--csv に保存先のフォルダーを指定してください（図面ごとに CSV "
                u"を保存します）。");
        }
        return std::vector<std::filesystem::path>(drawings.size(), csv);
    }
    std::vector<std::filesystem::path> paths;
    std::map<std::u16string, int> taken;
    for (const std::filesystem::path& drawing : drawings) {
        const std::u16string stem = drawing.stem().u16string();
        std::u16string folded = stem;
        for (char16_t& c : folded) {
            c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
        }
        const int seen = ++taken[folded];
        paths.push_back(csv /
                        (stem + (seen == 1 ? u"" : u"_" + number(static_cast<std::size_t>(seen))) + u".csv"));
    }
    return paths;
}

int runCheckCommand(const std::vector<std::u16string>& arguments, const CheckServices& services) {
    const auto fail = [&](const std::u16string& message) {
        services.err(u"tiermark-check: " + message);
        return kExitError;
    };
    auto request = parseArguments(arguments);
    if (!request) {
        return fail(tiermark::fromUtf8(request.error().message) + u"（--help で使い方を表示します）");
    }
    if (request->help) {
        std::u16string text = helpText();
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find(u'\n', start);
            services.out(std::u16string_view(text).substr(start, end - start));
            start = end == std::u16string::npos ? text.size() : end + 1;
        }
        return kExitClean;
    }
    auto kind = parseKind(request->kind);
    if (!kind) {
        return fail(tiermark::fromUtf8(kind.error().message));
    }

    // The database given, or the one registered with Tiermark.
    const std::u16string path =
        request->database.empty() ? stddb::registeredDatabasePath(services.settings) : request->database;
    if (path.empty()) {
        return fail(
            u"データベースが登録されていません。Tiermark で Tiermark.MDB を登録するか、--database で指定して"
            u"ください。");
    }
    stddb::SharedDatabase database;
    if (auto opened = database.open(services.workspace, path); !opened) {
        return fail(u"データベースを開けません：" + shown(std::filesystem::path(path)) + u"（" +
                    tiermark::fromUtf8(opened.error().message) + u"）");
    }
    auto chosen = standardOfKind(database, *kind,
                                 services.settings.GetSetting(stddb::kSectionLife, stddb::kKeyDefaultStage));
    if (!chosen) {
        return fail(tiermark::fromUtf8(chosen.error().message));
    }

    // Every drawing first, so that a mistyped name is said before any file is checked.
    bool errors = false;
    std::vector<std::filesystem::path> drawings;
    for (const std::u16string& input : request->inputs) {
        auto found = drawingsOf(std::filesystem::path(input));
        if (!found) {
            services.err(shown(std::filesystem::path(input)) + u": " +
                         tiermark::fromUtf8(found.error().message));
            errors = true;
            continue;
        }
        drawings.insert(drawings.end(), found->begin(), found->end());
    }
    std::vector<std::filesystem::path> csv;
    if (!request->csv.empty()) {
        auto paths = csvPaths(std::filesystem::path(request->csv), drawings);
        if (!paths) {
            return fail(tiermark::fromUtf8(paths.error().message));
        }
        csv = std::move(*paths);
    }

    bool findings = false;
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        const std::u16string name = shown(drawings[i]);
        auto check = checkDrawingFile(drawings[i], chosen->standard);
        if (!check) {
            services.err(name + u": " + tiermark::fromUtf8(check.error().message));
            errors = true;
            continue;
        }
        services.out(summaryLine(name, check->result));
        for (const std::u16string& note : readingNotes(check->table)) {
            services.err(name + u": " + note);
        }
        findings = findings || check->result.findings() > 0;
        if (!csv.empty()) {
            std::error_code ignored;
            if (csv[i].has_parent_path()) {
                std::filesystem::create_directories(csv[i].parent_path(), ignored);
            }
            if (auto saved = services.saveFile(csv[i], csvOf(check->result.rows)); !saved) {
                services.err(shown(csv[i]) + u": CSV ファイルを保存できませんでした（" +
                             tiermark::fromUtf8(saved.error().message) + u"）");
                errors = true;
            }
        }
    }
    if (errors) {
        return kExitError;
    }
    return findings ? kExitFindings : kExitClean;
}

}  // namespace layercheck
