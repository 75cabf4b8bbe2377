// tiermark-road: runs the typical road of Tiermark by itself against a CAD stand-in, offscreen, prints what
// the drawing now holds and saves a picture of every window. With --faults: the cases where things go
// wrong (tools/road/faults.h).
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

#include "tools/road/faults.h"
#include "tools/road/road.h"
#include "ui/program_icon.h"

int main(int argc, char** argv) {
    // The display scale (--scale=1.25: Qt's QT_SCALE_FACTOR) is read before the application exists, as Qt
    // reads it then; it is an argument because a variable set outside does not reach a program under Wine.
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--scale=", 8) == 0) {
            qputenv("QT_SCALE_FACTOR", QByteArray(argv[i] + 8));
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ui::useProgramIcon();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs Tiermark's typical road against a CAD stand-in."));
    parser.addHelpOption();
    // Beside this program (installed, or the Windows build's bin/), else where the build tree puts them.
    const QString here = QCoreApplication::applicationDirPath();
    QString standInProgram = QStandardPaths::findExecutable(QStringLiteral("acadlt"), {here});
    if (standInProgram.isEmpty()) {
        standInProgram = QDir(here).filePath(QStringLiteral("../../cadsim/app/acadlt"));
    }
    QString sample = QDir(here).filePath(QStringLiteral("../../data/Tiermark.MDB"));
    if (!QFileInfo::exists(sample)) {
        sample = QDir(here).filePath(QStringLiteral("../data/Tiermark.MDB"));
    }
    QCommandLineOption acadlt(QStringLiteral("acadlt"), QStringLiteral("The stand-in program."),
                              QStringLiteral("path"), standInProgram);
    QCommandLineOption database(QStringLiteral("database"), QStringLiteral("The database to register."),
                                QStringLiteral("path"), sample);
    QCommandLineOption screenshots(QStringLiteral("screenshots"), QStringLiteral("Folder for the pictures."),
                                   QStringLiteral("folder"));
    QCommandLineOption systemSettings(
        QStringLiteral("system-settings"),
        QStringLiteral("Register the database in the program's own settings (the registry on Windows)."));
    QCommandLineOption faults(QStringLiteral("faults"),
                              QStringLiteral("Run the cases where things go wrong instead of the road."));
    QCommandLineOption standInLog(QStringLiteral("stand-in-log"),
                                  QStringLiteral("Where the stand-in logs every payload it receives."),
                                  QStringLiteral("file"));
    QCommandLineOption scale(QStringLiteral("scale"),
                             QStringLiteral("The display scale of the windows, as Windows' 125 % is 1.25."),
                             QStringLiteral("factor"));
    parser.addOptions({acadlt, database, screenshots, systemSettings, faults, standInLog, scale});
    parser.process(application);

    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 2;
    }
    road::RoadOptions options;
    options.acadlt = QDir::cleanPath(parser.value(acadlt));
    // As a user would type it: with the platform's separators (backslashes on Windows).
    options.database = QDir::toNativeSeparators(QFileInfo(parser.value(database)).absoluteFilePath());
    options.screenshots = parser.value(screenshots);
    options.systemSettings = parser.isSet(systemSettings);
    options.standInLog = parser.value(standInLog);
    options.workDirectory = work.path();
    return parser.isSet(faults) ? road::runFaults(options) : road::runRoad(options);
}
