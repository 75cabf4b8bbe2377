#include "translate/proposals.h"

#include <array>
#include <optional>

#include "builder/layer_changer.h"
#include "builder/layer_names.h"
#include "common/ascii.h"

namespace translate {

namespace {

// The full-width forms of the half-width katakana U+FF61 to U+FF9F, in order: the half-width marks (U+FF9E,
// U+FF9F) become the combining voiced and semi-voiced marks, which foldMark joins to the kana before them.
constexpr std::array<char16_t, 0x3F> kFullWidthKana = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ',     u'ォ',    u'ャ', u'ュ',
    u'ョ', u'ッ', u'ー', u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ',     u'ク',    u'ケ', u'コ',
    u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ', u'チ', u'ツ', u'テ', u'ト',     u'ナ',    u'ニ', u'ヌ',
    u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ', u'ム',     u'メ',    u'モ', u'ヤ',
    u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'\u3099', u'\u309A'};

constexpr char16_t kVoicedMark = u'\u3099';
constexpr char16_t kSemiVoicedMark = u'\u309A';

// The kana with the voiced mark joined to it (カ and ゛ give ガ), or nothing where none is composed.
std::optional<char16_t> voiced(char16_t kana) {
    constexpr std::u16string_view kNextIsVoiced = u"カキクケコサシスセソタチツテトハヒフヘホ";
    if (kNextIsVoiced.find(kana) != std::u16string_view::npos) {
        return static_cast<char16_t>(kana + 1);
    }
    switch (kana) {
        case u'ウ':
            return u'ヴ';
        case u'ワ':
            return u'ヷ';
        case u'ヲ':
            return u'ヺ';
        default:
            return std::nullopt;
    }
}

std::optional<char16_t> semiVoiced(char16_t kana) {
    constexpr std::u16string_view kHa = u"ハヒフヘホ";
    if (kHa.find(kana) != std::u16string_view::npos) {
        return static_cast<char16_t>(kana + 2);
    }
    return std::nullopt;
}

// Appends one folded character; a (semi-)voiced mark joins the kana before it where they compose.
void append(std::u16string& folded, char16_t c) {
    if ((c == kVoicedMark || c == kSemiVoicedMark) && !folded.empty()) {
        const std::optional<char16_t> joined =
            c == kVoicedMark ? voiced(folded.back()) : semiVoiced(folded.back());
        if (joined) {
            folded.back() = *joined;
            return;
        }
    }
    folded.push_back(c);
}

const cadlink::LayerRecord* layerNamed(const layercheck::Standard& standard, std::u16string_view name) {
    for (const cadlink::LayerRecord& layer : standard.layers) {
        if (tiermark::equalsIgnoringAsciiCase(layer.name, name)) {
            return &layer;
        }
    }
    return nullptr;
}

bool getsNoProposal(const cadlink::DrawingLayer& layer) {
    return layer.xrefDependent || tiermark::equalsIgnoringAsciiCase(layer.name, u"0") ||
           tiermark::equalsIgnoringAsciiCase(layer.name, u"DEFPOINTS");
}

// The standard layer the changer would rename the layer to ("構造物D-STR" to "D-STR"), where the standard
// has that layer.
const cadlink::LayerRecord* suffixTarget(std::u16string_view name, const layercheck::Standard& standard,
                                         const std::vector<std::u16string>& entries) {
    const std::optional<std::u16string> part = builder::standardPart(name);
    if (!part) {
        return nullptr;
    }
    const std::u16string stem = builder::stemOf(*part);
    if (!builder::matchingEntry(*part, stem, entries)) {
        return nullptr;
    }
    return layerNamed(standard, builder::convertedName(stem, name));
}

// The standard's layer names as they are and folded, worked out once for all the drawing's layers.
struct Names {
    std::vector<std::u16string> entries;
    std::vector<std::u16string> folded;
};

std::optional<Proposal> proposalFor(std::u16string_view name, const layercheck::Standard& standard,
                                    const Names& names, const LayerMap& earlier) {
    for (const std::u16string& entry : names.entries) {
        if (entry == name) {
            return Proposal{{std::u16string(name), entry}, ProposalKind::Exact};
        }
    }
    const std::u16string folded = widthFolded(name);
    for (std::size_t i = 0; i < names.folded.size(); ++i) {
        if (names.folded[i] == folded) {
            return Proposal{{std::u16string(name), names.entries[i]}, ProposalKind::CaseOrWidth};
        }
    }
    if (const cadlink::LayerRecord* layer = suffixTarget(name, standard, names.entries)) {
        return Proposal{{std::u16string(name), layer->name}, ProposalKind::Suffix};
    }
    if (const std::u16string* target = earlier.targetOf(name)) {
        if (const cadlink::LayerRecord* layer = layerNamed(standard, *target)) {
            return Proposal{{std::u16string(name), layer->name}, ProposalKind::EarlierMap};
        }
    }
    return std::nullopt;
}

}  // namespace

std::u16string_view proposalKindText(ProposalKind kind) {
    switch (kind) {
        case ProposalKind::Exact:
            return u"同じ名前";
        case ProposalKind::CaseOrWidth:
            return u"大文字・小文字か全角・半角の違い";
        case ProposalKind::Suffix:
            return u"末尾が標準名（レイヤーチェンジャーの規則）";
        case ProposalKind::EarlierMap:
            return u"以前のマップ";
    }
    return u"";
}

std::u16string widthFolded(std::u16string_view name) {
    std::u16string folded;
    folded.reserve(name.size());
    for (const char16_t c : name) {
        if (c >= u'\uFF01' && c <= u'\uFF5E') {
            folded.push_back(tiermark::asciiUpper(static_cast<char16_t>(c - 0xFEE0)));
        } else if (c == u'\u3000') {
            folded.push_back(u' ');
        } else if (c >= u'\uFF61' && c <= u'\uFF9F') {
            append(folded, kFullWidthKana[c - 0xFF61]);
        } else {
            append(folded, tiermark::asciiUpper(c));
        }
    }
    return folded;
}

std::vector<Proposal> proposeMap(const std::vector<cadlink::DrawingLayer>& drawing,
                                 const layercheck::Standard& standard, const LayerMap& earlier) {
    Names names;
    for (const cadlink::LayerRecord& layer : standard.layers) {
        names.entries.push_back(layer.name);
        names.folded.push_back(widthFolded(layer.name));
    }
    std::vector<Proposal> proposals;
    for (const cadlink::DrawingLayer& layer : drawing) {
        if (getsNoProposal(layer)) {
            continue;
        }
        if (std::optional<Proposal> proposal = proposalFor(layer.name, standard, names, earlier)) {
            proposals.push_back(std::move(*proposal));
        }
    }
    return proposals;
}

}  // namespace translate
