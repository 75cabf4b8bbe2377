// acadlt: the CAD stand-in. Plays AutoCAD LT's command line for one drawing, listens for the POSIX link on
// its endpoint, and (with a display) shows the drawing, its layers and the command history.
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <iostream>
#include <memory>

#include "cadlink/posix_endpoint.h"
#include "cadsim/app/main_window.h"
#include "cadsim/app/qt_endpoint.h"
#include "cadsim/core/dxf_io.h"
#include "cadsim/core/options.h"
#include "cadsim/core/sample_drawing.h"
#include "cadsim/endpoint/endpoint_server.h"
#include "cadsim/endpoint/stand_in.h"
#include "common/utf.h"

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

tiermark::Result<cadsim::Drawing> openDrawing(const cadsim::Options& options) {
    if (options.drawing.empty()) {
        return cadsim::sampleDrawing();
    }
    return cadsim::loadDxf(options.drawing);
}

int run(int argc, char** argv, const cadsim::Options& options) {
    std::unique_ptr<QCoreApplication> app;
    if (options.headless) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
    }
    auto drawing = openDrawing(options);
    if (!drawing) {
        std::cerr << "acadlt: " << drawing.error().message << '\n';
        return 1;
    }
    const auto pid = static_cast<std::uint32_t>(::getpid());
    cadsim::StandIn standIn(pid, tiermark::fromUtf8(cadsim::drawingName(options)),
                            std::move(drawing.value()));
    standIn.setDrawingFile(options.drawing);
    standIn.setStateFile(options.state);
    if (!options.log.empty() && !standIn.openLog(options.log)) {
        std::cerr << "acadlt: cannot open the log " << options.log << '\n';
        return 1;
    }
    auto server = cadsim::EndpointServer::open(cadlink::posix::endpointDirectory(), pid, standIn);
    if (!server) {
        std::cerr << "acadlt: " << server.error().message << '\n';
        return 1;
    }
    (*server)->onProblem = [&standIn](const std::string& line) { standIn.logNote(line); };
    cadsim::QtEndpoint endpoint(**server);
    quitOnSignals(*app);

    std::unique_ptr<cadsim::MainWindow> mainWindow;
    std::unique_ptr<cadsim::TextWindow> textWindow;
    if (!options.headless) {
        mainWindow = std::make_unique<cadsim::MainWindow>(standIn);
        textWindow = std::make_unique<cadsim::TextWindow>(standIn);
        // Bursts of texts redraw the windows once, shortly after the burst.
        auto* redraw = new QTimer(app.get());
        redraw->setSingleShot(true);
        redraw->setInterval(30);
        QObject::connect(redraw, &QTimer::timeout, [&] {
            mainWindow->refresh();
            textWindow->refresh();
        });
        standIn.onChanged = [redraw] {
            if (!redraw->isActive()) {
                redraw->start();
            }
        };
        standIn.onScreenshot = [&](const std::string& path) -> tiermark::Result<void> {
            if (!mainWindow->grab().save(QString::fromStdString(path), "PNG")) {
                return tiermark::makeError("cannot write " + path);
            }
            return {};
        };
        mainWindow->show();
        textWindow->show();
    }
    if (!options.script.empty()) {
        standIn.interpreter().type(u"SCRIPT\r" + tiermark::fromUtf8(options.script) + u"\r");
    }
    standIn.changed();
    std::cout << "acadlt " << pid << " listening on " << (*server)->socketFile() << std::endl;
    return app->exec();
}

}  // namespace

int main(int argc, char** argv) {
    auto options = cadsim::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::cerr << "acadlt: " << options.error().message << '\n' << cadsim::kUsage;
        return 2;
    }
    if (options->help) {
        std::cout << cadsim::kUsage;
        return 0;
    }
    return run(argc, argv, *options);
}
