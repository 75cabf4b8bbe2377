// The translated copy written to its file: whole, or not at all.
#include <atomic>
#include <chrono>
#include <fstream>
#include <system_error>

#include "dxf/translated_copy.h"

namespace dxf {

namespace {

// A name beside the target that no file has yet: "図面.dxf.~12ab.tmp".
std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto now =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (;;) {
        const unsigned long long unique = now + counter.fetch_add(1);
        std::filesystem::path candidate = target;
        candidate += ".~" + std::to_string(unique % 1000000007ULL) + ".tmp";
        // A folder that cannot be looked into cannot be written either: the writing says so.
        std::error_code failure;
        if (!std::filesystem::exists(candidate, failure) || failure) {
            return candidate;
        }
    }
}

}  // namespace

tiermark::Result<CopyOutcome> writeTranslatedCopy(const std::filesystem::path& source,
                                                  const std::filesystem::path& target,
                                                  const std::vector<LayerChange>& changes) {
    std::error_code failure;
    if (std::filesystem::is_directory(source, failure)) {
        return tiermark::makeError("フォルダーは DXF ファイルではありません。");
    }
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        return tiermark::makeError("ファイルを開けません。");
    }
    const std::filesystem::path temporary = temporaryBeside(target);
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
        return tiermark::makeError("書き出し先のフォルダーにファイルを作れません。");
    }
    auto copied = copyTranslated(in, out, changes);
    in.close();  // the source may be the target, which the rename replaces
    out.close();
    const auto discard = [&](tiermark::Error error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return error;
    };
    if (!copied) {
        return discard(copied.error());
    }
    if (!out) {
        return discard(
            tiermark::makeError("ファイルを書き出せませんでした（ディスクがいっぱいか、書き込めません）。"));
    }
    std::filesystem::rename(temporary, target, failure);
    if (failure) {
        return discard(tiermark::makeError(
            "書き出したファイルを置けませんでした（同じ名前のファイルが使用中か、書き込めません）。"));
    }
    return copied;
}

}  // namespace dxf
