#include "cadsim/core/state_json.h"

#include "cadsim/core/json.h"

namespace cadsim {

namespace {

const char* kindName(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Line:
            return "line";
        case ObjectKind::Circle:
            return "circle";
        case ObjectKind::Text:
            return "text";
    }
    return "line";
}

std::string ids(const std::vector<int>& list) {
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        out += (i ? "," : "") + std::to_string(list[i]);
    }
    return out + "]";
}

std::string objectJson(const DrawingObject& o) {
    std::string out = "{\"id\":" + std::to_string(o.id) + ",\"kind\":\"" + kindName(o.kind) +
                      "\",\"layer\":" + jsonString(o.layer) + ",\"x\":" + jsonNumber(o.position.x) +
                      ",\"y\":" + jsonNumber(o.position.y);
    switch (o.kind) {
        case ObjectKind::Line:
            out += ",\"x2\":" + jsonNumber(o.end.x) + ",\"y2\":" + jsonNumber(o.end.y);
            break;
        case ObjectKind::Circle:
            out += ",\"radius\":" + jsonNumber(o.radius);
            break;
        case ObjectKind::Text:
            out += ",\"height\":" + jsonNumber(o.height) + ",\"text\":" + jsonString(o.text);
            break;
    }
    if (o.color != 0) {
        out += ",\"color\":" + std::to_string(o.color);
    }
    if (!o.lineType.empty()) {
        out += ",\"lineType\":" + jsonString(o.lineType);
    }
    return out + "}";
}

std::string texts(const std::vector<std::u16string>& list) {
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        out += (i ? "," : "") + jsonString(list[i]);
    }
    return out + "]";
}

}  // namespace

std::string stateJson(std::u16string_view drawingName, const Drawing& drawing,
                      const Interpreter& interpreter) {
    std::string out = "{\"drawing\":" + jsonString(drawingName) + ",\"layers\":[";
    bool first = true;
    for (const Layer& layer : drawing.layers()) {
        out += (first ? "" : ",") + std::string("{\"name\":") + jsonString(layer.name) +
               ",\"lineType\":" + jsonString(layer.lineType) + ",\"color\":" + std::to_string(layer.color) +
               (layer.off ? ",\"off\":true" : "") + (layer.frozen ? ",\"frozen\":true" : "") +
               (layer.locked ? ",\"locked\":true" : "") + "}";
        first = false;
    }
    out += "],\"objects\":[";
    first = true;
    for (const DrawingObject& object : drawing.objects()) {
        out += (first ? "" : ",") + objectJson(object);
        first = false;
    }
    out += "],\"groups\":[";
    first = true;
    for (const Group& group : drawing.groups()) {
        out += (first ? "" : ",") + std::string("{\"name\":") + jsonString(group.name) +
               ",\"description\":" + jsonString(group.description) + ",\"objects\":" + ids(group.members) +
               (group.selectable ? "" : ",\"selectable\":false") + "}";
        first = false;
    }
    out += "],\"lineTypes\":" + texts(drawing.lineTypes()) +
           ",\"currentLayer\":" + jsonString(interpreter.currentLayer()) +
           ",\"commands\":" + texts(interpreter.commands()) +
           ",\"complaints\":" + texts(interpreter.complaints()) +
           ",\"prompt\":" + jsonString(interpreter.prompt()) +
           ",\"waitingForObjects\":" + (interpreter.waitingForObjects() ? "true" : "false") +
           ",\"selection\":" + ids(interpreter.selection()) + ",\"gripped\":" + ids(interpreter.gripped()) +
           ",\"history\":[";
    first = true;
    for (const std::u16string& line : interpreter.history()) {
        out += (first ? "" : ",") + jsonString(line);
        first = false;
    }
    return out + "]}";
}

}  // namespace cadsim
