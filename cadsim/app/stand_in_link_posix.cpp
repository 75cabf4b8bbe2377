// The stand-in's link on POSIX systems: the endpoint's UNIX socket.
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

#include "cadlink/posix_endpoint.h"
#include "cadsim/app/qt_endpoint.h"
#include "cadsim/app/stand_in_link.h"
#include "cadsim/endpoint/endpoint_server.h"

namespace cadsim {
namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    (void)!::write(g_signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop, so the endpoint's socket file is removed on the way out.
void quitOnSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] { app.quit(); });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

class PosixLink final : public StandInLink {
public:
    PosixLink(std::unique_ptr<EndpointServer> server) : m_server(std::move(server)), m_endpoint(*m_server) {}
    std::string where() const override { return "listening on " + m_server->socketFile(); }

private:
    std::unique_ptr<EndpointServer> m_server;
    QtEndpoint m_endpoint;
};

}  // namespace

tiermark::Result<std::unique_ptr<StandInLink>> StandInLink::open(StandIn& standIn,
                                                                 QCoreApplication& application, QWidget*,
                                                                 QWidget*) {
    auto server = EndpointServer::open(cadlink::posix::endpointDirectory(), standIn.processId(), standIn);
    if (!server) {
        return server.error();
    }
    (*server)->onProblem = [&standIn](const std::string& line) { standIn.logNote(line); };
    quitOnSignals(application);
    return std::unique_ptr<StandInLink>(std::make_unique<PosixLink>(std::move(*server)));
}

}  // namespace cadsim
