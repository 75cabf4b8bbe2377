// The translation window's folder mode: every DXF file of a folder checked against the drawing kind, or
// translated with the map into a target folder, with a progress bar that can stop the run, a table of the
// files and the one report (CSV and HTML).
#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressDialog>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "core/navigation.h"
#include "core/program.h"
#include "dxf/layer_table.h"
#include "translate/forms/translation_window.h"
#include "translate/kind_choice.h"
#include "translate/map_memory.h"
#include "ui/dialogs.h"

namespace translate {

namespace {

constexpr std::u16string_view kKindPerFile = u"図面ごとの種類";

QString q(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

// The DXF files of a folder, in the order of their names.
std::vector<std::filesystem::path> dxfFiles(const QString& folder) {
    std::vector<std::filesystem::path> files;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QStringLiteral("*.dxf"), QStringLiteral("*.DXF")}, QDir::Files, QDir::Name)) {
        files.emplace_back(dir.filePath(name).toStdU16String());
    }
    return files;
}

bool writeFile(const QString& path, const std::string& bytes) {
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) &&
           out.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
           out.commit();
}

}  // namespace

void UserForm10::createFolderRun() {
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    auto* row = new QHBoxLayout;
    CommandButton11 =
        new ui::Button(this, QStringLiteral("CommandButton11"), QStringLiteral("フォルダーをチェック..."));
    CommandButton12 =
        new ui::Button(this, QStringLiteral("CommandButton12"), QStringLiteral("フォルダーを変換..."));
    CommandButton12->setEnabled(false);
    CheckBox1 = new QCheckBox(QStringLiteral("図面ごとに種類を推定"), this);
    ui::nameControl(*CheckBox1, QStringLiteral("CheckBox1"), QStringLiteral("図面ごとに種類を推定"));
    row->addWidget(CommandButton11);
    row->addWidget(CommandButton12);
    row->addWidget(CheckBox1);
    row->addStretch(1);
    QStringList columns{QStringLiteral("ファイル"), QStringLiteral("図面の種類")};
    for (layercheck::Verdict verdict : layercheck::kVerdicts) {
        columns << q(layercheck::verdictText(verdict));
    }
    columns << QStringLiteral("最も重い判定") << QStringLiteral("エラー");
    ListView1 = new QTableWidget(0, static_cast<int>(columns.size()), this);
    ui::nameControl(*ListView1, QStringLiteral("ListView1"), QStringLiteral("フォルダーの図面"));
    ListView1->setHorizontalHeaderLabels(columns);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->verticalHeader()->setVisible(false);
    ListView1->setVisible(false);
    // Above the window's last row of buttons.
    layout->insertLayout(layout->count() - 1, row);
    layout->insertWidget(layout->count() - 1, ListView1, 1);
    connect(ListView1, &QTableWidget::cellDoubleClicked, this,
            [this](int cellRow, int) { ListView1_DblClick(cellRow); });
}

bool UserForm10::runFolder(
    const std::function<FolderRun(const std::vector<std::filesystem::path>&, const Progress&)>& run) {
    const QString folder = m_program.dialogs().existingFolder(
        this, QStringLiteral("DXF ファイルのフォルダー"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (folder.isEmpty()) {
        return false;
    }
    const std::vector<std::filesystem::path> files = dxfFiles(folder);
    if (files.empty()) {
        ui::showMessage(m_program.dialogs(), this,
                        u"このフォルダーには DXF ファイルがありません。\r" + folder.toStdU16String());
        return false;
    }
    QProgressDialog progress(QStringLiteral("図面を処理しています..."), QStringLiteral("中止"), 0,
                             static_cast<int>(files.size()), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    m_folderRun = run(files, [&](std::size_t done, std::size_t) {
        progress.setValue(static_cast<int>(done));
        return !progress.wasCanceled();
    });
    progress.reset();
    showFolderRun();
    writeReport(folder);
    return true;
}

void UserForm10::CommandButton11_Click() {
    const std::optional<StandardOfFile> standardOf = standardOfFiles();
    if (!standardOf) {
        return;
    }
    runFolder([&](const std::vector<std::filesystem::path>& files, const Progress& progress) {
        return checkFolder(files, *standardOf, progress);
    });
}

void UserForm10::CommandButton12_Click() {
    const QString target = m_program.dialogs().existingFolder(
        this, QStringLiteral("変換した DXF ファイルを書き出すフォルダー"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (target.isEmpty()) {
        return;
    }
    const std::optional<StandardOfFile> standardOf = standardOfFiles();
    if (!standardOf) {
        return;
    }
    const bool ran =
        runFolder([&](const std::vector<std::filesystem::path>& files, const Progress& progress) {
            return translateFolder(files, m_map, *standardOf, std::filesystem::path(target.toStdU16String()),
                                   progress);
        });
    if (ran) {
        keepMap();
    }
}

void UserForm10::showFolderRun() {
    ListView1->setRowCount(static_cast<int>(m_folderRun.files.size()));
    for (std::size_t i = 0; i < m_folderRun.files.size(); ++i) {
        const FileOutcome& file = m_folderRun.files[i];
        const int row = static_cast<int>(i);
        QStringList cells{QDir::toNativeSeparators(QString::fromStdU16String(file.file.u16string())),
                          q(file.heading)};
        for (int count : file.counts) {
            cells << (file.error.empty() ? QString::number(count) : QString());
        }
        cells << (file.worst ? q(layercheck::verdictText(*file.worst)) : QString()) << q(file.error);
        for (int column = 0; column < cells.size(); ++column) {
            ListView1->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    ListView1->resizeColumnsToContents();
    ListView1->setVisible(true);
    // Room for a few files without squeezing the summary above: the window grows rather than the table
    // shrinking to a row, within the screen it is on.
    ListView1->setMinimumHeight(ListView1->verticalHeader()->defaultSectionSize() * 6);
    QSize wanted = size().expandedTo(sizeHint());
    if (const QScreen* shown = screen(); shown != nullptr) {
        wanted = wanted.boundedTo(shown->availableGeometry().size());
    }
    resize(wanted);
}

void UserForm10::writeReport(const QString& folder) {
    // A run where each file got its own kind is named so, not after the window's kind.
    const std::u16string kind = m_folderKindPerFile ? std::u16string(kKindPerFile) : m_drawingKind;
    const std::u16string title = m_folderKindPerFile ? std::u16string(kKindPerFile) : m_heading;
    const QString start = QDir(folder).filePath(QStringLiteral("画層チェック_%1.csv").arg(q(kind)));
    const QString csv = m_program.dialogs().saveFileName(this, QStringLiteral("結果の保存（CSV と HTML）"),
                                                         start, QStringLiteral("CSV ファイル (*.csv)"));
    std::u16string said = m_folderRun.cancelled ? u"途中で中止しました。" : u"すべての図面を処理しました。";
    said += u"（" + QString::number(m_folderRun.files.size()).toStdU16String() + u" 件）";
    if (!csv.isEmpty()) {
        QString html = csv;
        html = (html.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? html.chopped(4) : html) +
               QStringLiteral(".html");
        const bool written =
            writeFile(csv, reportCsv(m_folderRun)) && writeFile(html, reportHtml(m_folderRun, title));
        said += written ? u"\r結果を保存しました。\r" + QDir::toNativeSeparators(csv).toStdU16String() +
                              u"\r" + QDir::toNativeSeparators(html).toStdU16String()
                        : u"\r結果を保存できませんでした。\r" + csv.toStdU16String();
    }
    ui::showMessage(m_program.dialogs(), this, said);
}

void UserForm10::ListView1_DblClick(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_folderRun.files.size()) {
        return;
    }
    const FileOutcome& file = m_folderRun.files[static_cast<std::size_t>(row)];
    if (m_folderKindPerFile) {
        // The file is checked against its own kind, found again from its layers.
        auto table = dxf::readLayerTableFile(file.file);
        const FileStandard own =
            table ? bestKindOfFile(m_kindStandards, m_kindNames)(table->layers) : FileStandard{};
        if (own.standard != nullptr) {
            const auto kind = static_cast<std::size_t>(own.standard - m_kindStandards.data());
            m_program.navigation().showLayerCheckOf(*own.standard, m_kindNames[kind], m_kindDrawings[kind],
                                                    file.file.u16string());
            return;
        }
    }
    m_program.navigation().showLayerCheckOf(m_standard, m_heading, m_drawingKind, file.file.u16string());
}

}  // namespace translate
