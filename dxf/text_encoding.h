#pragma once

#include <string>
#include <string_view>

#include "common/result.h"

// How the texts of a DXF file (layer and line-type names) are stored. AutoCAD 2007 (AC1021) and later
// write UTF-8. Earlier versions write the drawing's code page, named by the header variable $DWGCODEPAGE
// ("ANSI_932" on Japanese Windows), and a character outside it as "\U+XXXX", or, for a double-byte
// character of another Asian code page, as "\M+nXXXX" (n = 1 for code page 932).
namespace dxf {

enum class TextEncoding {
    Utf8,          // AC1021 and later, or an earlier file whose header names UTF-8 as its code page
    CodePage932,   // ANSI_932, as AutoCAD LT on Japanese Windows writes earlier versions
    Unstated,      // an earlier file that names no code page: programs other than AutoCAD write these,
                   // most of them in UTF-8, the rest (Japanese ones) in code page 932
    CodePage1252,  // ANSI_1252, the Western European code page
    Other,         // any other code page: only its ASCII characters can be read
};

// The encoding of a file with this $ACADVER ("AC1015", ...) and $DWGCODEPAGE ("ANSI_932", ...), each as
// written in the file (empty when the header lacks it).
TextEncoding encodingOf(std::string_view acadVersion, std::string_view codePage);

struct DecodedText {
    std::u16string text;
    // Some bytes could not be read in the encoding: each stands as U+FFFD in the text.
    bool lossy = false;
};

// Reads one text of the file, escapes included, in the encoding its header gives:
// - UTF-8 (AutoCAD 2007 and later): as UTF-8; bytes that are not UTF-8 (code page 932 that some programs
//   write into these files) as code page 932.
// - A code page (932 or 1252): in that code page wherever the text decodes cleanly in it, even where the
//   same bytes would also be well-formed UTF-8 ("ﾎｱ", CE B1, stays "ﾎｱ" and is never "α"). Only a text the
//   code page cannot read is taken as UTF-8 where it is well-formed UTF-8 (programs that write UTF-8 into
//   earlier versions), and otherwise read in the code page with U+FFFD for what it cannot read.
// - Unstated (no code page in the header, no release that implies one): a guess, since such files come
//   from programs other than AutoCAD: well-formed UTF-8 is UTF-8, anything else code page 932 (with U+FFFD
//   for bytes that are neither).
// - Another code page: its ASCII characters; a text beyond ASCII is read as UTF-8 where it is well-formed
//   UTF-8 and otherwise stands as U+FFFD.
DecodedText decodeText(std::string_view bytes, TextEncoding encoding);

// The bytes of a text in a file written in code page 932 (AutoCAD 2000 form, $DWGCODEPAGE ANSI_932); an
// error when code page 932 cannot hold a character of it.
tiermark::Result<std::string> encodeCodePage932(std::u16string_view text);

// A text (a layer or line-type name) as a file of this encoding stores it, the way decodeText reads it back:
// UTF-8 for AutoCAD 2007 and later; in a code page, each character it holds as such and every other one as
// "\U+XXXX" (a surrogate pair as two escapes). An Unstated file gets UTF-8 unless the text it replaces
// (written, as the file has it) is code page 932, which such a file then uses.
std::string encodeText(std::u16string_view text, TextEncoding encoding, std::string_view written = {});

}  // namespace dxf
