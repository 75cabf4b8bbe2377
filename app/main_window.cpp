#include "app/main_window.h"

#include <QCloseEvent>

#include "app/drawing_list.h"
#include "app/form_registry.h"
#include "app/guidance.h"
#include "common/program_version.h"
#include "core/program.h"
#include "ui/caption_fit.h"
#include "ui/dialogs.h"

namespace app {

Form1::Form1(core::Program& program, Forms& forms)
    : QWidget(nullptr), m_program(program), m_forms(forms), m_channel(program.makeChannel(this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromStdU16String(std::u16string(kForm1Caption)));
    createControls();
    m_drawingList = std::make_unique<ListBoxDrawingList>(*cmbfilename);
    keepChosenDrawing(*cmbfilename, m_program);

    // Combo1 offers the layers created in this run of the program, as the program's list holds them.
    Combo1->addItems(m_program.layers().created.displayNames());
    m_program.layers().created.observe(
        [this](builder::CreatedLayers::Change change, const builder::CreatedLayers& layers) {
            if (change == builder::CreatedLayers::Change::Cleared) {
                Combo1->clearItems();
            } else {
                Combo1->addItem(layers.records().back().display);
            }
        });

    connect(Label1, &ui::Label::clicked, this, &Form1::Label1_Click);
    connect(Combo1, &ui::ComboBox::clicked, this, &Form1::Combo1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    for (int i = 0; i < 3; ++i) {
        connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
        connect(Command3[i], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
    }
}

Form1::~Form1() {
    m_program.layers().created.observe({});
}

void Form1::createControls() {
    setFixedSize(ui::fromTwips(0, 0, 14415, 1830).size());
    setFont(ui::msPGothic(9));
    setStyleSheet(QStringLiteral("QPushButton { padding: 0px 1px; }"));
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    setPalette(grey);

    auto place = [](QWidget* w, int l, int t, int wd, int h) { w->setGeometry(ui::fromTwips(l, t, wd, h)); };

    Command1 = new ui::Button(this, QStringLiteral("Command1"), QStringLiteral("Tiermarkメニュー"));
    Command1->setText(
        QStringLiteral("Tiermark\nメニュー"));  // two lines: the caption is wider than the button
    place(Command1, 0, 0, 975, 495);
    Label1 = new ui::Label(this, QStringLiteral("Label1"), u"対象図面");
    Label1->setCursor(Qt::PointingHandCursor);
    place(Label1, 960, 120, 855, 375);
    cmbfilename = new ui::ListBox(this, QStringLiteral("cmbfilename"), QStringLiteral("対象図面"));
    place(cmbfilename, 1800, 120, 4695, 420);
    Label2 = new ui::Label(this, QStringLiteral("Label2"), u"変更後のレイヤー");
    place(Label2, 6480, 120, 735, 375);
    Combo1 = new ui::ComboBox(this, QStringLiteral("Combo1"), QStringLiteral("変更後のレイヤー"));
    Combo1->setFont(ui::msPGothic(12));
    place(Combo1, 7200, 120, 4815, 360);

    Command2[0] = new ui::Button(this, QStringLiteral("Command2(0)"), QStringLiteral("レイヤー変更"));
    Command2[1] = new ui::Button(this, QStringLiteral("Command2(1)"), QStringLiteral("実行"));
    Command2[2] = new ui::Button(this, QStringLiteral("Command2(2)"), QStringLiteral("キャンセル"));
    Command3[0] = new ui::Button(this, QStringLiteral("Command3(0)"), QStringLiteral("移動のみ"));
    Command3[1] = new ui::Button(this, QStringLiteral("Command3(1)"), QStringLiteral("実行"));
    Command3[2] = new ui::Button(this, QStringLiteral("Command3(2)"), QStringLiteral("キャンセル"));
    // The execute button of a pending action stands where its start button was; its cancel button covers
    // the other, disabled start button.
    for (QWidget* w : {static_cast<QWidget*>(Command2[0]), static_cast<QWidget*>(Command2[1]),
                       static_cast<QWidget*>(Command3[2])}) {
        place(w, 12000, 0, 1335, 735);
    }
    for (QWidget* w : {static_cast<QWidget*>(Command3[0]), static_cast<QWidget*>(Command3[1]),
                       static_cast<QWidget*>(Command2[2])}) {
        place(w, 13320, 0, 1095, 735);
    }
    // Execute and cancel lie above the start buttons they cover.
    for (int i = 1; i < 3; ++i) {
        Command2[i]->raise();
        Command3[i]->raise();
    }
    Command2[0]->setEnabled(false);
    Command3[0]->setEnabled(false);
    for (int i = 1; i < 3; ++i) {
        Command2[i]->setVisible(false);
        Command3[i]->setVisible(false);
    }

    Label5 = new ui::Label(this, QStringLiteral("Label5"), u"対象図面の再呼込↑をクリック！");
    Label5->setStyleSheet(QStringLiteral("color: red;"));
    place(Label5, 0, 480, 1815, 375);
    Label4 = new ui::Label(this, QStringLiteral("Label4"), u"コメント");
    Label4->setFont(ui::msPGothic(11.25));
    place(Label4, 1800, 720, 975, 255);
    Label3 = new ui::Label(this, QStringLiteral("Label3"), {}, QStringLiteral("コメント"));  // the guidance
    Label3->setFont(ui::msPGothic(11.25));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(Label3, 2640, 720, 11775, 975);
    Label6 = new ui::Label(this, QStringLiteral("Label6"),
                           std::u16string(u"ﾊﾞｰｼﾞｮﾝ ") + tiermark::kProgramVersion);
    Label6->setFont(ui::msPGothic(11.25));
    Label6->setWordWrap(false);
    // As wide as the line below it: in a wider Japanese font than the one it was laid out for, the version
    // number would lose its last digit.
    place(Label6, 240, 960, 2295, 255);
    Label7 = new ui::Label(this, QStringLiteral("Label7"), std::u16string(kContactLine));
    place(Label7, 240, 1320, 2295, 375);
    // The two-line captions ("Tiermark" over "メニュー", the red reminder) were laid out for a font with a
    // shorter line than the Japanese fonts of today's Windows: they keep their places, in a font that fits.
    ui::fitCaptions(*this);
}

bool Form1::targetWindow(cadlink::WindowHandle& window) const {
    return m_program.targetWindow(window);
}

void Form1::offerChangeAndMove(const std::u16string& guidance) {
    Command2[0]->setEnabled(true);
    Command3[0]->setEnabled(true);
    Label3->setCaption(guidance);
}

cadlink::Delivery Form1::SendCommand(std::u16string_view text) {
    return m_channel.SendCommand(text);
}

bool Form1::sendAction(const std::vector<std::u16string>& texts) {
    const cadlink::Delivery delivery = cadlink::sendAll(m_channel, texts);
    if (delivery == cadlink::Delivery::Taken) {
        return true;
    }
    if (const std::u16string message = cadlink::notDeliveredMessage(delivery); !message.empty()) {
        ui::showMessage(m_program.dialogs(), this, message);
    }
    Label3->setCaption(std::u16string(delivery == cadlink::Delivery::NoTarget   ? guidance::kNoTargetChosen
                                      : delivery == cadlink::Delivery::NoWindow ? guidance::kNoMainWindow
                                                                                : guidance::kNotDone));
    return false;
}

void Form1::Form_Load() {
    cadlink::MatchingValues matching;
    matching.processBaseName = u"ACLT";
    matching.mainWindowPrefix = u"AutoCAD LT -";
    m_program.findAutoCadLt(matching, *m_drawingList);
    cadlink::WindowHandle window = 0;
    const bool chosenHasWindow = !targetWindow(window) || window != 0;
    Label3->setCaption(
        guidance::forStartUp(m_drawingList->lineCount(), Combo1->listCount(), chosenHasWindow));
}

void Form1::Label1_Click() {
    ui::MessageRequest confirm;
    confirm.text = std::u16string(guidance::kConfirmTargetChange);
    confirm.title = QString::fromStdU16String(std::u16string(guidance::kWarningTitle));
    confirm.buttons = ui::MsgButtons::OkCancel;
    confirm.icon = ui::MsgIcon::Information;
    confirm.defaultButton = ui::MsgDefault::Second;
    if (m_program.dialogs().MsgBox(this, confirm) != ui::MsgAnswer::Ok) {
        return;
    }
    Form_Load();
    m_program.layers().created.clear();
    ui::MessageRequest notice;
    notice.text = std::u16string(guidance::kTargetChanged);
    notice.title = confirm.title;
    notice.icon = ui::MsgIcon::Exclamation;
    m_program.dialogs().MsgBox(this, notice);
}

void Form1::Combo1_Click() {
    Label3->setCaption(guidance::changeAndMove());
}

void Form1::Command1_Click() {
    if (cmbfilename->listCount() > 0) {
        m_forms.ShowBuilder();
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    m_program.database().release();
    m_forms.unloadAllButMain();
}

}  // namespace app
