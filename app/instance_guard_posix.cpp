// The user's one Tiermark on Linux: a lock file and a local socket in the user's runtime folder.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

#include <cstdio>
#include "app/instance_guard.h"

namespace app {
namespace {

constexpr int kAnswerWaitMs = 2000;

QByteArray bytesOf(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// The runtime folder is the user's own ($XDG_RUNTIME_DIR, or Qt's private folder under /tmp), so the names in
// it are per user already; the user number in them keeps them apart where it is shared all the same.
QString runtimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder;
}

class PosixInstanceGuard final : public InstanceGuard {
public:
    PosixInstanceGuard()
        : m_base(runtimeFolder() + QStringLiteral("/tiermark-uid") + QString::number(::geteuid())),
          m_lock(m_base + QStringLiteral(".lock")) {
        // A lock is stale only when the process that wrote it is gone (QLockFile checks its number and name);
        // never because of its age, as the first Tiermark holds it for as long as it runs.
        m_lock.setStaleLockTime(0);
        if (m_lock.tryLock(0)) {
            m_holds = true;
        } else if (m_lock.error() == QLockFile::LockFailedError) {
            m_holds = false;
        } else {
            // No lock can be made at all (a folder without rights, a full disk): one Tiermark unguarded is
            // better than none.
            std::fprintf(stderr, "Tiermark: no lock in %s; running without the one-instance check\n",
                         qPrintable(runtimeFolder()));
            m_holds = true;
            m_unguarded = true;
        }
    }

    bool holdsClaim() const override { return m_holds; }

    bool askHolderToComeForward() override {
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (!socket.waitForConnected(kAnswerWaitMs)) {
            return false;
        }
        socket.write(bytesOf(kComeForwardRequest));
        if (!socket.waitForBytesWritten(kAnswerWaitMs)) {
            return false;
        }
        QByteArray answer;
        while (answer.size() < static_cast<qsizetype>(kComeForwardAnswer.size()) &&
               socket.waitForReadyRead(kAnswerWaitMs)) {
            answer += socket.readAll();
        }
        return answer.startsWith(bytesOf(kComeForwardAnswer));
    }

    void answerRequests(std::function<void()> comeForward) override {
        if (m_unguarded) {
            return;
        }
        m_comeForward = std::move(comeForward);
        // A socket left by a Tiermark that crashed: this process holds the lock, so the name is its own now.
        QLocalServer::removeServer(serverName());
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        if (!m_server.listen(serverName())) {
            std::fprintf(stderr, "Tiermark: %s\n", qPrintable(m_server.errorString()));
            return;
        }
        QObject::connect(&m_server, &QLocalServer::newConnection, &m_server, [this] { takeConnections(); });
    }

private:
    QString serverName() const { return m_base + QStringLiteral(".socket"); }

    void takeConnections() {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [this, socket] { readRequest(*socket); });
            if (socket->bytesAvailable() > 0) {
                readRequest(*socket);
            }
        }
    }

    // One request per connection, of a known text; anything else closes the connection unanswered.
    void readRequest(QLocalSocket& socket) {
        const QByteArray request = bytesOf(kComeForwardRequest);
        if (socket.bytesAvailable() < request.size()) {
            return;
        }
        if (socket.read(request.size()) == request) {
            if (m_comeForward) {
                m_comeForward();
            }
            socket.write(bytesOf(kComeForwardAnswer));
            socket.flush();
        }
        socket.disconnectFromServer();
    }

    QString m_base;
    QLockFile m_lock;
    bool m_holds = false;
    bool m_unguarded = false;
    QLocalServer m_server;
    std::function<void()> m_comeForward;
};

}  // namespace

std::unique_ptr<InstanceGuard> claimInstance() {
    return std::make_unique<PosixInstanceGuard>();
}

}  // namespace app
