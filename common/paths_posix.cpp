#include "common/paths.h"

namespace tiermark {

Result<std::string> narrowFilePath(const std::filesystem::path& path) {
    return path.string();
}

}  // namespace tiermark
