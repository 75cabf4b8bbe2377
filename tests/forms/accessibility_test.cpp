// What a screen reader is told: labels and the boxes that only show text expose the text they show,
// operated controls the caption that heads them, and every control its program name as description.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>

#include "app/form_registry.h"
#include "app/guidance.h"
#include "app/main_window.h"
#include "builder/forms/builder_form.h"
#include "settings/forms/settings_window.h"
#include "stddb/forms/versions_form.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"

namespace {

using testing_support::FakeProgram;
using testing_support::SampleTables;

struct Spoken {
    QString name;
    QString description;
};

// What the accessibility layer hands to assistive technology for the widget.
Spoken spoken(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (accessible == nullptr) {
        return {};
    }
    return {accessible->text(QAccessible::Name), accessible->text(QAccessible::Description)};
}

QString oneLine(const std::u16string& text) {
    return QString::fromStdU16String(text).replace(QLatin1Char('\r'), QLatin1Char(' '));
}

TEST(Accessibility, TheMainWindowsGuidanceIsReadAsItChanges) {
    FakeProgram fake;
    app::Form1& form1 = fake.program->forms().form1();
    fake.startCad("Drawing1.dwg");
    form1.Form_Load();
    const Spoken registerGuidance = spoken(form1.Label3);
    EXPECT_EQ(registerGuidance.name, QString::fromStdU16String(std::u16string(app::guidance::kRegister)));
    EXPECT_EQ(registerGuidance.description, QStringLiteral("Label3"));

    form1.Combo1_Click();  // a layer chosen: the guidance turns to the change and the move
    EXPECT_EQ(spoken(form1.Label3).name, oneLine(app::guidance::changeAndMove()));

    // The controls the user operates keep the caption that heads them.
    EXPECT_EQ(spoken(form1.cmbfilename).name, QStringLiteral("対象図面"));
    EXPECT_EQ(spoken(form1.cmbfilename).description, QStringLiteral("cmbfilename"));
    EXPECT_EQ(spoken(form1.Command2[0]).name, QStringLiteral("レイヤー変更"));
    EXPECT_EQ(spoken(form1.Label4).name, QStringLiteral("コメント"));
}

TEST(Accessibility, ShownValuesAreReadInTheSmallForms) {
    FakeProgram fake;
    SampleTables sample;
    testing_support::registerSample(fake.settings, fake.workspace, sample);
    fake.startCad("a.dwg");
    fake.program->forms().userForm1().UserForm_Activate();

    // The settings window's box shows where the registered database lies.
    settings::UserForm3* settingsWindow = nullptr;
    fake.dialogs.onModal = [&](QDialog& dialog) {
        settingsWindow = qobject_cast<settings::UserForm3*>(&dialog);
    };
    fake.program->forms().showSettings();
    ASSERT_NE(settingsWindow, nullptr);
    EXPECT_EQ(spoken(settingsWindow->Label2).name, QStringLiteral("C:\\CAD\\Tiermark.MDB"));
    EXPECT_EQ(spoken(settingsWindow->Label2).description, QStringLiteral("Label2"));
    EXPECT_EQ(spoken(settingsWindow->ListBox1).name, QStringLiteral("Tiermark開始時のライフサイクルの設定"));

    // The versions grid: each cell reads its own text, an empty-looking one its mark for no entry.
    stddb::UserForm4* versions = nullptr;
    fake.dialogs.onModal = [&](QDialog& dialog) { versions = qobject_cast<stddb::UserForm4*>(&dialog); };
    fake.program->forms().showVersions();
    ASSERT_NE(versions, nullptr);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(spoken(versions->versions[row]).name,
                  QString::fromStdU16String(versions->versions[row]->caption()));
        EXPECT_EQ(spoken(versions->names[row]).name,
                  QString::fromStdU16String(versions->names[row]->caption()));
    }
    EXPECT_EQ(spoken(versions->versions[0]).name, QStringLiteral("平成16年6月版"));
    EXPECT_EQ(spoken(versions->versions[0]).description, QStringLiteral("Label9"));
}

TEST(Accessibility, ALabelThatShowsNothingIsNamedByItsHeading) {
    QWidget window;
    ui::Label guidance(&window, QStringLiteral("Label3"), {}, QStringLiteral("コメント"));
    EXPECT_EQ(spoken(&guidance).name, QStringLiteral("コメント"));
    guidance.setCaption(u"一行目\r二行目");
    EXPECT_EQ(spoken(&guidance).name, QStringLiteral("一行目 二行目"));
    EXPECT_EQ(guidance.text(), QStringLiteral("一行目\n二行目"));  // shown on two lines
    guidance.setCaption({});
    EXPECT_EQ(spoken(&guidance).name, QStringLiteral("コメント"));
    ui::Label unnamed(&window, QStringLiteral("Label11"));
    EXPECT_EQ(spoken(&unnamed).name, QStringLiteral("Label11"));
}

}  // namespace
