#include "translate/forms/translation_window.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "core/program.h"
#include "translate/listing.h"
#include "translate/map_memory.h"
#include "translate/proposals.h"

namespace translate {

namespace {

std::u16string lines(const std::vector<std::u16string>& texts) {
    std::u16string joined;
    for (const std::u16string& text : texts) {
        joined += (joined.empty() ? u"" : u"\r") + text;
    }
    return joined;
}

std::u16string countText(std::size_t count) {
    const std::string text = std::to_string(count);
    return std::u16string(text.begin(), text.end());
}

}  // namespace

UserForm10::UserForm10(core::Program& program) : QDialog(nullptr), m_program(program) {
    setObjectName(QStringLiteral("UserForm10"));
    setWindowTitle(QStringLiteral("画層の変換"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new ui::Label(this, QStringLiteral("Label1"), {}, QStringLiteral("変換先の基準"));
    layout->addWidget(Label1);
    createSides();
    createKindChoice();
    createButtons();
    createFolderRun();
    connectButtons();
    resize(980, 680);
}

UserForm10::~UserForm10() = default;

void UserForm10::createSides() {
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    auto* source = new QHBoxLayout;
    CommandButton1 =
        new ui::Button(this, QStringLiteral("CommandButton1"), QStringLiteral("図面から読み込む"));
    CommandButton2 = new ui::Button(this, QStringLiteral("CommandButton2"), QStringLiteral("DXFファイル..."));
    source->addWidget(CommandButton1);
    source->addWidget(CommandButton2);
    source->addStretch(1);
    layout->addLayout(source);
    Label2 = new ui::Label(this, QStringLiteral("Label2"), u"図面の画層を読み込んでください。",
                           QStringLiteral("読み込み元"));
    layout->addWidget(Label2);

    auto* sides = new QGridLayout;
    sides->addWidget(new QLabel(QStringLiteral("図面の画層（変換後）"), this), 0, 0);
    sides->addWidget(new QLabel(QStringLiteral("基準の画層"), this), 0, 2);
    ListBox1 = new ui::ListBox(this, QStringLiteral("ListBox1"), QStringLiteral("図面の画層（変換後）"));
    // Many drawing layers go to one standard layer: they are chosen together.
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox2 = new ui::ListBox(this, QStringLiteral("ListBox2"), QStringLiteral("基準の画層"));
    auto* mapping = new QVBoxLayout;
    CommandButton3 = new ui::Button(this, QStringLiteral("CommandButton3"), QStringLiteral("対応付け →"));
    CommandButton4 = new ui::Button(this, QStringLiteral("CommandButton4"), QStringLiteral("対応を外す"));
    CommandButton5 =
        new ui::Button(this, QStringLiteral("CommandButton5"), QStringLiteral("候補をすべて採用"));
    Label3 = new ui::Label(this, QStringLiteral("Label3"), {}, QStringLiteral("候補"));
    mapping->addStretch(1);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{CommandButton3, CommandButton4, CommandButton5, Label3}) {
        mapping->addWidget(widget);
    }
    mapping->addStretch(1);
    sides->addWidget(ListBox1, 1, 0);
    sides->addLayout(mapping, 1, 1);
    sides->addWidget(ListBox2, 1, 2);
    sides->setColumnStretch(0, 3);
    sides->setColumnStretch(2, 2);
    layout->addLayout(sides, 1);
}

void UserForm10::createButtons() {
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    auto* file = new QHBoxLayout;
    CommandButton6 =
        new ui::Button(this, QStringLiteral("CommandButton6"), QStringLiteral("対応表を開く..."));
    CommandButton7 =
        new ui::Button(this, QStringLiteral("CommandButton7"), QStringLiteral("対応表を保存..."));
    file->addWidget(CommandButton6);
    file->addWidget(CommandButton7);
    file->addStretch(1);
    layout->addLayout(file);
    Label4 = new ui::Label(this, QStringLiteral("Label4"), {}, QStringLiteral("変換の内容"));
    layout->addWidget(Label4);
    Label5 = new ui::Label(this, QStringLiteral("Label5"), std::u16string(kNeverMergedNote));
    layout->addWidget(Label5);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    CommandButton8 = new ui::Button(this, QStringLiteral("CommandButton8"), QStringLiteral("図面に適用"));
    CommandButton9 =
        new ui::Button(this, QStringLiteral("CommandButton9"), QStringLiteral("DXFに書き出す..."));
    CommandButton10 = new ui::Button(this, QStringLiteral("CommandButton10"), QStringLiteral("閉じる"));
    for (ui::Button* button : {CommandButton8, CommandButton9, CommandButton10}) {
        bottom->addWidget(button);
    }
    layout->addLayout(bottom);
}

void UserForm10::connectButtons() {
    const std::pair<ui::Button*, void (UserForm10::*)()> handlers[] = {
        {CommandButton1, &UserForm10::CommandButton1_Click},
        {CommandButton2, &UserForm10::CommandButton2_Click},
        {CommandButton3, &UserForm10::CommandButton3_Click},
        {CommandButton4, &UserForm10::CommandButton4_Click},
        {CommandButton5, &UserForm10::CommandButton5_Click},
        {CommandButton6, &UserForm10::CommandButton6_Click},
        {CommandButton7, &UserForm10::CommandButton7_Click},
        {CommandButton8, &UserForm10::CommandButton8_Click},
        {CommandButton9, &UserForm10::CommandButton9_Click},
        {CommandButton10, &UserForm10::CommandButton10_Click},
        {CommandButton11, &UserForm10::CommandButton11_Click},
        {CommandButton12, &UserForm10::CommandButton12_Click},
    };
    for (const auto& [button, handler] : handlers) {
        connect(button, &QPushButton::clicked, this, handler);
    }
}

void UserForm10::setStandard(layercheck::Standard standard, const std::u16string& heading,
                             const std::u16string& drawingKind, const std::u16string& stage) {
    // The kinds are read again when asked for: the database may have changed since the window was shown.
    m_stage = stage;
    m_kindsRead = false;
    m_kindStandards.clear();
    m_kindNames.clear();
    m_kindDrawings.clear();
    takeStandard(std::move(standard), heading, drawingKind);
}

void UserForm10::takeStandard(layercheck::Standard standard, const std::u16string& heading,
                              const std::u16string& drawingKind) {
    m_standard = std::move(standard);
    m_drawingKind = drawingKind;
    m_heading = heading;
    Label1->setCaption(heading);
    m_layers.clear();
    m_currentLayer.clear();
    m_read = false;
    m_dxfFile.clear();
    Label2->setCaption(u"図面の画層を読み込んでください。");
    std::vector<std::u16string> standardLines;
    for (const cadlink::LayerRecord& layer : m_standard.layers) {
        standardLines.push_back(standardLine(layer));
    }
    ListBox2->clearItems();
    ListBox2->addItems(standardLines);
    clearKindChoice({});
    propose();
    refresh();
}

void UserForm10::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    UserForm_Activate();
}

void UserForm10::showLayers(std::vector<cadlink::DrawingLayer> layers, std::u16string currentLayer,
                            const std::u16string& source) {
    m_layers = std::move(layers);
    m_currentLayer = std::move(currentLayer);
    m_read = true;
    Label2->setCaption(source);
    clearKindChoice({});
    propose();
    refresh();
}

void UserForm10::refresh() {
    const std::vector<std::u16string> chosen = chosenDrawingLayers();
    m_summary = summarize(m_layers, m_map, m_standard, m_currentLayer);
    std::vector<std::u16string> drawingLines;
    for (const Step& step : m_summary.plan.steps) {
        drawingLines.push_back(stepLine(step));
    }
    ListBox1->clearItems();
    ListBox1->addItems(drawingLines);
    // The layers chosen stay chosen, so that a mapping can be changed or taken back at once.
    for (std::size_t row = 0; row < m_summary.plan.steps.size(); ++row) {
        if (std::find(chosen.begin(), chosen.end(), m_summary.plan.steps[row].drawing) != chosen.end()) {
            ListBox1->item(static_cast<int>(row))->setSelected(true);
        }
    }
    const std::size_t proposals = m_proposals.size();
    Label3->setCaption(m_read ? u"候補 " + countText(proposals) + u" 件" : std::u16string());
    std::vector<std::u16string> summaryText = summaryLines(m_summary);
    // The map's layers that the drawing lacks, named on one line: the first few and how many more.
    const std::vector<std::u16string>& absent = m_summary.plan.absentSources;
    if (!absent.empty()) {
        constexpr std::size_t kNamed = 5;
        std::u16string named = u"　図面にない画層：";
        for (std::size_t i = 0; i < std::min(absent.size(), kNamed); ++i) {
            named += (i == 0 ? u"" : u"、") + absent[i];
        }
        if (absent.size() > kNamed) {
            named += u"　ほか " + countText(absent.size() - kNamed) + u" 件";
        }
        summaryText.push_back(named);
    }
    Label4->setCaption(m_read ? lines(summaryText) : std::u16string());
    const bool anything = m_read && !m_summary.plan.steps.empty();
    CommandButton3->setEnabled(anything);
    CommandButton4->setEnabled(anything);
    CommandButton5->setEnabled(anything && proposals > 0);
    CommandButton7->setEnabled(!m_map.empty());
    // A drawing read from its DXF file may be applied live too: AutoCAD LT gives no layers back.
    CommandButton8->setEnabled(anything);
    CommandButton9->setEnabled(anything && !m_dxfFile.empty());
    CommandButton12->setEnabled(!m_map.empty());
}

std::vector<std::u16string> UserForm10::chosenDrawingLayers() const {
    std::vector<std::u16string> chosen;
    for (int row = 0; row < ListBox1->listCount(); ++row) {
        if (ListBox1->item(row)->isSelected() &&
            static_cast<std::size_t>(row) < m_summary.plan.steps.size()) {
            chosen.push_back(m_summary.plan.steps[static_cast<std::size_t>(row)].drawing);
        }
    }
    return chosen;
}

void UserForm10::keepMap() {
    // Remembered for the proposals of the next drawing; a settings store that cannot keep it loses only that.
    (void)remember(m_program.settings(), m_map);
    propose();
}

void UserForm10::propose() {
    m_proposals = proposeMap(m_layers, m_standard, rememberedMap(m_program.settings()));
}

}  // namespace translate
