// Two real stand-ins, found by discovery over the POSIX window system; a "-Layer" sequence reaches the
// selected one only.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cadlink/channel.h"
#include "cadlink/discovery.h"
#include "cadlink/drawing_access_posix.h"
#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_window_system.h"
#include "common/utf.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

class ListForTest : public cadlink::DrawingList {
public:
    struct Line {
        std::u16string text;
        std::int32_t data;
    };
    void clear() override { lines.clear(); }
    void addLine(const std::u16string& text, std::int32_t itemData) override {
        lines.push_back({text, itemData});
    }
    int lineCount() const override { return static_cast<int>(lines.size()); }
    int listIndex() const override { return index; }
    void setListIndex(int i) override { index = i; }
    std::int32_t itemData(int line) const override { return lines.at(static_cast<std::size_t>(line)).data; }
    std::vector<Line> lines;
    int index = -1;
};

class TwoStandIns : public ::testing::Test {
protected:
    void SetUp() override {
        const char* acadlt = std::getenv("ACADLT");
        ASSERT_NE(acadlt, nullptr) << "ACADLT must name the stand-in program";
        m_dir = std::filesystem::temp_directory_path() / ("tiermark-cad-e2e-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        ::setenv("TIERMARK_CAD_DIR", m_dir.c_str(), 1);
        m_log = (m_dir.string() + "-log.jsonl");
        m_state = (m_dir.string() + "-state.json");
        m_first = spawn(acadlt, "A.dwg", {"--log", m_log, "--state", m_state});
        m_second = spawn(acadlt, "図面B.dwg");
        ASSERT_GT(m_first, 0);
        ASSERT_GT(m_second, 0);
        // A stand-in is ready once it answers, not once its socket file exists: the file appears before the
        // stand-in listens on it, and a test that stops the stand-in in between would find nobody there.
        for (pid_t pid : {m_first, m_second}) {
            const cadlink::posix::Frame listWindows{
                static_cast<std::uint8_t>(cadlink::posix::Request::ListWindows), {}};
            bool answered = false;
            for (int i = 0; i < 200 && !answered; ++i) {
                answered = cadlink::posix::exchange(static_cast<std::uint32_t>(pid), listWindows, 1s).ok();
                if (!answered) {
                    std::this_thread::sleep_for(25ms);
                }
            }
            ASSERT_TRUE(answered) << "stand-in " << pid << " did not start";
        }
    }
    void TearDown() override {
        for (pid_t pid : {m_first, m_second}) {
            if (pid > 0) {
                ::kill(pid, SIGTERM);
                int status = 0;
                ::waitpid(pid, &status, 0);
            }
        }
        std::filesystem::remove_all(m_dir);
        std::filesystem::remove(m_log);
        std::filesystem::remove(m_state);
        ::unsetenv("TIERMARK_CAD_DIR");
    }

    static std::string contents(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static pid_t spawn(const char* program, const char* title, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {program, "--headless", "--title", title};
        args.insert(args.end(), more.begin(), more.end());
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        const int rc = posix_spawn(&pid, program, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        return rc == 0 ? pid : -1;
    }

    std::string state(pid_t pid) {
        auto reply = cadlink::posix::replyBody(cadlink::posix::exchange(
            static_cast<std::uint32_t>(pid),
            cadlink::posix::Frame{static_cast<std::uint8_t>(cadlink::posix::Request::State), {}}, 3s));
        EXPECT_TRUE(reply.ok());
        cadlink::posix::ByteReader reader(*reply);
        return reader.text().value_or("");
    }

    std::filesystem::path m_dir;
    std::string m_log;
    std::string m_state;
    pid_t m_first = -1;
    pid_t m_second = -1;
};

TEST_F(TwoStandIns, DiscoveryFindsBothAndTheLayerReachesTheSelectedOneOnly) {
    cadlink::PosixWindowSystem system;
    cadlink::Instances instances;
    ListForTest list;
    cadlink::FindAutoCadLt(system, cadlink::MatchingValues{}, instances, list);

    // Stand-ins of other runs (other endpoint directories) show no window here; ours are the titled lines.
    std::vector<std::pair<std::u16string, int>> titled;
    for (int i = 0; i < list.lineCount(); ++i) {
        if (!list.lines[static_cast<std::size_t>(i)].text.empty()) {
            titled.push_back({list.lines[static_cast<std::size_t>(i)].text, i});
        }
    }
    ASSERT_EQ(titled.size(), 2u);
    EXPECT_EQ(titled[0].first, u"[A.dwg]");  // the first started has the lower process id
    EXPECT_EQ(titled[1].first, u"[図面B.dwg]");
    EXPECT_EQ(instances[static_cast<std::size_t>(list.itemData(titled[0].second))].MainWindow,
              cadlink::posix::makeWindowHandle(static_cast<std::uint32_t>(m_first), 0));

    list.setListIndex(titled[0].second);
    std::vector<std::u16string> messages;
    cadlink::CommandChannel channel(
        system, [&](cadlink::WindowHandle& w) { return cadlink::TargetWindow(instances, list, w); },
        [&](const std::u16string& m) { messages.push_back(m); });
    for (const char16_t* text : {u"\x1b\x1b", u"-Layer\r", u"n\r", u"D-STR\r", u"\x1b", u"\x1b\x1b",
                                 u"-Layer\r", u"C\r", u"3\r", u"D-STR\r", u"\x1b\x1b"}) {
        channel.SendCommand(text);
    }
    EXPECT_TRUE(messages.empty());

    const std::string first = state(m_first);
    const std::string second = state(m_second);
    EXPECT_NE(first.find("{\"name\":\"D-STR\",\"lineType\":\"Continuous\",\"color\":3}"), std::string::npos)
        << first;
    EXPECT_EQ(second.find("D-STR"), std::string::npos);
    EXPECT_NE(second.find("\"drawing\":\"図面B.dwg\""), std::string::npos);

    // The first stand-in logged every payload and keeps its state file up to date.
    const std::string log = contents(m_log);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 11);
    EXPECT_NE(log.find("\"text\":\"-Layer<CR><NUL>\""), std::string::npos);
    EXPECT_NE(contents(m_state).find("{\"name\":\"D-STR\",\"lineType\":\"Continuous\",\"color\":3}"),
              std::string::npos);

    cadlink::PosixDrawingAccess access;
    const cadlink::WindowHandle target =
        cadlink::posix::makeWindowHandle(static_cast<std::uint32_t>(m_first), 0);
    ASSERT_TRUE(access.renameLayer(target, u"D-STR", u"D-BMK").ok());
    EXPECT_EQ(access.layerNames(target)->back(), u"D-BMK");
}

// Lines of the drawing list as discovery leaves them.
std::vector<std::u16string> discoveredLines() {
    cadlink::PosixWindowSystem system;
    cadlink::Instances instances;
    ListForTest list;
    cadlink::FindAutoCadLt(system, cadlink::MatchingValues{}, instances, list);
    std::vector<std::u16string> lines;
    for (const auto& line : list.lines) {
        lines.push_back(line.text);
    }
    return lines;
}

TEST_F(TwoStandIns, OnlyStandInsThisProgramCanReachAreListed) {
    // A stand-in listening in another endpoint folder, and a program that merely carries the name acadlt:
    // neither would take a command, so neither may become a line (least of all the selected last one).
    const std::filesystem::path elsewhere = m_dir.string() + "-elsewhere";
    const std::string elsewhereVariable = "TIERMARK_CAD_DIR=" + elsewhere.string();
    std::vector<char*> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::string_view(*variable).rfind("TIERMARK_CAD_DIR=", 0) != 0) {
            environment.push_back(*variable);
        }
    }
    environment.push_back(const_cast<char*>(elsewhereVariable.c_str()));
    environment.push_back(nullptr);
    const char* acadlt = std::getenv("ACADLT");
    std::string program = acadlt;
    std::vector<std::string> args = {program, "--headless", "--title", "他.dwg"};
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t foreign = -1;
    ASSERT_EQ(posix_spawn(&foreign, acadlt, nullptr, nullptr, argv.data(), environment.data()), 0);

    const std::filesystem::path namesake = m_dir.string() + "-bin/acadlt";
    std::filesystem::create_directories(namesake.parent_path());
    std::filesystem::copy_file("/bin/sleep", namesake);
    std::string sleepPath = namesake.string();
    std::string seconds = "30";
    char* sleepArgs[] = {sleepPath.data(), seconds.data(), nullptr};
    pid_t sleeper = -1;
    ASSERT_EQ(posix_spawn(&sleeper, sleepPath.c_str(), nullptr, nullptr, sleepArgs, environ), 0);

    const std::string foreignSocket =
        cadlink::posix::socketPath(elsewhere.string(), static_cast<std::uint32_t>(foreign));
    for (int i = 0; i < 200 && !std::filesystem::exists(foreignSocket); ++i) {
        std::this_thread::sleep_for(25ms);
    }
    EXPECT_TRUE(std::filesystem::exists(foreignSocket));

    EXPECT_EQ(discoveredLines(), (std::vector<std::u16string>{u"[A.dwg]", u"[図面B.dwg]"}));

    for (pid_t pid : {foreign, sleeper}) {
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
    std::filesystem::remove_all(elsewhere);
    std::filesystem::remove_all(namesake.parent_path());
}

TEST_F(TwoStandIns, AnotherUsersProcessIsNotListed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to start a process as another user";
    }
    // A process of another user named acadlt, with a socket of its process id in our endpoint folder (as
    // a stale or planted file would be): it belongs to someone else, and is not listed.
    const std::filesystem::path namesake = m_dir.string() + "-bin/acadlt";
    std::filesystem::create_directories(namesake.parent_path());
    std::filesystem::copy_file("/bin/sleep", namesake);
    std::filesystem::permissions(namesake.parent_path(), std::filesystem::perms::all);
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(3);
        }
        ::execl(namesake.c_str(), namesake.c_str(), "30", static_cast<char*>(nullptr));
        ::_exit(4);
    }
    std::this_thread::sleep_for(200ms);
    auto listening = cadlink::posix::listenEndpoint(
        cadlink::posix::socketPath(m_dir.string(), static_cast<std::uint32_t>(other)));
    ASSERT_TRUE(listening.ok());

    EXPECT_EQ(discoveredLines(), (std::vector<std::u16string>{u"[A.dwg]", u"[図面B.dwg]"}));

    ::kill(other, SIGTERM);
    int status = 0;
    ::waitpid(other, &status, 0);
    std::filesystem::remove_all(namesake.parent_path());
}

TEST_F(TwoStandIns, AStandInThatIsGoneFailsQuietlyAndQuickly) {
    ::kill(m_second, SIGKILL);
    int status = 0;
    ::waitpid(m_second, &status, 0);
    const pid_t gone = m_second;
    m_second = -1;
    cadlink::PosixWindowSystem system(500ms);
    auto text = cadlink::EncodeCommand(u"-Layer\r");
    EXPECT_FALSE(system.sendCopyData(cadlink::posix::makeWindowHandle(static_cast<std::uint32_t>(gone), 0), 1,
                                     1, text->bytes));
    EXPECT_TRUE(system.topLevelWindows(static_cast<std::uint32_t>(gone)).empty());
    EXPECT_TRUE(system.sendCopyData(cadlink::posix::makeWindowHandle(static_cast<std::uint32_t>(m_first), 0),
                                    1, 1, text->bytes));
}

TEST_F(TwoStandIns, AHungStandInCostsOneTimeoutNotOnePerText) {
    ::kill(m_second, SIGSTOP);
    cadlink::PosixWindowSystem system(300ms);
    const cadlink::WindowHandle hung =
        cadlink::posix::makeWindowHandle(static_cast<std::uint32_t>(m_second), 0);
    auto text = cadlink::EncodeCommand(u"-Layer\r");
    EXPECT_FALSE(system.sendCopyData(hung, 1, 1, text->bytes));
    EXPECT_EQ(system.lastError(), cadlink::posix::kNoAnswerInTime);
    EXPECT_FALSE(system.sendCopyData(hung, 1, 1, text->bytes));
    EXPECT_NE(system.lastError().find("is not responding"), std::string::npos) << system.lastError();
    EXPECT_TRUE(system.topLevelWindows(static_cast<std::uint32_t>(m_second)).empty());
    // Another stand-in is not affected.
    EXPECT_TRUE(system.sendCopyData(cadlink::posix::makeWindowHandle(static_cast<std::uint32_t>(m_first), 0),
                                    1, 1, text->bytes));
    ::kill(m_second, SIGCONT);
}

// Clients of the same user try to starve the first stand-in: tricklers in every connection slot, one that
// pipelines requests and never reads, and frames of the largest size left unfinished. Discovery still
// finds it and a "-Layer" sequence still reaches it, each request within the link's bounded wait.
TEST_F(TwoStandIns, AStandInThatClientsTryToStarveStillServesTheLink) {
    const std::string socket =
        cadlink::posix::socketPath(m_dir.string(), static_cast<std::uint32_t>(m_first));
    std::vector<cadlink::posix::UniqueFd> attackers;
    auto connectRaw = [&socket]() {
        auto fd = cadlink::posix::connectEndpoint(socket, cadlink::posix::Clock::now() + 2s);
        EXPECT_TRUE(fd.ok());
        return fd ? std::move(fd.value()) : cadlink::posix::UniqueFd();
    };
    auto sendSome = [](int fd, const std::vector<std::uint8_t>& bytes) {
        (void)::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    };
    for (int i = 0; i < 64; ++i) {
        attackers.push_back(connectRaw());
        sendSome(attackers.back().get(), {9});
    }
    std::vector<std::uint8_t> requests;
    for (int i = 0; i < 20000; ++i) {
        const auto one = cadlink::posix::serialize(
            cadlink::posix::Frame{static_cast<std::uint8_t>(cadlink::posix::Request::ListWindows), {}});
        requests.insert(requests.end(), one.begin(), one.end());
    }
    attackers.push_back(connectRaw());
    sendSome(attackers.back().get(), requests);
    std::vector<std::uint8_t> huge{0x00, 0x00, 0x00, 0x04, 0x02};  // the largest frame, begun only
    huge.resize(4096, 0x41);
    for (int i = 0; i < 3; ++i) {
        attackers.push_back(connectRaw());
        sendSome(attackers.back().get(), huge);
    }
    std::this_thread::sleep_for(300ms);

    cadlink::PosixWindowSystem system(2s);
    cadlink::Instances instances;
    ListForTest list;
    cadlink::FindAutoCadLt(system, cadlink::MatchingValues{}, instances, list);
    int line = -1;
    for (int i = 0; i < list.lineCount(); ++i) {
        if (list.lines[static_cast<std::size_t>(i)].text == u"[A.dwg]") {
            line = i;
        }
    }
    ASSERT_GE(line, 0) << "discovery did not find the stand-in under attack";
    list.setListIndex(line);
    std::vector<std::u16string> messages;
    cadlink::CommandChannel channel(
        system, [&](cadlink::WindowHandle& w) { return cadlink::TargetWindow(instances, list, w); },
        [&](const std::u16string& m) { messages.push_back(m); });
    for (const char16_t* text : {u"\x1b\x1b", u"-Layer\r", u"n\r", u"UNDER-ATTACK\r", u"\x1b"}) {
        channel.SendCommand(text);
        EXPECT_TRUE(system.lastError().empty()) << system.lastError();  // none waited out its bound
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(state(m_first).find("\"name\":\"UNDER-ATTACK\""), std::string::npos);
}

TEST_F(TwoStandIns, ASequenceToAHungStandInStopsAtTheFirstTextAndIsNeverFinishedLater) {
    cadlink::PosixWindowSystem system(300ms);
    cadlink::Instances instances;
    ListForTest list;
    cadlink::FindAutoCadLt(system, cadlink::MatchingValues{}, instances, list);
    list.setListIndex(0);  // [A.dwg], the stand-in with the log
    std::vector<std::u16string> messages;
    cadlink::CommandChannel channel(
        system, [&](cadlink::WindowHandle& w) { return cadlink::TargetWindow(instances, list, w); },
        [&](const std::u16string& m) { messages.push_back(m); });
    ::kill(m_first, SIGSTOP);
    const auto begin = std::chrono::steady_clock::now();
    const cadlink::Delivery delivery =
        cadlink::sendAll(channel, {u"\x1b\x1b", u"-Layer\r", u"n\r", u"HALF\r", u"\x1b"});
    const auto took = std::chrono::steady_clock::now() - begin;
    ::kill(m_first, SIGCONT);
    EXPECT_EQ(delivery, cadlink::Delivery::NotTaken);
    EXPECT_LT(took, 2s);  // one bounded wait, not one per text
    EXPECT_TRUE(messages.empty());
    // The text that ran out of time reaches the stand-in once it runs again; nothing after it does.
    std::this_thread::sleep_for(300ms);
    const std::string log = contents(m_log);
    EXPECT_EQ(log.find("-Layer"), std::string::npos) << log;
    EXPECT_EQ(state(m_first).find("HALF"), std::string::npos);
}

TEST(StandInProgram, RefusesADamagedDrawingWithAClearMessage) {
    const char* acadlt = std::getenv("ACADLT");
    ASSERT_NE(acadlt, nullptr);
    const std::filesystem::path bad =
        std::filesystem::temp_directory_path() / ("tiermark-bad-" + std::to_string(::getpid()) + ".dxf");
    { std::ofstream(bad) << "this is not a drawing\n"; }
    const std::string command = std::string(acadlt) + " --headless --drawing " + bad.string() + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = ::pclose(pipe);
    std::filesystem::remove(bad);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(output.find("line 1 is not a DXF group code"), std::string::npos) << output;
}

}  // namespace
