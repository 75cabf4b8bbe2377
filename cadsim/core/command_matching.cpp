#include "cadsim/core/command_table.h"

#include <algorithm>

#include "cadsim/core/text.h"
#include "common/ascii.h"
#include "common/utf.h"

// How typed input meets the rows of the command table: command names with their prefixes, keywords by
// their capitals.
namespace cadsim {

namespace {

// The names of a "|"-separated list, upper-cased.
std::vector<std::u16string> alternatives(const char* text) {
    std::vector<std::u16string> out;
    const std::u16string all = tiermark::asciiUppercased(tiermark::fromUtf8(text));
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t bar = all.find(u'|', start);
        if (bar == std::u16string::npos) {
            bar = all.size();
        }
        out.push_back(all.substr(start, bar - start));
        start = bar + 1;
    }
    return out;
}

// A command name as typed without its "_" (untranslated) and "." (built-in) prefixes; a "-" among them
// stays in front: "_-layer" and "-_LAYER" both give "-LAYER".
std::u16string bareCommand(std::u16string_view input) {
    bool dash = false;
    std::size_t i = 0;
    while (i < input.size() && (input[i] == u'_' || input[i] == u'.' || input[i] == u'-')) {
        dash = dash || input[i] == u'-';
        ++i;
    }
    return (dash ? u"-" : u"") + tiermark::asciiUppercased(input.substr(i));
}

bool isLower(char16_t c) {
    return c >= u'a' && c <= u'z';
}

// A keyword is met by its capitals, as the command reference writes it ([Ltype], [stAte]): a keyword whose
// capitals lead ("LType", "TRansparency", "BOX") takes any beginning of itself that holds them all ("LT",
// "LTY", … "LTYPE"); one whose capitals stand inside ("stAte", "ltScale", "multileadeRstyle") takes its
// capitals alone ("A", "S", "R") or the whole keyword. A keyword without letters ("?") must be typed whole.
bool keywordMatches(const std::u16string& keyword, std::u16string_view input) {
    const std::u16string typed = tiermark::asciiUppercased(input);
    const std::u16string full = tiermark::asciiUppercased(keyword);
    if (typed.empty() || typed.size() > full.size()) {
        return false;
    }
    std::size_t leading = 0;
    while (leading < keyword.size() && !isLower(keyword[leading])) {
        ++leading;
    }
    std::u16string capitals;
    for (char16_t c : keyword) {
        if (!isLower(c)) {
            capitals.push_back(c);
        }
    }
    if (capitals.size() == leading) {
        return typed.size() >= std::max<std::size_t>(leading, 1) && full.compare(0, typed.size(), typed) == 0;
    }
    return typed == tiermark::asciiUppercased(capitals) || typed == full;
}

bool listMatches(const char* list, std::u16string_view typed) {
    const std::u16string keywords = tiermark::fromUtf8(list);
    std::size_t start = 0;
    while (start <= keywords.size()) {
        std::size_t bar = keywords.find(u'|', start);
        if (bar == std::u16string::npos) {
            bar = keywords.size();
        }
        if (keywordMatches(keywords.substr(start, bar - start), typed)) {
            return true;
        }
        start = bar + 1;
    }
    return false;
}

bool commandMatches(const char* names, std::u16string_view input) {
    const std::u16string name = bareCommand(input);
    for (const std::u16string& candidate : alternatives(names)) {
        if (name == candidate) {
            return true;
        }
    }
    return false;
}

}  // namespace

const GenericCommand* findGenericCommand(std::u16string_view input) {
    for (const GenericCommand& command : genericCommands()) {
        if (commandMatches(command.names, input)) {
            return &command;
        }
    }
    return nullptr;
}

bool matches(const Row& row, std::u16string_view input) {
    switch (row.match) {
        case Match::Command:
            return commandMatches(row.text, input);
        case Match::Generic:
            return findGenericCommand(input) != nullptr;
        case Match::Keyword: {
            std::u16string_view typed = input;
            if (!typed.empty() && typed.front() == u'_') {
                typed.remove_prefix(1);
            }
            return listMatches(row.text, typed);
        }
        case Match::Empty:
            return input.empty();
        case Match::Text:
            return !input.empty();
        case Match::Any:
            return true;
        case Match::Prompt:
        case Match::LinePrompt:
        case Match::ObjectPrompt:
        case Match::Otherwise:
            return false;
    }
    return false;
}

bool keywordIs(std::u16string_view input, std::u16string_view keyword) {
    if (!input.empty() && input.front() == u'_') {
        input.remove_prefix(1);
    }
    return keywordMatches(std::u16string(keyword), input);
}

std::u16string commandNameOf(const Row& row, std::u16string_view input) {
    const char* names = row.text;
    if (row.match == Match::Generic) {
        const GenericCommand* command = findGenericCommand(input);
        names = command != nullptr ? command->names : "";
    }
    return alternatives(names).front();
}

}  // namespace cadsim
