#include "app/tiermark.h"

#include "app/form_registry.h"

namespace app {

Tiermark::Tiermark(core::Services services)
    : core::Program(services), m_forms(std::make_unique<Forms>(*this)) {
    setForms(m_forms.get());
    setNavigation(m_forms.get());
}

Tiermark::~Tiermark() {
    m_forms.reset();
    setForms(nullptr);
    setNavigation(nullptr);
}

}  // namespace app
