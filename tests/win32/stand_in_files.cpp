#include "tests/win32/stand_in_files.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cadsim/core/json.h"

namespace win32test {
namespace {

// The raw text of a string or number field of a flat JSON object: what follows "name": up to the next
// comma or closing brace (strings: up to the closing quote, escapes not undone).
std::optional<std::string> field(std::string_view object, std::string_view name) {
    const std::string key = "\"" + std::string(name) + "\":";
    const std::size_t at = object.find(key);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t start = at + key.size();
    if (start < object.size() && object[start] == '"') {
        std::size_t end = start + 1;
        while (end < object.size() && object[end] != '"') {
            end += object[end] == '\\' ? 2 : 1;
        }
        return std::string(object.substr(start + 1, end - start - 1));
    }
    const std::size_t end = object.find_first_of(",}", start);
    return std::string(object.substr(start, end == std::string_view::npos ? end : end - start));
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string fromHex(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        bytes.push_back(static_cast<char>(hexDigit(text[i]) * 16 + hexDigit(text[i + 1])));
    }
    return bytes;
}

std::uint64_t number(const std::optional<std::string>& text) {
    return text ? std::strtoull(text->c_str(), nullptr, 10) : 0;
}

}  // namespace

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<LoggedPayload> readLog(const std::string& path) {
    std::vector<LoggedPayload> payloads;
    std::istringstream lines(readFile(path));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find("\"hex\":") == std::string::npos) {
            continue;
        }
        LoggedPayload payload;
        payload.wParam = number(field(line, "wParam"));
        payload.dwData = static_cast<std::uint32_t>(number(field(line, "dwData")));
        payload.cbData = static_cast<std::uint32_t>(number(field(line, "cbData")));
        payload.form = field(line, "form").value_or("");
        payload.bytes = fromHex(field(line, "hex").value_or(""));
        payload.outcome = field(line, "outcome").value_or("");
        payloads.push_back(std::move(payload));
    }
    return payloads;
}

std::optional<ObjectState> objectState(const std::string& stateJson, int id) {
    const std::string key = "{\"id\":" + std::to_string(id) + ",";
    const std::size_t at = stateJson.find(key);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const std::string_view object = std::string_view(stateJson).substr(at, stateJson.find('}', at) - at + 1);
    ObjectState state;
    const std::string layerKey = "\"layer\":";
    const std::size_t layerAt = object.find(layerKey);
    if (layerAt != std::string_view::npos) {
        std::size_t end = layerAt + layerKey.size() + 1;
        while (end < object.size() && object[end] != '"') {
            end += object[end] == '\\' ? 2 : 1;
        }
        state.layerJson =
            std::string(object.substr(layerAt + layerKey.size(), end + 1 - layerAt - layerKey.size()));
    }
    state.x = std::strtod(field(object, "x").value_or("nan").c_str(), nullptr);
    state.y = std::strtod(field(object, "y").value_or("nan").c_str(), nullptr);
    return state;
}

bool hasLayer(const std::string& stateJson, std::u16string_view name, std::u16string_view lineType,
              int color) {
    const std::string entry = "{\"name\":" + cadsim::jsonString(name) +
                              ",\"lineType\":" + cadsim::jsonString(lineType) +
                              ",\"color\":" + std::to_string(color) + "}";
    return stateJson.find(entry) != std::string::npos;
}

bool hasGroup(const std::string& stateJson, std::u16string_view name) {
    const std::size_t groups = stateJson.find("\"groups\":[");
    return groups != std::string::npos &&
           stateJson.find("{\"name\":" + cadsim::jsonString(name), groups) != std::string::npos;
}

}  // namespace win32test
