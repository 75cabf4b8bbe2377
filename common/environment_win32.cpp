#include <cstdlib>

#include "common/environment.h"

namespace tiermark {

void setEnvironmentDefault(const char* name, const char* value) {
    if (std::getenv(name) == nullptr) {
        _putenv_s(name, value);
    }
}

}  // namespace tiermark
