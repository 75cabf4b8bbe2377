#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cadsim/core/command_table.h"
#include "cadsim/core/drawing.h"
#include "common/result.h"

namespace cadsim {

// The stand-in's command line. It takes text as a user types it: CR and LF are Enter, and so is a blank
// except at the prompts that take a whole line (a group description, a file name); ESC cancels the
// command in progress, NUL ends the text (what follows it is not read), backspace takes back the last
// character; a text may hold several inputs and a command may run over many texts. Enter at the command
// prompt repeats the last command. What happens at each prompt is the command table's business
// (command_table.cpp). The history keeps the prompts with the echoed inputs and the answers, like the CAD
// program's command-line window; the complaints are the answers that said an input was not taken.
class Interpreter {
public:
    explicit Interpreter(Drawing& drawing);
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    void type(std::u16string_view text);
    void enter();
    void cancel();

    // Plays a script as SCRIPT does: every line as typed and ended by Enter (CR LF, CR or LF end a line;
    // an empty line is an Enter of its own). A script that starts another one ends there, as in AutoCAD
    // LT; a chain of more than kMaxChainedScripts stops.
    void playScript(std::u16string script);
    static constexpr int kMaxChainedScripts = 100;

    // Object selection by pointing: while a prompt waits for objects, a pick adds an object and a right
    // click (confirmSelection) ends the selection like Enter; at "Command:" a pick holds the object for the
    // next command that selects (noun-verb selection, PICKFIRST 1), and ESC there lets it go.
    bool waitingForObjects() const;
    tiermark::Result<void> pick(int id);
    tiermark::Result<void> confirmSelection();
    const std::vector<int>& selection() const { return m_context.selection; }
    // The objects picked at "Command:" that the next command that selects takes (PICKFIRST 1).
    const std::vector<int>& gripped() const { return m_context.gripped; }

    Step step() const { return m_step; }
    // Whether a blank is a character at the current prompt rather than Enter.
    bool takesWholeLine() const;
    std::u16string prompt() const;
    // Every answer that refused an input or said it was not taken ("Invalid option keyword.", "*Invalid
    // selection*", "Unknown command …"), and every command started, in order (the last kMaxHistory).
    const std::vector<std::u16string>& complaints() const { return m_complaints; }
    const std::vector<std::u16string>& commands() const { return m_commands; }
    const std::u16string& currentLayer() const { return m_context.currentLayer; }
    const std::u16string& pendingInput() const { return m_line; }
    const std::vector<std::u16string>& history() const { return m_history; }
    // Raised whenever the history or the command state changes.
    std::uint64_t revision() const { return m_revision; }

    // Longest input line kept; what is typed beyond it is dropped (and said once).
    static constexpr std::size_t kMaxLine = 4096;
    // History lines kept; older ones are dropped.
    static constexpr std::size_t kMaxHistory = 2000;
    // Steps of U kept.
    static constexpr std::size_t kMaxUndo = 50;

private:
    void submit(std::u16string line);
    void startCommand(std::u16string name);
    void complain(const std::string& message);
    void goTo(Step step);
    void say(const std::string& message);
    void push(std::u16string line);
    std::u16string promptOf(Step step) const;

    Drawing& m_drawing;
    CommandContext m_context;
    Step m_step = Step::Idle;
    std::u16string m_line;
    bool m_overflowSaid = false;
    std::vector<std::u16string> m_history;
    std::vector<std::u16string> m_complaints;
    std::vector<std::u16string> m_commands;
    std::u16string m_lastCommand;
    // The command in progress takes an undo step before its first change.
    bool m_undoArmed = false;
    std::uint64_t m_revision = 0;
    // The script being played and where it stands.
    std::u16string m_script;
    std::size_t m_scriptAt = 0;
    bool m_playing = false;
    int m_chained = 0;
};

}  // namespace cadsim
