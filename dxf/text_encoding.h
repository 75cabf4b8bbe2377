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
    Utf8,          // AC1021 and later
    CodePage932,   // ANSI_932, as AutoCAD LT on Japanese Windows writes earlier versions
    Unstated,      // an earlier file that names no code page: programs other than AutoCAD write these,
                   // most of them in UTF-8; what is not UTF-8 is read as code page 932
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

// Reads one text of the file, escapes included. Files that are not what they say are common (many
// programs write UTF-8 into files of earlier versions), so well-formed UTF-8 is read as UTF-8 whatever the
// header says, in a file that names code page 932 only when code page 932 holds the text it gives; other
// bytes are read in the file's code page, and a UTF-8 file's bytes that are not UTF-8 as code page 932. What
// cannot be told apart: code page 932 whose bytes are also UTF-8 of text that code page 932 holds (a rare
// kanji followed by a full-width sign, E4 B8 81 40, is also "丁@") reads as UTF-8.
DecodedText decodeText(std::string_view bytes, TextEncoding encoding);

// The bytes of a text in a file written in code page 932 (AutoCAD 2000 form, $DWGCODEPAGE ANSI_932); an
// error when code page 932 cannot hold a character of it.
tiermark::Result<std::string> encodeCodePage932(std::u16string_view text);

}  // namespace dxf
