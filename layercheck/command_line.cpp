#include "layercheck/command_line.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "builder/cascade.h"
#include "builder/queries.h"
#include "common/ascii.h"
#include "common/utf.h"
#include "layercheck/drawing_file.h"
#include "layercheck/drawing_kinds.h"

namespace layercheck {

namespace {

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

// The position of a name in a list, or an error that names the list's choices.
tiermark::Result<int> positionOf(const std::vector<std::u16string>& list, std::u16string_view name,
                                 std::u16string_view what, std::u16string_view where) {
    const auto found = std::find(list.begin(), list.end(), name);
    if (found == list.end()) {
        return commandError(std::u16string(what) + layercheck::quoted(name) + u"は" + std::u16string(where) +
                            u"にありません（" + (list.empty() ? std::u16string(u"登録なし") : joined(list)) +
                            u"）。");
    }
    return static_cast<int>(found - list.begin());
}

bool isDxfFile(const std::filesystem::path& path) {
    return tiermark::asciiLowercased(path.extension().u16string()) == u".dxf";
}

}  // namespace

tiermark::Result<ChosenStandard> standardOfKind(stddb::SharedDatabase& database, const KindText& kind,
                                                std::u16string_view defaultStage) {
    auto stages = columnOf(database, u"ライフサークルテーブル", u"サイクル名");
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
        auto kinds = columnOf(database, u"種別テーブル", u"名称");
        if (!kinds) {
            return kinds.error();
        }
        auto kindIndex = positionOf(*kinds, kind.constructionKind, u"施工種別", u"データベース");
        if (!kindIndex) {
            return kindIndex.error();
        }
        auto workTypes = columnOf(database, u"工種テーブル", u"工種名", builder::kindFilter(*kindIndex + 1));
        if (!workTypes) {
            return workTypes.error();
        }
        auto workIndex = positionOf(*workTypes, kind.workType, u"工種",
                                    u"施工種別" + layercheck::quoted(kind.constructionKind));
        if (!workIndex) {
            return workIndex.error();
        }
        key = builder::workTypeKeyText(*kindIndex, *workIndex);
    } else {
        key.erase(0, std::min(key.find_first_not_of(u'0'), key.size() - 1));  // "019" is 19
    }

    if (!builder::drawingNameFitsFilter(kind.drawing)) {
        return commandError(builder::quotedDrawingNameMessage(kind.drawing));
    }
    auto drawings = columnOf(database, u"図面マスター", u"図面名称", builder::workTypeFilter(key));
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
        return commandError(u"図面名" + layercheck::quoted(kind.drawing) +
                            u"にはデータベースに標準レイヤーがありません。");
    }
    return standardOfDrawing(database, *rows, *stages, stage, kind.drawing);
}

std::u16string shownPath(const std::filesystem::path& path) {
    std::filesystem::path preferred = path;
    preferred.make_preferred();
    return preferred.u16string();
}

tiermark::Result<std::vector<std::filesystem::path>> drawingsOf(const std::filesystem::path& input) {
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(input, failure);
    if (failure || !std::filesystem::exists(status)) {
        return commandError(u"ファイルかフォルダーが見つかりません。");
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
        return commandError(u"フォルダーの中を読めません。");
    }
    if (drawings.empty()) {
        return commandError(u"フォルダーに DXF ファイル（.dxf）がありません。");
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
            return commandError(
                u"図面が複数あるときは、--csv に保存先のフォルダーを指定してください（図面ごとに CSV "
                u"を保存します）。");
        }
        return std::vector<std::filesystem::path>(drawings.size(), csv);
    }
    std::vector<std::filesystem::path> paths;
    std::map<std::u16string, int> taken;
    for (const std::filesystem::path& drawing : drawings) {
        const std::u16string stem = drawing.stem().u16string();
        const int seen = ++taken[tiermark::asciiLowercased(stem)];
        paths.push_back(csv /
                        (stem + (seen == 1 ? u"" : u"_" + number(static_cast<std::size_t>(seen))) + u".csv"));
    }
    return paths;
}

}  // namespace layercheck
