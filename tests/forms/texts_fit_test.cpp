// Every window's fixed texts at the display scales of Windows (100 %, 125 %, 150 %): each caption of a label,
// button, check box and option button lies within the room its control gives it, neither cut off nor running
// into the next control.
//
//   texts_fit_test --scale=1.25 [GoogleTest options]
//
// The scale is Qt's QT_SCALE_FACTOR, set by this program before the application starts (a variable set
// outside does not reach a program under Wine).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTabWidget>

#include <cstring>
#include <string>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "layercheck/layer_check.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"
#include "translate/forms/translation_window.h"

namespace {

using testing_support::FakeProgram;
using testing_support::SampleTables;

std::string describe(const QWidget& control, const QString& text) {
    return control.window()->objectName().toStdString() + "." + control.objectName().toStdString() + " \"" +
           text.toStdString() + "\"";
}

void expectLabelFits(const QLabel& label) {
    if (label.text().isEmpty() || label.textFormat() == Qt::RichText || !label.toolTip().isEmpty()) {
        return;  // nothing to show, or shortened on purpose with the whole text as tooltip
    }
    const QRect room =
        label.contentsRect().adjusted(label.margin(), label.margin(), -label.margin(), -label.margin());
    const QFontMetrics metrics = label.fontMetrics();
    SCOPED_TRACE(describe(label, label.text()));
    if (label.wordWrap()) {
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, label.text());
        EXPECT_LE(needed.width(), room.width());
        EXPECT_LE(needed.height(), room.height());
    } else {
        const QSize needed = metrics.size(0, label.text());
        EXPECT_LE(needed.width(), room.width());
        EXPECT_LE(needed.height(), room.height());
    }
}

void expectButtonFits(const QAbstractButton& button) {
    if (button.text().isEmpty()) {
        return;
    }
    SCOPED_TRACE(describe(button, button.text()));
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(&button) != nullptr) {
        contents = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<const QRadioButton*>(&button) != nullptr) {
        contents = QStyle::SE_RadioButtonContents;
    }
    const QRect room = button.style()->subElementRect(contents, &option, &button);
    const QSize needed = button.fontMetrics().size(Qt::TextShowMnemonic, button.text());
    EXPECT_LE(needed.width(), room.width());
    EXPECT_LE(needed.height(), room.height());
}

// Every visible text control of the window, the pages of its tabs included.
void expectTextsFit(QWidget& window) {
    if (auto* tabs = window.findChild<QTabWidget*>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            for (const QLabel* label : tabs->widget(page)->findChildren<QLabel*>()) {
                if (label->isVisibleTo(&window)) {
                    expectLabelFits(*label);
                }
            }
            for (const QAbstractButton* button : tabs->widget(page)->findChildren<QAbstractButton*>()) {
                if (button->isVisibleTo(&window)) {
                    expectButtonFits(*button);
                }
            }
        }
        tabs->setCurrentIndex(0);
    }
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&window)) {
            expectLabelFits(*label);
        }
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(&window) && button->parentWidget() != nullptr &&
            qobject_cast<const QTabWidget*>(button->parentWidget()) == nullptr) {
            expectButtonFits(*button);
        }
    }
}

class TextsFit : public ::testing::Test {
protected:
    FakeProgram fake;
    SampleTables sample;

    void SetUp() override {
        testing_support::registerSample(fake.settings, fake.workspace, sample);
        fake.dialogs.settleEvents = true;
    }

    void expectModalFits(const std::function<void()>& show) {
        bool shown = false;
        fake.dialogs.onModal = [&](QDialog& dialog) {
            shown = true;
            expectTextsFit(dialog);
        };
        show();
        EXPECT_TRUE(shown);
    }
};

TEST_F(TextsFit, MainWindow) {
    fake.startCad("Tiermark-road-200.dwg");
    app::Form1& form1 = fake.program->forms().form1();
    form1.Form_Load();
    form1.show();
    QApplication::processEvents();
    expectTextsFit(form1);
}

TEST_F(TextsFit, BuilderWithItsListsFilled) {
    builder::UserForm1& builder = fake.program->forms().userForm1();
    builder.UserForm_Activate();
    builder.show();
    QApplication::processEvents();
    expectTextsFit(builder);
}

TEST_F(TextsFit, SmallForms) {
    fake.program->forms().userForm1().UserForm_Activate();
    expectModalFits([&] { fake.program->forms().showSettings(); });
    expectModalFits([&] { fake.program->forms().showRegistration(); });
    expectModalFits([&] { fake.program->forms().showAbout(); });
    expectModalFits([&] { fake.program->forms().showVersions(); });
    expectModalFits([&] { fake.program->forms().showLayerCheck({}, u"設計 道路 道路一般", u"位置図"); });
    expectModalFits(
        [&] { fake.program->forms().showTranslation({}, u"設計 道路 道路一般", u"位置図", u"設計"); });
}

// The translation window with the drawing kinds proposed (the list and its label filled), and with the
// label that says no kind matches.
TEST_F(TextsFit, TranslationWindowWithTheKindsProposed) {
    fake.program->forms().userForm1().UserForm_Activate();  // opens the database
    bool shown = false;
    fake.dialogs.onModal = [&](QDialog& dialog) {
        shown = true;
        auto& window = dynamic_cast<translate::UserForm10&>(dialog);
        window.showLayers(
            {{u"0", 7, u"Continuous"}, {u"D-STR", 1, u"Continuous"}, {u"D-TTL", 2, u"Continuous"}}, u"0",
            u"図面");
        window.CommandButton13_Click();
        EXPECT_EQ(window.ListBox3->listCount(), 2);
        QApplication::processEvents();  // laid out again for the texts shown
        expectTextsFit(window);
        window.showLayers({{u"壁", 7, u"Continuous"}}, u"壁", u"図面");
        window.CommandButton13_Click();
        EXPECT_EQ(window.ListBox3->listCount(), 0);
        QApplication::processEvents();
        expectTextsFit(window);
    };
    fake.program->forms().showTranslation({}, u"図面名：一般図　　ライフサイクル：設計（D）", u"一般図",
                                          u"設計");
    EXPECT_TRUE(shown);
}

}  // namespace

int main(int argc, char** argv) {
    std::string scale = "1";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--scale=", 8) == 0) {
            scale = argv[i] + 8;
        }
    }
    qputenv("QT_SCALE_FACTOR", QByteArray::fromStdString(scale));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
