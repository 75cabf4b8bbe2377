#pragma once

#include <string>
#include <vector>

#include "cadlink/command_texts.h"
#include "common/result.h"

// AutoCAD scripts (.scr): the command sequences the link types into AutoCAD LT, written as a file that
// AutoCAD LT's SCRIPT command plays back, for a drawing the link cannot reach.
//
// A script is plain text that AutoCAD LT reads line by line as if typed: each line end is Enter. It cannot
// hold ESC, so a sequence is written in the form that does the same without it:
//   - the ESCs that open a sequence are left out: they only cancel what may be pending at the command
//     line, and in a script every sequence starts at an idle command line, because the one before it ended
//     its command;
//   - the ESCs that close a sequence become one empty line: each "-Layer" sequence closes at the command's
//     option prompt, where Enter ends the command just as ESC cancels it, and what the options did stays;
//   - CR, LF and CR LF each end a line.
// An ESC anywhere else, a sequence that stops in the middle of a line, or any other control character has
// no script form and is refused.
//
// AutoCAD LT on Japanese Windows reads a script in the ANSI code page of the system, 932 (Shift-JIS), with
// CR LF line ends; a UTF-8 file would turn every Japanese character into other characters. The bytes are
// therefore code page 932, and a text that code page 932 cannot hold is refused.
namespace cadlink {

class Script {
public:
    // Adds one sequence: the texts of one command as the link sends them (createLayerTexts, ...).
    tiermark::Result<void> add(const std::vector<std::u16string>& sequence);
    // A composed sequence as above; one that could not be composed (text from outside that the link
    // would not type) adds nothing and is refused.
    tiermark::Result<void> add(const Sequence& sequence);

    // The script's lines so far, each without its line end (an empty line is an Enter).
    const std::vector<std::u16string>& lines() const { return m_lines; }

    // The file's bytes: the lines in code page 932, each ended by CR LF.
    tiermark::Result<std::string> bytes() const;

private:
    std::vector<std::u16string> m_lines;
};

}  // namespace cadlink
