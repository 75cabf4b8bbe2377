#include "cadsim/app/qt_endpoint.h"

namespace cadsim {

namespace {

// The notifier may be the one whose signal is running: disable it now, delete it later.
void retire(std::unique_ptr<QSocketNotifier>& notifier) {
    if (notifier) {
        notifier->setEnabled(false);
        notifier.release()->deleteLater();
    }
}

}  // namespace

QtEndpoint::QtEndpoint(EndpointServer& server, QObject* parent)
    : QObject(parent), m_server(server), m_listen(server.listenFd(), QSocketNotifier::Read) {
    m_server.onOpened = [this](int fd) {
        Notifiers notifiers;
        notifiers.read = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(notifiers.read.get(), &QSocketNotifier::activated, this,
                [this, fd] { m_server.readFrom(fd); });
        notifiers.write = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
        notifiers.write->setEnabled(false);
        connect(notifiers.write.get(), &QSocketNotifier::activated, this,
                [this, fd] { m_server.writeTo(fd); });
        m_connections[fd] = std::move(notifiers);
    };
    m_server.onWriteWaiting = [this](int fd, bool waiting) {
        const auto it = m_connections.find(fd);
        if (it != m_connections.end() && it->second.write) {
            it->second.write->setEnabled(waiting);
        }
    };
    m_server.onClosed = [this](int fd) {
        const auto it = m_connections.find(fd);
        if (it != m_connections.end()) {
            retire(it->second.read);
            retire(it->second.write);
            m_connections.erase(it);
        }
    };
    connect(&m_listen, &QSocketNotifier::activated, this, [this] { m_server.acceptPending(); });
    connect(&m_deadlines, &QTimer::timeout, this, [this] { m_server.dropIdle(); });
    m_deadlines.start(250);
}

}  // namespace cadsim
