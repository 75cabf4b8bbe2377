#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

// tiermark-check's arguments: the options and drawings it is given, its help, and the drawing kind named as
// text.
namespace layercheck {

// What the command was asked to do.
struct CheckRequest {
    bool help = false;
    std::u16string kind;                 // --kind; "auto": each drawing its best-matching kind
    std::u16string database;             // --database; empty: the registered one
    std::u16string csv;                  // --csv: a file, or a folder for one CSV per drawing; empty: none
    std::u16string map;                  // --map: the layer map the drawings are translated with
    std::u16string out;                  // --out: the folder of the translated copies (with --map)
    std::u16string report;               // --report: the one report, a CSV and an HTML page beside it
    std::vector<std::u16string> inputs;  // drawings (.dxf) and folders of drawings
};

// The --kind that lets each drawing get the kind whose standard layers it matches best.
inline constexpr std::u16string_view kAutomaticKind = u"auto";

// The arguments after the program's name; the error (Japanese, UTF-8) says what is wrong with them.
tiermark::Result<CheckRequest> parseArguments(const std::vector<std::u16string>& arguments);

// What --help prints.
std::u16string helpText();

// A drawing kind as the command names it: stage/construction kind/work type/drawing kind
// ("設計/道路/道路一般/位置図"), or the work-type key and the drawing kind, with the stage before them or not
// ("設計/1/位置図", "1/位置図"; without one, the stage the builder starts with).
struct KindText {
    std::u16string stage;  // empty: the default stage
    std::u16string constructionKind;
    std::u16string workType;
    std::u16string key;  // the work-type key, when given as a number
    std::u16string drawing;
};
tiermark::Result<KindText> parseKind(std::u16string_view text);

// An error of the command: its message (Japanese) as UTF-8.
tiermark::Error commandError(const std::u16string& message);

}  // namespace layercheck
