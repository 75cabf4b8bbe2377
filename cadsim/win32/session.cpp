#include "cadsim/win32/session.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <ctime>

#include "cadlink/channel.h"
#include "cadsim/core/payload_log.h"
#include "cadsim/core/state_json.h"

namespace cadsim::win32 {

Session::Session(std::u16string drawingName, Drawing drawing)
    : m_name(std::move(drawingName)), m_drawing(std::move(drawing)), m_interpreter(m_drawing) {}

tiermark::Result<void> Session::openLog(const std::string& path) {
    m_log.open(path, std::ios::app | std::ios::binary);
    if (!m_log) {
        return tiermark::makeError("cannot open the log " + path);
    }
    return {};
}

void Session::setStateFile(std::string path) {
    m_stateFile = std::move(path);
    changed();
}

std::u16string Session::mainTitle() const {
    return u"AutoCAD LT - [" + m_name + u"]";
}

std::u16string Session::textWindowTitle() const {
    return u"AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - " + m_name;
}

bool Session::takeCopyData(std::uint64_t window, bool toMainWindow, std::uint64_t wParam,
                           std::uint32_t dwData, std::vector<std::uint8_t> bytes) {
    PayloadRecord record{window, wParam, dwData, std::move(bytes), "taken"};
    std::string form = "none";
    if (!toMainWindow) {
        record.outcome = "not taken: only the main window takes command text";
    } else if (dwData != cadlink::kCommandTextData) {
        record.outcome = "not taken: dwData is not 1 (no command text)";
    } else if (auto decoded = cadlink::DecodeCommand(record.bytes); !decoded) {
        // AutoCAD LT takes UTF-16 text with its terminator from other programs, nothing else.
        record.outcome = "not taken: " + decoded.error().message;
    } else {
        form = "wide";
        m_interpreter.type(*decoded);
    }
    if (form == "none") {
        form = record.bytes.size() % 2 == 0 ? "undecoded-wide" : "undecoded-narrow";
    }
    if (m_log) {
        m_log << payloadLogLine(record, form, utcNow()) << '\n';
        m_log.flush();
    }
    changed();
    return record.outcome == "taken";
}

bool Session::pick(int id) {
    const bool picked = static_cast<bool>(m_interpreter.pick(id));
    changed();
    return picked;
}

bool Session::confirmSelection() {
    const bool confirmed = static_cast<bool>(m_interpreter.confirmSelection());
    changed();
    return confirmed;
}

void Session::changed() {
    if (m_stateFile.empty() ||
        (m_drawing.revision() == m_seenDrawing && m_interpreter.revision() == m_seenCommandLine)) {
        return;
    }
    m_seenDrawing = m_drawing.revision();
    m_seenCommandLine = m_interpreter.revision();
    // Written beside and then moved over the old file, so a reader never sees half a state.
    const std::string temporary = m_stateFile + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc | std::ios::binary);
        out << stateJson(m_name, m_drawing, m_interpreter) << '\n';
    }
    MoveFileExA(temporary.c_str(), m_stateFile.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace cadsim::win32
