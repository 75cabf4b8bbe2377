// The program's chosen drawing as the main window's list changes, and the navigation between the windows
// as app::Forms gives it to the forms.
#include <gtest/gtest.h>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "builder/forms/builder_form.h"
#include "core/navigation.h"
#include "layercheck/forms/layer_check_window.h"
#include "settings/forms/about_window.h"
#include "settings/forms/settings_window.h"
#include "stddb/forms/registration_form.h"
#include "stddb/forms/versions_form.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"

namespace {

using testing_support::FakeProgram;
using testing_support::SampleTables;

class Navigation : public ::testing::Test {
protected:
    FakeProgram fake;
    SampleTables sample;
    app::Forms& forms() { return fake.program->forms(); }
    core::Navigation& navigation() { return fake.program->navigation(); }

    void openBuilder() {
        testing_support::registerSample(fake.settings, fake.workspace, sample);
        fake.startCad("a.dwg");
        forms().form1().Form_Load();
        forms().userForm1().UserForm_Activate();
    }
};

// Every change of the list reaches the program: the discovery's choice, the user's, a deselection (which
// the list makes with its own signals blocked) and a list emptied.
TEST_F(Navigation, TheChosenDrawingFollowsTheDrawingList) {
    const cadlink::WindowHandle first = fake.startCad("a.dwg");
    const cadlink::WindowHandle second = fake.startCad("b.dwg");
    app::Form1& form1 = forms().form1();
    cadlink::WindowHandle window = 0;
    EXPECT_FALSE(fake.program->targetWindow(window));

    form1.Form_Load();  // the discovery chooses the last line
    ASSERT_TRUE(fake.program->chosenDrawing());
    EXPECT_EQ(fake.program->chosenDrawing()->name, u"[b.dwg]");
    ASSERT_TRUE(fake.program->targetWindow(window));
    EXPECT_EQ(window, second);

    form1.cmbfilename->setListIndex(0);
    EXPECT_EQ(fake.program->chosenDrawing()->name, u"[a.dwg]");
    ASSERT_TRUE(fake.program->targetWindow(window));
    EXPECT_EQ(window, first);
    EXPECT_TRUE(form1.targetWindow(window));

    form1.cmbfilename->setListIndex(-1);
    EXPECT_FALSE(fake.program->chosenDrawing());
    EXPECT_FALSE(fake.program->targetWindow(window));

    form1.Form_Load();
    EXPECT_EQ(fake.program->chosenDrawing()->name, u"[b.dwg]");
    form1.cmbfilename->clearItems();
    EXPECT_FALSE(fake.program->chosenDrawing());
}

// Each window of the enumeration is the form of that name, shown modally and unloaded by it.
TEST_F(Navigation, EachWindowOpensAndUnloadsAsItsForm) {
    openBuilder();
    const struct {
        core::Window window;
        const char* form;
        std::function<bool()> loaded;
    } windows[] = {
        {core::Window::Settings, "UserForm3", [this] { return forms().userForm3IfLoaded() != nullptr; }},
        {core::Window::Versions, "UserForm4", [this] { return forms().userForm4IfLoaded() != nullptr; }},
        {core::Window::Registration, "UserForm5", [this] { return forms().userForm5IfLoaded() != nullptr; }},
        {core::Window::About, "UserForm8", [this] { return forms().userForm8IfLoaded() != nullptr; }},
        {core::Window::LayerCheck, "UserForm9", [this] { return forms().userForm9IfLoaded() != nullptr; }},
    };
    for (const auto& each : windows) {
        SCOPED_TRACE(each.form);
        fake.dialogs.modalForms.clear();
        navigation().show(each.window);
        ASSERT_FALSE(fake.dialogs.modalForms.empty());
        EXPECT_EQ(fake.dialogs.modalForms.back(), QString::fromLatin1(each.form));
        EXPECT_TRUE(each.loaded());
        navigation().unload(each.window);
        EXPECT_FALSE(each.loaded());
    }

    navigation().unload(core::Window::Builder);
    EXPECT_EQ(forms().userForm1IfLoaded(), nullptr);
    navigation().unload(core::Window::Builder);  // a window not loaded stays so
    navigation().show(core::Window::Builder);
    ASSERT_NE(forms().userForm1IfLoaded(), nullptr);
    EXPECT_TRUE(forms().userForm1IfLoaded()->isVisible());
}

// The stages as the settings window, the registration form and the numbered-layer form ask for them.
TEST_F(Navigation, TheBuilderStageIsChosenByPositionOrTextOnlyWhileItIsLoaded) {
    EXPECT_EQ(navigation().builderStage(), std::nullopt);
    navigation().chooseBuilderStage(1);  // no builder: nothing happens
    EXPECT_EQ(forms().userForm1IfLoaded(), nullptr);

    openBuilder();
    builder::UserForm1& builder = forms().userForm1();
    EXPECT_EQ(navigation().builderStage(), builder.ListBox1->listIndex());
    navigation().chooseBuilderStage(1);
    EXPECT_EQ(navigation().builderStage(), 1);
    const std::u16string third = builder.ListBox1->itemText(3);
    navigation().chooseBuilderStage(third);
    EXPECT_EQ(navigation().builderStage(), 3);
    navigation().chooseBuilderStage(u"ない段階");  // a stage not listed leaves the choice
    EXPECT_EQ(navigation().builderStage(), 3);
    navigation().chooseBuilderStage(-1);
    EXPECT_EQ(navigation().builderStage(), -1);

    EXPECT_EQ(navigation().settingsStage(), std::nullopt);
    fake.dialogs.onForm(QStringLiteral("UserForm3"), [](QDialog& dialog) {
        static_cast<settings::UserForm3&>(dialog).ListBox1->setListIndex(-1);
    });
    navigation().show(core::Window::Settings);  // hidden, still loaded, nothing chosen
    ASSERT_NE(forms().userForm3IfLoaded(), nullptr);
    EXPECT_EQ(navigation().settingsStage(), std::nullopt);
    forms().userForm3IfLoaded()->ListBox1->setListIndex(0);
    EXPECT_EQ(navigation().settingsStage(), forms().userForm3IfLoaded()->ListBox1->itemText(0));
}

// The creation run's word to the main window: the change and the move are offered with its guidance.
TEST_F(Navigation, TheLayersMadeOfferTheChangeAndTheMove) {
    app::Form1& form1 = forms().form1();
    EXPECT_FALSE(form1.Command2[0]->isEnabled());
    navigation().offerChangeAndMove(u"案内");
    EXPECT_TRUE(form1.Command2[0]->isEnabled());
    EXPECT_TRUE(form1.Command3[0]->isEnabled());
    EXPECT_EQ(form1.Label3->caption(), u"案内");
}

}  // namespace
