// The translation window's choice of drawing kind: for a drawing of another kind than the one chosen in the
// builder, the kinds whose standard layers its layers match best, at the window's stage. Nothing switches by
// itself: the kind the user confirms becomes the window's standard, and the summary and the proposals
// follow it.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <utility>

#include "common/utf.h"
#include "core/program.h"
#include "layercheck/drawing_kinds.h"
#include "translate/forms/translation_window.h"
#include "translate/kind_choice.h"
#include "ui/dialogs.h"

namespace translate {

namespace {

constexpr std::u16string_view kKindGuidance = u"画層を読み込むと、一致する図面の種類を推定できます。";

}  // namespace

void UserForm10::createKindChoice() {
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    auto* row = new QHBoxLayout;
    CommandButton13 =
        new ui::Button(this, QStringLiteral("CommandButton13"), QStringLiteral("図面の種類を推定"));
    ListBox3 = new ui::ListBox(this, QStringLiteral("ListBox3"), QStringLiteral("一致する図面の種類"));
    // A few rows: the best kinds only.
    ListBox3->setMaximumHeight(ListBox3->fontMetrics().height() * static_cast<int>(kKindsShown + 1));
    CommandButton14 =
        new ui::Button(this, QStringLiteral("CommandButton14"), QStringLiteral("この種類で変換"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(CommandButton13);
    buttons->addWidget(CommandButton14);
    buttons->addStretch(1);
    row->addLayout(buttons);
    row->addWidget(ListBox3, 1);
    layout->addLayout(row);
    Label6 = new ui::Label(this, QStringLiteral("Label6"), std::u16string(kKindGuidance),
                           QStringLiteral("図面の種類の推定"));
    layout->addWidget(Label6);
    connect(CommandButton13, &QPushButton::clicked, this, &UserForm10::CommandButton13_Click);
    connect(CommandButton14, &QPushButton::clicked, this, &UserForm10::CommandButton14_Click);
    connect(ListBox3, &ui::ListBox::clicked, this,
            [this] { CommandButton14->setEnabled(ListBox3->listIndex() >= 0); });
}

bool UserForm10::readKinds() {
    if (m_kindsRead) {
        return true;
    }
    auto every = layercheck::everyDrawingKind(m_program.database(), m_stage);
    if (!every) {
        ui::showMessage(m_program.dialogs(), this,
                        u"図面の種類を読み込めませんでした。\r" + tiermark::fromUtf8(every.error().message));
        return false;
    }
    for (layercheck::KindStandard& kind : *every) {
        m_kindStandards.push_back(std::move(kind.chosen.standard));
        m_kindNames.push_back(std::move(kind.name));
        m_kindDrawings.push_back(std::move(kind.kind.drawing));
    }
    m_kindsRead = true;
    return true;
}

void UserForm10::clearKindChoice(const std::u16string& said) {
    m_kindMatches.clear();
    ListBox3->clearItems();
    Label6->setCaption(said.empty() ? std::u16string(kKindGuidance) : said);
    CommandButton13->setEnabled(m_read);
    CommandButton14->setEnabled(false);
}

void UserForm10::CommandButton13_Click() {
    if (!m_read || !readKinds()) {
        return;
    }
    m_kindMatches = bestKinds(proposeKinds(m_layers, m_kindStandards));
    std::vector<std::u16string> kindLines;
    for (const KindMatch& match : m_kindMatches) {
        kindLines.push_back(kindLine(match, m_kindNames));
    }
    ListBox3->clearItems();
    ListBox3->addItems(kindLines);
    CommandButton14->setEnabled(false);
    Label6->setCaption(m_kindMatches.empty()
                           ? u"この図面の画層に一致する図面の種類はありません。"
                           : u"一致の多い順です。種類を選んで「この種類で変換」を押してください。");
}

void UserForm10::CommandButton14_Click() {
    const int row = ListBox3->listIndex();
    if (row < 0 || static_cast<std::size_t>(row) >= m_kindMatches.size()) {
        return;
    }
    const std::size_t kind = m_kindMatches[static_cast<std::size_t>(row)].kind;
    // The layers read stay: only the standard they are translated to changes.
    std::vector<cadlink::DrawingLayer> layers = std::move(m_layers);
    std::u16string current = std::move(m_currentLayer);
    const std::u16string source = Label2->caption();
    std::filesystem::path dxfFile = std::move(m_dxfFile);
    takeStandard(m_kindStandards[kind], m_kindNames[kind], m_kindDrawings[kind]);
    m_dxfFile = std::move(dxfFile);
    showLayers(std::move(layers), std::move(current), source);
    clearKindChoice(u"図面の種類を変えました：" + m_kindNames[kind]);
}

std::optional<StandardOfFile> UserForm10::standardOfFiles() {
    m_folderKindPerFile = CheckBox1->isChecked();
    if (!m_folderKindPerFile) {
        const FileStandard standard{&m_standard, m_drawingKind};
        return [standard](const std::vector<cadlink::DrawingLayer>&) { return standard; };
    }
    if (!readKinds()) {
        return std::nullopt;
    }
    return bestKindOfFile(m_kindStandards, m_kindNames);
}

}  // namespace translate
