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
void unload(QPointer<Form>& form) {
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
    unload(m_userForm1);
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
    unload(m_userForm2);
}

settings::UserForm3* Forms::userForm3IfLoaded() const {
    return m_userForm3.data();
}
void Forms::showSettings() {
    showModal(m_userForm3, m_program);
}
void Forms::unloadUserForm3() {
    unload(m_userForm3);
}

stddb::UserForm4* Forms::userForm4IfLoaded() const {
    return m_userForm4.data();
}
void Forms::showVersions() {
    showModal(m_userForm4, m_program);
}
void Forms::unloadUserForm4() {
    unload(m_userForm4);
}

stddb::UserForm5* Forms::userForm5IfLoaded() const {
    return m_userForm5.data();
}
void Forms::showRegistration() {
    showModal(m_userForm5, m_program);
}
void Forms::unloadUserForm5() {
    unload(m_userForm5);
}

settings::UserForm8* Forms::userForm8IfLoaded() const {
    return m_userForm8.data();
}
void Forms::showAbout() {
    showModal(m_userForm8, m_program);
}
void Forms::unloadUserForm8() {
    unload(m_userForm8);
}

layercheck::UserForm9* Forms::userForm9IfLoaded() const {
    return m_userForm9.data();
}
void Forms::showLayerCheck(layercheck::Standard standard, const std::u16string& heading,
                           const std::u16string& drawingKind) {
    obtain(m_userForm9, m_program).setStandard(std::move(standard), heading, drawingKind);
    showModal(m_userForm9, m_program);
}
void Forms::unloadUserForm9() {
    unload(m_userForm9);
}

void Forms::unloadAllButMain() {
    unloadUserForm9();
    unloadUserForm2();
    unloadUserForm8();
    unloadUserForm4();
    unloadUserForm5();
    unloadUserForm3();
    unloadUserForm1();
}

}  // namespace app
