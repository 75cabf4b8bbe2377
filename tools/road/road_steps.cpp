#include "tools/road/road_steps.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

#include <cstdio>

#include "common/utf.h"

namespace road {

void say(const char* format, const QString& text) {
    std::printf(format, qPrintable(text));
}

void photograph(const QString& folder, QWidget& window, const QString& name) {
    if (folder.isEmpty()) {
        return;
    }
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (window.grab().save(path)) {
        std::printf("  screenshot: %s\n", qPrintable(path));
    }
}

void printMessage(const ui::MessageRequest& request) {
    std::u16string shown = request.text;
    for (char16_t& c : shown) {
        if (c == u'\r') {
            c = u' ';
        }
    }
    std::printf("  message [%s]: %s\n", qPrintable(request.title), tiermark::toUtf8(shown).c_str());
}

void settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

int waitForStandIn(app::Form1& form1, const QString& title) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 15000) {
        form1.Form_Load();
        for (int i = 0; i < form1.cmbfilename->listCount(); ++i) {
            if (QString::fromStdU16String(form1.cmbfilename->itemText(i)) ==
                QLatin1Char('[') + title + QLatin1Char(']')) {
                return i;
            }
        }
        QThread::msleep(100);
    }
    return -1;
}

bool startStandIn(QProcess& standIn, const RoadOptions& options, const QString& title) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    standIn.setProcessEnvironment(environment);
    standIn.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // As today's AutoCAD LT shows its main window, and with the standard's line types loaded, as the user's
    // drawing template has them.
    QStringList arguments{
        QStringLiteral("--title"),        title,
        QStringLiteral("--window-title"), QStringLiteral("Autodesk AutoCAD LT 2025 - [%1]").arg(title),
        QStringLiteral("--linetypes"),    QStringLiteral("破線,一点鎖線,二点鎖線")};
    if (!options.standInLog.isEmpty()) {
        QFile::remove(options.standInLog);
        arguments << QStringLiteral("--log") << options.standInLog;
    }
    standIn.start(options.acadlt, arguments);
    return standIn.waitForStarted(10000);
}

}  // namespace road
