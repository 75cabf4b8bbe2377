#include "cadsim/endpoint/stand_in.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

#include "cadlink/channel.h"
#include "cadsim/core/dxf_io.h"
#include "cadsim/core/json.h"
#include "cadsim/core/payload_log.h"
#include "cadsim/core/state_json.h"
#include "common/codepage.h"
#include "common/paths.h"
#include "common/utf.h"

namespace cadsim {

using cadlink::posix::ByteReader;
using cadlink::posix::ByteWriter;
using cadlink::posix::Frame;
using cadlink::posix::replyFrame;
using cadlink::posix::Request;
using cadlink::posix::Status;

// The window index of the second window titled like a main window (--second-main).
constexpr std::uint32_t kSecondMainIndex = 2;

StandIn::StandIn(std::uint32_t processId, std::u16string drawingName, Drawing drawing)
    : m_processId(processId),
      m_name(std::move(drawingName)),
      m_drawing(std::move(drawing)),
      m_interpreter(m_drawing),
      m_mainHandle(cadlink::posix::makeWindowHandle(processId, cadlink::posix::kMainWindowIndex)),
      m_textHandle(cadlink::posix::makeWindowHandle(processId, cadlink::posix::kTextWindowIndex)),
      m_secondMainHandle(cadlink::posix::makeWindowHandle(processId, kSecondMainIndex)) {}

void StandIn::setWindowHandles(cadlink::WindowHandle main, cadlink::WindowHandle text,
                               cadlink::WindowHandle secondMain) {
    m_mainHandle = main;
    m_textHandle = text;
    m_secondMainHandle = secondMain;
}

bool StandIn::openLog(const std::string& path) {
    m_log.open(tiermark::pathFromUtf8(path), std::ios::app | std::ios::binary);
    return static_cast<bool>(m_log);
}

std::u16string StandIn::mainTitle() const {
    return m_mainTitle.empty() ? u"AutoCAD LT - [" + m_name + u"]" : m_mainTitle;
}
std::u16string StandIn::textWindowTitle() const {
    return u"AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - " + m_name;
}
std::u16string StandIn::secondMainTitle() const {
    return u"AutoCAD LT - [" + m_secondMain + u"]";
}
cadlink::WindowHandle StandIn::mainWindow() const {
    return m_mainHandle;
}
cadlink::WindowHandle StandIn::textWindow() const {
    return m_textHandle;
}
cadlink::WindowHandle StandIn::secondMainWindow() const {
    return m_secondMainHandle;
}

std::string StandIn::stateJson() const {
    return cadsim::stateJson(m_name, m_drawing, m_interpreter);
}

void StandIn::writeLog(const std::string& line) {
    if (m_log) {
        m_log << line << '\n';
        m_log.flush();
    }
}

void StandIn::logNote(const std::string& what) {
    writeLog("{\"time\":" + jsonString(utcNow()) + ",\"note\":" + jsonString(what) + "}");
}

void StandIn::changed() {
    if (m_drawing.revision() == m_seenDrawing && m_interpreter.revision() == m_seenCommandLine) {
        return;
    }
    m_seenDrawing = m_drawing.revision();
    m_seenCommandLine = m_interpreter.revision();
    if (!m_stateFile.empty()) {
        // Written beside and then moved over the old file, so a reader never sees half a state.
        const std::filesystem::path target = tiermark::pathFromUtf8(m_stateFile);
        std::filesystem::path temporary = target;
        temporary += ".tmp";
        {
            std::ofstream out(temporary, std::ios::trunc | std::ios::binary);
            out << stateJson() << '\n';
        }
        std::error_code error;
        std::filesystem::rename(temporary, target, error);
    }
    if (onChanged) {
        onChanged();
    }
}

std::optional<Frame> StandIn::handle(const Frame& request) {
    ByteReader reader(request.body);
    std::optional<Frame> reply;
    switch (static_cast<Request>(request.type)) {
        case Request::ListWindows:
            reply = listWindows();
            break;
        case Request::CopyData:
            reply = copyData(reader);
            break;
        case Request::Post:
            break;  // null messages only wake the window; nothing to do
        case Request::Pick:
            reply = pick(reader);
            break;
        case Request::Confirm: {
            auto confirmed = m_interpreter.confirmSelection();
            reply = confirmed ? replyFrame(Status::Ok, "")
                              : replyFrame(Status::Failed, confirmed.error().message);
            break;
        }
        case Request::State:
            reply = replyFrame(Status::Ok, stateJson());
            break;
        case Request::SaveDxf:
            reply = save(reader);
            break;
        case Request::ListLayers:
            reply = listLayers();
            break;
        case Request::RenameLayer:
            reply = rename(reader);
            break;
        case Request::LayerTable:
            reply = layerTable();
            break;
        case Request::CurrentLayer:
            reply = replyFrame(Status::Ok, tiermark::toUtf8(m_interpreter.currentLayer()));
            break;
        case Request::Screenshot: {
            const auto path = reader.text();
            if (!path || path->empty() || !onScreenshot) {
                reply = replyFrame(Status::Failed,
                                   onScreenshot ? "malformed screenshot request" : "no window to show");
                break;
            }
            auto shot = onScreenshot(*path);
            reply = shot ? replyFrame(Status::Ok, *path) : replyFrame(Status::Failed, shot.error().message);
            break;
        }
        default:
            logNote("unknown request type " + std::to_string(request.type));
            reply = replyFrame(Status::Failed, "unknown request");
            break;
    }
    changed();
    return reply;
}

Frame StandIn::listWindows() const {
    std::vector<std::pair<cadlink::WindowHandle, std::u16string>> windows{{mainWindow(), mainTitle()},
                                                                          {textWindow(), textWindowTitle()}};
    if (!m_secondMain.empty()) {
        windows.emplace_back(secondMainWindow(), secondMainTitle());
    }
    ByteWriter writer;
    writer.u8(static_cast<std::uint8_t>(Status::Ok)).u32(static_cast<std::uint32_t>(windows.size()));
    for (const auto& [handle, title] : windows) {
        // Titles go out as the narrow window-text calls give them; a name without a CP932 form shows "?".
        auto bytes = tiermark::toCp932(title);
        std::string narrow = bytes ? *bytes : std::string();
        if (!bytes) {
            for (char16_t c : title) {
                auto one = tiermark::toCp932(std::u16string(1, c));
                narrow += one ? *one : std::string("?");
            }
        }
        writer.u64(handle).text(narrow);
    }
    return Frame{static_cast<std::uint8_t>(Request::Reply), writer.take()};
}

Frame StandIn::copyData(ByteReader& reader) {
    const auto window = reader.u64();
    const auto wParam = reader.u64();
    const auto dwData = reader.u32();
    auto bytes = reader.bytes();
    if (!window || !wParam || !dwData || !bytes) {
        logNote("a malformed copy-data request was refused");
        return replyFrame(Status::Failed, "malformed copy-data request");
    }
    if (m_hang.count() > 0) {
        std::this_thread::sleep_for(m_hang);
    }
    PayloadRecord record{*window, *wParam, *dwData, std::move(*bytes), "taken"};
    std::string form = "none";
    Frame reply = replyFrame(Status::Ok, "");
    auto refuse = [&](const std::string& why) {
        record.outcome = "not taken: " + why;
        reply = replyFrame(Status::Failed, why);
    };
    if (*window != mainWindow()) {
        refuse("only the main window takes command text");
    } else if (*dwData != cadlink::kCommandTextData) {
        refuse("dwData is not 1 (no command text)");
    } else {
        // Taken as AutoCAD LT takes text from other programs: UTF-16 with its terminator, nothing else.
        auto decoded = cadlink::DecodeCommand(record.bytes);
        if (!decoded) {
            refuse(decoded.error().message);
        } else {
            form = "wide";
            m_interpreter.type(*decoded);
        }
    }
    if (form == "none") {
        // Shown as the bytes would read as wide or as narrow text, so that the line still says something.
        form = record.bytes.size() % 2 == 0 ? "undecoded-wide" : "undecoded-narrow";
    }
    writeLog(payloadLogLine(record, form, utcNow()));
    return reply;
}

Frame StandIn::pick(ByteReader& reader) {
    const auto count = reader.u32();
    if (!count) {
        return replyFrame(Status::Failed, "malformed pick request");
    }
    std::string problems;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto id = reader.i32();
        if (!id) {
            return replyFrame(Status::Failed, "malformed pick request");
        }
        if (auto picked = m_interpreter.pick(*id); !picked) {
            problems += (problems.empty() ? "" : "; ") + picked.error().message;
        }
    }
    return problems.empty() ? replyFrame(Status::Ok, "") : replyFrame(Status::Failed, problems);
}

Frame StandIn::listLayers() const {
    ByteWriter writer;
    writer.u8(static_cast<std::uint8_t>(Status::Ok))
        .u32(static_cast<std::uint32_t>(m_drawing.layers().size()));
    for (const Layer& layer : m_drawing.layers()) {
        writer.text(tiermark::toUtf8(layer.name));
    }
    return Frame{static_cast<std::uint8_t>(Request::Reply), writer.take()};
}

Frame StandIn::layerTable() const {
    ByteWriter writer;
    writer.u8(static_cast<std::uint8_t>(Status::Ok))
        .u32(static_cast<std::uint32_t>(m_drawing.layers().size()));
    for (const Layer& layer : m_drawing.layers()) {
        writer.text(tiermark::toUtf8(layer.name)).i32(layer.color).text(tiermark::toUtf8(layer.lineType));
    }
    return Frame{static_cast<std::uint8_t>(Request::Reply), writer.take()};
}

Frame StandIn::rename(ByteReader& reader) {
    const auto oldName = reader.text();
    const auto newName = reader.text();
    if (!oldName || !newName) {
        return replyFrame(Status::Failed, "malformed rename request");
    }
    auto renamed = m_drawing.renameLayer(tiermark::fromUtf8(*oldName), tiermark::fromUtf8(*newName));
    if (!renamed) {
        return replyFrame(Status::Failed, renamed.error().message);
    }
    if (!m_drawingFile.empty()) {
        // A drawing opened from a file keeps the new names in that file.
        if (auto saved = saveDxf(m_drawing, m_drawingFile); !saved) {
            logNote("the renamed layer could not be saved: " + saved.error().message);
        }
    }
    return replyFrame(Status::Ok, "");
}

Frame StandIn::save(ByteReader& reader) {
    auto path = reader.text();
    if (!path) {
        return replyFrame(Status::Failed, "malformed save request");
    }
    const std::string target = path->empty() ? m_drawingFile : *path;
    if (target.empty()) {
        return replyFrame(Status::Failed, "the drawing has no file; name one");
    }
    auto saved = saveDxf(m_drawing, target);
    return saved ? replyFrame(Status::Ok, target) : replyFrame(Status::Failed, saved.error().message);
}

}  // namespace cadsim
