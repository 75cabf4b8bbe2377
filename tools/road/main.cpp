// tiermark-road: runs the typical road of Tiermark by itself against a CAD stand-in, offscreen, prints what
// the drawing now holds and saves a picture of every window.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

#include "tools/road/road.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs Tiermark's typical road against a CAD stand-in."));
    parser.addHelpOption();
    const QString here = QCoreApplication::applicationDirPath();
    QCommandLineOption acadlt(QStringLiteral("acadlt"), QStringLiteral("The stand-in program."),
                              QStringLiteral("path"),
                              QDir(here).filePath(QStringLiteral("../../cadsim/app/acadlt")));
    QCommandLineOption database(QStringLiteral("database"), QStringLiteral("The database to register."),
                                QStringLiteral("path"),
                                QDir(here).filePath(QStringLiteral("../../data/Tiermark.MDB")));
    QCommandLineOption screenshots(QStringLiteral("screenshots"), QStringLiteral("Folder for the pictures."),
                                   QStringLiteral("folder"));
    parser.addOptions({acadlt, database, screenshots});
    parser.process(application);

    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 2;
    }
    road::RoadOptions options;
    options.acadlt = QDir::cleanPath(parser.value(acadlt));
    options.database = QFileInfo(parser.value(database)).absoluteFilePath();
    options.screenshots = parser.value(screenshots);
    options.workDirectory = work.path();
    return road::runRoad(options);
}
