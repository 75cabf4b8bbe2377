#include "builder/linetype_notice.h"

#include <algorithm>

#include "common/ascii.h"

namespace builder {

namespace {

void addOnce(std::vector<std::u16string>& list, const std::u16string& name) {
    if (std::none_of(list.begin(), list.end(),
                     [&](const std::u16string& n) { return tiermark::equalsIgnoringAsciiCase(n, name); })) {
        list.push_back(name);
    }
}

}  // namespace

bool isContinuous(std::u16string_view linetype) {
    return tiermark::equalsIgnoringAsciiCase(linetype, u"Continuous");
}

std::vector<std::u16string> linetypesToTell(const std::vector<SentLinetype>& sent,
                                            const std::optional<std::vector<cadlink::DrawingLayer>>& table,
                                            std::set<std::u16string>& toldBefore) {
    std::vector<std::u16string> tell;
    for (const SentLinetype& s : sent) {
        if (s.linetype.empty() || isContinuous(s.linetype)) {
            continue;
        }
        if (table) {
            const auto layer =
                std::find_if(table->begin(), table->end(), [&](const cadlink::DrawingLayer& l) {
                    return tiermark::equalsIgnoringAsciiCase(l.name, s.layer);
                });
            if (layer != table->end() && tiermark::equalsIgnoringAsciiCase(layer->linetype, s.linetype)) {
                continue;  // the drawing had it loaded
            }
            addOnce(tell, s.linetype);
        } else if (toldBefore.insert(tiermark::asciiUppercased(s.linetype)).second) {
            addOnce(tell, s.linetype);
        }
    }
    return tell;
}

std::u16string linetypeNoticeMessage(const std::vector<std::u16string>& linetypes, bool certain) {
    std::u16string list;
    for (const std::u16string& name : linetypes) {
        list += (list.empty() ? u"" : u"、") + name;
    }
    const std::u16string_view head =
        certain
            ? u"次の線種が図面に読み込まれていないため、その線種のレイヤーは Continuous（実線）のままです。"
            : u"次の線種は、図面に読み込まれている場合だけレイヤーに設定されます。読み込まれていない線種のレイヤーは "
              u"Continuous（実線）のままです。";
    return std::u16string(head) + u"\r" + list + u"\r" +
           u"AutoCAD LT の線種管理（LINETYPE コマンド）で線種を読み込んでから、もう一度「レイヤー作成」を押してください。"
           u"レイヤーチェックで線種の異なるレイヤーを確かめられます。";
}

}  // namespace builder
