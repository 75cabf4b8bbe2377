// The layer changer of page 2: the drawing's own layers beside the standard entries, and "→".
#include <QDir>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>

#include "builder/forms/builder_form.h"
#include "builder/layer_changer.h"
#include "cadlink/command_texts.h"
#include "cadlink/drawing_access.h"
#include "cadlink/sendable_text.h"
#include "common/ascii.h"
#include "common/utf.h"
#include "core/program.h"
#include "dxf/layer_table.h"
#include "ui/dialogs.h"

namespace builder {
namespace {

// The target drawing as the conversion pass reaches it through the drawing access.
class DrawingChangerHost final : public ChangerHost {
public:
    DrawingChangerHost(UserForm1& builder, core::Program& program) : m_builder(builder), m_program(program) {}

    tiermark::Result<bool> drawingHasLayer(std::u16string_view name) override {
        cadlink::WindowHandle window = 0;
        cadlink::DrawingAccess* drawing = m_program.drawing();
        if (drawing == nullptr) {
            return tiermark::makeError(cadlink::kNoReadBackMessage);
        }
        if (!m_program.targetWindow(window)) {
            return tiermark::makeError(tiermark::toUtf8(cadlink::kNoTargetMessage));
        }
        return drawing->hasLayer(window, name);
    }
    tiermark::Result<void> renameLayer(std::u16string_view from, std::u16string_view to) override {
        cadlink::WindowHandle window = 0;
        cadlink::DrawingAccess* drawing = m_program.drawing();
        if (drawing == nullptr || !m_program.targetWindow(window)) {
            return tiermark::makeError(cadlink::kNoReadBackMessage);
        }
        return drawing->renameLayer(window, from, to);
    }
    void showMessage(const std::u16string& text) override {
        ui::showMessage(m_program.dialogs(), &m_builder, text);
    }

private:
    UserForm1& m_builder;
    core::Program& m_program;
};

// The builder's command channel, as the sequences are sent through it.
class BuilderChannel final : public cadlink::CommandSender {
public:
    explicit BuilderChannel(UserForm1& builder) : m_builder(builder) {}
    cadlink::Delivery SendCommand(std::u16string_view text) override { return m_builder.SendCommand(text); }

private:
    UserForm1& m_builder;
};

// AutoCAD LT through the link, where it gives nothing back: the drawing's layers are those of a DXF file of
// it as the renames sent since have left them; a rename is typed into its command line ("-RENAME").
class LinkChangerHost final : public ChangerHost {
public:
    LinkChangerHost(UserForm1& builder, core::Program& program, std::vector<std::u16string>& layers)
        : m_builder(builder), m_program(program), m_layers(layers) {}

    // The file stands for the drawing. A drawing that the link cannot reach (none chosen, or one whose
    // AutoCAD LT did not take a rename) ends the pass.
    tiermark::Result<bool> drawingHasLayer(std::u16string_view name) override {
        cadlink::WindowHandle window = 0;
        if (!m_program.targetWindow(window)) {
            return tiermark::makeError(tiermark::toUtf8(cadlink::kNoTargetMessage));
        }
        if (!m_reached) {
            return tiermark::makeError(tiermark::toUtf8(cadlink::notDeliveredMessage(m_delivery)));
        }
        return find(name) != m_layers.end();
    }
    tiermark::Result<void> renameLayer(std::u16string_view from, std::u16string_view to) override {
        // What the drawing would refuse is not sent: a name the file shows as taken already.
        const auto taken = find(to);
        if (taken != m_layers.end() && !tiermark::equalsIgnoringAsciiCase(*taken, from)) {
            return tiermark::makeError("画層「" + tiermark::toUtf8(*taken) + "」が図面に既にあります。");
        }
        const cadlink::Sequence rename = cadlink::renameLayerTexts(from, to);
        if (!rename) {
            return tiermark::makeError(
                "AutoCAD LT に送れない文字か、画層名に使えない文字を含むため、変更しません（" +
                tiermark::toUtf8(cadlink::visibleText(from)) + " → " +
                tiermark::toUtf8(cadlink::visibleText(to)) + "）。");
        }
        BuilderChannel channel(m_builder);
        m_delivery = cadlink::sendAll(channel, *rename);
        if (m_delivery != cadlink::Delivery::Taken) {
            m_reached = false;
            return tiermark::makeError(tiermark::toUtf8(cadlink::notDeliveredMessage(m_delivery)));
        }
        const auto renamed = find(from);
        if (renamed != m_layers.end()) {
            *renamed = std::u16string(to);
        }
        return {};
    }
    void showMessage(const std::u16string& text) override {
        ui::showMessage(m_program.dialogs(), &m_builder, text);
    }

private:
    std::vector<std::u16string>::iterator find(std::u16string_view name) {
        return std::find_if(m_layers.begin(), m_layers.end(), [&](const std::u16string& layer) {
            return tiermark::equalsIgnoringAsciiCase(layer, name);
        });
    }

    UserForm1& m_builder;
    core::Program& m_program;
    std::vector<std::u16string>& m_layers;
    bool m_reached = true;
    cadlink::Delivery m_delivery = cadlink::Delivery::Taken;
};

bool hasReadBack(core::Program& program) {
    const cadlink::DrawingAccess* drawing = program.drawing();
    return drawing != nullptr && drawing->available();
}

}  // namespace

void UserForm1::listDrawingLayers() {
    if (!hasReadBack(m_program)) {
        // AutoCAD LT gives nothing back: the names come from a DXF file of the drawing, once one is chosen.
        CommandButton10->show();
        if (m_layerFile.empty()) {
            Label27->setCaption(tiermark::fromUtf8(cadlink::kNoReadBackMessage) +
                                u"「参照...」で図面の DXF ファイルを選ぶと、その画層名を一覧します。");
        } else {
            // The file's layers as the renames sent since have left them.
            std::vector<cadlink::DrawingLayer> layers;
            std::size_t references = 0;
            for (std::size_t i = 0; i < m_fileLayers.size(); ++i) {
                cadlink::DrawingLayer layer;
                layer.name = m_fileLayers[i];
                layer.xrefDependent = i < m_fileReferences.size() && m_fileReferences[i];
                references += layer.xrefDependent ? 1 : 0;
                layers.push_back(std::move(layer));
            }
            std::u16string caption = u"左の画層名は DXF ファイル「" + m_layerFile +
                                     u"」から読みました。「→」は AutoCAD LT の図面の画層名を変えます。DXF "
                                     u"ファイル自体は変更しません。";
            if (references > 0) {
                const std::string count = std::to_string(references);
                caption += u"外部参照の画層（" + std::u16string(count.begin(), count.end()) +
                           u" 件）は名前を変えられないため、一覧に含めていません。";
            }
            Label27->setCaption(caption);
            ListBox12->addItems(changerListing(layers));
        }
        Label27->show();
        return;
    }
    CommandButton10->hide();
    Label27->hide();
    cadlink::WindowHandle window = 0;
    if (!m_program.targetWindow(window)) {
        return;
    }
    auto layers = m_program.drawing()->layerNames(window);
    if (!layers) {
        return;
    }
    ListBox12->addItems(changerListing(*layers));
}

void UserForm1::CommandButton2_Click() {
    std::vector<std::u16string> remaining = ListBox12->items();
    bool unconvertedNotice = !Label26->isHidden();
    if (hasReadBack(m_program)) {
        DrawingChangerHost host(*this, m_program);
        runConversionPass(host, remaining, ListBox13->items(), unconvertedNotice);
    } else {
        LinkChangerHost host(*this, m_program, m_fileLayers);
        runConversionPass(host, remaining, ListBox13->items(), unconvertedNotice);
    }
    ListBox12->clearItems();
    ListBox12->addItems(remaining);
    Label26->setVisible(unconvertedNotice);
}

void UserForm1::CommandButton10_Click() {
    const QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString file =
        m_program.dialogs().openFileName(this, QStringLiteral("図面の DXF ファイル"), start,
                                         QStringLiteral("DXF ファイル (*.dxf);;すべてのファイル (*)"));
    if (file.isEmpty()) {
        return;
    }
    auto table = dxf::readLayerTableFile(std::filesystem::path(file.toStdU16String()));
    if (!table) {
        ui::showMessage(m_program.dialogs(), this,
                        u"この DXF ファイルの画層を読み取れませんでした。\r" + file.toStdU16String() + u"\r" +
                            tiermark::fromUtf8(table.error().message));
        return;
    }
    m_fileLayers.clear();
    m_fileReferences.clear();
    for (const cadlink::DrawingLayer& layer : table->layers) {
        m_fileLayers.push_back(layer.name);
        m_fileReferences.push_back(layer.xrefDependent);
    }
    m_layerFile = QDir::toNativeSeparators(file).toStdU16String();
    ListBox12->clearItems();
    listDrawingLayers();
}

}  // namespace builder
