#include "numbered/forms/numbered_layer_form.h"

#include <QCloseEvent>
#include <QGridLayout>

#include "builder/queries.h"
#include "builder/value_text.h"
#include "core/navigation.h"
#include "core/program.h"
#include "numbered/creation.h"
#include "numbered/member_scan.h"
#include "ui/dialogs.h"

namespace numbered {
namespace {

// What creating a member needs: the form's channel and the colour table.
class FormHost final : public NumberedHost {
public:
    FormHost(UserForm2& form, core::Program& program) : m_form(form), m_program(program) {}

    cadlink::Delivery SendCommand(std::u16string_view text) override { return m_form.SendCommand(text); }
    std::optional<stddb::Value> colourConstant(std::u16string_view colourName) override {
        return builder::colourConstant(m_program.database().get(), colourName);
    }

private:
    UserForm2& m_form;
    core::Program& m_program;
};

ui::Label* heading(QWidget* parent, const char* name, const char16_t* text) {
    return new ui::Label(parent, QString::fromLatin1(name), text);
}

}  // namespace

UserForm2::UserForm2(core::Program& program)
    : QDialog(nullptr), m_program(program), m_channel(program.makeChannel(this)) {
    setObjectName(QStringLiteral("UserForm2"));
    setWindowTitle(QStringLiteral("国土交通省CAD製図基準（案）レイヤーセットプログラム Ver.2007_9"));
    auto* grid = new QGridLayout(this);
    Label1 = heading(this, "Label1", u"");
    Label2 = heading(this, "Label2", u"追加するレイヤー");
    Label3 = heading(this, "Label3", u"レイヤー名");
    Label4 = heading(this, "Label4", u"内　　　　　容");
    Label5 = heading(this, "Label5", u"線　　　色");
    Label6 = heading(this, "Label6", u"同時に追加するレイヤー");
    Label8 = heading(this, "Label8", u"内　　　　　容");
    Label8->setHeading(QStringLiteral("レイヤー名"));
    Label8->setFrameShape(QFrame::Box);
    TextBox1 = new ui::TextBox(this, QStringLiteral("TextBox1"), QStringLiteral("内容"));
    ListBox1 = new ui::ListBox(this, QStringLiteral("ListBox1"), QStringLiteral("線色"));
    CheckBox1 = new QCheckBox(QStringLiteral("寸法線・寸法値"), this);
    ui::nameControl(*CheckBox1, QStringLiteral("CheckBox1"), QStringLiteral("寸法線・寸法値"));
    CheckBox2 = new QCheckBox(QStringLiteral("文字列"), this);
    ui::nameControl(*CheckBox2, QStringLiteral("CheckBox2"), QStringLiteral("文字列"));
    Image1 = new QLabel(this);
    ui::nameControl(*Image1, QStringLiteral("Image1"), QStringLiteral("寸法線・寸法値"));
    Image2 = new QLabel(this);
    ui::nameControl(*Image2, QStringLiteral("Image2"), QStringLiteral("文字列"));
    for (QLabel* picture : {Image1, Image2}) {
        picture->setFixedSize(24, 16);
        picture->setFrameShape(QFrame::Box);
    }
    CommandButton1 = new ui::Button(this, QStringLiteral("CommandButton1"), QStringLiteral("▽追加"));
    CommandButton1->setEnabled(false);
    Label9 = heading(this, "Label9", u"追加するレイヤー群に既に存在するレイヤー");
    ListBox2 = new ui::ListBox(this, QStringLiteral("ListBox2"),
                               QStringLiteral("追加するレイヤー群に既に存在するレイヤー"));
    CommandButton2 = new ui::Button(this, QStringLiteral("CommandButton2"), QStringLiteral("O.K"));
    Label10 =
        heading(this, "Label10", u"追加したレイヤーの削除は対象図面のレイヤープロパティを利用してください。");
    Label10->setStyleSheet(QStringLiteral("color: magenta;"));
    ListBox3 = new ui::ListBox(this, QStringLiteral("ListBox3"), QString());
    Label11 = heading(this, "Label11", u"");
    ListBox3->hide();
    Label11->hide();

    grid->addWidget(Label1, 0, 0, 1, 4);
    grid->addWidget(Label2, 1, 0, 1, 4);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(Label4, 2, 1);
    grid->addWidget(Label5, 2, 2);
    grid->addWidget(Label6, 2, 3);
    grid->addWidget(Label8, 3, 0);
    grid->addWidget(TextBox1, 3, 1);
    grid->addWidget(ListBox1, 3, 2, 3, 1);
    auto* companions = new QGridLayout;
    companions->addWidget(Image1, 0, 0);
    companions->addWidget(CheckBox1, 0, 1);
    companions->addWidget(Image2, 1, 0);
    companions->addWidget(CheckBox2, 1, 1);
    grid->addLayout(companions, 3, 3);
    grid->addWidget(CommandButton1, 4, 0);
    grid->addWidget(Label9, 6, 0, 1, 4);
    grid->addWidget(ListBox2, 7, 0, 1, 4);
    grid->addWidget(Label10, 8, 0, 1, 3);
    grid->addWidget(CommandButton2, 8, 3);
    ListBox1->setMaximumHeight(110);

    connect(TextBox1, &ui::TextBox::changed, this, &UserForm2::TextBox1_Change);
    connect(ListBox1, &ui::ListBox::clicked, this, &UserForm2::ListBox1_Click);
    connect(CommandButton1, &QPushButton::clicked, this, &UserForm2::CommandButton1_Click);
    connect(CommandButton2, &QPushButton::clicked, this, &UserForm2::CommandButton2_Click);
    resize(620, 420);
}

void UserForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    UserForm_Activate();
}

void UserForm2::closeEvent(QCloseEvent* event) {
    event->accept();
    m_program.navigation().unload(core::Window::Numbered);
}

cadlink::Delivery UserForm2::SendCommand(std::u16string_view text) {
    return m_channel.SendCommand(text);
}

void UserForm2::fillColours() {
    // Without a readable colour table the list stays empty and no member can be added.
    ListBox1->clearItems();
    stddb::Database* database = m_program.database().get();
    if (database == nullptr) {
        return;
    }
    auto rows = database->OpenRecordset(u"線色マスター");
    if (!rows || !(*rows)->MoveFirst()) {
        return;
    }
    // The names are added in one insertion, those read before a failing row included.
    std::vector<std::u16string> names;
    while (!(*rows)->Eof()) {
        auto name = (*rows)->Field(u"名称");
        if (!name) {
            break;
        }
        names.push_back(stddb::asText(*name));
        if (!(*rows)->MoveNext()) {
            break;
        }
    }
    ListBox1->addItems(names);
}

void UserForm2::UserForm_Activate() {
    const builder::CreatedLayers& created = m_program.layers().created;
    ListBox3->clearItems();
    const std::vector<std::u16string> offered =
        layersOffered(created.displayNames(), created.setAsideDisplayNames());
    ListBox3->addItems(offered);
    fillColours();

    const StartupView view = runStartup(m_codes, m_program.layers().layerAddMode, offered);
    CheckBox1->setEnabled(view.companionsOffered);
    CheckBox2->setEnabled(view.companionsOffered);
    Label11->setCaption(view.familyNumber);
    if (view.explanation) {
        Label1->setCaption(*view.explanation);
    }
    ListBox2->clearItems();
    ListBox2->addItems(view.members);
    if (view.nameTail) {
        Label8->setCaption(*view.nameTail);
    }
    if (view.familyFull) {
        ui::MessageRequest full;
        full.text = std::u16string(kFamilyFullMessage);
        full.title = QString::fromStdU16String(std::u16string(kFamilyFullTitle));
        m_program.dialogs().MsgBox(this, full);
        m_program.navigation().unload(core::Window::Numbered);
    }
}

void UserForm2::enableAddWhenReady() {
    if (!TextBox1->text().isEmpty() && ListBox1->listIndex() != -1) {
        CommandButton1->setEnabled(true);
    }
}

void UserForm2::TextBox1_Change() {
    enableAddWhenReady();
}

void UserForm2::ListBox1_Click() {
    enableAddWhenReady();
}

void UserForm2::CommandButton2_Click() {
    hide();
}

void UserForm2::CommandButton1_Click() {
    NumberedInput input;
    if (const std::optional<int> stage = m_program.navigation().builderStage()) {
        input.stageIndex = *stage;
    }
    input.family = m_program.layers().layerAddMode;
    input.nameTail = Label8->caption();
    input.content = TextBox1->text16();
    input.colourName = ListBox1->text();
    input.membersListed = ListBox2->listCount() > 0;
    input.objectCode = m_codes.objectCode;
    input.companionsOffered = CheckBox1->isEnabled();
    input.withDimension = CheckBox1->isChecked();
    input.withText = CheckBox2->isChecked();

    FormHost host(*this, m_program);
    const NumberedOutcome outcome = createNumberedLayer(host, input, m_program.layers().created);
    if (outcome.leftOut) {
        ui::showMessage(m_program.dialogs(), this,
                        std::u16string(kLeftOutMessage) + u"\r" + *outcome.leftOut);
        return;
    }
    if (outcome.delivery != cadlink::Delivery::Taken) {
        // The input stays for another try; the member is offered only if its creation was taken.
        if (const std::u16string message = cadlink::notDeliveredMessage(outcome.delivery); !message.empty()) {
            ui::showMessage(m_program.dialogs(), this, message);
        }
        return;
    }
    if (outcome.unloadForm) {
        m_program.navigation().unload(core::Window::Numbered);
        return;
    }
    TextBox1->clear();
    ListBox1->setListIndex(-1);
    CommandButton1->setEnabled(false);
    UserForm_Activate();
}

}  // namespace numbered
