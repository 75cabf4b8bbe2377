// The form registry: creates, shows and unloads every form of the program (app::Forms).
#pragma once

#include <QPointer>

#include "core/navigation.h"

#include <memory>
#include <string>

namespace builder {
class UserForm1;
}  // namespace builder
namespace layercheck {
class UserForm9;
struct Standard;
}  // namespace layercheck
namespace translate {
class UserForm10;
}  // namespace translate
namespace numbered {
class UserForm2;
}  // namespace numbered
namespace settings {
class UserForm3;
class UserForm8;
}  // namespace settings
namespace stddb {
class UserForm4;
class UserForm5;
}  // namespace stddb

namespace core {
class Program;
}  // namespace core

namespace app {

class Form1;

// Every form of the program exists once: it is created when first asked for and unloaded on request or,
// at the latest, when the main window closes. Unloading destroys the form once control has returned to the
// event loop, so a form may unload itself from its own handler. The small forms are shown modally. It is
// the navigation the forms reach each other by.
class Forms final : public core::Navigation {
public:
    explicit Forms(core::Program& program);
    ~Forms() override;

    // The navigation of the forms.
    void show(core::Window window) override;
    void showLayerCheck(layercheck::Standard standard, const std::u16string& heading,
                        const std::u16string& drawingKind) override;
    void showLayerCheckOf(layercheck::Standard standard, const std::u16string& heading,
                          const std::u16string& drawingKind, const std::u16string& dxfFile) override;
    void showTranslation(layercheck::Standard standard, const std::u16string& heading,
                         const std::u16string& drawingKind, const std::u16string& stage) override;
    void unload(core::Window window) override;
    std::optional<int> builderStage() const override;
    void chooseBuilderStage(int position) override;
    void chooseBuilderStage(std::u16string_view stage) override;
    std::optional<std::u16string> settingsStage() const override;
    void offerChangeAndMove(const std::u16string& guidance) override;
    void chooseFirstCreatedLayer() override;

    Form1& form1();

    // The layer-set builder.
    builder::UserForm1& userForm1();
    builder::UserForm1* userForm1IfLoaded() const;
    void unloadUserForm1();
    // Shows the builder, creating it on first use (the main window's ShowBuilder).
    void ShowBuilder();

    // The numbered-layer form, shown modally by the layer creation.
    numbered::UserForm2* userForm2IfLoaded() const;
    void showNumbered();
    void unloadUserForm2();

    // The settings window.
    settings::UserForm3* userForm3IfLoaded() const;
    void showSettings();
    void unloadUserForm3();

    // The standard versions form.
    stddb::UserForm4* userForm4IfLoaded() const;
    void showVersions();
    void unloadUserForm4();

    // The database registration form.
    stddb::UserForm5* userForm5IfLoaded() const;
    void showRegistration();
    void unloadUserForm5();

    // The about window.
    settings::UserForm8* userForm8IfLoaded() const;
    void showAbout();
    void unloadUserForm8();

    // The layer check (showLayerCheck above).
    layercheck::UserForm9* userForm9IfLoaded() const;
    void unloadUserForm9();

    // The layer translation (showTranslation above).
    translate::UserForm10* userForm10IfLoaded() const;
    void unloadUserForm10();

    // Unloads every form but the main window, one after the other.
    void unloadAllButMain();

private:
    core::Program& m_program;
    std::unique_ptr<Form1> m_form1;
    QPointer<builder::UserForm1> m_userForm1;
    QPointer<numbered::UserForm2> m_userForm2;
    QPointer<settings::UserForm3> m_userForm3;
    QPointer<stddb::UserForm4> m_userForm4;
    QPointer<stddb::UserForm5> m_userForm5;
    QPointer<settings::UserForm8> m_userForm8;
    QPointer<layercheck::UserForm9> m_userForm9;
    QPointer<translate::UserForm10> m_userForm10;
};

}  // namespace app
