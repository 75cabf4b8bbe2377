#include "layercheck/command_arguments.h"

#include <algorithm>

#include "common/utf.h"
#include "layercheck/layer_check.h"

namespace layercheck {

namespace {

bool isDigits(std::u16string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

tiermark::Error commandError(const std::u16string& message) {
    return tiermark::makeError(tiermark::toUtf8(message));
}

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
            return commandError(std::u16string(option) + u" の後に" + std::u16string(what) +
                                u"を指定してください。");
        }
        if (value.empty()) {
            return commandError(std::u16string(option) + u" の後に" + std::u16string(what) +
                                u"を指定してください。");
        }
        if (!into.empty()) {
            return commandError(std::u16string(option) + u" が二度指定されています。");
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
        } else if (is(argument, u"--map")) {
            taken = takeValue(i, u"--map", request.map, u"レイヤー対応表のファイル");
        } else if (is(argument, u"--out")) {
            taken = takeValue(i, u"--out", request.out, u"変換した図面を保存するフォルダー");
        } else if (is(argument, u"--report")) {
            taken = takeValue(i, u"--report", request.report, u"報告の CSV ファイル");
        } else {
            return commandError(u"知らないオプションです：" + argument);
        }
        if (!taken) {
            return taken.error();
        }
    }
    if (request.help) {
        return request;
    }
    if (request.kind.empty()) {
        return commandError(
            u"--kind で図面の種類を指定してください（例：--kind 設計/道路/道路一般/位置図）。");
    }
    if (request.inputs.empty()) {
        return commandError(u"チェックする DXF ファイルかフォルダーを指定してください。");
    }
    if (request.map.empty() != request.out.empty()) {
        return commandError(u"--map と --out は一緒に指定してください（対応表と、変換した図面の保存先）。");
    }
    if (!request.map.empty() && !request.csv.empty()) {
        return commandError(u"--map と --csv は一緒に使えません。結果は --report で保存してください。");
    }
    return request;
}

std::u16string helpText() {
    return u"使い方: tiermark-check --kind 図面の種類|auto [--database ファイル] [--csv ファイル|フォルダー] "
           u"[--map 対応表 --out フォルダー] [--report ファイル.csv] 図面.dxf|フォルダー...\n"
           u"\n"
           u"DXF ファイルの画層を、CAD製図基準の図面の種類の標準レイヤーと照らし合わせます（Tiermark の"
           u"「レイヤーチェック」と同じチェックです）。--map を指定すると、レイヤー対応表で画層を標準レイヤーに"
           u"変換した図面を保存します（元の図面は変えません）。\n"
           u"\n"
           u"  --kind 種類       図面の種類。「ライフサイクル/施工種別/工種/図面名」（例：設計/道路/道路一般/位置図）、\n"
           u"                    または「工種番号/図面名」（例：1/位置図。ライフサイクルは Tiermark の開始時の設定）、\n"
           u"                    「ライフサイクル/工種番号/図面名」（例：設計/1/位置図）。\n"
           u"                    auto にすると、図面ごとに標準レイヤーが最もよく一致する図面の種類（ライフサイクルも）を使います。\n"
           u"  --database ファイル\n"
           u"                    使うデータベース（Tiermark.MDB）。省略すると Tiermark に登録されたもの。\n"
           u"  --csv ファイル    結果を CSV（UTF-8、Excel で開けます）に保存します。図面が複数のときは\n"
           u"                    フォルダーを指定すると、図面ごとに「図面名.csv」を保存します。\n"
           u"  --map 対応表      レイヤー対応表（UTF-8、1 行に「図面の画層<TAB>標準レイヤー」）で画層の名前を\n"
           u"                    変更・統合した図面を、--out のフォルダーに同じファイル名で保存します。\n"
           u"  --out フォルダー  変換した図面の保存先（ないときは作ります）。\n"
           u"  --report ファイル すべての図面の結果を 1 つの報告にします：CSV と、同じ名前の .html（ブラウザーで\n"
           u"                    開けます）。図面ごとの判定の件数と最も重い判定、--map では変換の件数。\n"
           u"  -h, --help        この説明を表示します。\n"
           u"\n"
           u"図面にはファイルかフォルダーを指定します。フォルダーはその中の .dxf ファイルをすべてチェック"
           u"します。どの版の DXF も読めます（ASCII とバイナリ、R12～2018）。読めない図面はその名前を表示して、"
           u"残りを続けます。\n"
           u"図面ごとに 1 行、判定ごとの件数を表示します（--map では変換した図面の判定）。\n"
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
    return commandError(
        u"図面の種類" + layercheck::quoted(text) +
        u"が読めません。「ライフサイクル/施工種別/工種/図面名」（例：設計/道路/道路一般/位置図）か"
        u"「工種番号/図面名」（例：1/位置図）で指定してください。");
}

}  // namespace layercheck
