#include "cadsim/core/drawing.h"

#include <algorithm>

#include "cadsim/core/layer_rules.h"
#include "cadsim/core/text.h"
#include "common/ascii.h"
#include "common/utf.h"

namespace cadsim {

namespace {
std::string quoted(std::u16string_view name) {
    return "\"" + tiermark::toUtf8(name) + "\"";
}

bool contains(const std::vector<int>& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}
}  // namespace

Drawing::Drawing() {
    clear();
}

void Drawing::touch() {
    if (m_beforeChange) {
        m_beforeChange();
    }
    ++m_revision;
}

void Drawing::clear() {
    touch();
    m_contents = Contents{};
    m_contents.layers = {Layer{std::u16string(kLayerZero)}, Layer{std::u16string(kLayerDefpoints)}};
    m_contents.lineTypes = {std::u16string(kContinuous)};
}

void Drawing::restore(Contents contents) {
    ++m_revision;
    m_contents = std::move(contents);
}

std::optional<std::string> Drawing::invalidNameReason(std::u16string_view name) const {
    return invalidLayerNameReason(name, m_nameRules);
}

std::u16string Drawing::keptName(std::u16string_view name) const {
    return m_nameRules == NameRules::Release14 ? tiermark::asciiUppercased(name) : std::u16string(name);
}

Layer* Drawing::layer(std::u16string_view name) {
    for (Layer& l : m_contents.layers) {
        if (tiermark::equalsIgnoringAsciiCase(l.name, name)) {
            return &l;
        }
    }
    return nullptr;
}

const Layer* Drawing::findLayer(std::u16string_view name) const {
    return const_cast<Drawing*>(this)->layer(name);
}

bool Drawing::addLayer(std::u16string_view name) {
    if (findLayer(name) != nullptr || invalidNameReason(name)) {
        return false;
    }
    touch();
    m_contents.layers.push_back(Layer{keptName(name)});
    return true;
}

void Drawing::setLineType(std::u16string_view name, std::u16string_view lineType) {
    const std::optional<std::u16string> loaded = loadedLineType(lineType);
    if (Layer* l = layer(name); l != nullptr && loaded) {
        touch();
        l->lineType = *loaded;
    }
}

void Drawing::setColor(std::u16string_view name, int color) {
    if (Layer* l = layer(name)) {
        touch();
        l->color = color;
    }
}

void Drawing::setFlag(std::u16string_view name, LayerFlag flag) {
    Layer* l = layer(name);
    if (l == nullptr) {
        return;
    }
    touch();
    switch (flag) {
        case LayerFlag::Off:
            l->off = true;
            break;
        case LayerFlag::On:
            l->off = false;
            break;
        case LayerFlag::Freeze:
            l->frozen = true;
            break;
        case LayerFlag::Thaw:
            l->frozen = false;
            break;
        case LayerFlag::Lock:
            l->locked = true;
            break;
        case LayerFlag::Unlock:
            l->locked = false;
            break;
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
    if (auto reason = invalidNameReason(newName)) {
        return tiermark::makeError(*reason);
    }
    const Layer* existing = findLayer(newName);
    if (existing != nullptr && existing != target) {
        return tiermark::makeError("Layer " + quoted(existing->name) + " already exists.");
    }
    touch();
    const std::u16string previous = target->name;
    target->name = keptName(newName);
    for (DrawingObject& object : m_contents.objects) {
        if (object.layer == previous) {
            object.layer = target->name;
        }
    }
    return {};
}

std::vector<std::u16string> Drawing::mergeLayers(const std::vector<std::u16string>& from,
                                                 std::u16string_view into) {
    const Layer* target = findLayer(into);
    std::vector<std::u16string> deleted;
    if (target == nullptr) {
        return deleted;
    }
    touch();
    const std::u16string targetName = target->name;
    for (const std::u16string& name : from) {
        const Layer* source = findLayer(name);
        if (source == nullptr || tiermark::equalsIgnoringAsciiCase(source->name, targetName)) {
            continue;
        }
        const std::u16string sourceName = source->name;
        for (DrawingObject& object : m_contents.objects) {
            if (object.layer == sourceName) {
                object.layer = targetName;
            }
        }
        if (!isFixedLayer(sourceName)) {
            auto& layers = m_contents.layers;
            layers.erase(std::remove_if(layers.begin(), layers.end(),
                                        [&](const Layer& l) { return l.name == sourceName; }),
                         layers.end());
            deleted.push_back(sourceName);
        }
    }
    return deleted;
}

std::optional<std::u16string> Drawing::loadedLineType(std::u16string_view name) const {
    for (const std::u16string& loaded : m_contents.lineTypes) {
        if (tiermark::equalsIgnoringAsciiCase(loaded, name)) {
            return loaded;
        }
    }
    return std::nullopt;
}

bool Drawing::loadLineType(std::u16string_view name) {
    if (loadedLineType(name)) {
        return true;
    }
    if (invalidNameReason(name)) {
        return false;
    }
    touch();
    m_contents.lineTypes.push_back(keptName(name));
    return true;
}

int Drawing::addObject(DrawingObject object) {
    touch();
    if (object.id == 0) {
        object.id = m_contents.nextId;
    }
    m_contents.nextId = std::max(m_contents.nextId, object.id + 1);
    if (const Layer* l = findLayer(object.layer)) {
        object.layer = l->name;
    } else if (!addLayer(object.layer)) {
        object.layer = std::u16string(kLayerZero);
    } else {
        object.layer = findLayer(object.layer)->name;
    }
    m_contents.objects.push_back(std::move(object));
    return m_contents.objects.back().id;
}

const DrawingObject* Drawing::findObject(int id) const {
    for (const DrawingObject& object : m_contents.objects) {
        if (object.id == id) {
            return &object;
        }
    }
    return nullptr;
}

int Drawing::lastObject() const {
    return m_contents.objects.empty() ? 0 : m_contents.objects.back().id;
}

void Drawing::moveObjects(const std::vector<int>& ids, double dx, double dy) {
    touch();
    for (DrawingObject& object : m_contents.objects) {
        if (contains(ids, object.id)) {
            object.position.x += dx;
            object.position.y += dy;
            object.end.x += dx;
            object.end.y += dy;
        }
    }
}

std::vector<int> Drawing::copyObjects(const std::vector<int>& ids, double dx, double dy) {
    std::vector<DrawingObject> copies;
    for (const DrawingObject& object : m_contents.objects) {
        if (contains(ids, object.id)) {
            DrawingObject copy = object;
            copy.id = 0;
            copy.position.x += dx;
            copy.position.y += dy;
            copy.end.x += dx;
            copy.end.y += dy;
            copies.push_back(std::move(copy));
        }
    }
    std::vector<int> added;
    for (DrawingObject& copy : copies) {
        added.push_back(addObject(std::move(copy)));
    }
    return added;
}

void Drawing::eraseObjects(const std::vector<int>& ids) {
    touch();
    auto& objects = m_contents.objects;
    objects.erase(std::remove_if(objects.begin(), objects.end(),
                                 [&](const DrawingObject& o) { return contains(ids, o.id); }),
                  objects.end());
    for (Group& g : m_contents.groups) {
        g.members.erase(
            std::remove_if(g.members.begin(), g.members.end(), [&](int id) { return contains(ids, id); }),
            g.members.end());
    }
}

void Drawing::replaceObject(const DrawingObject& replacement) {
    for (DrawingObject& object : m_contents.objects) {
        if (object.id == replacement.id) {
            touch();
            object = replacement;
            return;
        }
    }
}

void Drawing::setObjectLayer(const std::vector<int>& ids, std::u16string_view name) {
    const Layer* target = findLayer(name);
    if (target == nullptr) {
        return;
    }
    touch();
    for (DrawingObject& object : m_contents.objects) {
        if (contains(ids, object.id)) {
            object.layer = target->name;
        }
    }
}

void Drawing::setObjectColor(const std::vector<int>& ids, int color) {
    touch();
    for (DrawingObject& object : m_contents.objects) {
        if (contains(ids, object.id)) {
            object.color = color;
        }
    }
}

void Drawing::setObjectLineType(const std::vector<int>& ids, std::u16string_view lineType) {
    touch();
    for (DrawingObject& object : m_contents.objects) {
        if (contains(ids, object.id)) {
            object.lineType = std::u16string(lineType);
        }
    }
}

Group* Drawing::group(std::u16string_view name) {
    for (Group& g : m_contents.groups) {
        if (tiermark::equalsIgnoringAsciiCase(g.name, name)) {
            return &g;
        }
    }
    return nullptr;
}

const Group* Drawing::findGroup(std::u16string_view name) const {
    return const_cast<Drawing*>(this)->group(name);
}

void Drawing::addGroup(Group g) {
    touch();
    g.name = keptName(g.name);
    m_contents.groups.push_back(std::move(g));
}

bool Drawing::removeGroup(std::u16string_view name) {
    auto& groups = m_contents.groups;
    const auto it = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
        return tiermark::equalsIgnoringAsciiCase(g.name, name);
    });
    if (it == groups.end()) {
        return false;
    }
    touch();
    groups.erase(it);
    return true;
}

void Drawing::renameGroup(std::u16string_view name, std::u16string_view newName) {
    if (Group* g = group(name)) {
        touch();
        g->name = keptName(newName);
    }
}

void Drawing::addGroupMembers(std::u16string_view name, const std::vector<int>& ids) {
    if (Group* g = group(name)) {
        touch();
        for (int id : ids) {
            if (!contains(g->members, id)) {
                g->members.push_back(id);
            }
        }
    }
}

void Drawing::removeGroupMembers(std::u16string_view name, const std::vector<int>& ids) {
    if (Group* g = group(name)) {
        touch();
        g->members.erase(
            std::remove_if(g->members.begin(), g->members.end(), [&](int id) { return contains(ids, id); }),
            g->members.end());
    }
}

void Drawing::setGroupSelectable(std::u16string_view name, bool selectable) {
    if (Group* g = group(name)) {
        touch();
        g->selectable = selectable;
    }
}

}  // namespace cadsim
