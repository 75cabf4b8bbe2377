#include "stddb/forms/registration_form.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>

#include "core/navigation.h"
#include "core/program.h"
#include "stddb/path_completion.h"
#include "stddb/settings_store.h"
#include "ui/dialogs.h"

namespace stddb {

UserForm5::UserForm5(core::Program& program) : QDialog(nullptr), m_program(program) {
    setObjectName(QStringLiteral("UserForm5"));
    setWindowTitle(QStringLiteral("国土交通省CAD製図基準（案）レイヤーセット データベース更新"));
    auto* grid = new QGridLayout(this);
    Label1 = new ui::Label(
        this, QStringLiteral("Label1"),
        u"国土交通省CAD製図基準（案）レイヤーセットを利用するには、レイヤーセットを格納したデータベースを登録し、利用可能の状態にしなければなりません。　　データベースを更新、登録するには KESTRAが配布した"
        u"\"Tiermark.MDB\"データベースセットが必要です。");
    Label2 = new ui::Label(
        this, QStringLiteral("Label2"),
        u"レイヤーセットを格納するには、KESTRAが配布した\"Tiermark.MDB\"データベースの格納場所を指定して登録してください。登録情報はWINDOWSレジストリに登録されるため、次回からの起動の際には再度登録する必要はなくなります。");
    Label3 = new ui::Label(this, QStringLiteral("Label3"),
                           u"登録情報をWINDOWSレジストリから削除する場合は登録の消去を実行してください。");
    Label4 = new ui::Label(this, QStringLiteral("Label4"),
                           u"KESTRAが配布した\"Tiermark.MDB\"データベースの格納場所のパス名：");
    TextBox1 =
        new ui::TextBox(this, QStringLiteral("TextBox1"),
                        QStringLiteral("KESTRAが配布した\"Tiermark.MDB\"データベースの格納場所のパス名："),
                        QStringLiteral("C:\\Tiermark\\Tiermark.MDB"));
    CommandButton4 = new ui::Button(this, QStringLiteral("CommandButton4"), QStringLiteral("貼り付け"));
    CommandButton5 = new ui::Button(this, QStringLiteral("CommandButton5"), QStringLiteral("参照..."));
    CommandButton3 = new ui::Button(this, QStringLiteral("CommandButton3"), QStringLiteral("キャンセル"));
    CommandButton1 =
        new ui::Button(this, QStringLiteral("CommandButton1"), QStringLiteral("Tiermark.MDBの登録"));
    CommandButton2 = new ui::Button(this, QStringLiteral("CommandButton2"), QStringLiteral("登録の消去"));
    grid->addWidget(Label1, 0, 0, 1, 4);
    grid->addWidget(Label2, 1, 0, 1, 4);
    grid->addWidget(Label3, 2, 0, 1, 4);
    grid->addWidget(Label4, 3, 0, 1, 4);
    grid->addWidget(TextBox1, 4, 0, 1, 2);
    grid->addWidget(CommandButton4, 4, 2);
    grid->addWidget(CommandButton5, 4, 3);
    grid->addWidget(CommandButton3, 5, 1);
    grid->addWidget(CommandButton1, 5, 2);
    grid->addWidget(CommandButton2, 5, 3);
    grid->setColumnStretch(0, 1);
    connect(CommandButton1, &QPushButton::clicked, this, &UserForm5::CommandButton1_Click);
    connect(CommandButton2, &QPushButton::clicked, this, &UserForm5::CommandButton2_Click);
    connect(CommandButton3, &QPushButton::clicked, this, &UserForm5::CommandButton3_Click);
    connect(CommandButton4, &QPushButton::clicked, this, &UserForm5::CommandButton4_Click);
    connect(CommandButton5, &QPushButton::clicked, this, &UserForm5::CommandButton5_Click);
    resize(600, 320);
}

void UserForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    UserForm_Activate();
}

void UserForm5::UserForm_Activate() {
    TextBox1->setText16(m_program.database().registeredPath());
}

void UserForm5::CommandButton4_Click() {
    TextBox1->clear();
    TextBox1->setText(m_program.dialogs().clipboardText());
    TextBox1->setText16(CompletePastedPath(TextBox1->text16(), QDir::separator().unicode()));
}

void UserForm5::CommandButton5_Click() {
    const QString current = TextBox1->text();
    const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    const QString chosen =
        m_program.dialogs().openFileName(this, QStringLiteral("Tiermark.MDBの場所"), start,
                                         QStringLiteral("Access データベース (*.mdb *.MDB)"));
    if (!chosen.isEmpty()) {
        TextBox1->setText16(ChosenFilePath(chosen.toStdU16String(), QDir::separator().unicode()));
    }
}

void UserForm5::copyStageToBuilder() {
    // The settings window closes itself before it opens this form: with no window to copy from, the
    // builder's list stays as it is (the reloaded builder preselects the stored default stage anyway).
    core::Navigation& navigation = m_program.navigation();
    if (const std::optional<std::u16string> stage = navigation.settingsStage()) {
        navigation.chooseBuilderStage(*stage);
    }
}

void UserForm5::CommandButton1_Click() {
    SettingsStore& settings = m_program.settings();
    if (!settings.SaveSetting(kSectionDatabase, kKeyDatabasePath, TextBox1->text16())) {
        // The store still gives the path back for this run, so the reloaded builder opens it; the user
        // learns that the next start will not know it.
        ui::showMessage(m_program.dialogs(), this,
                        notStoredMessage(kRegistrationNotStored, settings.location()));
    }
    copyStageToBuilder();
    // The builder is made afresh, so that it opens the database now registered.
    core::Navigation& navigation = m_program.navigation();
    navigation.unload(core::Window::Registration);
    navigation.unload(core::Window::Builder);
    navigation.show(core::Window::Builder);
}

void UserForm5::CommandButton3_Click() {
    copyStageToBuilder();
    m_program.navigation().unload(core::Window::Registration);
}

void UserForm5::CommandButton2_Click() {
    SettingsStore& settings = m_program.settings();
    if (!settings.DeleteSetting(kSectionDatabase, kKeyDatabasePath)) {
        ui::showMessage(m_program.dialogs(), this, notStoredMessage(kErasureNotStored, settings.location()));
    }
    core::Navigation& navigation = m_program.navigation();
    navigation.unload(core::Window::Registration);
    navigation.unload(core::Window::Builder);
    m_program.dialogs().endProgram();
}

void UserForm5::closeEvent(QCloseEvent* event) {
    event->accept();
    m_program.navigation().unload(core::Window::Registration);
}

}  // namespace stddb
