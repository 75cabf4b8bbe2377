#include <sys/socket.h>
#include <sys/un.h>

#include <atomic>
#include <fstream>

#include "cadlink/channel.h"
#include "cadlink/drawing_access_posix.h"
#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_window_system.h"
#include "cadsim/core/dxf_io.h"
#include "common/utf.h"
#include "endpoint_fixture.h"

namespace cadsim {
namespace {

using cadlink::posix::makeWindowHandle;

int rawConnect(const std::string& file) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", file.c_str());
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::vector<std::string> logLines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

using Endpoint = StandInOnThread;

TEST_F(Endpoint, ListsTheMainWindowAndTheTextWindowWithCp932Titles) {
    cadlink::PosixWindowSystem system;
    const auto pid = static_cast<std::uint32_t>(::getpid());
    const auto windows = system.topLevelWindows(pid);
    ASSERT_EQ(windows.size(), 2u) << system.lastError();
    EXPECT_EQ(windows[0], makeWindowHandle(pid, 0));
    EXPECT_EQ(system.windowText(windows[0], 100),
              "AutoCAD LT - [\x90\x7D\x96\xCA"
              "1.dwg]");
    EXPECT_EQ(
        system.windowTextLength(windows[1]),
        static_cast<int>(std::string("AutoCAD LT \xC3\xB7\xBD\xC4 \xB3\xA8\xDD\xC4\xDE\xB3 - \x90\x7D\x96\xCA"
                                     "1.dwg")
                             .size()));
    EXPECT_EQ(system.windowText(windows[0], 5), "Auto");
    EXPECT_EQ(system.windowTextLength(makeWindowHandle(pid, 7)), 0);
}

TEST_F(Endpoint, CopyDataIsTakenByTheMainWindowOnlyAndLogged) {
    cadlink::PosixWindowSystem system;
    const auto pid = static_cast<std::uint32_t>(::getpid());
    auto wide = cadlink::EncodeCommand(u"-Layer\rn\rD-STR\r\x1b");
    auto japanese = cadlink::EncodeCommand(u"-Layer\rn\r構造物\r\x1b");
    EXPECT_TRUE(system.sendCopyData(makeWindowHandle(pid, 0), 1, 1, wide->bytes));
    EXPECT_TRUE(system.sendCopyData(makeWindowHandle(pid, 0), 1, 1, japanese->bytes));
    EXPECT_FALSE(system.sendCopyData(makeWindowHandle(pid, 1), 1, 1, wide->bytes));  // the text window
    EXPECT_FALSE(system.sendCopyData(makeWindowHandle(pid, 0), 1, 2, wide->bytes));  // not command text
    EXPECT_TRUE(system.postMessage(makeWindowHandle(pid, 0), cadlink::kWmNull, 0, 0));
    stop();
    EXPECT_NE(m_standIn->drawing().findLayer(u"D-STR"), nullptr);
    EXPECT_NE(m_standIn->drawing().findLayer(u"構造物"), nullptr);
    const auto lines = logLines(m_log);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].find("\"form\":\"wide\",\"text\":\"-Layer<CR>n<CR>D-STR<CR><ESC><NUL>\""),
              std::string::npos);
    EXPECT_NE(lines[1].find("\"form\":\"wide\",\"text\":\"-Layer<CR>n<CR>構造物<CR><ESC><NUL>\""),
              std::string::npos);
    EXPECT_NE(lines[2].find("not taken: only the main window"), std::string::npos);
    EXPECT_NE(lines[3].find("not taken: dwData is not 1"), std::string::npos);
}

TEST_F(Endpoint, BadPayloadsAreLoggedAndNeverHarmTheDrawing) {
    cadlink::PosixWindowSystem system;
    const cadlink::WindowHandle main = makeWindowHandle(static_cast<std::uint32_t>(::getpid()), 0);
    const std::vector<std::vector<std::uint8_t>> payloads = {
        {},                                               // nothing at all
        {'-', 'L', 'A'},                                  // no terminator
        {'-', 0, 'L', 0, 'A'},                            // odd-length wide text, no terminator
        {0x82, 0xA0, 0x81, 0x00},                         // narrow text: no 16-bit terminator
        {'-', 'L', 'A', '\r', 0},                         // narrow text of odd length
        {'-', 'L', 'A', 'Y', '\r', 0},                    // narrow text of even length
        {0xFF, 0xDF, 0x0D, 0x00, 0x00, 0x00},             // a lone surrogate
        std::vector<std::uint8_t>(3 * 1024 * 1024, 'A'),  // megabytes without a terminator
    };
    for (const auto& payload : payloads) {
        EXPECT_FALSE(system.sendCopyData(main, 1, 1, payload)) << payload.size();
    }
    auto wideBytes = [](std::size_t count, char16_t unit, std::u16string_view tail) {
        std::u16string text(count, unit);
        text += tail;
        return cadlink::EncodeCommand(text)->bytes;
    };
    EXPECT_TRUE(system.sendCopyData(main, 1, 1, wideBytes(20000, u'\x1b', u"")));
    EXPECT_TRUE(system.sendCopyData(main, 1, 1, wideBytes(1024 * 1024, u'Z', u"\r")));
    stop();
    EXPECT_EQ(m_standIn->drawing().layers().size(), 4u);
    EXPECT_EQ(m_standIn->interpreter().step(), Step::Idle);
    const auto lines = logLines(m_log);
    ASSERT_EQ(lines.size(), payloads.size() + 2);
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        EXPECT_NE(lines[i].find("\"outcome\":\"not taken: "), std::string::npos) << lines[i].substr(0, 200);
    }
}

TEST_F(Endpoint, ASilentOrOversizedClientDoesNotHoldTheStandInUp) {
    const std::string file =
        cadlink::posix::socketPath(m_dir.string(), static_cast<std::uint32_t>(::getpid()));
    const int silent = rawConnect(file);
    ASSERT_GE(silent, 0);
    const int trickle = rawConnect(file);
    ASSERT_GE(trickle, 0);
    const std::uint8_t half[] = {10, 0, 0, 0, 2};
    ASSERT_EQ(::send(trickle, half, sizeof half, 0), 5);
    const int huge = rawConnect(file);
    const std::uint8_t header[] = {0xFF, 0xFF, 0xFF, 0xFF, 2};
    ASSERT_EQ(::send(huge, header, sizeof header, 0), 5);

    cadlink::PosixWindowSystem system;
    auto text = cadlink::EncodeCommand(u"-LA\rN\rAFTER\r\r");
    EXPECT_TRUE(
        system.sendCopyData(makeWindowHandle(static_cast<std::uint32_t>(::getpid()), 0), 1, 1, text->bytes))
        << system.lastError();
    auto reply = cadlink::posix::readFrame(huge, cadlink::posix::Clock::now() + std::chrono::seconds(3));
    ASSERT_TRUE(reply.ok()) << reply.error().message;
    EXPECT_EQ(reply->body.at(0), static_cast<std::uint8_t>(cadlink::posix::Status::Failed));
    ::close(silent);
    ::close(trickle);
    ::close(huge);
    stop();
    EXPECT_NE(m_standIn->drawing().findLayer(u"AFTER"), nullptr);
}

TEST_F(Endpoint, DrawingAccessListsAndRenamesLayers) {
    cadlink::PosixDrawingAccess access;
    const cadlink::WindowHandle main = makeWindowHandle(static_cast<std::uint32_t>(::getpid()), 0);
    EXPECT_TRUE(access.available());
    auto names = access.layerNames(main);
    ASSERT_TRUE(names.ok()) << names.error().message;
    EXPECT_EQ(*names, (std::vector<std::u16string>{u"0", u"DEFPOINTS", u"外形線", u"寸法"}));
    EXPECT_TRUE(access.renameLayer(main, u"寸法", u"D-DIM").ok());
    struct Refusal {
        std::u16string from;
        std::u16string to;
        const char* text;
    };
    const Refusal refusals[] = {
        {u"寸法", u"X", "Layer \"寸法\" does not exist in the drawing."},
        {u"外形線", u"d-dim", "Layer \"D-DIM\" already exists."},
        {u"0", u"X", "Layer \"0\" cannot be renamed."},
        {u"外形線", u"A|B", "\"A|B\" is not a valid layer name: it holds \"|\"."},
    };
    for (const Refusal& r : refusals) {
        auto renamed = access.renameLayer(main, r.from, r.to);
        ASSERT_FALSE(renamed.ok());
        EXPECT_EQ(renamed.error().message, r.text);
    }
    EXPECT_EQ(access.hasLayer(main, u"d-dim").value(), true);
    EXPECT_EQ(access.hasLayer(main, u"寸法").value(), false);
    EXPECT_FALSE(access.layerNames(0).ok());

    cadlink::NullDrawingAccess none;
    EXPECT_FALSE(none.available());
    EXPECT_FALSE(none.layerNames(main).ok());
    EXPECT_FALSE(none.renameLayer(main, u"a", u"b").ok());
}

TEST_F(Endpoint, AStandInRemovesSocketsLeftByStandInsThatAreGone) {
    stop();
    const std::string stale = cadlink::posix::socketPath(m_dir.string(), 999999999);
    const std::string live = cadlink::posix::socketPath(m_dir.string(), 1);  // init never goes away
    { std::ofstream(stale) << ""; }
    { std::ofstream(live) << ""; }
    StandIn other(2, u"x.dwg", sampleDrawing());
    auto server = EndpointServer::open(m_dir.string(), 2, other);
    ASSERT_TRUE(server.ok());
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(live));
}

TEST_F(Endpoint, RenamedLayersAreSavedWithTheDrawingFile) {
    stop();
    const std::string file = (m_dir / "site.dxf").string();
    ASSERT_TRUE(saveDxf(m_standIn->drawing(), file).ok());
    m_standIn->setDrawingFile(file);
    cadlink::posix::ByteWriter writer;
    writer.text("寸法").text("D-DIM");
    auto reply = m_standIn->handle(cadlink::posix::Frame{
        static_cast<std::uint8_t>(cadlink::posix::Request::RenameLayer), writer.take()});
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->body.at(0), static_cast<std::uint8_t>(cadlink::posix::Status::Ok));
    auto saved = loadDxf(file);
    ASSERT_TRUE(saved.ok()) << saved.error().message;
    EXPECT_NE(saved->findLayer(u"D-DIM"), nullptr);
    EXPECT_EQ(saved->findLayer(u"寸法"), nullptr);
    EXPECT_EQ(saved->findObject(7)->layer, u"D-DIM");
}

TEST_F(Endpoint, ControlRequestsPickConfirmAndReport) {
    using cadlink::posix::ByteWriter;
    using cadlink::posix::Frame;
    using cadlink::posix::Request;
    const auto pid = static_cast<std::uint32_t>(::getpid());
    auto ask = [&](Request type, std::vector<std::uint8_t> body) {
        return cadlink::posix::replyBody(cadlink::posix::exchange(
            pid, Frame{static_cast<std::uint8_t>(type), std::move(body)}, std::chrono::seconds(3)));
    };
    auto pick = [](std::vector<std::int32_t> ids) {
        ByteWriter w;
        w.u32(static_cast<std::uint32_t>(ids.size()));
        for (auto id : ids) {
            w.i32(id);
        }
        return w.take();
    };
    EXPECT_TRUE(ask(Request::Pick, pick({1})).ok());  // at Command:, held for the next command that selects
    cadlink::PosixWindowSystem system;
    auto start = cadlink::EncodeCommand(u"\x1b\x1b-group\rC\rKESTRA\rC\r");
    ASSERT_TRUE(system.sendCopyData(makeWindowHandle(pid, 0), 1, 1, start->bytes));
    EXPECT_TRUE(ask(Request::Pick, pick({1, 2})).ok());
    EXPECT_FALSE(ask(Request::Pick, pick({404})).ok());
    EXPECT_TRUE(ask(Request::Confirm, {}).ok());
    auto state = ask(Request::State, {});
    ASSERT_TRUE(state.ok());
    cadlink::posix::ByteReader reader(*state);
    const std::string json = reader.text().value_or("");
    EXPECT_NE(json.find("\"groups\":[{\"name\":\"KESTRA\",\"description\":\"C\",\"objects\":[1,2]}]"),
              std::string::npos)
        << json;
    EXPECT_FALSE(ask(static_cast<Request>(99), {}).ok());
    EXPECT_FALSE(ask(Request::CopyData, {1, 2, 3}).ok());  // malformed
}

TEST_F(Endpoint, AWindowSystemKeepsItsConnectionAndReplacesOneTheStandInClosed) {
    std::atomic<int> opened{0};
    m_server->onOpened = [&opened](int) { ++opened; };  // no client is connected yet
    cadlink::PosixWindowSystem system;
    const auto pid = static_cast<std::uint32_t>(::getpid());
    cadlink::CommandChannel channel(
        system,
        [pid](cadlink::WindowHandle& window) {
            window = makeWindowHandle(pid, 0);
            return true;
        },
        [](const std::u16string& message) { ADD_FAILURE() << tiermark::toUtf8(message); });
    for (int i = 0; i < 20; ++i) {
        channel.SendCommand(u"-LA\rN\rKEPT" + tiermark::fromUtf8(std::to_string(i)) + u"\r\r");
    }
    EXPECT_EQ(opened, 1);  // twenty copy-data messages and forty posts over one connection

    // The stand-in goes away and comes back: the kept connection is dead, the next text takes a new one.
    stop();
    m_server.reset();
    auto server = EndpointServer::open(m_dir.string(), pid, *m_standIn);
    ASSERT_TRUE(server.ok()) << server.error().message;
    m_server = std::move(server.value());
    m_stop = false;
    m_thread = std::thread([this] {
        while (!m_stop) {
            m_server->runFor(std::chrono::milliseconds(20));
        }
    });
    channel.SendCommand(u"-LA\rN\rAFTER\r\r");
    stop();
    for (const char16_t* name : {u"KEPT0", u"KEPT19", u"AFTER"}) {
        EXPECT_NE(m_standIn->drawing().findLayer(name), nullptr) << tiermark::toUtf8(name);
    }
}

}  // namespace
}  // namespace cadsim
