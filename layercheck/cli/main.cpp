// tiermark-check: the layer check of DXF drawings against a drawing kind of the standard, from the command
// line, and their translation with a layer map (layercheck/command_line.h and translate/check_command.h say
// what it does).
#include <QCoreApplication>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "common/utf.h"
#include "layercheck/cli/console.h"
#include "layercheck/command_line.h"
#include "stddb/jet_workspace.h"
#include "stddb/qt_settings_store.h"
#include "translate/check_command.h"

namespace {

// A file written whole or not at all: into a temporary file beside it, renamed into place on commit.
tiermark::Result<void> saveFile(const std::filesystem::path& path, const std::string& bytes) {
    QSaveFile file(QString::fromStdU16String(path.u16string()));
    if (file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.commit()) {
        return {};
    }
    return tiermark::makeError(tiermark::toUtf8(file.errorString().toStdU16String()));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tiermark"));

    // The arguments as the platform gives them in full (on Windows in UTF-16, whatever the code page).
    std::vector<std::u16string> arguments;
    const QStringList given = QCoreApplication::arguments();
    for (qsizetype i = 1; i < given.size(); ++i) {
        arguments.push_back(given[i].toStdU16String());
    }
    stddb::JetWorkspace workspace;
    stddb::QtSettingsStore settings;
    const layercheck::CheckServices services{layercheck::writeOut, layercheck::writeErr, workspace, settings,
                                             saveFile};
    return translate::runCheckCommand(arguments, services);
}
