#include "cadlink/script.h"

#include "common/codepage.h"

namespace cadlink {

namespace {

constexpr char16_t kEsc = u'\x1b';
constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

std::string lineNumber(std::size_t index) {
    return std::to_string(index + 1);
}

}  // namespace

tiermark::Result<void> Script::add(const std::vector<std::u16string>& sequence) {
    std::u16string typed;
    for (const std::u16string& text : sequence) {
        typed += text;
    }
    std::size_t begin = 0;
    while (begin < typed.size() && typed[begin] == kEsc) {
        ++begin;
    }
    std::size_t end = typed.size();
    while (end > begin && typed[end - 1] == kEsc) {
        --end;
    }
    const bool closedByEscape = end < typed.size();

    std::vector<std::u16string> lines;
    std::u16string line;
    bool lineOpen = false;
    for (std::size_t i = begin; i < end; ++i) {
        const char16_t c = typed[i];
        if (c == kCr || c == kLf) {
            if (c == kCr && i + 1 < end && typed[i + 1] == kLf) {
                ++i;
            }
            lines.push_back(std::move(line));
            line.clear();
            lineOpen = false;
        } else if (c == kEsc) {
            return tiermark::makeError("ESC の途中にあるコマンドはスクリプトに書けません。");
        } else if (c < 0x20 || c == 0x7F) {
            return tiermark::makeError("制御文字を含むコマンドはスクリプトに書けません。");
        } else {
            line.push_back(c);
            lineOpen = true;
        }
    }
    if (lineOpen) {
        return tiermark::makeError("行の途中で終わるコマンドはスクリプトに書けません。");
    }
    if (closedByEscape) {
        lines.emplace_back();
    }
    m_lines.insert(m_lines.end(), std::make_move_iterator(lines.begin()),
                   std::make_move_iterator(lines.end()));
    return {};
}

tiermark::Result<void> Script::add(const Sequence& sequence) {
    if (!sequence) {
        return tiermark::makeError(
            "AutoCAD LT に送れない文字か、画層名に使えない文字を含むコマンドはスクリプトに書けません。");
    }
    return add(*sequence);
}

tiermark::Result<std::string> Script::bytes() const {
    std::string out;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        auto encoded = tiermark::toCp932(m_lines[i]);
        if (!encoded) {
            return tiermark::makeError(
                lineNumber(i) + " 行目に、AutoCAD LT のスクリプト（シフトJIS）に書けない文字があります。");
        }
        out += *encoded;
        out += "\r\n";
    }
    return out;
}

}  // namespace cadlink
