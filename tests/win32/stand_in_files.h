#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace win32test {

// One line of a stand-in's payload log, the fields the checks look at.
struct LoggedPayload {
    std::uint64_t wParam = 0;
    std::uint32_t dwData = 0;
    std::uint32_t cbData = 0;
    std::string form;
    std::string bytes;  // from the hex field
    std::string outcome;
};

std::string readFile(const std::string& path);
// The payload lines of a log (note lines are left out); empty when the file does not exist.
std::vector<LoggedPayload> readLog(const std::string& path);

// The stand-in's JSON state and what the checks read from it.
struct ObjectState {
    std::string layerJson;  // the layer as a JSON string literal
    double x = 0;
    double y = 0;
};
std::optional<ObjectState> objectState(const std::string& stateJson, int id);
// Whether the state lists this layer with this line type and colour.
bool hasLayer(const std::string& stateJson, std::u16string_view name, std::u16string_view lineType,
              int color);
// Whether the state lists a group of this name.
bool hasGroup(const std::string& stateJson, std::u16string_view name);

}  // namespace win32test
