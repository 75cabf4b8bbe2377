#include "app/form_registry.h"

#include "app/main_window.h"
#include "builder/forms/builder_form.h"
#include "core/program.h"
#include "layercheck/forms/layer_check_window.h"
#include "numbered/forms/numbered_layer_form.h"
#include "settings/forms/about_window.h"
#include "settings/forms/settings_window.h"
#include "stddb/forms/registration_form.h"
#include "stddb/forms/versions_form.h"
#include "translate/forms/translation_window.h"
#include "ui/dialogs.h"

namespace app {
namespace {

template <typename Form>
Form& obtain(QPointer<Form>& form, core::Program& program) {
    if (!form) {
        form = new Form(program);
    }
    return *form;
}

// Hides the form and destroys it once the event loop runs again.
template <typename Form>
void unloadLater(QPointer<Form>& form) {
    if (form) {
        form->hide();
        form->deleteLater();
        form.clear();
    }
}

template <typename Form>
void showModal(QPointer<Form>& form, core::Program& program) {
    Form& shown = obtain(form, program);
    program.dialogs().runModal(shown);
}

}  // namespace

Forms::Forms(core::Program& program) : m_program(program) {}

Forms::~Forms() {
    unloadAllButMain();
}

Form1& Forms::form1() {
    if (!m_form1) {
        m_form1 = std::make_unique<Form1>(m_program, *this);
    }
    return *m_form1;
}

builder::UserForm1& Forms::userForm1() {
    return obtain(m_userForm1, m_program);
}
builder::UserForm1* Forms::userForm1IfLoaded() const {
    return m_userForm1.data();
}
void Forms::unloadUserForm1() {
    unloadLater(m_userForm1);
}

void Forms::ShowBuilder() {
    builder::UserForm1& form = userForm1();
    const bool wasVisible = form.isVisible() && form.isActiveWindow();
    form.show();
    form.raise();
    form.activateWindow();
    // A builder that is already the active window gets no new activation: its start-up runs here, as it
    // does on every showing.
    if (wasVisible) {
        form.UserForm_Activate();
    }
}

numbered::UserForm2* Forms::userForm2IfLoaded() const {
    return m_userForm2.data();
}
void Forms::showNumbered() {
    showModal(m_userForm2, m_program);
}
void Forms::unloadUserForm2() {
    unloadLater(m_userForm2);
}

settings::UserForm3* Forms::userForm3IfLoaded() const {
    return m_userForm3.data();
}
void Forms::showSettings() {
    showModal(m_userForm3, m_program);
}
void Forms::unloadUserForm3() {
    unloadLater(m_userForm3);
}

stddb::UserForm4* Forms::userForm4IfLoaded() const {
    return m_userForm4.data();
}
void Forms::showVersions() {
    showModal(m_userForm4, m_program);
}
void Forms::unloadUserForm4() {
    unloadLater(m_userForm4);
}

stddb::UserForm5* Forms::userForm5IfLoaded() const {
    return m_userForm5.data();
}
void Forms::showRegistration() {
    showModal(m_userForm5, m_program);
}
void Forms::unloadUserForm5() {
    unloadLater(m_userForm5);
}

settings::UserForm8* Forms::userForm8IfLoaded() const {
    return m_userForm8.data();
}
void Forms::showAbout() {
    showModal(m_userForm8, m_program);
}
void Forms::unloadUserForm8() {
    unloadLater(m_userForm8);
}

layercheck::UserForm9* Forms::userForm9IfLoaded() const {
    return m_userForm9.data();
}
void Forms::showLayerCheck(layercheck::Standard standard, const std::u16string& heading,
                           const std::u16string& drawingKind) {
    obtain(m_userForm9, m_program).setStandard(std::move(standard), heading, drawingKind);
    showModal(m_userForm9, m_program);
}
void Forms::showLayerCheckOf(layercheck::Standard standard, const std::u16string& heading,
                             const std::u16string& drawingKind, const std::u16string& dxfFile) {
    layercheck::UserForm9& check = obtain(m_userForm9, m_program);
    check.setStandard(std::move(standard), heading, drawingKind);
    check.checkFile(QString::fromStdU16String(dxfFile));
    showModal(m_userForm9, m_program);
}
void Forms::unloadUserForm9() {
    unloadLater(m_userForm9);
}

translate::UserForm10* Forms::userForm10IfLoaded() const {
    return m_userForm10.data();
}
void Forms::showTranslation(layercheck::Standard standard, const std::u16string& heading,
                            const std::u16string& drawingKind, const std::u16string& stage) {
    obtain(m_userForm10, m_program).setStandard(std::move(standard), heading, drawingKind, stage);
    showModal(m_userForm10, m_program);
}
void Forms::unloadUserForm10() {
    unloadLater(m_userForm10);
}

void Forms::show(core::Window window) {
    switch (window) {
        case core::Window::Builder:
            ShowBuilder();
            return;
        case core::Window::Numbered:
            showNumbered();
            return;
        case core::Window::Settings:
            showSettings();
            return;
        case core::Window::Versions:
            showVersions();
            return;
        case core::Window::Registration:
            showRegistration();
            return;
        case core::Window::About:
            showAbout();
            return;
        case core::Window::LayerCheck:
            showModal(m_userForm9, m_program);
            return;
        case core::Window::Translation:
            showModal(m_userForm10, m_program);
            return;
    }
}

void Forms::unload(core::Window window) {
    switch (window) {
        case core::Window::Builder:
            unloadUserForm1();
            return;
        case core::Window::Numbered:
            unloadUserForm2();
            return;
        case core::Window::Settings:
            unloadUserForm3();
            return;
        case core::Window::Versions:
            unloadUserForm4();
            return;
        case core::Window::Registration:
            unloadUserForm5();
            return;
        case core::Window::About:
            unloadUserForm8();
            return;
        case core::Window::LayerCheck:
            unloadUserForm9();
            return;
        case core::Window::Translation:
            unloadUserForm10();
            return;
    }
}

std::optional<int> Forms::builderStage() const {
    if (!m_userForm1) {
        return std::nullopt;
    }
    return m_userForm1->stageIndex();
}

void Forms::chooseBuilderStage(int position) {
    if (m_userForm1) {
        m_userForm1->chooseStage(position);
    }
}

void Forms::chooseBuilderStage(std::u16string_view stage) {
    if (m_userForm1) {
        m_userForm1->chooseStage(stage);
    }
}

std::optional<std::u16string> Forms::settingsStage() const {
    if (!m_userForm3) {
        return std::nullopt;
    }
    return m_userForm3->chosenStage();
}

void Forms::offerChangeAndMove(const std::u16string& guidance) {
    form1().offerChangeAndMove(guidance);
}

void Forms::chooseFirstCreatedLayer() {
    form1().Combo1->setListIndex(0);
}

void Forms::unloadAllButMain() {
    unloadUserForm10();
    unloadUserForm9();
    unloadUserForm2();
    unloadUserForm8();
    unloadUserForm4();
    unloadUserForm5();
    unloadUserForm3();
    unloadUserForm1();
}

}  // namespace app
