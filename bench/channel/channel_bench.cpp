// Delivers command texts through the POSIX channel into a stand-in started for the run and prints the
// throughput and the round-trip time of one text.
//
//   bench_channel [--acadlt PATH] [--texts N]
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cadlink/channel.h"
#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_window_system.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The texts the builder sends to create one layer with line type and colour, repeated.
const std::vector<std::u16string> kTexts = {
    u"\x1b\x1b", u"-Layer\r", u"n\r",      u"D-STR\r", u"\x1b",     u"\x1b\x1b",
    u"-Layer\r", u"L\r",      u"DASHED\r", u"D-STR\r", u"\x1b\x1b", u"\x1b\x1b",
    u"-Layer\r", u"C\r",      u"3\r",      u"D-STR\r", u"\x1b\x1b",
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    std::string acadlt = TIERMARK_ACADLT;
    int count = 10000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--acadlt") {
            acadlt = argv[i + 1];
        } else if (name == "--texts") {
            count = std::max(1, std::atoi(argv[i + 1]));
        }
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tiermark-cad-bench-" + std::to_string(::getpid()));
    ::setenv("TIERMARK_CAD_DIR", dir.c_str(), 1);

    std::vector<std::string> args = {acadlt, "--headless", "--title", "Bench.dwg"};
    std::vector<char*> argvChild;
    for (std::string& a : args) {
        argvChild.push_back(a.data());
    }
    argvChild.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, acadlt.c_str(), &actions, nullptr, argvChild.data(), environ) != 0) {
        std::fprintf(stderr, "bench_channel: cannot start %s\n", acadlt.c_str());
        return 1;
    }
    posix_spawn_file_actions_destroy(&actions);
    const std::string socket = cadlink::posix::socketPath(dir.string(), static_cast<std::uint32_t>(pid));
    for (int i = 0; i < 400 && !std::filesystem::exists(socket); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }

    cadlink::PosixWindowSystem system;
    const cadlink::WindowHandle window = cadlink::posix::makeWindowHandle(static_cast<std::uint32_t>(pid), 0);
    std::vector<cadlink::Payload> payloads;
    for (const std::u16string& text : kTexts) {
        payloads.push_back(cadlink::EncodeCommand(text).value());
    }

    // Copy-data alone: the blocking part of one command.
    std::vector<double> roundTrips;
    roundTrips.reserve(static_cast<std::size_t>(count));
    int failures = 0;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i) {
        const cadlink::Payload& payload = payloads[static_cast<std::size_t>(i) % payloads.size()];
        const Clock::time_point before = Clock::now();
        failures +=
            system.sendCopyData(window, cadlink::kCommandWParam, payload.dwData, payload.bytes) ? 0 : 1;
        roundTrips.push_back(std::chrono::duration<double, std::micro>(Clock::now() - before).count());
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    // The whole command as the program sends it: copy-data and the two posted null messages.
    cadlink::CommandChannel channel(
        system,
        [window](cadlink::WindowHandle& w) {
            w = window;
            return true;
        },
        [](const std::u16string&) {});
    const Clock::time_point channelStart = Clock::now();
    for (int i = 0; i < count; ++i) {
        channel.SendCommand(kTexts[static_cast<std::size_t>(i) % kTexts.size()]);
    }
    const double channelSeconds = std::chrono::duration<double>(Clock::now() - channelStart).count();

    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    std::filesystem::remove_all(dir);

    std::printf("command texts delivered: %d (%d not taken)\n", count, failures);
    std::printf("copy-data:   %.0f texts/s, round trip median %.1f us, p99 %.1f us, max %.1f us\n",
                count / seconds, percentile(roundTrips, 0.5), percentile(roundTrips, 0.99),
                *std::max_element(roundTrips.begin(), roundTrips.end()));
    std::printf("SendCommand: %.0f texts/s (copy-data and two posted null messages each)\n",
                count / channelSeconds);
    return failures == 0 ? 0 : 1;
}
