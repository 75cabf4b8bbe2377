#include "app/tiermark.h"

#include "app/form_registry.h"

namespace app {

Tiermark::Tiermark(core::Services services)
    : core::Program(services), m_forms(std::make_unique<Forms>(*this)) {
    setNavigation(m_forms.get());
}

Tiermark::~Tiermark() {
    m_forms.reset();
    setNavigation(nullptr);
}

}  // namespace app
