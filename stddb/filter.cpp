#include "stddb/filter.h"

#include <optional>

#include "common/numtext.h"
#include "common/utf.h"
#include "stddb/table_index.h"
#include "stddb/text_compare.h"

namespace stddb {

namespace {

enum class TokenKind { Word, Quoted, Equals };

struct Token {
    TokenKind kind;
    std::u16string text;
};

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

tiermark::Error invalid(std::u16string_view filter, const char* why) {
    return tiermark::makeError("invalid filter \"" + tiermark::toUtf8(filter) + "\": " + why);
}

tiermark::Result<std::vector<Token>> tokenize(std::u16string_view filter) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < filter.size()) {
        const char16_t c = filter[i];
        if (isBlank(c)) {
            ++i;
        } else if (c == u'=') {
            tokens.push_back({TokenKind::Equals, u"="});
            ++i;
        } else if (c == u'\'') {
            const std::size_t close = filter.find(u'\'', i + 1);
            if (close == std::u16string_view::npos) {
                return invalid(filter, "unterminated quoted text");
            }
            // A quoted value ends the term: a quote inside the value leaves text glued to the closing quote.
            if (close + 1 < filter.size() && !isBlank(filter[close + 1])) {
                return invalid(filter, "quote inside a quoted value");
            }
            tokens.push_back({TokenKind::Quoted, std::u16string(filter.substr(i + 1, close - i - 1))});
            i = close + 1;
        } else {
            std::size_t end = i;
            while (end < filter.size() && !isBlank(filter[end]) && filter[end] != u'=' &&
                   filter[end] != u'\'') {
                ++end;
            }
            tokens.push_back({TokenKind::Word, std::u16string(filter.substr(i, end - i))});
            i = end;
        }
    }
    return tokens;
}

}  // namespace

tiermark::Result<std::vector<FilterTerm>> parseFilter(std::u16string_view filter) {
    auto tokens = tokenize(filter);
    if (!tokens) {
        return tokens.error();
    }
    const std::vector<Token>& t = tokens.value();
    std::vector<FilterTerm> terms;
    std::size_t i = 0;
    while (i < t.size()) {
        if (!terms.empty()) {
            if (t[i].kind != TokenKind::Word || !equalsIgnoringAsciiCase(t[i].text, u"and")) {
                return invalid(filter, "terms must be joined by \"and\"");
            }
            if (++i >= t.size()) {
                return invalid(filter, "nothing after \"and\"");
            }
        }
        if (i + 2 >= t.size()) {
            return invalid(filter, "incomplete comparison");
        }
        if (t[i].kind != TokenKind::Word || t[i + 1].kind != TokenKind::Equals) {
            return invalid(filter, "expected field = value");
        }
        FilterTerm term;
        term.field = t[i].text;
        const Token& value = t[i + 2];
        if (value.kind == TokenKind::Quoted) {
            term.isText = true;
            term.text = value.text;
        } else if (value.kind == TokenKind::Word) {
            const std::optional<double> number = tiermark::parseDecimal(value.text);
            if (!number) {
                return invalid(filter, "value is neither a number nor quoted text");
            }
            term.number = *number;
        } else {
            return invalid(filter, "missing value");
        }
        terms.push_back(std::move(term));
        i += 3;
    }
    return terms;
}

tiermark::Result<std::vector<std::size_t>> applyFilter(const Table& table,
                                                       const std::vector<std::size_t>& candidates,
                                                       const std::vector<FilterTerm>& terms) {
    struct Bound {
        const FilterTerm* term;
        std::size_t column;
        bool textColumn;
    };
    std::vector<Bound> bound;
    for (const FilterTerm& term : terms) {
        const int column = table.columnIndex(term.field);
        if (column < 0) {
            return tiermark::makeError("filter names a field that table \"" + tiermark::toUtf8(table.name) +
                                       "\" does not have: " + tiermark::toUtf8(term.field));
        }
        const ColumnType type = table.columns[static_cast<std::size_t>(column)].type;
        const bool textColumn = type == ColumnType::Text || type == ColumnType::Memo;
        if (textColumn && !term.isText) {
            return tiermark::makeError("data type mismatch in filter: text field " +
                                       tiermark::toUtf8(term.field) + " compared with a number");
        }
        if (!textColumn && term.isText && !tiermark::parseDecimal(term.text)) {
            return tiermark::makeError("data type mismatch in filter: number field " +
                                       tiermark::toUtf8(term.field) + " compared with text");
        }
        bound.push_back({&term, static_cast<std::size_t>(column), textColumn});
    }
    // Candidates are distinct rows of the table: as many as it has rows are all of them, in stored order.
    if (candidates.size() == table.rows.size() && !terms.empty()) {
        if (const TableIndex* index = indexCovering(table, terms)) {
            return index->rows(terms);
        }
    }

    std::vector<std::size_t> result;
    for (const std::size_t row : candidates) {
        const std::vector<Value>& values = table.rows[row];
        bool all = true;
        for (const Bound& b : bound) {
            const Value& value = b.column < values.size() ? values[b.column] : Value{};
            bool match = false;
            if (isNull(value)) {
                match = false;
            } else if (b.textColumn) {
                const auto* text = std::get_if<std::u16string>(&value);
                match = text != nullptr && equalsIgnoringAsciiCase(*text, b.term->text);
            } else {
                const std::optional<double> have = asNumber(value);
                const std::optional<double> want = b.term->isText ? tiermark::parseDecimal(b.term->text)
                                                                  : std::optional<double>(b.term->number);
                match = have && want && *have == *want;
            }
            if (!match) {
                all = false;
                break;
            }
        }
        if (all) {
            result.push_back(row);
        }
    }
    return result;
}

}  // namespace stddb
