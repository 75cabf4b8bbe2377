// Page 1's drawing kind without the link: its layer set saved as a DXF drawing and an AutoCAD script, and
// the layer check of a drawing against it.
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>
#include <utility>

#include "builder/cascade.h"
#include "builder/creation_run.h"
#include "builder/forms/builder_form.h"
#include "builder/layer_set_export.h"
#include "common/utf.h"
#include "core/navigation.h"
#include "core/program.h"
#include "layercheck/layer_check.h"
#include "ui/dialogs.h"

namespace builder {
namespace {

// One file written whole or not at all: into a temporary file beside it, renamed into place on commit.
struct PendingFile {
    explicit PendingFile(const QString& path) : file(path) {}
    bool write(const std::string& bytes) {
        return file.open(QIODevice::WriteOnly) &&
               file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                   static_cast<qint64>(bytes.size());
    }
    QSaveFile file;
};

std::u16string nativePath(const QString& path) {
    return QDir::toNativeSeparators(path).toStdU16String();
}

// Characters a file name may not hold on Windows, in a default name made of a drawing kind's name.
QString fileNamePart(const std::u16string& text) {
    QString name = QString::fromStdU16String(text);
    for (QChar c : QStringLiteral("<>:\"/\\|?*")) {
        name.replace(c, QChar(u'_'));
    }
    return name;
}

// Asks where the layer set goes: the DXF file, and the script of the same name beside it (after a yes where
// one is there already). Nothing when the user cancels.
std::optional<std::pair<QString, QString>> exportPaths(ui::Dialogs& dialogs, QWidget* parent,
                                                       const std::u16string& drawingName,
                                                       const std::u16string& letter) {
    const QString base =
        fileNamePart(drawingName) +
        (letter.empty() ? QString() : QStringLiteral("_") + QString::fromStdU16String(letter));
    const QString start = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                              .filePath(base + QStringLiteral(".dxf"));
    QString dxfPath =
        dialogs.saveFileName(parent, QStringLiteral("レイヤーセットの書き出し（DXF とスクリプト）"), start,
                             QStringLiteral("DXF ファイル (*.dxf)"));
    if (dxfPath.isEmpty()) {
        return std::nullopt;
    }
    if (!dxfPath.endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive)) {
        dxfPath += QStringLiteral(".dxf");
    }
    const QFileInfo dxfInfo(dxfPath);
    const QString scriptPath = dxfInfo.dir().filePath(dxfInfo.completeBaseName() + QStringLiteral(".scr"));
    if (QFileInfo::exists(scriptPath)) {
        ui::MessageRequest replace;
        replace.text = u"同じ名前のスクリプトがあります。置き換えますか？\r" + nativePath(scriptPath);
        replace.buttons = ui::MsgButtons::OkCancel;
        replace.icon = ui::MsgIcon::Exclamation;
        if (dialogs.MsgBox(parent, replace) != ui::MsgAnswer::Ok) {
            return std::nullopt;
        }
    }
    return std::pair{dxfPath, scriptPath};
}

// Writes both files into temporary files first and only then puts them in place, so that a path that
// cannot be written leaves neither file half-written; false (the user told why) when one fails.
bool writeBoth(ui::Dialogs& dialogs, QWidget* parent, const QString& dxfPath, const QString& scriptPath,
               const LayerSetFiles& files) {
    PendingFile dxf(dxfPath);
    PendingFile script(scriptPath);
    const auto failed = [&](const PendingFile& pending) {
        ui::showMessage(dialogs, parent,
                        u"ファイルを保存できませんでした。\r" + nativePath(pending.file.fileName()) + u"\r" +
                            pending.file.errorString().toStdU16String());
        return false;
    };
    if (!dxf.write(files.dxf)) {
        return failed(dxf);
    }
    if (!script.write(files.script)) {
        return failed(script);
    }
    if (!dxf.file.commit()) {
        return failed(dxf);
    }
    if (!script.file.commit()) {
        return failed(script);
    }
    return true;
}

// What the user is told once both files are written.
std::u16string exportedMessage(const QString& dxfPath, const QString& scriptPath,
                               const LayerSetFiles& files) {
    std::u16string done =
        u"レイヤーセットを書き出しました。\r\rDXF：" + nativePath(dxfPath) + u"\rスクリプト：" +
        nativePath(scriptPath) +
        u"\r\rDXF は AutoCAD LT で開くと、このレイヤーを持つ図面になります。スクリプトは、開いた図面で"
        u"コマンド SCRIPT を実行して選ぶと、同じレイヤーを作ります（線種はあらかじめロードしてください）。";
    if (!files.unknownLinetypes.empty()) {
        done +=
            u"\r\r次の線種はパターンが分からないため、DXF には実線として定義しました。AutoCAD LT で線種を"
            u"ロードし直してください：";
        for (std::size_t i = 0; i < files.unknownLinetypes.size(); ++i) {
            done += (i == 0 ? u"" : u"、") + files.unknownLinetypes[i];
        }
    }
    return done;
}

}  // namespace

std::optional<std::vector<LayerRow>> UserForm1::chosenRowsWithLayers() {
    std::optional<std::vector<LayerRow>> rows = chosenLayerRows();
    if (rows && rows->empty()) {
        ui::showMessage(m_program.dialogs(), this, std::u16string(kNoLayerRowsMessage));
        return std::nullopt;
    }
    return rows;
}

void UserForm1::CommandButton9_Click() {
    const std::optional<std::vector<LayerRow>> read = chosenRowsWithLayers();
    if (!read) {
        return;
    }
    const std::vector<LayerRow>& rows = *read;
    const int stage = ListBox1->listIndex();
    auto files = layerSetFiles(plannedLayers(rows, stage, OptionButton1->isChecked(), colourLookup()));
    if (!files) {
        ui::showMessage(m_program.dialogs(), this,
                        u"レイヤーセットを書き出せません。\r" + tiermark::fromUtf8(files.error().message));
        return;
    }
    const auto paths = exportPaths(m_program.dialogs(), this, ListBox4->text(), lifeCycleLetter(stage));
    if (!paths || !writeBoth(m_program.dialogs(), this, paths->first, paths->second, *files)) {
        return;
    }
    ui::showMessage(m_program.dialogs(), this, exportedMessage(paths->first, paths->second, *files));
    if (!files->leftOut.empty()) {
        ui::showMessage(m_program.dialogs(), this, leftOutMessage(files->leftOut));
    }
}

struct UserForm1::ChosenStandard {
    layercheck::Standard standard;
    std::u16string heading;
};

std::optional<UserForm1::ChosenStandard> UserForm1::chosenStandard() {
    const std::optional<std::vector<LayerRow>> read = chosenRowsWithLayers();
    if (!read) {
        return std::nullopt;
    }
    const int stage = ListBox1->listIndex();
    const std::u16string letter = lifeCycleLetter(stage);
    const std::u16string heading = u"図面名：" + ListBox4->text() + u"　　ライフサイクル：" +
                                   (stage < 0 ? u"なし" : ListBox1->text()) +
                                   (letter.empty() ? u"" : u"（" + letter + u"）");
    return ChosenStandard{layercheck::standardOf(*read, stage, colourLookup()), heading};
}

void UserForm1::CommandButton8_Click() {
    if (auto chosen = chosenStandard()) {
        m_program.navigation().showLayerCheck(std::move(chosen->standard), chosen->heading, ListBox4->text());
    }
}

void UserForm1::CommandButton11_Click() {
    if (auto chosen = chosenStandard()) {
        m_program.navigation().showTranslation(
            std::move(chosen->standard), chosen->heading, ListBox4->text(),
            ListBox1->listIndex() < 0 ? std::u16string() : ListBox1->text());
    }
}

}  // namespace builder
