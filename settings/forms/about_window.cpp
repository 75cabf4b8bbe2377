#include "settings/forms/about_window.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "core/navigation.h"
#include "core/program.h"

namespace settings {
namespace {

constexpr auto kLightMagenta = "background-color: rgb(255, 191, 255);";
constexpr auto kWhiteBoxed = "background-color: white; border: 1px solid black;";

}  // namespace

UserForm8::UserForm8(core::Program& program) : QDialog(nullptr), m_program(program) {
    setObjectName(QStringLiteral("UserForm8"));
    setWindowTitle(QStringLiteral("国土交通省CAD製図基準（案）レイヤーセットプログラム Ver.2007_9 UserMenu"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new ui::Label(this, QStringLiteral("Label1"), u"TiermarkLT Version");
    Label2 = new ui::Label(this, QStringLiteral("Label2"), u"2007_10_V02");
    Label3 = new ui::Label(
        this, QStringLiteral("Label3"),
        u"Tiermarkプログラムおよびデータベースの最新版の取得は下記ホームページよりダウンロードしてください。");
    Label5 = new ui::Label(this, QStringLiteral("Label5"), std::u16string(kDownloadPage));
    Label4 = new ui::Label(this, QStringLiteral("Label4"),
                           u"このプログラムに関するバグ情報、質問、要望等の問い合わせ先");
    Label6 = new ui::Label(this, QStringLiteral("Label6"), std::u16string(kContactAddress));
    for (ui::Label* magenta : {Label1, Label3, Label4, Label6}) {
        magenta->setStyleSheet(QLatin1String(kLightMagenta));
    }
    for (ui::Label* white : {Label2, Label5}) {
        white->setStyleSheet(QLatin1String(kWhiteBoxed));
        white->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    Label6->setTextInteractionFlags(Qt::TextSelectableByMouse);
    CommandButton1 = new ui::Button(this, QStringLiteral("CommandButton1"), QStringLiteral("閉じる"));
    for (QWidget* w :
         std::initializer_list<QWidget*>{Label1, Label2, Label3, Label5, Label4, Label6, CommandButton1}) {
        layout->addWidget(w);
    }
    connect(CommandButton1, &QPushButton::clicked, this, &UserForm8::CommandButton1_Click);
    resize(440, 280);
}

void UserForm8::CommandButton1_Click() {
    m_program.navigation().unload(core::Window::About);
}

void UserForm8::closeEvent(QCloseEvent* event) {
    event->accept();
    m_program.navigation().unload(core::Window::About);
}

}  // namespace settings
