#include "stddb/forms/versions_form.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QScreen>

#include <algorithm>

#include "core/navigation.h"
#include "core/program.h"
#include "ui/dialogs.h"

namespace stddb {
namespace {

constexpr std::u16string_view kStandardNames[] = {
    u"国土交通省 CAD製図基準（案）",
    u"国土交通省 CAD製図基準（案）　電気通信設備編",
    u"国土交通省 CAD製図基準（案）　機械設備工事編",
    u"農林水産省 電子化図面データの作成要領（案）",
};
constexpr std::u16string_view kNoEntry = u"―";
constexpr std::u16string_view kErrorTitle = u"データベース設定エラー";
constexpr std::u16string_view kErrorText =
    u"データベースが登録されていません。\rデータベースを登録してください。";

// A field of the current row as the grid shows it: a Null reads as "―", the grid's mark for no entry.
tiermark::Result<std::u16string> cellText(const Recordset& rows, std::u16string_view field) {
    auto value = rows.Field(field);
    if (!value) {
        return value.error();
    }
    return isNull(*value) ? std::u16string(kNoEntry) : asText(*value);
}

// The form's designer size: the least it is shown at.
constexpr QSize kDesignerSize(520, 260);

// The share of the screen's width the form may take before its texts wrap, in tenths.
constexpr int kWidestTenths = 9;

}  // namespace

UserForm4::UserForm4(core::Program& program) : QDialog(nullptr), m_program(program) {
    setObjectName(QStringLiteral("UserForm4"));
    setWindowTitle(QStringLiteral("国土交通省CAD製図基準（案）レイヤーセット 基準（案）バージョン情報"));
    auto* grid = new QGridLayout(this);
    Label1 = new ui::Label(this, QStringLiteral("Label1"),
                           u"下記に当プログラムセットで使用している基準（案）バージョンセットを示します。");
    Label3 = new ui::Label(this, QStringLiteral("Label3"), u" CAD製図基準（案）名称");
    Label8 = new ui::Label(this, QStringLiteral("Label8"), u"バージョン");
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(Label8, 1, 1);
    for (int row = 0; row < 4; ++row) {
        names[row] =
            new ui::Label(this, QStringLiteral("Label%1").arg(4 + row), std::u16string(kStandardNames[row]));
        versions[row] = new ui::Label(this, QStringLiteral("Label%1").arg(9 + row), std::u16string(kNoEntry));
        versions[row]->setHeading(QStringLiteral("バージョン"));
        for (ui::Label* cell : {names[row], versions[row]}) {
            cell->setFrameShape(QFrame::Box);
            // Room between a text and its frame, so that no text touches the box it stands in.
            cell->setMargin(std::max(3, cell->fontMetrics().height() / 4));
        }
        grid->addWidget(names[row], 2 + row, 0);
        grid->addWidget(versions[row], 2 + row, 1);
    }
    Label2 = new ui::Label(this, QStringLiteral("Label2"),
                           u"※　バージョン欄に ― の記述はデータベースに登録がありません。");
    CommandButton1 = new ui::Button(this, QStringLiteral("CommandButton1"), QStringLiteral("閉じる"));
    grid->addWidget(Label2, 6, 0, 1, 2);
    grid->addWidget(CommandButton1, 7, 1, Qt::AlignRight);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    connect(CommandButton1, &QPushButton::clicked, this, &UserForm4::CommandButton1_Click);
    fitToTexts();
}

std::vector<ui::Label*> UserForm4::labels() const {
    std::vector<ui::Label*> all{Label1, Label2, Label3, Label8};
    all.insert(all.end(), names.begin(), names.end());
    all.insert(all.end(), versions.begin(), versions.end());
    return all;
}

void UserForm4::fitToTexts() {
    // Each text on one line, the form as wide as its widest row; only texts too long for that (the
    // database's fields hold up to 100 and 50 characters) wrap, within nine tenths of the screen.
    for (ui::Label* label : labels()) {
        label->setWordWrap(false);
    }
    layout()->invalidate();
    layout()->activate();
    QSize size = layout()->totalSizeHint().expandedTo(kDesignerSize);
    const QScreen* shownOn = screen();
    const int widest = shownOn ? shownOn->availableGeometry().width() * kWidestTenths / 10 : size.width();
    if (size.width() > widest) {
        for (ui::Label* label : labels()) {
            label->setWordWrap(true);
        }
        layout()->invalidate();
        layout()->activate();
        size = QSize(widest, std::max(kDesignerSize.height(), layout()->totalHeightForWidth(widest)));
    }
    resize(size);
}

void UserForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    UserForm_Activate();
}

void UserForm4::UserForm_Activate() {
    // Rows are taken strictly by position: the table's first four rows are the four standards in the order
    // of the grid. Labels filled before a failure keep their new texts.
    auto fillGrid = [this]() -> tiermark::Result<void> {
        auto table = m_program.database().openShared(u"基準案テーブル");
        if (!table) {
            return table.error();
        }
        Recordset& rows = **table;
        for (int row = 0; row < 4; ++row) {
            if (row > 0) {
                if (auto next = rows.MoveNext(); !next) {
                    return next.error();
                }
            }
            auto name = cellText(rows, u"基準名");
            if (!name) {
                return name.error();
            }
            names[row]->setCaption(*name);
            auto version = cellText(rows, u"バージョン");
            if (!version) {
                return version.error();
            }
            versions[row]->setCaption(*version);
        }
        return {};
    };
    const auto filled = fillGrid();
    fitToTexts();
    if (!filled) {
        ui::MessageRequest error;
        error.text = std::u16string(kErrorText);
        error.title = QString::fromStdU16String(std::u16string(kErrorTitle));
        m_program.dialogs().MsgBox(this, error);
    }
}

void UserForm4::CommandButton1_Click() {
    m_program.navigation().unload(core::Window::Versions);
}

void UserForm4::closeEvent(QCloseEvent* event) {
    event->accept();
    m_program.navigation().unload(core::Window::Versions);
}

}  // namespace stddb
