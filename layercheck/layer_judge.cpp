#include "layercheck/layer_judge.h"

#include <algorithm>

#include "builder/layer_changer.h"
#include "builder/layer_names.h"
#include "builder/value_text.h"
#include "cadlink/command_texts.h"
#include "cadlink/sendable_text.h"
#include "common/ascii.h"
#include "common/codepage.h"
#include "dxf/colour_numbers.h"
#include "numbered/family_table.h"
#include "numbered/member_scan.h"

namespace layercheck {

namespace {

void addNote(std::u16string& note, std::u16string_view more) {
    if (!note.empty()) {
        note += u"、";
    }
    note += more;
}

// Why the name cannot stand in AutoCAD LT's layer table as the link types names (cadlink::layerNameProblem,
// the one rule of the link, the script and the export), in Japanese; nothing when it can.
std::optional<std::u16string> forbiddenNote(std::u16string_view name) {
    const std::optional<cadlink::TextProblem> problem = cadlink::layerNameProblem(name);
    if (problem) {
        switch (*problem) {
            case cadlink::TextProblem::EmptyName:
                return std::u16string(u"名前がありません");
            case cadlink::TextProblem::NameTooLong:
                return u"名前が " + builder::integerText(static_cast<std::int64_t>(cadlink::kMaxLayerName)) +
                       u" 文字を超えています";
            case cadlink::TextProblem::ControlCharacter:
            case cadlink::TextProblem::UnpairedSurrogate:
                return std::u16string(u"制御文字か、対になっていないサロゲートを含みます");
            case cadlink::TextProblem::Blank:
                return std::u16string(
                    u"半角の空白を含みます（AutoCAD LT のコマンドラインでは Enter になります）");
            case cadlink::TextProblem::NameCharacter:
                // Which character it is.
                for (char16_t c : name) {
                    const std::u16string_view one(&c, 1);
                    if (cadlink::layerNameProblem(one) == cadlink::TextProblem::NameCharacter) {
                        return u"使用できない文字" + quoted(one) + u"を含みます";
                    }
                }
                break;
        }
    }
    if (name.find(u'\uFFFD') != std::u16string_view::npos) {
        return std::u16string(u"ファイルの文字コードで読めない文字（\uFFFD）を含みます");
    }
    const bool ascii = std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x80; });
    if (!ascii && !tiermark::toCp932(name)) {
        for (std::size_t i = 0; i < name.size(); ++i) {
            const std::size_t length = i + 1 < name.size() && name[i] >= 0xD800 && name[i] <= 0xDBFF ? 2 : 1;
            if (!tiermark::toCp932(name.substr(i, length))) {
                return u"AutoCAD LT の文字コード（シフトJIS）にない文字" + quoted(name.substr(i, length)) +
                       u"を含みます";
            }
            i += length - 1;
        }
        return std::u16string(u"AutoCAD LT の文字コード（シフトJIS）にない文字を含みます");
    }
    return std::nullopt;
}

void addFamily(std::vector<Family>& families, std::u16string prefix, std::u16string templateName,
               bool ofKind) {
    const std::u16string key = tiermark::asciiUppercased(prefix);
    for (Family& family : families) {
        if (family.prefix == key) {
            if (ofKind && !family.ofDrawingKind) {
                family.ofDrawingKind = true;
                family.templateName = std::move(templateName);
            }
            return;
        }
    }
    families.push_back(Family{key, std::move(templateName), ofKind});
}

// The member prefixes of a family row as the numbered-layer form names its members: letter, object code,
// element code; family 4 also with the dimension and text elements of its check boxes.
void addFamilyRow(std::vector<Family>& families, const std::u16string& letter, int familyNumber,
                  const std::u16string& templateName, bool ofKind) {
    const numbered::Family* row = numbered::familyRow(familyNumber);
    if (row == nullptr) {
        // No row of the form: the template's own name without its placeholder.
        if (!templateName.empty()) {
            addFamily(families, templateName.substr(0, templateName.size() - 1), templateName, ofKind);
        }
        return;
    }
    const std::u16string object = letter + std::u16string(row->objectCode);
    const auto add = [&](std::u16string_view element) {
        const std::u16string prefix = object + std::u16string(element);
        addFamily(families, prefix, ofKind ? templateName : prefix + u"n", ofKind);
    };
    add(row->elementCode);
    if (familyNumber == numbered::kFamilyWithCompanions) {
        add(numbered::kDimensionElement);
        add(numbered::kTextElement);
    }
}

bool isStageLetter(char16_t c) {
    return c == u'S' || c == u'D' || c == u'C' || c == u'M';
}

}  // namespace

Judge::Judge(const Standard& standard) : m_standard(standard) {
    for (std::size_t i = 0; i < standard.layers.size(); ++i) {
        m_byName.emplace(tiermark::asciiUppercased(standard.layers[i].name), i);
    }
    for (const builder::PlannedFamily& family : standard.families) {
        addFamilyRow(m_families, standard.letter, family.family, family.templateName, true);
    }
    for (int family = 1; family <= 99; ++family) {
        addFamilyRow(m_families, standard.letter, family, {}, false);
    }
    // Longer prefixes first, so that a member is judged by the family that names the most of it.
    std::stable_sort(m_families.begin(), m_families.end(),
                     [](const Family& a, const Family& b) { return a.prefix.size() > b.prefix.size(); });
    for (const cadlink::LayerRecord& layer : standard.layers) {
        m_changerEntries.push_back(layer.name);
    }
    for (const builder::PlannedFamily& family : standard.families) {
        m_changerEntries.push_back(family.templateName);
    }
}

Row Judge::judge(const cadlink::DrawingLayer& layer, std::optional<std::size_t>& standardIndex) const {
    Row row;
    row.name = layer.name;
    row.colour = layer.colour;
    row.trueColour = layer.trueColour;
    row.linetype = layer.linetype;
    const std::u16string key = tiermark::asciiUppercased(layer.name);

    if (auto forbidden = forbiddenNote(layer.name)) {
        row.verdict = Verdict::Forbidden;
        row.note = std::move(*forbidden);
    } else if (key == u"0" || key == u"DEFPOINTS") {
        row.verdict = Verdict::Fixed;
        row.note = u"どの図面にもある画層です";
    } else if (auto found = m_byName.find(key); found != m_byName.end()) {
        standardIndex = found->second;
        judgeStandard(row, layer, m_standard.layers[found->second]);
    } else if (auto member = std::find_if(m_families.begin(), m_families.end(),
                                          [&](const Family& f) {
                                              return key.size() > f.prefix.size() &&
                                                     key.compare(0, f.prefix.size(), f.prefix) == 0;
                                          });
               member != m_families.end()) {
        judgeMember(row, layer, *member);
    } else {
        judgeOther(row, layer, key);
    }
    return row;
}

void Judge::judgeStandard(Row& row, const cadlink::DrawingLayer& layer,
                          const cadlink::LayerRecord& model) const {
    row.standardName = model.name;
    row.standardColour = static_cast<int>(model.colour);
    row.standardLinetype = cadlink::effectiveLinetype(model);
    if (layer.trueColour) {
        // A true colour is the standard's only where it is the standard colour number's own.
        if (dxf::colourNumberRgb(static_cast<int>(model.colour)) != layer.trueColour) {
            addNote(row.note, u"色が " + dxf::trueColourText(*layer.trueColour) + u"（基準は " +
                                  builder::integerText(model.colour) + u"）");
        }
    } else if (layer.colour != model.colour) {
        addNote(row.note, u"色が " + builder::integerText(layer.colour) + u"（基準は " +
                              builder::integerText(model.colour) + u"）");
    }
    if (!tiermark::equalsIgnoringAsciiCase(layer.linetype, row.standardLinetype)) {
        addNote(row.note,
                u"線種が" + quoted(layer.linetype) + u"（基準は" + quoted(row.standardLinetype) + u"）");
    }
    if (layer.name != model.name) {
        addNote(row.note, u"名前の大文字・小文字が基準と異なります");
    }
    row.verdict = row.note.empty() ? Verdict::Standard : Verdict::OtherProperties;
}

void Judge::judgeMember(Row& row, const cadlink::DrawingLayer& layer, const Family& family) {
    const std::u16string suffix = layer.name.substr(family.prefix.size());
    row.standardName = family.templateName;
    row.standardLinetype = std::u16string(cadlink::kContinuous);
    const bool offered = suffix.size() == 1 && numbered::isOfferedSuffix(suffix[0]);
    if (!family.ofDrawingKind) {
        row.verdict = Verdict::NumberedNotAllowed;
        row.note = u"この図面名にはない系列" + quoted(family.templateName) + u"の番号付きレイヤーです";
    } else if (!offered) {
        row.verdict = Verdict::NumberedNotAllowed;
        row.note = suffix == u"n"
                       ? u"系列の雛形の名前です（「n」は番号の置き場所）"
                       : u"番号" + quoted(suffix) + u"は系列の番号（1～9、A～Z の 1 文字）ではありません";
    } else {
        row.verdict = Verdict::NumberedAllowed;
        row.note = u"系列" + quoted(family.templateName) + u"の番号付きレイヤーです";
        if (!tiermark::equalsIgnoringAsciiCase(layer.linetype, cadlink::kContinuous)) {
            addNote(row.note, u"線種が" + quoted(layer.linetype) + u"（番号付きレイヤーは Continuous）");
        }
    }
}

void Judge::judgeOther(Row& row, const cadlink::DrawingLayer& layer, const std::u16string& key) const {
    row.verdict = Verdict::NotStandard;
    // What the layer changer would make of it, or a standard name of another stage.
    if (auto part = builder::standardPart(layer.name)) {
        const std::u16string stem = builder::stemOf(*part);
        if (auto entry = builder::matchingEntry(*part, stem, m_changerEntries)) {
            row.standardName = m_changerEntries[*entry];
            row.note = u"レイヤーチェンジャーで" + quoted(builder::convertedName(stem, layer.name)) +
                       u"に変換できます";
        }
    }
    if (row.note.empty() && !m_standard.letter.empty() && key.size() > 2 && isStageLetter(key[0]) &&
        key[1] == u'-') {
        const std::u16string other = m_standard.letter + key.substr(1);
        if (auto sameCode = m_byName.find(other); sameCode != m_byName.end()) {
            row.standardName = m_standard.layers[sameCode->second].name;
            row.note = u"ライフサイクル記号が選択（" + m_standard.letter + u"）と異なります";
        }
    }
}

Row Judge::judgeReferenced(const cadlink::DrawingLayer& layer) const {
    const std::size_t bar = layer.name.rfind(u'|');
    const std::u16string reference = bar == std::u16string::npos ? u"" : layer.name.substr(0, bar);
    cadlink::DrawingLayer own = layer;
    own.name = bar == std::u16string::npos ? layer.name : layer.name.substr(bar + 1);
    std::optional<std::size_t> ignored;
    Row inner = judge(own, ignored);

    Row row = inner;
    row.name = layer.name;
    row.verdict = Verdict::XrefDependent;
    row.referenced = inner.verdict;
    row.note = (reference.empty() ? u"外部参照" : u"外部参照" + quoted(reference)) +
               u"の画層です（名前は AutoCAD LT が付け、変更できません）。参照先の画層" + quoted(own.name) +
               u"：" + std::u16string(verdictText(inner.verdict)) +
               (inner.note.empty() ? u"" : u"（" + inner.note + u"）");
    return row;
}

}  // namespace layercheck
