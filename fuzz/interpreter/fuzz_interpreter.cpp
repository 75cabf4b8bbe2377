// The stand-in's command line fed arbitrary text in arbitrary pieces, as payloads arrive. Input: a count
// byte n (0 to 15), n split bytes, then the text as UTF-8. Each split byte cuts the text at a position
// (scaled over the text) and its top bits say what happens between the two pieces: nothing more, an
// object picked by pointing, or a right click. Whatever comes, the interpreter stays consistent: the
// pending line and the history keep within their bounds, the prompt is never empty.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cadsim/core/drawing.h"
#include "cadsim/core/interpreter.h"
#include "cadsim/core/sample_drawing.h"
#include "common/utf.h"
#include "fuzz/support/fuzz_input.h"

namespace {

struct Cut {
    std::size_t at = 0;
    int between = 0;  // 0 nothing, 1 pick, 2 right click
    int object = 0;
};

void checkInvariants(const cadsim::Interpreter& interpreter) {
    if (interpreter.pendingInput().size() > cadsim::Interpreter::kMaxLine ||
        interpreter.history().size() > cadsim::Interpreter::kMaxHistory) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tiermark::fuzz::FuzzInput input(data, size);
    std::vector<std::uint8_t> splits(input.byte() & 0x0F);
    for (auto& split : splits) {
        split = input.byte();
    }
    const std::u16string text = tiermark::fromUtf8(input.restBytes());

    std::vector<Cut> cuts;
    for (std::uint8_t split : splits) {
        Cut cut;
        cut.at = text.size() * (split & 0x3F) / 0x3F;
        cut.between = (split >> 6) == 3 ? 2 : (split >> 6) == 2 ? 1 : 0;
        cut.object = split & 0x0F;
        cuts.push_back(cut);
    }
    std::stable_sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) { return a.at < b.at; });

    cadsim::Drawing drawing = cadsim::sampleDrawing();
    cadsim::Interpreter interpreter(drawing);
    std::size_t from = 0;
    for (const Cut& cut : cuts) {
        interpreter.type(std::u16string_view(text).substr(from, cut.at - from));
        from = cut.at;
        checkInvariants(interpreter);
        if (cut.between == 1) {
            (void)interpreter.pick(cut.object);
        } else if (cut.between == 2) {
            (void)interpreter.confirmSelection();
        }
        checkInvariants(interpreter);
    }
    interpreter.type(std::u16string_view(text).substr(from));
    checkInvariants(interpreter);
    if (interpreter.prompt().empty()) {
        std::abort();
    }
    interpreter.cancel();
    checkInvariants(interpreter);
    return 0;
}
