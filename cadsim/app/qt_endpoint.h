#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <map>
#include <memory>

#include "cadsim/endpoint/endpoint_server.h"

namespace cadsim {

// Serves the stand-in's endpoint from the Qt event loop: one socket notifier for the listening socket and
// one per connection, and a timer that drops silent clients. Requests are handled on the GUI thread, so the
// command line has taken a text by the time its reply leaves.
class QtEndpoint : public QObject {
    Q_OBJECT
public:
    explicit QtEndpoint(EndpointServer& server, QObject* parent = nullptr);

private:
    EndpointServer& m_server;
    QSocketNotifier m_listen;
    QTimer m_idle;
    std::map<int, std::unique_ptr<QSocketNotifier>> m_connections;
};

}  // namespace cadsim
