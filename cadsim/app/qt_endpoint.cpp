#include "cadsim/app/qt_endpoint.h"

namespace cadsim {

QtEndpoint::QtEndpoint(EndpointServer& server, QObject* parent)
    : QObject(parent), m_server(server), m_listen(server.listenFd(), QSocketNotifier::Read) {
    m_server.onOpened = [this](int fd) {
        auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(notifier.get(), &QSocketNotifier::activated, this, [this, fd] { m_server.readFrom(fd); });
        m_connections[fd] = std::move(notifier);
    };
    m_server.onClosed = [this](int fd) {
        auto it = m_connections.find(fd);
        if (it != m_connections.end()) {
            // The notifier may be the one whose signal is running: disable it now, delete it later.
            it->second->setEnabled(false);
            it->second.release()->deleteLater();
            m_connections.erase(it);
        }
    };
    connect(&m_listen, &QSocketNotifier::activated, this, [this] { m_server.acceptPending(); });
    connect(&m_idle, &QTimer::timeout, this, [this] { m_server.dropIdle(); });
    m_idle.start(1000);
}

}  // namespace cadsim
