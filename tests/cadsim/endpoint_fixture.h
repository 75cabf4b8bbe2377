#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "cadsim/core/sample_drawing.h"
#include "cadsim/endpoint/endpoint_server.h"
#include "cadsim/endpoint/stand_in.h"

namespace cadsim {

// A stand-in of this test process, served on a thread of its own from a private endpoint directory.
class StandInOnThread : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() / ("tiermark-cad-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        ::setenv("TIERMARK_CAD_DIR", m_dir.c_str(), 1);
        m_log =
            (std::filesystem::temp_directory_path() / ("cadsim-log-" + std::to_string(::getpid()))).string();
        std::filesystem::remove(m_log);
        m_standIn =
            std::make_unique<StandIn>(static_cast<std::uint32_t>(::getpid()), u"図面1.dwg", sampleDrawing());
        ASSERT_TRUE(m_standIn->openLog(m_log));
        auto server = EndpointServer::open(m_dir.string(), static_cast<std::uint32_t>(::getpid()), *m_standIn,
                                           limits());
        ASSERT_TRUE(server.ok()) << server.error().message;
        m_server = std::move(server.value());
        m_server->onProblem = [this](const std::string& line) { m_standIn->logNote(line); };
        m_thread = std::thread([this] {
            while (!m_stop) {
                m_server->runFor(std::chrono::milliseconds(20));
            }
        });
    }
    void TearDown() override {
        stop();
        std::filesystem::remove_all(m_dir);
        std::filesystem::remove(m_log);
        ::unsetenv("TIERMARK_CAD_DIR");
    }
    // The bounds the endpoint is opened with; tests of its deadlines make them short.
    virtual EndpointLimits limits() const { return {}; }

    // Ends the serving thread; the stand-in may then be read from the test's thread.
    void stop() {
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    std::filesystem::path m_dir;
    std::string m_log;
    std::unique_ptr<StandIn> m_standIn;
    std::unique_ptr<EndpointServer> m_server;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};

}  // namespace cadsim
