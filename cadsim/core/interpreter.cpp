#include "cadsim/core/interpreter.h"

#include <algorithm>

#include "cadsim/core/text.h"
#include "common/utf.h"

namespace cadsim {

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr char16_t kEsc = u'\x1b';
constexpr char16_t kBackspace = u'\b';

const Row* promptRow(Step step) {
    for (const Row& row : commandTable()) {
        if (row.step == step && (row.match == Match::Prompt || row.match == Match::LinePrompt ||
                                 row.match == Match::ObjectPrompt)) {
            return &row;
        }
    }
    return nullptr;
}

// Keeps a bounded list: the oldest quarter goes when it is full.
void keep(std::vector<std::u16string>& list, std::u16string line, std::size_t most) {
    list.push_back(std::move(line));
    if (list.size() > most) {
        list.erase(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(most / 4));
    }
}

void replaceAll(std::u16string& text, std::u16string_view key, std::u16string_view value) {
    for (std::size_t at = text.find(key); at != std::u16string::npos;
         at = text.find(key, at + value.size())) {
        text.replace(at, key.size(), value);
    }
}

}  // namespace

Interpreter::Interpreter(Drawing& drawing) : m_drawing(drawing), m_context(drawing) {
    // U restores the drawing as it was before the last command that changed it.
    m_drawing.setBeforeChange([this] {
        if (!m_undoArmed) {
            return;
        }
        m_undoArmed = false;
        m_context.undo.push_back(UndoStep{m_context.commandName, m_drawing.contents()});
        if (m_context.undo.size() > kMaxUndo) {
            m_context.undo.erase(m_context.undo.begin());
        }
    });
    push(promptOf(Step::Idle));
}

Interpreter::~Interpreter() {
    m_drawing.setBeforeChange(nullptr);
}

std::u16string Interpreter::promptOf(Step step) const {
    const Row* row = promptRow(step);
    std::u16string text = row != nullptr ? tiermark::fromUtf8(row->text) : u"?";
    replaceAll(text, u"{ltype}", m_context.lineType);
    replaceAll(text, u"{color}", tiermark::fromUtf8(std::to_string(m_context.color)));
    replaceAll(text, u"{current}", m_context.currentLayer);
    replaceAll(text, u"{selected}", m_context.oldLayer);
    replaceAll(text, u"{select}", m_context.removing ? u"Remove" : u"Select");
    replaceAll(text, u"{generic}", m_context.genericPrompt);
    replaceAll(text, u"{verb}", m_context.verb);
    replaceAll(text, u"{valueprompt}", m_context.valuePrompt);
    replaceAll(text, u"{type}", m_context.objectType);
    replaceAll(text, u"{groupstate}", m_context.value);
    return text + u" ";
}

bool Interpreter::takesWholeLine() const {
    const Row* row = promptRow(m_step);
    return row != nullptr && row->match == Match::LinePrompt;
}

std::u16string Interpreter::prompt() const {
    return promptOf(m_step);
}

bool Interpreter::waitingForObjects() const {
    const Row* row = promptRow(m_step);
    return row != nullptr && row->match == Match::ObjectPrompt;
}

void Interpreter::push(std::u16string line) {
    m_history.push_back(std::move(line));
    if (m_history.size() > kMaxHistory) {
        m_history.erase(m_history.begin(), m_history.begin() + static_cast<std::ptrdiff_t>(kMaxHistory / 4));
    }
    ++m_revision;
}

void Interpreter::say(const std::string& message) {
    std::size_t start = 0;
    while (start < message.size()) {
        std::size_t end = message.find('\n', start);
        if (end == std::string::npos) {
            end = message.size();
        }
        push(tiermark::fromUtf8(message.substr(start, end - start)));
        start = end + 1;
    }
}

void Interpreter::complain(const std::string& message) {
    if (!message.empty()) {
        keep(m_complaints, tiermark::fromUtf8(message), kMaxHistory);
    }
}

void Interpreter::startCommand(std::u16string name) {
    m_context.commandName = name;
    keep(m_commands, name, kMaxHistory);
    m_undoArmed = name != u"U";
    m_lastCommand = std::move(name);
}

void Interpreter::goTo(Step step) {
    if (step == Step::Idle) {
        m_context.reset();
        m_undoArmed = false;
    }
    m_step = step;
    push(promptOf(step));
}

void Interpreter::type(std::u16string_view text) {
    for (char16_t c : text) {
        if (c == 0) {
            break;
        }
        if (c == kCr || c == kLf || (c == u' ' && !takesWholeLine())) {
            enter();
        } else if (c == kEsc) {
            cancel();
        } else if (c == kBackspace) {
            if (!m_line.empty()) {
                m_line.pop_back();
            }
        } else if (c < 0x20) {
            continue;
        } else if (m_line.size() < kMaxLine) {
            m_line.push_back(c);
        } else if (!m_overflowSaid) {
            m_overflowSaid = true;
            say("*Input too long: the rest of the line is dropped*");
            push(promptOf(m_step) + m_line);
        }
    }
}

void Interpreter::enter() {
    std::u16string line;
    line.swap(m_line);
    m_overflowSaid = false;
    submit(std::move(line));
}

void Interpreter::cancel() {
    if (m_step == Step::Idle && m_line.empty()) {
        // ESC at "Command:" lets go of the objects picked there.
        if (!m_context.gripped.empty()) {
            m_context.gripped.clear();
            ++m_revision;
        }
        return;
    }
    if (!m_history.empty()) {
        m_history.back() += m_line;
    }
    m_line.clear();
    m_overflowSaid = false;
    say("*Cancel*");
    goTo(Step::Idle);
}

void Interpreter::submit(std::u16string line) {
    std::u16string input = takesWholeLine() ? std::move(line) : std::u16string(trim(line));
    if (m_step == Step::Idle && input.empty() && !m_lastCommand.empty()) {
        input = m_lastCommand;  // Enter at the command prompt repeats the last command
    }
    if (!m_history.empty()) {
        m_history.back() += input;
    }
    ++m_revision;
    for (const Row& row : commandTable()) {
        if (row.step != m_step) {
            continue;
        }
        if (row.match == Match::Otherwise) {
            std::u16string message = tiermark::fromUtf8(row.text);
            replaceAll(message, u"{input}", input);
            say(tiermark::toUtf8(message));
            complain(tiermark::toUtf8(message));
            goTo(row.next);
            return;
        }
        if (!matches(row, input)) {
            continue;
        }
        if (m_step == Step::Idle && (row.match == Match::Command || row.match == Match::Generic)) {
            startCommand(commandNameOf(row, input));
        }
        if (row.action == nullptr) {
            goTo(row.next);
            return;
        }
        const Outcome outcome = row.action(m_context, input);
        say(outcome.message);
        if (!outcome.accepted || outcome.complaint) {
            complain(outcome.message);
        }
        goTo(outcome.accepted ? outcome.redirect.value_or(row.next) : m_step);
        if (!m_context.script.empty()) {
            std::u16string script;
            script.swap(m_context.script);
            playScript(std::move(script));
        }
        return;
    }
    // A step without a row for this input keeps its prompt.
    say("Invalid input.");
    complain("Invalid input.");
    goTo(m_step);
}

void Interpreter::playScript(std::u16string script) {
    if (m_playing) {
        // Called from a line of the script being played: the new script takes the rest's place.
        if (++m_chained > kMaxChainedScripts) {
            say("*Too many scripts started one from another: the script is stopped*");
            m_script.clear();
            m_scriptAt = 0;
            return;
        }
        m_script = std::move(script);
        m_scriptAt = 0;
        return;
    }
    m_playing = true;
    m_chained = 0;
    m_script = std::move(script);
    m_scriptAt = 0;
    while (m_scriptAt < m_script.size()) {
        const char16_t c = m_script[m_scriptAt++];
        if (c == kCr || c == kLf) {
            if (c == kCr && m_scriptAt < m_script.size() && m_script[m_scriptAt] == kLf) {
                ++m_scriptAt;
            }
            enter();
        } else if (c != 0) {
            type(std::u16string_view(&c, 1));
        }
    }
    m_script.clear();
    m_scriptAt = 0;
    m_playing = false;
}

tiermark::Result<void> Interpreter::pick(int id) {
    if (!waitingForObjects() && m_step != Step::Idle) {
        return tiermark::makeError("the command line is not waiting for objects");
    }
    if (m_drawing.findObject(id) == nullptr) {
        return tiermark::makeError("the drawing has no object " + std::to_string(id));
    }
    if (m_step == Step::Idle) {
        // Picked at "Command:": held for the next command that selects (PICKFIRST 1).
        std::vector<int>& gripped = m_context.gripped;
        if (std::find(gripped.begin(), gripped.end(), id) == gripped.end()) {
            gripped.push_back(id);
        }
        ++m_revision;
        return {};
    }
    std::vector<int>& selection = m_context.selection;
    const auto at = std::find(selection.begin(), selection.end(), id);
    const bool duplicate = at != selection.end();
    m_context.selectionSteps.push_back(selection.size());
    if (m_context.removing) {
        if (duplicate) {
            selection.erase(at);
        }
    } else if (!duplicate) {
        selection.push_back(id);
    }
    if (!m_history.empty()) {
        m_history.back() += m_context.removing
                                ? (duplicate ? u"1 found, 1 removed, " : u"1 found, 0 removed, ")
                            : duplicate ? u"1 found (1 duplicate), "
                                        : u"1 found, ";
        m_history.back() += tiermark::fromUtf8(std::to_string(selection.size()) + " total");
    }
    push(promptOf(m_step));
    return {};
}

tiermark::Result<void> Interpreter::confirmSelection() {
    if (!waitingForObjects()) {
        return tiermark::makeError("the command line is not waiting for objects");
    }
    enter();
    return {};
}

}  // namespace cadsim
