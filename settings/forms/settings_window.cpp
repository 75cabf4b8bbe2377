#include "settings/forms/settings_window.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "core/navigation.h"
#include "core/program.h"
#include "stddb/settings_store.h"
#include "ui/dialogs.h"

namespace settings {
namespace {

constexpr std::u16string_view kStages[] = {u"測量", u"設計", u"施工", u"維持管理"};

}  // namespace

UserForm3::UserForm3(core::Program& program) : QDialog(nullptr), m_program(program) {
    setObjectName(QStringLiteral("UserForm3"));
    setWindowTitle(QStringLiteral("国土交通省CAD製図基準（案）レイヤーセットプログラム データベースセット"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new ui::Label(this, QStringLiteral("Label1"), u"現在データベースが格納されているアドレス");
    Label2 = new ui::Label(this, QStringLiteral("Label2"),
                           u"格納されていません。詳しくはマニュアルを参照ください。");
    Label2->setFrameShape(QFrame::StyledPanel);
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label7 = new ui::Label(
        this, QStringLiteral("Label7"),
        u"現在データベースが格納されているアドレスを変更　もしくは、新規格納する場合は 　　　　　　↓こちらをクリック");
    Label7->setForegroundRole(QPalette::Highlight);
    CommandButton1 =
        new ui::Button(this, QStringLiteral("CommandButton1"), QStringLiteral("データベースの更新、変更"));
    Label8 = new ui::Label(this, QStringLiteral("Label8"), u"Tiermark開始時のライフサイクルの設定");
    ListBox1 = new ui::ListBox(this, QStringLiteral("ListBox1"),
                               QStringLiteral("Tiermark開始時のライフサイクルの設定"));
    ListBox1->setMaximumHeight(90);
    CommandButton2 = new ui::Button(this, QStringLiteral("CommandButton2"), QStringLiteral("閉じる"));
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, Label7, CommandButton1, Label8,
                                                      ListBox1, CommandButton2}) {
        layout->addWidget(w);
    }
    connect(CommandButton1, &QPushButton::clicked, this, &UserForm3::CommandButton1_Click);
    connect(CommandButton2, &QPushButton::clicked, this, &UserForm3::CommandButton2_Click);
    resize(460, 330);
}

void UserForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    UserForm_Activate();
}

void UserForm3::UserForm_Activate() {
    if (const std::u16string& registered = m_program.database().registeredPath(); !registered.empty()) {
        Label2->setElidedInMiddle(true);
        Label2->setCaption(registered);
    }
    ListBox1->clearItems();
    for (std::u16string_view stage : kStages) {
        ListBox1->addItem(std::u16string(stage));
    }
    if (const std::optional<int> stage = m_program.navigation().builderStage()) {
        ListBox1->setListIndex(*stage);  // by position
    }
}

std::optional<std::u16string> UserForm3::chosenStage() const {
    if (ListBox1->listIndex() < 0) {
        return std::nullopt;
    }
    return ListBox1->text();
}

void UserForm3::storeChoice() {
    stddb::SettingsStore& settings = m_program.settings();
    if (!settings.SaveSetting(stddb::kSectionLife, stddb::kKeyDefaultStage, ListBox1->text())) {
        ui::showMessage(m_program.dialogs(), this,
                        stddb::notStoredMessage(stddb::kDefaultStageNotStored, settings.location()));
    }
}

void UserForm3::CommandButton1_Click() {
    storeChoice();
    core::Navigation& navigation = m_program.navigation();
    navigation.chooseBuilderStage(ListBox1->text());  // by text
    navigation.unload(core::Window::Settings);
    navigation.show(core::Window::Registration);
}

void UserForm3::CommandButton2_Click() {
    storeChoice();
    m_program.navigation().chooseBuilderStage(ListBox1->listIndex());  // by position
    hide();
}

void UserForm3::closeEvent(QCloseEvent* event) {
    event->accept();
    m_program.navigation().unload(core::Window::Settings);
}

}  // namespace settings
