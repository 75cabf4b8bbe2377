// Tiermark started twice for real: the second start brings the first window forward and ends; a lock left by
// a killed Tiermark does not keep the next from starting.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

#include <memory>

namespace {

class OneInstance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        QFile::setPermissions(m_folder.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        for (const char* sub : {"config", "cad"}) {
            QDir(m_folder.path()).mkdir(QString::fromLatin1(sub));
        }
    }

    void TearDown() override {
        for (const auto& process : m_started) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    QString lockPath() const {
        return m_folder.path() + QStringLiteral("/tiermark-uid") + QString::number(::geteuid()) +
               QStringLiteral(".lock");
    }
    QString socketPath() const {
        return m_folder.path() + QStringLiteral("/tiermark-uid") + QString::number(::geteuid()) +
               QStringLiteral(".socket");
    }

    // A Tiermark on the given platform with this test's own runtime, settings and stand-in folders.
    QProcess& start(const char* platform) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_folder.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_folder.path() + QStringLiteral("/config"));
        environment.insert(QStringLiteral("TIERMARK_CAD_DIR"), m_folder.path() + QStringLiteral("/cad"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(TIERMARK_EXE),
                       {QStringLiteral("-platform"), QString::fromLatin1(platform)});
        EXPECT_TRUE(process->waitForStarted(10000));
        m_started.push_back(std::move(process));
        return *m_started.back();
    }

    // The first Tiermark, once it holds the lock and answers on its socket.
    QProcess& startFirst() {
        QProcess& first = start("minimal");
        QDeadlineTimer deadline(20000);
        while (!(QFile::exists(lockPath()) && QFile::exists(socketPath())) && !deadline.hasExpired() &&
               first.state() == QProcess::Running) {
            QThread::msleep(20);
        }
        EXPECT_TRUE(QFile::exists(lockPath()));
        EXPECT_TRUE(QFile::exists(socketPath()));
        return first;
    }

    // Whether the process has said the text `times` times within a few seconds (all it said is kept in
    // `seen`).
    static bool saysSoon(QProcess& process, const QByteArray& text, QByteArray& seen, int times = 1) {
        QDeadlineTimer deadline(10000);
        while (seen.count(text) < times && !deadline.hasExpired()) {
            process.waitForReadyRead(100);
            seen += process.readAllStandardError();
        }
        return seen.count(text) >= times;
    }

    QTemporaryDir m_folder;
    std::vector<std::unique_ptr<QProcess>> m_started;
};

const QByteArray kAsked = "brought to the front at another start's request";

TEST_F(OneInstance, ASecondStartBringsTheFirstForwardAndEnds) {
    QProcess& first = startFirst();
    QByteArray firstSaid;
    for (int round = 0; round < 2; ++round) {
        QProcess& second = start("minimal");
        ASSERT_TRUE(second.waitForFinished(15000)) << "the second Tiermark kept running";
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();
        EXPECT_TRUE(saysSoon(first, kAsked, firstSaid, round + 1)) << firstSaid.constData();
    }
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(OneInstance, ALockLeftByAKilledTiermarkDoesNotBlock) {
    QProcess& crashed = startFirst();
    crashed.kill();  // SIGKILL: the lock file and the socket stay behind
    ASSERT_TRUE(crashed.waitForFinished(5000));
    ASSERT_TRUE(QFile::exists(lockPath()));

    QProcess& next = startFirst();
    QThread::msleep(500);
    ASSERT_EQ(next.state(), QProcess::Running) << next.readAllStandardError().constData();
    // It holds the claim now: a further start gives way to it.
    QProcess& later = start("minimal");
    ASSERT_TRUE(later.waitForFinished(15000));
    EXPECT_EQ(later.exitCode(), 0);
    QByteArray nextSaid;
    EXPECT_TRUE(saysSoon(next, kAsked, nextSaid)) << nextSaid.constData();
}

TEST_F(OneInstance, TheFirstIgnoresAStrangeRequestAndAnswersTheNext) {
    QProcess& first = startFirst();
    {
        QLocalSocket stranger;
        stranger.connectToServer(socketPath());
        ASSERT_TRUE(stranger.waitForConnected(5000));
        stranger.write(QByteArray(4096, 'x'));
        stranger.waitForBytesWritten(5000);
        stranger.waitForDisconnected(5000);
    }
    QProcess& second = start("minimal");
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    QByteArray firstSaid;
    EXPECT_TRUE(saysSoon(first, kAsked, firstSaid));
    QThread::msleep(200);
    firstSaid += first.readAllStandardError();
    EXPECT_EQ(firstSaid.count(kAsked), 1) << firstSaid.constData();
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(OneInstance, AnOffscreenRunBesideTheFirstRunsAndEnds) {
    QProcess& first = startFirst();
    QProcess& offscreen = start("offscreen");
    ASSERT_TRUE(offscreen.waitForFinished(30000));
    EXPECT_EQ(offscreen.exitCode(), 0);
    EXPECT_TRUE(offscreen.readAllStandardOutput().contains("Tiermark ran offscreen"));
    QByteArray firstSaid;
    first.waitForReadyRead(300);
    firstSaid += first.readAllStandardError();
    EXPECT_FALSE(firstSaid.contains(kAsked));
}

}  // namespace
