// The translation window's buttons: reading the layers, mapping, the map file, and applying the map.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "cadlink/drawing_access.h"
#include "common/utf.h"
#include "core/drawing_layers.h"
#include "core/navigation.h"
#include "core/program.h"
#include "dxf/layer_table.h"
#include "translate/dxf_copy.h"
#include "translate/forms/translation_window.h"
#include "translate/live_apply.h"
#include "translate/map_memory.h"
#include "translate/proposals.h"
#include "ui/dialogs.h"

namespace translate {

namespace {

std::filesystem::path pathOf(const QString& name) {
    return std::filesystem::path(name.toStdU16String());
}

QString documents() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

std::u16string countText(std::size_t count) {
    const std::string text = std::to_string(count);
    return std::u16string(text.begin(), text.end());
}

const QString kMapFilter = QStringLiteral("画層の対応表 (*.txt);;すべてのファイル (*)");

}  // namespace

void UserForm10::UserForm_Activate() {
    // The drawing itself is read where the CAD program gives its layers back; AutoCAD LT does not.
    const bool readable = core::drawingReadable(m_program);
    CommandButton1->setEnabled(readable);
    if (!readable && !m_read) {
        Label2->setCaption(std::u16string(core::kNoReadBackNote));
    }
}

void UserForm10::CommandButton1_Click() {
    // The current layer too: it is never merged away.
    core::ChosenDrawingLayers read = core::readChosenDrawing(m_program, true);
    if (!read.problem.empty()) {
        ui::showMessage(m_program.dialogs(), this, read.problem);
        return;
    }
    m_dxfFile.clear();
    showLayers(std::move(read.layers), std::move(read.currentLayer), read.source);
}

void UserForm10::CommandButton2_Click() {
    const QString file =
        m_program.dialogs().openFileName(this, QStringLiteral("変換する図面の DXF ファイル"), documents(),
                                         QStringLiteral("DXF ファイル (*.dxf);;すべてのファイル (*)"));
    if (file.isEmpty()) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto table = dxf::readLayerTableFile(pathOf(file));
    QApplication::restoreOverrideCursor();
    if (!table) {
        ui::showMessage(m_program.dialogs(), this,
                        u"この DXF ファイルの画層を読み取れませんでした。\r" + file.toStdU16String() + u"\r" +
                            tiermark::fromUtf8(table.error().message));
        return;
    }
    m_dxfFile = pathOf(file);
    showLayers(std::move(table->layers), std::move(table->currentLayer),
               u"読み込み元：" + QDir::toNativeSeparators(file).toStdU16String());
}

void UserForm10::CommandButton3_Click() {
    const std::vector<std::u16string> chosen = chosenDrawingLayers();
    const int standard = ListBox2->listIndex();
    if (chosen.empty() || standard < 0) {
        ui::showMessage(m_program.dialogs(), this, u"図面の画層と基準の画層を選んでください。");
        return;
    }
    for (const std::u16string& layer : chosen) {
        m_map.set(layer, m_standard.layers.at(static_cast<std::size_t>(standard)).name);
    }
    refresh();
}

void UserForm10::CommandButton4_Click() {
    for (const std::u16string& layer : chosenDrawingLayers()) {
        m_map.remove(layer);
    }
    refresh();
}

void UserForm10::CommandButton5_Click() {
    for (const Proposal& proposal : m_proposals) {
        m_map.set(proposal.pair.drawing, proposal.pair.standard);
    }
    refresh();
}

void UserForm10::CommandButton6_Click() {
    const QString file =
        m_program.dialogs().openFileName(this, QStringLiteral("画層の対応表を開く"), documents(), kMapFilter);
    if (file.isEmpty()) {
        return;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        ui::showMessage(m_program.dialogs(), this,
                        u"対応表を開けませんでした。\r" + file.toStdU16String() + u"\r" +
                            in.errorString().toStdU16String());
        return;
    }
    const QByteArray bytes = in.readAll();
    auto map = parseMapFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!map) {
        ui::showMessage(m_program.dialogs(), this,
                        u"対応表を読み取れませんでした。\r" + file.toStdU16String() + u"\r" +
                            tiermark::fromUtf8(map.error().message));
        return;
    }
    m_map = std::move(*map);
    refresh();
}

void UserForm10::CommandButton7_Click() {
    const QString start =
        QDir(documents())
            .filePath(QStringLiteral("画層対応表_%1.txt").arg(QString::fromStdU16String(m_drawingKind)));
    const QString file =
        m_program.dialogs().saveFileName(this, QStringLiteral("画層の対応表を保存"), start, kMapFilter);
    if (file.isEmpty()) {
        return;
    }
    const std::string text = mapFileText(m_map);
    QSaveFile out(file);
    const bool saved =
        out.open(QIODevice::WriteOnly) &&
        out.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
        out.commit();
    if (!saved) {
        ui::showMessage(m_program.dialogs(), this,
                        u"対応表を保存できませんでした。\r" + file.toStdU16String() + u"\r" +
                            out.errorString().toStdU16String());
        return;
    }
    keepMap();
}

void UserForm10::CommandButton8_Click() {
    cadlink::CommandChannel channel = m_program.makeChannel(this);
    const LiveOutcome outcome = applyLive(channel, liveCommands(m_summary.plan, m_standard));
    const std::u16string message = liveOutcomeMessage(outcome);
    if (!message.empty()) {
        ui::showMessage(m_program.dialogs(), this, message);
    }
    if (!outcome.done.empty()) {
        keepMap();
        // The drawing as the texts left it, where it can be read back.
        cadlink::DrawingAccess* drawing = m_program.drawing();
        if (m_dxfFile.empty() && drawing != nullptr && drawing->available()) {
            CommandButton1_Click();
        }
    }
}

void UserForm10::CommandButton9_Click() {
    // Beside the source by default; the source itself is written only when the user chooses it.
    const QFileInfo source(QString::fromStdU16String(m_dxfFile.u16string()));
    const QString start = source.dir().filePath(source.completeBaseName() + QStringLiteral("_変換.dxf"));
    const QString file = m_program.dialogs().saveFileName(this, QStringLiteral("変換した DXF ファイルの保存"),
                                                          start, QStringLiteral("DXF ファイル (*.dxf)"));
    if (file.isEmpty()) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto copy = translateDxfFile(m_dxfFile, pathOf(file), m_map, m_standard);
    QApplication::restoreOverrideCursor();
    if (!copy) {
        ui::showMessage(m_program.dialogs(), this,
                        u"変換した DXF ファイルを書き出せませんでした。\r" + file.toStdU16String() + u"\r" +
                            tiermark::fromUtf8(copy.error().message));
        return;
    }
    std::u16string message = u"変換した DXF ファイルを書き出しました。\r" +
                             QDir::toNativeSeparators(file).toStdU16String() + u"\r画層の名前を変更：" +
                             countText(copy->copy.renamedRecords) + u"　統合して削除：" +
                             countText(copy->copy.removedRecords) + u"　画層を移した図形：" +
                             countText(copy->copy.movedReferences);
    for (const std::u16string& note : copy->copy.notes) {
        message += u"\r" + note;
    }
    ui::showMessage(m_program.dialogs(), this, message);
    keepMap();
}

void UserForm10::CommandButton10_Click() {
    m_program.navigation().unload(core::Window::Translation);
}

}  // namespace translate
