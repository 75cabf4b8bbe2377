#pragma once

namespace tiermark {

// Sets an environment variable of this process unless it is set already (setenv elsewhere, _putenv_s on
// Windows, whose C runtime has no setenv).
void setEnvironmentDefault(const char* name, const char* value);

}  // namespace tiermark
