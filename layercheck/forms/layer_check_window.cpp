#include "layercheck/forms/layer_check_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include <filesystem>

#include "cadlink/drawing_access.h"
#include "common/utf.h"
#include "core/drawing_layers.h"
#include "core/navigation.h"
#include "core/program.h"
#include "layercheck/drawing_file.h"
#include "ui/dialogs.h"

namespace layercheck {
namespace {

constexpr int kVerdictRole = Qt::UserRole + 1;
constexpr int kRowRole = Qt::UserRole + 2;
constexpr int kSortRole = Qt::UserRole + 3;
constexpr int kMeasuredRows = 100;

const QStringList kColumns = {
    QStringLiteral("判定"),       QStringLiteral("図面の画層名"), QStringLiteral("色"),
    QStringLiteral("線種"),       QStringLiteral("基準の画層名"), QStringLiteral("基準の色"),
    QStringLiteral("基準の線種"), QStringLiteral("説明"),
};

QString q(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

// Rows that need the user's attention stand out.
QColor shade(Verdict verdict) {
    switch (verdict) {
        case Verdict::Standard:
        case Verdict::NumberedAllowed:
        case Verdict::Fixed:
        case Verdict::XrefDependent:
            return QColor();
        case Verdict::OtherProperties:
            return QColor(255, 244, 204);
        case Verdict::NumberedNotAllowed:
        case Verdict::NotStandard:
        case Verdict::Missing:
            return QColor(255, 226, 204);
        case Verdict::Forbidden:
            return QColor(255, 204, 204);
    }
    return QColor();
}

std::u16string countText(int count) {
    const std::string text = std::to_string(count);
    return std::u16string(text.begin(), text.end());
}

std::filesystem::path pathOf(const QString& name) {
    return std::filesystem::path(name.toStdU16String());
}

}  // namespace

// The rows of a check as the table shows them, read straight from the result: filling the table for
// thousands of layers is one reset, not one item per cell.
class ResultModel final : public QAbstractTableModel {
public:
    explicit ResultModel(QObject* parent) : QAbstractTableModel(parent) {}

    void setRows(const std::vector<Row>* rows) {
        beginResetModel();
        m_rows = rows;
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() || m_rows == nullptr ? 0 : static_cast<int>(m_rows->size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(kColumns.size());
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < static_cast<int>(kColumns.size())) {
            return kColumns.at(section);
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || m_rows == nullptr || index.row() >= static_cast<int>(m_rows->size())) {
            return {};
        }
        const Row& row = (*m_rows)[static_cast<std::size_t>(index.row())];
        switch (role) {
            case Qt::DisplayRole:
                return display(row, index.column());
            case Qt::BackgroundRole: {
                const QColor background = shade(row.verdict);
                return background.isValid() ? QVariant(background) : QVariant();
            }
            case kVerdictRole:
                return static_cast<int>(row.verdict);
            case kRowRole:
                return index.row();
            case kSortRole:
                return sortKey(row, index.column());
            default:
                return {};
        }
    }

private:
    static QVariant number(const std::optional<int>& value) { return value ? QVariant(*value) : QVariant(); }
    // A true colour shows as "255,128,0" and sorts after the colour numbers.
    static QVariant colour(const Row& row) {
        return row.trueColour ? QVariant(q(colourText(row.colour, row.trueColour))) : number(row.colour);
    }
    static QVariant sortKey(const Row& row, int column) {
        if (column == 2) {
            if (row.trueColour) {
                return static_cast<qlonglong>(256 + *row.trueColour);
            }
            return row.colour ? QVariant(static_cast<qlonglong>(*row.colour)) : QVariant(qlonglong{-1});
        }
        return display(row, column);
    }
    static QVariant display(const Row& row, int column) {
        switch (column) {
            case 0:
                return q(verdictText(row.verdict));
            case 1:
                return q(row.name);
            case 2:
                return colour(row);
            case 3:
                return q(row.linetype);
            case 4:
                return q(row.standardName);
            case 5:
                return number(row.standardColour);
            case 6:
                return q(row.standardLinetype);
            case 7:
                return q(row.note);
            default:
                return {};
        }
    }

    const std::vector<Row>* m_rows = nullptr;
};

UserForm9::UserForm9(core::Program& program) : QDialog(nullptr), m_program(program) {
    setObjectName(QStringLiteral("UserForm9"));
    setWindowTitle(QStringLiteral("レイヤーチェック"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new ui::Label(this, QStringLiteral("Label1"), {}, QStringLiteral("チェックする基準"));
    layout->addWidget(Label1);

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

    auto* filter = new QHBoxLayout;
    Label3 = new ui::Label(this, QStringLiteral("Label3"), u"判定で絞り込む");
    Label3->setWordWrap(false);
    ComboBox1 = new ui::ComboBox(this, QStringLiteral("ComboBox1"), QStringLiteral("判定で絞り込む"));
    ComboBox1->setEditable(false);
    ComboBox1->setMinimumWidth(280);
    filter->addWidget(Label3);
    filter->addWidget(ComboBox1);
    filter->addStretch(1);
    layout->addLayout(filter);

    m_model = new ResultModel(this);
    m_filter = new QSortFilterProxyModel(this);
    m_filter->setSourceModel(m_model);
    m_filter->setFilterRole(kVerdictRole);
    m_filter->setFilterKeyColumn(0);
    m_filter->setSortRole(kSortRole);
    m_filter->setSortLocaleAware(true);
    ListView1 = new QTableView(this);
    ui::nameControl(*ListView1, QStringLiteral("ListView1"), QStringLiteral("レイヤーチェックの結果"));
    ListView1->setModel(m_filter);
    ListView1->setSortingEnabled(true);
    ListView1->sortByColumn(-1, Qt::AscendingOrder);  // the drawing's own order until a heading is clicked
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setAlternatingRowColors(false);
    ListView1->verticalHeader()->setVisible(false);
    ListView1->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the rows in view and some beyond, not from thousands of rows of text.
    ListView1->horizontalHeader()->setResizeContentsPrecision(kMeasuredRows);
    layout->addWidget(ListView1, 1);

    Label4 = new ui::Label(this, QStringLiteral("Label4"), {}, QStringLiteral("件数"));
    layout->addWidget(Label4);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    CommandButton3 = new ui::Button(this, QStringLiteral("CommandButton3"), QStringLiteral("CSV保存..."));
    CommandButton4 = new ui::Button(this, QStringLiteral("CommandButton4"), QStringLiteral("閉じる"));
    CommandButton3->setEnabled(false);
    bottom->addWidget(CommandButton3);
    bottom->addWidget(CommandButton4);
    layout->addLayout(bottom);

    connect(CommandButton1, &QPushButton::clicked, this, &UserForm9::CommandButton1_Click);
    connect(CommandButton2, &QPushButton::clicked, this, &UserForm9::CommandButton2_Click);
    connect(CommandButton3, &QPushButton::clicked, this, &UserForm9::CommandButton3_Click);
    connect(CommandButton4, &QPushButton::clicked, this, &UserForm9::CommandButton4_Click);
    connect(ComboBox1, &ui::ComboBox::clicked, this, &UserForm9::ComboBox1_Click);
    fillFilter();
    resize(980, 600);
}

UserForm9::~UserForm9() = default;

void UserForm9::setStandard(Standard standard, const std::u16string& heading,
                            const std::u16string& drawingKind) {
    m_standard = std::move(standard);
    m_drawingKind = drawingKind;
    Label1->setCaption(heading);
    // A new standard: the layers read before are judged again when they are read again.
    m_model->setRows(nullptr);
    m_result = Result{};
    m_checked = false;
    m_model->setRows(&m_result.rows);
    Label2->setCaption(u"図面の画層を読み込んでください。");
    fillFilter();
    CommandButton3->setEnabled(false);
}

void UserForm9::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    UserForm_Activate();
}

void UserForm9::UserForm_Activate() {
    // The drawing itself is read where the CAD program gives its layers back; AutoCAD LT does not.
    const bool readable = core::drawingReadable(m_program);
    CommandButton1->setEnabled(readable);
    CommandButton1->setToolTip(readable ? QString()
                                        : QString::fromStdU16String(std::u16string(core::kNoReadBackNote)));
    if (!readable && !m_checked) {
        Label2->setCaption(std::u16string(core::kNoReadBackNote));
    }
}

void UserForm9::CommandButton1_Click() {
    core::ChosenDrawingLayers read = core::readChosenDrawing(m_program, false);
    if (!read.problem.empty()) {
        ui::showMessage(m_program.dialogs(), this, read.problem);
        return;
    }
    showLayers(read.layers, read.source);
}

void UserForm9::CommandButton2_Click() {
    const QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString file =
        m_program.dialogs().openFileName(this, QStringLiteral("チェックする図面の DXF ファイル"), start,
                                         QStringLiteral("DXF ファイル (*.dxf);;すべてのファイル (*)"));
    if (!file.isEmpty()) {
        checkFile(file);
    }
}

void UserForm9::checkFile(const QString& file) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto check = checkDrawingFile(pathOf(file), m_standard);
    QApplication::restoreOverrideCursor();
    if (!check) {
        ui::showMessage(m_program.dialogs(), this,
                        u"この DXF ファイルの画層を読み取れませんでした。\r" + file.toStdU16String() + u"\r" +
                            tiermark::fromUtf8(check.error().message));
        return;
    }
    std::u16string source = u"読み込み元：" + QDir::toNativeSeparators(file).toStdU16String() + u"（" +
                            fileFormText(check->table) + u"）";
    for (const std::u16string& note : readingNotes(check->table)) {
        source += u"\r" + note;
    }
    showResult(std::move(check->result), source);
}

void UserForm9::showLayers(const std::vector<cadlink::DrawingLayer>& layers, const std::u16string& source) {
    showResult(checkLayers(layers, m_standard), source);
}

void UserForm9::showResult(Result result, const std::u16string& source) {
    m_model->setRows(nullptr);  // the table reads the result: it lets go of it while the result changes
    m_result = std::move(result);
    m_checked = true;
    Label2->setCaption(source);
    fillFilter();
    fillTable();
    CommandButton3->setEnabled(true);
}

void UserForm9::fillFilter() {
    const int chosen = std::max(0, ComboBox1->currentIndex());
    ComboBox1->clearItems();
    ComboBox1->addItem(u"すべて（" + countText(static_cast<int>(m_result.rows.size())) + u"）");
    for (Verdict verdict : kVerdicts) {
        const std::u16string count = countText(m_result.count(verdict));
        ComboBox1->addItem(std::u16string(verdictText(verdict)) + u"（" + count + u"）");
    }
    ComboBox1->setCurrentIndex(chosen);
    Label4->setCaption(m_checked ? countsText(m_result) : std::u16string());
}

void UserForm9::fillTable() {
    m_model->setRows(&m_result.rows);
    ListView1->resizeColumnsToContents();
    ComboBox1_Click();
}

void UserForm9::ComboBox1_Click() {
    const int chosen = ComboBox1->currentIndex();
    if (chosen <= 0) {
        m_filter->setFilterRegularExpression(QString());
    } else {
        m_filter->setFilterRegularExpression(QStringLiteral("^%1$").arg(chosen - 1));
    }
}

std::vector<Row> UserForm9::shownRows() const {
    std::vector<Row> rows;
    for (int i = 0; i < m_filter->rowCount(); ++i) {
        const int source = m_filter->index(i, 0).data(kRowRole).toInt();
        rows.push_back(m_result.rows.at(static_cast<std::size_t>(source)));
    }
    return rows;
}

void UserForm9::CommandButton3_Click() {
    const QString start = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                              .filePath(QStringLiteral("レイヤーチェック_%1.csv").arg(q(m_drawingKind)));
    const QString file = m_program.dialogs().saveFileName(this, QStringLiteral("CSV ファイルの保存"), start,
                                                          QStringLiteral("CSV ファイル (*.csv)"));
    if (file.isEmpty()) {
        return;
    }
    // The rows as the table shows them, written whole or not at all.
    const std::string csv = csvOf(shownRows());
    QSaveFile out(file);
    const bool saved =
        out.open(QIODevice::WriteOnly) &&
        out.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size()) &&
        out.commit();
    if (!saved) {
        ui::showMessage(m_program.dialogs(), this,
                        u"CSV ファイルを保存できませんでした。\r" + file.toStdU16String() + u"\r" +
                            out.errorString().toStdU16String());
    }
}

void UserForm9::CommandButton4_Click() {
    m_program.navigation().unload(core::Window::LayerCheck);
}

}  // namespace layercheck
