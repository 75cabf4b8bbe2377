#include "layercheck/layer_check.h"

#include <algorithm>

#include "builder/cascade.h"
#include "builder/value_text.h"
#include "common/utf.h"
#include "dxf/colour_numbers.h"
#include "layercheck/layer_judge.h"

namespace layercheck {

std::u16string quoted(std::u16string_view text) {
    return u"「" + std::u16string(text) + u"」";
}

std::u16string_view verdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::Standard:
            return u"標準";
        case Verdict::OtherProperties:
            return u"標準名（色・線種が異なる）";
        case Verdict::NumberedAllowed:
            return u"番号付き（系列で可）";
        case Verdict::NumberedNotAllowed:
            return u"番号付き（系列で不可）";
        case Verdict::NotStandard:
            return u"標準外";
        case Verdict::Forbidden:
            return u"使用できない文字";
        case Verdict::Fixed:
            return u"AutoCAD LT 既定の画層";
        case Verdict::XrefDependent:
            return u"外部参照の画層";
        case Verdict::Missing:
            return u"図面にない標準レイヤー";
    }
    return u"";
}

bool isFinding(Verdict verdict) {
    switch (verdict) {
        case Verdict::Standard:
        case Verdict::NumberedAllowed:
        case Verdict::Fixed:
        case Verdict::XrefDependent:
            return false;
        case Verdict::OtherProperties:
        case Verdict::NumberedNotAllowed:
        case Verdict::NotStandard:
        case Verdict::Forbidden:
        case Verdict::Missing:
            return true;
    }
    return true;
}

Standard standardOf(const std::vector<builder::LayerRow>& rows, int stageIndex,
                    const builder::ColourLookup& colours) {
    return Standard{builder::plannedLayers(rows, stageIndex, true, colours),
                    builder::plannedFamilies(rows, stageIndex), builder::lifeCycleLetter(stageIndex)};
}

Result checkLayers(const std::vector<cadlink::DrawingLayer>& drawing, const Standard& standard) {
    Result result;
    const Judge judge(standard);
    std::vector<bool> present(standard.layers.size(), false);
    for (const cadlink::DrawingLayer& layer : drawing) {
        std::optional<std::size_t> standardIndex;
        Row row = layer.xrefDependent ? judge.judgeReferenced(layer) : judge.judge(layer, standardIndex);
        if (standardIndex) {
            present[*standardIndex] = true;
        }
        ++result.counts[static_cast<std::size_t>(row.verdict)];
        result.rows.push_back(std::move(row));
    }
    for (std::size_t i = 0; i < standard.layers.size(); ++i) {
        if (present[i]) {
            continue;
        }
        const cadlink::LayerRecord& model = standard.layers[i];
        Row row;
        row.verdict = Verdict::Missing;
        row.name = model.name;
        row.standardName = model.name;
        row.standardColour = static_cast<int>(model.colour);
        row.standardLinetype = cadlink::effectiveLinetype(model);
        row.note = u"図面にありません";
        ++result.counts[static_cast<std::size_t>(row.verdict)];
        result.rows.push_back(std::move(row));
    }
    return result;
}

int Result::findings() const {
    int total = 0;
    for (Verdict verdict : kVerdicts) {
        total += isFinding(verdict) ? count(verdict) : 0;
    }
    return total;
}

std::u16string countsText(const Result& result) {
    std::u16string counts;
    for (Verdict verdict : kVerdicts) {
        counts += (counts.empty() ? u"" : u"　") + std::u16string(verdictText(verdict)) + u"：" +
                  builder::integerText(result.count(verdict));
    }
    return counts;
}

std::u16string colourText(const std::optional<int>& colour, const std::optional<std::uint32_t>& trueColour) {
    if (trueColour) {
        return dxf::trueColourText(*trueColour);
    }
    return colour ? builder::integerText(*colour) : std::u16string();
}

std::u16string csvField(std::u16string_view text) {
    std::u16string out = u"\"";
    // What a spreadsheet takes as the start of a formula stays text behind an apostrophe.
    if (!text.empty() && std::u16string_view(u"=+-@\t\r").find(text.front()) != std::u16string_view::npos) {
        out += u'\'';
    }
    for (char16_t c : text) {
        out += c;
        if (c == u'"') {
            out += u'"';
        }
    }
    return out + u"\"";
}

std::string csvOf(const std::vector<Row>& rows) {
    const auto field = csvField;
    const auto colour = [](const std::optional<int>& value) {
        return value ? builder::integerText(*value) : std::u16string();
    };
    std::u16string text =
        u"\"判定\",\"図面の画層名\",\"色\",\"線種\",\"基準の画層名\",\"基準の色\",\"基準の線種\",\"説明\"\r\n";
    for (const Row& row : rows) {
        text += field(verdictText(row.verdict)) + u"," + field(row.name) + u"," +
                field(colourText(row.colour, row.trueColour)) + u"," + field(row.linetype) + u"," +
                field(row.standardName) + u"," + field(colour(row.standardColour)) + u"," +
                field(row.standardLinetype) + u"," + field(row.note) + u"\r\n";
    }
    return "\xEF\xBB\xBF" + tiermark::toUtf8(text);
}

}  // namespace layercheck
