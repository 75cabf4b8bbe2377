#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <map>
#include <memory>

#include "cadsim/endpoint/endpoint_server.h"

namespace cadsim {

// Serves the stand-in's endpoint from the Qt event loop: one socket notifier for the listening socket, a
// read notifier per connection and a write notifier while replies wait to be taken, and a timer that lets
// go of clients past their deadlines. Requests are handled on the GUI thread, so the command line has
// taken a text by the time its reply leaves.
class QtEndpoint : public QObject {
    Q_OBJECT
public:
    explicit QtEndpoint(EndpointServer& server, QObject* parent = nullptr);

private:
    struct Notifiers {
        std::unique_ptr<QSocketNotifier> read;
        std::unique_ptr<QSocketNotifier> write;
    };

    EndpointServer& m_server;
    QSocketNotifier m_listen;
    QTimer m_deadlines;
    std::map<int, Notifiers> m_connections;
};

}  // namespace cadsim
