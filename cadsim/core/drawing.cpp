#include "cadsim/core/drawing.h"

#include <algorithm>

#include "cadsim/core/layer_rules.h"
#include "cadsim/core/text.h"
#include "common/utf.h"

namespace cadsim {

namespace {
std::string quoted(std::u16string_view name) {
    return "\"" + tiermark::toUtf8(name) + "\"";
}
}  // namespace

Drawing::Drawing() {
    clear();
}

void Drawing::clear() {
    m_layers = {Layer{std::u16string(kLayerZero)}, Layer{std::u16string(kLayerDefpoints)}};
    m_objects.clear();
    m_groups.clear();
    m_nextId = 1;
    ++m_revision;
}

Layer* Drawing::layer(std::u16string_view name) {
    for (Layer& l : m_layers) {
        if (equalsNoCase(l.name, name)) {
            return &l;
        }
    }
    return nullptr;
}

const Layer* Drawing::findLayer(std::u16string_view name) const {
    return const_cast<Drawing*>(this)->layer(name);
}

bool Drawing::addLayer(std::u16string_view name) {
    if (findLayer(name) != nullptr || invalidLayerNameReason(name)) {
        return false;
    }
    m_layers.push_back(Layer{std::u16string(name)});
    ++m_revision;
    return true;
}

void Drawing::setLineType(std::u16string_view name, std::u16string_view lineType) {
    if (Layer* l = layer(name)) {
        l->lineType = std::u16string(lineType);
        ++m_revision;
    }
}

void Drawing::setColor(std::u16string_view name, int color) {
    if (Layer* l = layer(name)) {
        l->color = color;
        ++m_revision;
    }
}

tiermark::Result<void> Drawing::renameLayer(std::u16string_view oldName, std::u16string_view newName) {
    Layer* target = layer(oldName);
    if (target == nullptr) {
        return tiermark::makeError("Layer " + quoted(oldName) + " does not exist in the drawing.");
    }
    if (isFixedLayer(target->name)) {
        return tiermark::makeError("Layer " + quoted(target->name) + " cannot be renamed.");
    }
    if (auto reason = invalidLayerNameReason(newName)) {
        return tiermark::makeError(*reason);
    }
    const Layer* existing = findLayer(newName);
    if (existing != nullptr && existing != target) {
        return tiermark::makeError("Layer " + quoted(existing->name) + " already exists.");
    }
    const std::u16string previous = target->name;
    target->name = std::u16string(newName);
    for (DrawingObject& object : m_objects) {
        if (object.layer == previous) {
            object.layer = target->name;
        }
    }
    ++m_revision;
    return {};
}

int Drawing::addObject(DrawingObject object) {
    if (object.id == 0) {
        object.id = m_nextId;
    }
    m_nextId = std::max(m_nextId, object.id + 1);
    if (const Layer* l = findLayer(object.layer)) {
        object.layer = l->name;
    } else if (!addLayer(object.layer)) {
        object.layer = std::u16string(kLayerZero);
    }
    m_objects.push_back(std::move(object));
    ++m_revision;
    return m_objects.back().id;
}

const DrawingObject* Drawing::findObject(int id) const {
    for (const DrawingObject& object : m_objects) {
        if (object.id == id) {
            return &object;
        }
    }
    return nullptr;
}

void Drawing::moveObjects(const std::vector<int>& ids, double dx, double dy) {
    for (DrawingObject& object : m_objects) {
        if (std::find(ids.begin(), ids.end(), object.id) != ids.end()) {
            object.position.x += dx;
            object.position.y += dy;
            object.end.x += dx;
            object.end.y += dy;
        }
    }
    ++m_revision;
}

void Drawing::setObjectLayer(const std::vector<int>& ids, std::u16string_view name) {
    const Layer* target = findLayer(name);
    if (target == nullptr) {
        return;
    }
    for (DrawingObject& object : m_objects) {
        if (std::find(ids.begin(), ids.end(), object.id) != ids.end()) {
            object.layer = target->name;
        }
    }
    ++m_revision;
}

const Group* Drawing::findGroup(std::u16string_view name) const {
    for (const Group& group : m_groups) {
        if (equalsNoCase(group.name, name)) {
            return &group;
        }
    }
    return nullptr;
}

void Drawing::addGroup(Group group) {
    m_groups.push_back(std::move(group));
    ++m_revision;
}

bool Drawing::removeGroup(std::u16string_view name) {
    const auto it = std::find_if(m_groups.begin(), m_groups.end(),
                                 [&](const Group& group) { return equalsNoCase(group.name, name); });
    if (it == m_groups.end()) {
        return false;
    }
    m_groups.erase(it);
    ++m_revision;
    return true;
}

}  // namespace cadsim
