#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What text from outside the program may be typed into AutoCAD LT's command line. The database, the
// drawing and the user's boxes are not trusted: a control character in a layer name would act on the
// command line (CR and LF are Enter, ESC cancels, the rest of the text then answers prompts the program
// never meant to answer), and half of a surrogate pair reaches AutoCAD LT as some other text. The program's
// own CR and ESC, in the fixed places of its command texts, are the only control characters it sends.
namespace cadlink {

enum class TextProblem {
    ControlCharacter,   // U+0000–U+001F or U+007F
    UnpairedSurrogate,  // half of a surrogate pair
    EmptyName,          // a layer needs a name
    NameTooLong,        // more than 255 characters
    NameCharacter,      // one of < > / \ " : ; ? * | , = ` ' that AutoCAD LT refuses in names
    Blank,              // an ASCII blank, which AutoCAD LT's command line takes as Enter
};

// The longest layer name AutoCAD LT takes.
inline constexpr std::size_t kMaxLayerName = 255;

// Why the text may not go into a command text as one answer (a line type, a layer typed for CHANGE),
// or nothing when it may. Empty text may: it answers with Enter alone.
std::optional<TextProblem> answerProblem(std::u16string_view text);

// Why the text may not be typed as the name of a layer (or of a line type), or nothing when it may: an
// answer's problems, no name at all, a name over 255 characters, a character that names may not hold (a
// comma would also make "-Layer" take the rest as a second name), or an ASCII blank anywhere: at a name
// prompt a blank ends the input as Enter does, so the rest of the name would answer the next prompt. This
// one rule decides for the live link, the script, the exported layer set and the layer check alike. The
// wide text AutoCAD LT takes carries every other character (the ideographic space U+3000 included).
std::optional<TextProblem> layerNameProblem(std::u16string_view name);

// The text as a message shows it: each control character as its visible picture (CR as ␍, ESC as ␛), each
// unpaired surrogate as U+FFFD, so that the user sees what the database holds.
std::u16string visibleText(std::u16string_view text);

}  // namespace cadlink
