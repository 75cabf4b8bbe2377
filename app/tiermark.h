// The running program: the program-wide state with the windows that show it (app::Tiermark).
#pragma once

#include <memory>

#include "core/program.h"

namespace app {

class Forms;

// The program-wide state together with the form registry: the windows are created through it, and it is
// the navigation the forms reach each other by. Closing it unloads every form before the database goes.
class Tiermark final : public core::Program {
public:
    explicit Tiermark(core::Services services);
    ~Tiermark();

    // The forms. Each exists once: created when first asked for, unloaded at the latest with the main window.
    Forms& forms() { return *m_forms; }

private:
    std::unique_ptr<Forms> m_forms;
};

}  // namespace app
