// acadltctl: drives a running CAD stand-in from scripts and a shell.
#include <algorithm>
#include <cstdio>
#include <iostream>

#include "cadlink/channel.h"
#include "cadlink/discovery.h"
#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_protocol.h"
#include "cadsim/client/control.h"
#include "cadsim/client/platform.h"
#include "common/utf.h"

namespace {

using cadlink::posix::ByteReader;
using cadlink::posix::ByteWriter;
using cadlink::posix::Frame;
using cadlink::posix::Request;

constexpr std::chrono::milliseconds kTimeout{5000};

// The stand-in found last, as discovery selects the last one found (on POSIX systems: the highest process
// id).
std::optional<std::uint32_t> lastStandIn(cadlink::WindowSystem& system) {
    std::optional<std::uint32_t> found;
    for (const cadlink::ProcessEntry& process : system.processes()) {
        if (cadlink::ExeBaseName(tiermark::fromUtf8(process.exeFile)) == cadlink::kFixedProcessBaseName &&
            !system.topLevelWindows(process.processId).empty()) {
            found = process.processId;
        }
    }
    return found;
}

// The stand-in's main window: its last window titled like a CAD program's main window, as discovery takes it.
cadlink::WindowHandle mainWindowOf(cadlink::WindowSystem& system, std::uint32_t pid) {
    const cadlink::MatchingValues matching;
    cadlink::WindowHandle found = 0;
    for (cadlink::WindowHandle window : system.topLevelWindows(pid)) {
        if (cadlink::mainWindowDrawingTitle(cadlink::GetWindowTitle(system, window), matching)) {
            found = window;
        }
    }
    return found;
}

tiermark::Result<std::vector<std::uint8_t>> ask(std::uint32_t pid, Request type,
                                                std::vector<std::uint8_t> body) {
    return cadlink::posix::replyBody(
        cadlink::posix::exchange(pid, Frame{static_cast<std::uint8_t>(type), std::move(body)}, kTimeout));
}

std::string replyText(const std::vector<std::uint8_t>& body) {
    ByteReader reader(body);
    auto text = reader.text();
    return text ? *text : std::string();
}

int run(const cadsim::ControlCommand& command) {
    const std::unique_ptr<cadlink::WindowSystem> system = cadsim::makeControlWindowSystem(kTimeout);
    const std::optional<std::uint32_t> pid = command.pid ? command.pid : lastStandIn(*system);
    if (!pid) {
        std::cerr << "acadltctl: no stand-in is running\n";
        return 1;
    }
    tiermark::Result<std::vector<std::uint8_t>> reply = std::vector<std::uint8_t>{};
    const std::string& verb = command.verb;
    if (verb == "state") {
        reply = ask(*pid, Request::State, {});
    } else if (verb == "pick") {
        ByteWriter writer;
        writer.u32(static_cast<std::uint32_t>(command.arguments.size()));
        for (const std::string& id : command.arguments) {
            writer.i32(static_cast<std::int32_t>(std::stol(id)));
        }
        reply = ask(*pid, Request::Pick, writer.take());
    } else if (verb == "confirm") {
        reply = ask(*pid, Request::Confirm, {});
    } else if (verb == "save") {
        ByteWriter writer;
        writer.text(command.arguments[0]);
        reply = ask(*pid, Request::SaveDxf, writer.take());
    } else if (verb == "layers") {
        reply = ask(*pid, Request::ListLayers, {});
        if (reply) {
            ByteReader reader(*reply);
            const auto count = reader.u32().value_or(0);
            for (std::uint32_t i = 0; i < count; ++i) {
                std::cout << reader.text().value_or("") << '\n';
            }
            return 0;
        }
    } else if (verb == "screenshot") {
        ByteWriter writer;
        writer.text(command.arguments[0]);
        reply = ask(*pid, Request::Screenshot, writer.take());
    } else if (verb == "rename") {
        ByteWriter writer;
        writer.text(command.arguments[0]).text(command.arguments[1]);
        reply = ask(*pid, Request::RenameLayer, writer.take());
    } else if (verb == "send") {
        auto text = cadsim::unescapeText(command.arguments[0]);
        if (!text) {
            std::cerr << "acadltctl: " << text.error().message << '\n';
            return 2;
        }
        auto payload = cadlink::EncodeCommand(tiermark::fromUtf8(*text));
        if (!payload) {
            std::cerr << "acadltctl: " << payload.error().message << '\n';
            return 2;
        }
        const cadlink::WindowHandle window = mainWindowOf(*system, *pid);
        if (window == 0) {
            std::cerr << "acadltctl: the stand-in " << *pid << " has no main window\n";
            return 1;
        }
        if (!system->sendCopyData(window, cadlink::kCommandWParam, payload->dwData, payload->bytes)) {
            std::cerr << "acadltctl: the stand-in did not take the text\n";
            return 1;
        }
        return 0;
    }
    if (!reply) {
        std::cerr << "acadltctl: " << reply.error().message << '\n';
        return 1;
    }
    const std::string text = replyText(*reply);
    if (!text.empty()) {
        std::cout << text << '\n';
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    auto command = cadsim::parseControlCommand(cadsim::utf8Arguments(argc, argv));
    if (!command) {
        std::cerr << "acadltctl: " << command.error().message << '\n' << cadsim::kControlUsage;
        return 2;
    }
    return run(*command);
}
