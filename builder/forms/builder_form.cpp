#include "builder/forms/builder_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

#include "core/navigation.h"
#include "core/program.h"

namespace builder {
namespace {

// A list with its caption above it: LabelN heading ListBoxM, both named after the caption.
QWidget* captionedList(QWidget* parent, int labelNumber, ui::Label*& label, int listNumber,
                       ui::ListBox*& list, const char16_t* caption) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    label = new ui::Label(box, QStringLiteral("Label%1").arg(labelNumber), caption);
    list = new ui::ListBox(box, QStringLiteral("ListBox%1").arg(listNumber), QString::fromUtf16(caption));
    layout->addWidget(label);
    layout->addWidget(list, 1);
    return box;
}

ui::Label* borderedLabel(QWidget* parent, const QString& name) {
    auto* label = new ui::Label(parent, name);
    label->setFrameShape(QFrame::Box);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(false);
    label->setMinimumWidth(70);
    label->setFixedHeight(24);
    return label;
}

}  // namespace

UserForm1::UserForm1(core::Program& program)
    : QWidget(nullptr), m_program(program), m_channel(program.makeChannel(this)) {
    setObjectName(QStringLiteral("UserForm1"));
    setWindowTitle(QStringLiteral("国土交通省CAD製図基準（案）レイヤーセットプログラム Ver.2007_9"));
    setAutoFillBackground(true);
    QPalette green = palette();
    green.setColor(QPalette::Window, QColor(128, 255, 128));
    setPalette(green);
    createControls();
    connectHandlers();
    m_activeBefore =
        QApplication::activeWindow() != nullptr ? ActiveBefore::OtherWindow : ActiveBefore::Outside;
    qApp->installEventFilter(this);
}

UserForm1::~UserForm1() = default;

void UserForm1::createControls() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    CommandButton3 = new ui::Button(this, QStringLiteral("CommandButton3"), QStringLiteral("CADﾃﾞｰﾀﾍﾞｰｽ"));
    CommandButton4 = new ui::Button(this, QStringLiteral("CommandButton4"), QStringLiteral("アップデート"));
    CommandButton6 =
        new ui::Button(this, QStringLiteral("CommandButton6"), QStringLiteral("CAD製図基準ﾊﾞｰｼﾞｮﾝ"));
    top->addWidget(CommandButton3);
    top->addWidget(CommandButton4);
    top->addWidget(CommandButton6);
    top->addStretch(1);
    layout->addLayout(top);

    MultiPage1 = new QTabWidget(this);
    ui::nameControl(*MultiPage1, QStringLiteral("MultiPage1"), QStringLiteral("MultiPage1"));
    MultiPage1->addTab(createPageOne(), QStringLiteral("レイヤーメイキング"));
    MultiPage1->addTab(createPageTwo(), QStringLiteral("レイヤーチェンジャー"));
    layout->addWidget(MultiPage1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    CommandButton7 = new ui::Button(this, QStringLiteral("CommandButton7"), QStringLiteral("閉じる"));
    bottom->addWidget(CommandButton7);
    layout->addLayout(bottom);
    resize(1160, 620);
}

QWidget* UserForm1::createPageOne() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Page1"));
    auto* grid = new QGridLayout(page);

    grid->addWidget(captionedList(page, 1, Label1, 1, ListBox1, u"ライフサイクル"), 0, 0);
    grid->addWidget(captionedList(page, 2, Label2, 2, ListBox2, u"施工種別"), 0, 1);
    grid->addWidget(captionedList(page, 3, Label3, 3, ListBox3, u"工種名"), 0, 2);
    grid->addWidget(captionedList(page, 4, Label4, 4, ListBox4, u"図面名"), 0, 3);
    grid->addWidget(captionedList(page, 5, Label5, 6, ListBox6, u"レイヤー"), 0, 4);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 3);
    grid->setColumnStretch(3, 3);
    grid->setColumnStretch(4, 5);
    grid->setRowStretch(0, 1);

    grid->addWidget(createOutputChoice(page), 1, 0, 1, 2, Qt::AlignTop);
    grid->addWidget(createPaperChoice(page), 1, 2, Qt::AlignTop);
    grid->addWidget(createCoordinates(page), 1, 3, 1, 2, Qt::AlignTop | Qt::AlignLeft);
    grid->addLayout(createPageOneActions(page), 2, 2, 1, 3);
    createHiddenValues(page);
    return page;
}

QWidget* UserForm1::createOutputChoice(QWidget* page) {
    Frame1 = new QGroupBox(QStringLiteral("出力レイヤーの選択"), page);
    ui::nameControl(*Frame1, QStringLiteral("Frame1"), QStringLiteral("出力レイヤーの選択"));
    auto* frameLayout = new QVBoxLayout(Frame1);
    OptionButton1 = new ui::OptionButton(Frame1, QStringLiteral("OptionButton1"),
                                         QStringLiteral("基準（案）で指定されているレイヤー名"));
    OptionButton2 = new ui::OptionButton(
        Frame1, QStringLiteral("OptionButton2"),
        QStringLiteral("レイヤに含まれる内容で表記（図面作成後、レイヤーチェンジャーにて変更可能）"));
    OptionButton2->setChecked(true);
    OptionButton2->setStyleSheet(QStringLiteral("QRadioButton { white-space: normal; }"));
    frameLayout->addWidget(OptionButton1);
    frameLayout->addWidget(OptionButton2);
    Frame1->setMaximumHeight(130);

    return Frame1;
}

// Paper: the list, the sheet outline with its short side to the left and its long side below.
QWidget* UserForm1::createPaperChoice(QWidget* page) {
    auto* paper = new QWidget(page);
    auto* paperGrid = new QGridLayout(paper);
    Label8 = new ui::Label(paper, QStringLiteral("Label8"), u"図面サイズ");
    ListBox7 = new ui::ListBox(paper, QStringLiteral("ListBox7"), QStringLiteral("図面サイズ"));
    ListBox7->setMaximumWidth(90);
    Image1 = new QFrame(paper);
    ui::nameControl(*Image1, QStringLiteral("Image1"), QStringLiteral("図面サイズ"));
    Image1->setFixedSize(84, 59);
    Image1->setStyleSheet(QStringLiteral("QFrame#Image1 { border: 2px solid red; background: white; }"));
    Label9 = borderedLabel(paper, QStringLiteral("Label9"));
    Label10 = borderedLabel(paper, QStringLiteral("Label10"));
    paperGrid->addWidget(Label8, 0, 0);
    paperGrid->addWidget(ListBox7, 1, 0, 2, 1);
    paperGrid->addWidget(Label9, 1, 1);
    paperGrid->addWidget(Image1, 1, 2);
    paperGrid->addWidget(Label10, 2, 2);

    return paper;
}

// Scale and corners.
QWidget* UserForm1::createCoordinates(QWidget* page) {
    auto* coords = new QWidget(page);
    auto* c = new QGridLayout(coords);
    Label19 = new ui::Label(coords, QStringLiteral("Label19"), u"原画サイズ/図面サイズ");
    TextBox1 = new ui::TextBox(coords, QStringLiteral("TextBox1"), QStringLiteral("原画サイズ/図面サイズ"),
                               QStringLiteral("10"));
    Label20 = new ui::Label(coords, QStringLiteral("Label20"), u"原画の左下隅の座標");
    Label21 = new ui::Label(coords, QStringLiteral("Label21"), u"座標X　");
    TextBox2 =
        new ui::TextBox(coords, QStringLiteral("TextBox2"), QStringLiteral("座標X"), QStringLiteral("0.000"));
    Label22 = new ui::Label(coords, QStringLiteral("Label22"), u"座標Y");
    TextBox3 =
        new ui::TextBox(coords, QStringLiteral("TextBox3"), QStringLiteral("座標Y"), QStringLiteral("0.000"));
    Label23 = new ui::Label(coords, QStringLiteral("Label23"), u"再線画時の　　左下隅の座標");
    TextBox5 = new ui::TextBox(coords, QStringLiteral("TextBox5"), QStringLiteral("再線画時の左下隅の座標X"),
                               QStringLiteral("0.000"));
    TextBox4 = new ui::TextBox(coords, QStringLiteral("TextBox4"), QStringLiteral("再線画時の左下隅の座標Y"),
                               QStringLiteral("0.000"));
    for (ui::Label* label : {Label19, Label20, Label21, Label22, Label23}) {
        label->setWordWrap(false);
    }
    for (ui::TextBox* box : {TextBox1, TextBox2, TextBox3, TextBox4, TextBox5}) {
        box->setMinimumWidth(90);
    }
    c->addWidget(Label19, 0, 0);
    c->addWidget(TextBox1, 0, 1);
    c->addWidget(Label20, 1, 1);
    c->addWidget(Label23, 1, 2);
    c->addWidget(Label21, 2, 0);
    c->addWidget(TextBox2, 2, 1);
    c->addWidget(TextBox5, 2, 2);
    c->addWidget(Label22, 3, 0);
    c->addWidget(TextBox3, 3, 1);
    c->addWidget(TextBox4, 3, 2);

    return coords;
}

QHBoxLayout* UserForm1::createPageOneActions(QWidget* page) {
    CommandButton1 = new ui::Button(page, QStringLiteral("CommandButton1"), QStringLiteral("レイヤー作成"));
    CommandButton1->setEnabled(false);
    CommandButton1->setMinimumHeight(48);
    CommandButton1->setMinimumWidth(140);
    // Beside it, the same drawing kind without the link: saved as files, or checked in a drawing.
    CommandButton9 =
        new ui::Button(page, QStringLiteral("CommandButton9"), QStringLiteral("DXF・スクリプト書き出し..."));
    CommandButton8 =
        new ui::Button(page, QStringLiteral("CommandButton8"), QStringLiteral("レイヤーチェック..."));
    CommandButton11 =
        new ui::Button(page, QStringLiteral("CommandButton11"), QStringLiteral("画層の変換..."));
    for (ui::Button* button : {CommandButton8, CommandButton11, CommandButton9}) {
        button->setEnabled(false);
        button->setMinimumHeight(48);
    }
    CommandButton1->installEventFilter(this);
    auto* actions = new QHBoxLayout;
    actions->addStretch(1);
    actions->addWidget(CommandButton9);
    actions->addWidget(CommandButton8);
    actions->addWidget(CommandButton11);
    actions->addWidget(CommandButton1);

    return actions;
}

// Never shown: values that other handlers read.
void UserForm1::createHiddenValues(QWidget* page) {
    ListBox5 = new ui::ListBox(page, QStringLiteral("ListBox5"), QStringLiteral("線幅"));
    Label6 = new ui::Label(page, QStringLiteral("Label6"));
    Label11 = new ui::Label(page, QStringLiteral("Label11"));
    Label24 = new ui::Label(page, QStringLiteral("Label24"));
    Label25 = new ui::Label(page, QStringLiteral("Label25"));
    for (QWidget* hidden : std::initializer_list<QWidget*>{ListBox5, Label6, Label11, Label24, Label25}) {
        hidden->hide();
    }
}

QWidget* UserForm1::createPageTwo() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Page2"));
    auto* grid = new QGridLayout(page);
    CommandButton2 = new ui::Button(page, QStringLiteral("CommandButton2"), QStringLiteral("→"));
    CommandButton10 = new ui::Button(page, QStringLiteral("CommandButton10"), QStringLiteral("参照..."));
    CommandButton10->setToolTip(QStringLiteral("図面の画層名を、その図面の DXF ファイルから読みます"));
    CommandButton10->hide();
    Label26 = new ui::Label(
        page, QStringLiteral("Label26"),
        u"CAD製図基準に合致していないもしくは、何らかのエラーにより変換されないレイヤーがあります手動で変換してください。");
    Label26->setStyleSheet(QStringLiteral("color: red;"));
    Label27 = new ui::Label(page, QStringLiteral("Label27"));
    Label27->hide();
    Label18 = new ui::Label(page, QStringLiteral("Label18"));
    Label18->hide();

    grid->addWidget(captionedList(page, 15, Label15, 8, ListBox8, u"ライフサイクル"), 0, 0);
    grid->addWidget(captionedList(page, 14, Label14, 9, ListBox9, u"施工種別"), 0, 1);
    grid->addWidget(captionedList(page, 13, Label13, 10, ListBox10, u"工種名"), 0, 2);
    grid->addWidget(captionedList(page, 12, Label12, 11, ListBox11, u"図面名"), 0, 3);
    grid->addWidget(captionedList(page, 16, Label16, 12, ListBox12, u"レイヤー"), 1, 0, 1, 2);
    grid->addWidget(CommandButton2, 1, 2, Qt::AlignCenter);
    grid->addWidget(captionedList(page, 17, Label17, 13, ListBox13, u"レイヤー"), 1, 3);
    auto* fromFile = new QHBoxLayout;
    fromFile->addWidget(Label27, 1);
    fromFile->addWidget(CommandButton10, 0, Qt::AlignTop);
    grid->addLayout(fromFile, 2, 0, 1, 4);
    grid->addWidget(Label26, 3, 0, 1, 4);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(1, 1);
    return page;
}

void UserForm1::connectHandlers() {
    connect(CommandButton1, &QPushButton::clicked, this, &UserForm1::CommandButton1_Click);
    connect(CommandButton2, &QPushButton::clicked, this, &UserForm1::CommandButton2_Click);
    connect(CommandButton3, &QPushButton::clicked, this, &UserForm1::CommandButton3_Click);
    connect(CommandButton4, &QPushButton::clicked, this, &UserForm1::CommandButton4_Click);
    connect(CommandButton6, &QPushButton::clicked, this, &UserForm1::CommandButton6_Click);
    connect(CommandButton7, &QPushButton::clicked, this, &UserForm1::CommandButton7_Click);
    connect(CommandButton8, &QPushButton::clicked, this, &UserForm1::CommandButton8_Click);
    connect(CommandButton11, &QPushButton::clicked, this, &UserForm1::CommandButton11_Click);
    connect(CommandButton9, &QPushButton::clicked, this, &UserForm1::CommandButton9_Click);
    connect(CommandButton10, &QPushButton::clicked, this, &UserForm1::CommandButton10_Click);
    connect(ListBox2, &ui::ListBox::clicked, this, &UserForm1::ListBox2_Click);
    connect(ListBox3, &ui::ListBox::clicked, this, &UserForm1::ListBox3_Click);
    connect(ListBox4, &ui::ListBox::clicked, this, &UserForm1::ListBox4_Click);
    connect(ListBox9, &ui::ListBox::clicked, this, &UserForm1::ListBox9_Click);
    connect(ListBox10, &ui::ListBox::clicked, this, &UserForm1::ListBox10_Click);
    connect(ListBox11, &ui::ListBox::clicked, this, &UserForm1::ListBox11_Click);
    connect(ListBox7, &ui::ListBox::clicked, this, &UserForm1::ListBox7_Click);
    connect(TextBox1, &ui::TextBox::changed, this, &UserForm1::TextBox1_Change);
    connect(TextBox2, &ui::TextBox::changed, this, &UserForm1::TextBox2_Change);
    connect(TextBox3, &ui::TextBox::changed, this, &UserForm1::TextBox3_Change);
}

bool UserForm1::event(QEvent* event) {
    // The start-up runs when the builder becomes the active window of the program: when it has been shown,
    // or when the user comes back to it from another of the program's windows (the numbered-layer form, a
    // message box, the settings window, the main window). Coming back from another application, such as
    // AutoCAD LT, is no such change: the user's choices stay as they are.
    if (event->type() == QEvent::WindowActivate) {
        const bool shown = std::exchange(m_shownSinceActivation, false);
        const bool fromOwnWindow = m_activeBefore == ActiveBefore::OtherWindow;
        m_activeBefore = ActiveBefore::Builder;
        if (!isHidden() && (shown || fromOwnWindow)) {
            UserForm_Activate();
        }
    }
    return QWidget::event(event);
}

bool UserForm1::eventFilter(QObject* watched, QEvent* event) {
    // The export, the check and the translation are offered whenever "レイヤー作成" is: they take the same
    // choices.
    if (watched == CommandButton1 && event->type() == QEvent::EnabledChange) {
        CommandButton8->setEnabled(CommandButton1->isEnabled());
        CommandButton9->setEnabled(CommandButton1->isEnabled());
        CommandButton11->setEnabled(CommandButton1->isEnabled());
        return false;
    }
    const QEvent::Type type = event->type();
    if ((type != QEvent::WindowActivate && type != QEvent::WindowDeactivate) || !watched->isWidgetType() ||
        (type == QEvent::WindowActivate && watched == this)) {
        return false;
    }
    const auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow()) {
        return false;
    }
    if (type == QEvent::WindowActivate) {
        m_activeBefore = ActiveBefore::OtherWindow;
    } else if (QApplication::activeWindow() == nullptr && !window->isHidden()) {
        // A window that stays shown lost the activation to no window of the program: another application
        // took it. (A window that closes may leave no active window behind for a moment; that is not it.)
        m_activeBefore = ActiveBefore::Outside;
    }
    return false;
}

void UserForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    m_program.navigation().unload(core::Window::Builder);
}

void UserForm1::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        // A fresh showing (not the window system restoring a minimised window) runs the start-up once it
        // is active, and may offer the settings window again when the database still cannot be read.
        m_shownSinceActivation = true;
        m_settingsOfferedSinceShown = false;
        m_unreadableToldSinceShown = false;
    }
    QWidget::showEvent(event);
}

}  // namespace builder
