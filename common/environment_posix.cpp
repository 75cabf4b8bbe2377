#include <cstdlib>

#include "common/environment.h"

namespace tiermark {

void setEnvironmentDefault(const char* name, const char* value) {
    ::setenv(name, value, 0);
}

}  // namespace tiermark
