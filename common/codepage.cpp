#include "common/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace tiermark {
namespace {

constexpr const char* kCodePage = "CP932";
constexpr const char* kUtf16 = "UTF-16LE";

// One iconv descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(m_cd);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }  // NOLINT
    iconv_t get() {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
        return m_cd;
    }

private:
    iconv_t m_cd;
};

Converter& toCodePage() {
    thread_local Converter converter(kCodePage, kUtf16);
    return converter;
}

Converter& fromCodePage() {
    thread_local Converter converter(kUtf16, kCodePage);
    return converter;
}

struct Outcome {
    std::size_t consumed = 0;  // input bytes converted
    int error = 0;             // errno of the stop, 0 when all input was converted
};

// Converts as much of the input as iconv accepts, appending to out.
Outcome convert(iconv_t cd, const char* input, std::size_t inputSize, std::string& out) {
    Outcome outcome;
    char* in = const_cast<char*>(input);  // iconv's signature is not const-correct
    std::size_t inLeft = inputSize;
    std::vector<char> buffer(inputSize * 2 + 16);
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            outcome.error = errno;
            break;
        }
    }
    outcome.consumed = inputSize - inLeft;
    return outcome;
}

std::u16string utf16FromBytes(const std::string& bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    return text;
}

}  // namespace

tiermark::Result<std::string> toCp932(std::u16string_view text) {
    Converter& converter = toCodePage();
    if (!converter.valid()) {
        return tiermark::makeError("the system offers no conversion to code page 932");
    }
    std::string out;
    const Outcome outcome =
        convert(converter.get(), reinterpret_cast<const char*>(text.data()), text.size() * 2, out);
    if (outcome.error != 0) {
        const std::size_t position = outcome.consumed / 2;
        return tiermark::makeError("character " + std::to_string(position + 1) +
                                   " of the text has no code page 932 form");
    }
    // iconv writes some characters as look-alikes that read back as other characters (U+00A3 as the
    // full-width pound sign, U+2212 as the full-width hyphen-minus, ...). Windows refuses those when asked
    // not to substitute; so does this: the bytes must read back as the very text.
    auto readBack = fromCp932(out);
    if (!readBack || readBack.value() != text) {
        const std::u16string back = readBack ? readBack.value() : std::u16string();
        std::size_t position = 0;
        while (position < text.size() && position < back.size() && text[position] == back[position]) {
            ++position;
        }
        return tiermark::makeError("character " + std::to_string(position + 1) +
                                   " of the text has no code page 932 form");
    }
    return out;
}

tiermark::Result<std::u16string> fromCp932(std::string_view bytes) {
    Converter& converter = fromCodePage();
    if (!converter.valid()) {
        return tiermark::makeError("the system offers no conversion from code page 932");
    }
    std::string out;
    const Outcome outcome = convert(converter.get(), bytes.data(), bytes.size(), out);
    if (outcome.error != 0) {
        return tiermark::makeError("byte " + std::to_string(outcome.consumed + 1) +
                                   " is not valid code page 932");
    }
    return utf16FromBytes(out);
}

std::u16string fromCp932Lenient(std::string_view bytes) {
    Converter& converter = fromCodePage();
    std::u16string text;
    if (!converter.valid()) {
        for (char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            text.push_back(b < 0x80 ? static_cast<char16_t>(b) : u'\uFFFD');
        }
        return text;
    }
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        std::string out;
        const Outcome outcome = convert(converter.get(), bytes.data() + offset, bytes.size() - offset, out);
        text += utf16FromBytes(out);
        offset += outcome.consumed;
        if (outcome.error == 0) {
            break;
        }
        text.push_back(u'\uFFFD');
        ++offset;
    }
    return text;
}

}  // namespace tiermark
