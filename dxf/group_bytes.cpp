#include "dxf/group_bytes.h"

#include <cstdint>

namespace dxf::groups {

namespace {

// The bytes before the value: the code line (ASCII) or the code bytes (binary) of a text group.
std::size_t textCodeLength(const Group& group, std::string_view bytes, bool binary) {
    return binary ? bytes.size() - group.text.size() - 1 : bytes.find('\n') + 1;
}

std::string little16(int number) {
    const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>(number));
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string rightAligned(std::string text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

// A new group's code and the line end of its value, as the model group writes them.
struct Form {
    std::string code;
    std::string valueEnd;
    bool padded = false;  // ASCII codes and integers written right-aligned, as AutoCAD writes them
};

Form formOf(const Group& model, std::string_view bytes, int code, bool binary) {
    const std::size_t codeLength = textCodeLength(model, bytes, binary);
    Form form;
    if (binary) {
        // R12 files give a code one byte (255 announcing two more), later ones two.
        form.code = codeLength == 1 ? std::string(1, static_cast<char>(code)) : little16(code);
        form.valueEnd = std::string(1, '\0');
        return form;
    }
    const std::string_view codeLine = bytes.substr(0, codeLength);
    const std::size_t endLength = codeLine.size() >= 2 && codeLine[codeLine.size() - 2] == '\r' ? 2 : 1;
    const std::string_view lineEnd = codeLine.substr(codeLine.size() - endLength);
    form.padded = !codeLine.empty() && codeLine.front() == ' ';
    const std::string number = std::to_string(code);
    form.code =
        (form.padded ? rightAligned(number, codeLine.size() - endLength) : number) + std::string(lineEnd);
    const std::string_view valueEnd = bytes.substr(codeLength + model.text.size());
    form.valueEnd = valueEnd.empty() ? std::string(lineEnd) : std::string(valueEnd);
    return form;
}

}  // namespace

std::string withText(const Group& group, std::string_view bytes, std::string_view text, bool binary) {
    const std::size_t codeLength = textCodeLength(group, bytes, binary);
    std::string out(bytes.substr(0, codeLength));
    out += text;
    out += bytes.substr(codeLength + group.text.size());
    return out;
}

std::string withNumber(const Group& group, std::string_view bytes, int number, bool binary) {
    if (binary) {
        return std::string(bytes.substr(0, bytes.size() - 2)) + little16(number);
    }
    const bool padded = !group.text.empty() && group.text.front() == ' ';
    const std::string text = std::to_string(number);
    return withText(group, bytes, padded ? rightAligned(text, group.text.size()) : text, false);
}

std::string addedText(const Group& model, std::string_view bytes, int code, std::string_view text,
                      bool binary) {
    const Form form = formOf(model, bytes, code, binary);
    return form.code + std::string(text) + form.valueEnd;
}

std::string addedNumber(const Group& model, std::string_view bytes, int code, int number, bool binary) {
    const Form form = formOf(model, bytes, code, binary);
    if (binary) {
        return form.code + little16(number);
    }
    const std::string text = std::to_string(number);
    return form.code + (form.padded ? rightAligned(text, 6) : text) + form.valueEnd;
}

}  // namespace dxf::groups
