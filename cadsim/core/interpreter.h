#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cadsim/core/command_table.h"
#include "cadsim/core/drawing.h"
#include "common/result.h"

namespace cadsim {

// The stand-in's command line. It takes text as a user types it: CR and LF are Enter, ESC cancels the
// command in progress, NUL ends the text (what follows it is not read), backspace takes back the last
// character; a text may hold several inputs and a command may run over many texts. What happens at each
// prompt is the command table's business (command_table.cpp). The history keeps the prompts with the
// echoed inputs and the answers, like the CAD program's command-line window.
class Interpreter {
public:
    explicit Interpreter(Drawing& drawing);

    void type(std::u16string_view text);
    void enter();
    void cancel();

    // Plays a script as SCRIPT does: every line as typed and ended by Enter (CR LF, CR or LF end a line;
    // an empty line is an Enter of its own). A script that starts another one ends there, as in AutoCAD
    // LT; a chain of more than kMaxChainedScripts stops.
    void playScript(std::u16string script);
    static constexpr int kMaxChainedScripts = 100;

    // Object selection by pointing: while a prompt waits for objects, a pick adds an object and a right
    // click (confirmSelection) ends the selection like Enter.
    bool waitingForObjects() const;
    tiermark::Result<void> pick(int id);
    tiermark::Result<void> confirmSelection();
    const std::vector<int>& selection() const { return m_context.selection; }

    Step step() const { return m_step; }
    std::u16string prompt() const;
    const std::u16string& pendingInput() const { return m_line; }
    const std::vector<std::u16string>& history() const { return m_history; }
    // Raised whenever the history or the command state changes.
    std::uint64_t revision() const { return m_revision; }

    // Longest input line kept; what is typed beyond it is dropped (and said once).
    static constexpr std::size_t kMaxLine = 4096;
    // History lines kept; older ones are dropped.
    static constexpr std::size_t kMaxHistory = 2000;

private:
    void submit(std::u16string line);
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
    std::uint64_t m_revision = 0;
    // The script being played and where it stands.
    std::u16string m_script;
    std::size_t m_scriptAt = 0;
    bool m_playing = false;
    int m_chained = 0;
};

}  // namespace cadsim
