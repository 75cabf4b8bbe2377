// The one report of a folder run: a CSV for spreadsheets and an HTML page for a browser, the same columns
// in both.
#include <algorithm>

#include "builder/value_text.h"
#include "common/utf.h"
#include "translate/folder_run.h"

namespace translate {

namespace {

using layercheck::Verdict;

constexpr std::array<Outcome, kOutcomeCount> kOutcomes = {
    Outcome::Renamed, Outcome::Merged, Outcome::CreatedThenMerged, Outcome::LeftAlone, Outcome::Refused};

bool translated(const FolderRun& run) {
    return std::any_of(run.files.begin(), run.files.end(),
                       [](const FileOutcome& file) { return file.plan.has_value(); });
}

std::u16string shown(const std::filesystem::path& path) {
    std::filesystem::path preferred = path;
    preferred.make_preferred();
    return preferred.u16string();
}

std::u16string remarks(const FileOutcome& file) {
    std::u16string text = file.error;
    for (const std::u16string& note : file.notes) {
        text += (text.empty() ? u"" : u" ") + note;
    }
    return text;
}

// The columns of the report: the file, its kind, the count of each verdict, the worst; for a translation,
// the count of each outcome and the copy; the error or notes.
std::vector<std::u16string> headings(bool withPlans) {
    std::vector<std::u16string> out = {u"ファイル", u"図面の種類"};
    for (Verdict verdict : layercheck::kVerdicts) {
        out.emplace_back(layercheck::verdictText(verdict));
    }
    out.emplace_back(u"最も重い判定");
    if (withPlans) {
        for (Outcome outcome : kOutcomes) {
            out.emplace_back(outcomeText(outcome));
        }
        out.emplace_back(u"書き出し先");
    }
    out.emplace_back(u"エラー・備考");
    return out;
}

std::vector<std::u16string> fieldsOf(const FileOutcome& file, bool withPlans) {
    std::vector<std::u16string> out = {shown(file.file), file.heading};
    for (Verdict verdict : layercheck::kVerdicts) {
        const int count = file.counts[static_cast<std::size_t>(verdict)];
        out.push_back(file.error.empty() ? builder::integerText(count) : std::u16string());
    }
    if (!file.error.empty()) {
        out.emplace_back();
    } else {
        out.emplace_back(file.worst ? layercheck::verdictText(*file.worst) : u"指摘なし");
    }
    if (withPlans) {
        for (Outcome outcome : kOutcomes) {
            out.push_back(file.plan ? builder::integerText(file.plan->count(outcome)) : std::u16string());
        }
        out.push_back(file.written.empty() ? std::u16string() : shown(file.written));
    }
    out.push_back(remarks(file));
    return out;
}

constexpr std::u16string_view kCancelled = u"中止しました。残りのファイルは処理していません。";

std::u16string escaped(std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text) {
        switch (c) {
            case u'&':
                out += u"&amp;";
                break;
            case u'<':
                out += u"&lt;";
                break;
            case u'>':
                out += u"&gt;";
                break;
            case u'"':
                out += u"&quot;";
                break;
            case u'\'':
                out += u"&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::u16string htmlRow(const std::vector<std::u16string>& fields, std::u16string_view cell,
                       std::u16string_view rowClass) {
    std::u16string row = rowClass.empty() ? u"<tr>" : u"<tr class=\"" + std::u16string(rowClass) + u"\">";
    for (const std::u16string& field : fields) {
        row += u"<" + std::u16string(cell) + u">" + escaped(field) + u"</" + std::u16string(cell) + u">";
    }
    return row + u"</tr>\n";
}

// How the page marks a row: a file that could not be done, one with findings, a clean one.
std::u16string_view rowClassOf(const FileOutcome& file) {
    if (!file.error.empty()) {
        return u"error";
    }
    return file.worst ? u"findings" : u"clean";
}

constexpr std::u16string_view kStyle =
    u"body{font-family:sans-serif;margin:1.5em}table{border-collapse:collapse}"
    u"th,td{border:1px solid #999;padding:2px 6px;text-align:right;white-space:nowrap}"
    u"td:first-child,td:nth-child(2),td:last-child,th{text-align:left}"
    u"tr.error td{background:#f8d7da}tr.findings td{background:#fff3cd}tr.total td{font-weight:bold}";

}  // namespace

std::string reportCsv(const FolderRun& run) {
    const bool withPlans = translated(run);
    const auto line = [](const std::vector<std::u16string>& fields) {
        std::u16string text;
        for (const std::u16string& field : fields) {
            text += (text.empty() ? u"" : u",") + layercheck::csvField(field);
        }
        return text + u"\r\n";
    };
    std::u16string text = line(headings(withPlans));
    for (const FileOutcome& file : run.files) {
        text += line(fieldsOf(file, withPlans));
    }
    if (run.cancelled) {
        text += line({std::u16string(kCancelled)});
    }
    return "\xEF\xBB\xBF" + tiermark::toUtf8(text);
}

std::string reportHtml(const FolderRun& run, const std::u16string& title) {
    const bool withPlans = translated(run);
    std::u16string page = u"<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                          escaped(title) + u"</title>\n<style>" + std::u16string(kStyle) +
                          u"</style>\n</head>\n<body>\n<h1>" + escaped(title) + u"</h1>\n";
    const auto failed = std::count_if(run.files.begin(), run.files.end(),
                                      [](const FileOutcome& file) { return !file.error.empty(); });
    page += u"<p>ファイル " + builder::integerText(static_cast<std::int64_t>(run.files.size())) +
            u" 件（うち処理できなかったもの " + builder::integerText(failed) + u" 件）</p>\n";
    if (run.cancelled) {
        page += u"<p><strong>" + std::u16string(kCancelled) + u"</strong></p>\n";
    }
    page += u"<table>\n<thead>\n" + htmlRow(headings(withPlans), u"th", {}) + u"</thead>\n<tbody>\n";
    std::array<int, layercheck::kVerdictCount> totals{};
    for (const FileOutcome& file : run.files) {
        page += htmlRow(fieldsOf(file, withPlans), u"td", rowClassOf(file));
        for (std::size_t i = 0; i < totals.size() && file.error.empty(); ++i) {
            totals[i] += file.counts[i];
        }
    }
    std::vector<std::u16string> total = {u"合計", {}};
    for (int count : totals) {
        total.push_back(builder::integerText(count));
    }
    total.resize(headings(withPlans).size());
    page +=
        u"</tbody>\n<tfoot>\n" + htmlRow(total, u"td", u"total") + u"</tfoot>\n</table>\n</body>\n</html>\n";
    return tiermark::toUtf8(page);
}

}  // namespace translate
