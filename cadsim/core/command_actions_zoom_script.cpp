#include "cadsim/core/command_actions.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cadsim/core/command_action_support.h"
#include "cadsim/core/points.h"
#include "common/codepage.h"
#include "common/numtext.h"

namespace cadsim::actions {

// --- ZOOM ------------------------------------------------------------------------------------------------

Outcome chooseZoomValue(CommandContext& c, std::u16string_view input) {
    c.valuePrompt = keywordIs(input, u"Center")   ? u"Specify center point:"
                    : keywordIs(input, u"Scale")  ? u"Enter a scale factor (nX or nXP):"
                    : keywordIs(input, u"Window") ? u"Specify first corner:"
                                                  : u"Select objects:";
    return accept();
}

Outcome zoomCornerOrScale(CommandContext&, std::u16string_view input) {
    if (parsePoint(input)) {
        return acceptTo(Step::ZoomCorner);
    }
    std::u16string_view number = input;
    while (!number.empty() && (number.back() == u'x' || number.back() == u'X' || number.back() == u'p' ||
                               number.back() == u'P')) {
        number.remove_suffix(1);
    }
    if (tiermark::parseDecimal(number)) {
        return accept();
    }
    return refuse("Point or option keyword required.");
}

// --- SCRIPT ----------------------------------------------------------------------------------------------

Outcome readScript(CommandContext& c, std::u16string_view input) {
    // A name may stand in double quotes; without an extension ".scr" is added, as AutoCAD LT does.
    std::u16string name(input);
    if (name.size() >= 2 && name.front() == u'"' && name.back() == u'"') {
        name = name.substr(1, name.size() - 2);
    }
    std::filesystem::path path(std::u8string(reinterpret_cast<const char8_t*>(utf8(name).c_str())));
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) && !path.has_extension()) {
        path += ".scr";
    }
    constexpr std::uintmax_t kMaxScript = 16u * 1024u * 1024u;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || !std::filesystem::is_regular_file(path, error)) {
        return accept("Can't find file " + quotedText(name) + ".");
    }
    if (size > kMaxScript) {
        return accept("Script file " + quotedText(name) + " is too large.");
    }
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.good() && !file.eof()) {
        return accept("Can't read file " + quotedText(name) + ".");
    }
    // AutoCAD LT reads a script in the system's code page (932 here); a file that starts with the UTF-8 byte
    // order mark is read as UTF-8.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    std::u16string text;
    if (bytes.rfind(kBom, 0) == 0) {
        text = tiermark::fromUtf8(std::string_view(bytes).substr(kBom.size()));
    } else if (auto decoded = tiermark::fromCp932(bytes)) {
        text = std::move(*decoded);
    } else {
        return accept("Script file " + quotedText(name) + " is not text in code page 932.");
    }
    c.script = std::move(text);
    return accept();
}

}  // namespace cadsim::actions
