// acadlt: the CAD stand-in. Plays AutoCAD LT's command line for one drawing, meets Tiermark through its
// platform's link (stand_in_link.h), and (with a display) shows the drawing, its layers and the command
// history.
#include <QApplication>
#include <QCoreApplication>
#include <QString>
#include <QTimer>
#include <iostream>
#include <memory>
#include <string_view>

#include "cadsim/app/main_window.h"
#include "cadsim/app/stand_in_link.h"
#include "cadsim/core/dxf_io.h"
#include "cadsim/core/options.h"
#include "cadsim/core/sample_drawing.h"
#include "cadsim/core/text.h"
#include "cadsim/endpoint/stand_in.h"
#include "common/utf.h"
#include "ui/program_icon.h"

namespace {

// The drawing of the options: its file or the sample, with its name rules and the line types loaded in it.
tiermark::Result<cadsim::Drawing> openDrawing(const cadsim::Options& options) {
    auto drawing = options.drawing.empty() ? tiermark::Result<cadsim::Drawing>(cadsim::sampleDrawing())
                                           : cadsim::loadDxf(options.drawing);
    if (!drawing) {
        return drawing;
    }
    drawing->setNameRules(options.extnames == 0 ? cadsim::NameRules::Release14 : cadsim::NameRules::Extended);
    for (const std::u16string& name : cadsim::splitNames(tiermark::fromUtf8(options.lineTypes))) {
        if (!drawing->loadLineType(name)) {
            return tiermark::makeError("--linetypes: " + tiermark::toUtf8(name) + " cannot name a line type");
        }
    }
    return drawing;
}

// The arguments after the program name, as UTF-8 whatever the platform's code page, with Qt's own options
// (-platform offscreen, …) taken out.
std::vector<std::string> arguments() {
    std::vector<std::string> list;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) {
        list.push_back(all[i].toStdString());
    }
    return list;
}

// Looked up before the application exists: it decides which application to make, and help needs none.
bool asksFor(int argc, char** argv, std::string_view option, std::string_view shortOption = {}) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == option || (!shortOption.empty() && argv[i] == shortOption)) {
            return true;
        }
    }
    return false;
}

int run(const cadsim::Options& options) {
    auto drawing = openDrawing(options);
    if (!drawing) {
        std::cerr << "acadlt: " << drawing.error().message << '\n';
        return 1;
    }
    cadsim::StandIn standIn(static_cast<std::uint32_t>(QCoreApplication::applicationPid()),
                            tiermark::fromUtf8(cadsim::drawingName(options)), std::move(drawing.value()));
    standIn.setDrawingFile(options.drawing);
    standIn.setStateFile(options.state);
    standIn.setHang(std::chrono::milliseconds(options.hangMilliseconds));
    standIn.setSecondMain(tiermark::fromUtf8(options.secondMain));
    standIn.setMainTitle(tiermark::fromUtf8(options.windowTitle));
    if (!options.log.empty() && !standIn.openLog(options.log)) {
        std::cerr << "acadlt: cannot open the log " << options.log << '\n';
        return 1;
    }

    std::unique_ptr<cadsim::MainWindow> mainWindow;
    std::unique_ptr<cadsim::TextWindow> textWindow;
    if (!options.headless) {
        mainWindow = std::make_unique<cadsim::MainWindow>(standIn);
        textWindow = std::make_unique<cadsim::TextWindow>(standIn);
        // Bursts of texts redraw the windows once, shortly after the burst.
        auto* redraw = new QTimer(QCoreApplication::instance());
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
        standIn.onScreenshot = [&, redraw](const std::string& path) -> tiermark::Result<void> {
            // A redraw still pending shows first: the picture is of the drawing as it stands.
            if (redraw->isActive()) {
                redraw->stop();
                mainWindow->refresh();
                textWindow->refresh();
            }
            if (!mainWindow->grab().save(QString::fromStdString(path), "PNG")) {
                return tiermark::makeError("cannot write " + path);
            }
            return {};
        };
    }
    auto link =
        cadsim::StandInLink::open(standIn, *QCoreApplication::instance(), mainWindow.get(), textWindow.get());
    if (!link) {
        std::cerr << "acadlt: " << link.error().message << '\n';
        return 1;
    }
    if (mainWindow) {
        mainWindow->show();
        textWindow->show();
    }
    if (!options.script.empty()) {
        standIn.interpreter().type(u"SCRIPT\r" + tiermark::fromUtf8(options.script) + u"\r");
    }
    standIn.changed();
    std::cout << "acadlt " << standIn.processId() << ' ' << (*link)->where() << std::endl;
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (asksFor(argc, argv, "--help", "-h")) {
        std::cout << cadsim::kUsage;
        return 0;
    }
#ifdef _WIN32
    // Qt's offscreen platform draws text with FreeType from a font folder of its own, which on Windows is
    // not the system's: without this the pictures of an offscreen stand-in show a box for every character.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) {
        const QString windows = qEnvironmentVariable("WINDIR", QStringLiteral("C:\\Windows"));
        qputenv("QT_QPA_FONTDIR", (windows + QStringLiteral("\\Fonts")).toLocal8Bit());
    }
#endif
    std::unique_ptr<QCoreApplication> app;
    if (asksFor(argc, argv, "--headless")) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
        ui::useProgramIcon();
    }
    auto options = cadsim::parseOptions(arguments());
    if (!options) {
        std::cerr << "acadlt: " << options.error().message << '\n' << cadsim::kUsage;
        return 2;
    }
    return run(*options);
}
