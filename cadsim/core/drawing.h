#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace cadsim {

inline constexpr std::u16string_view kLayerZero = u"0";
inline constexpr std::u16string_view kLayerDefpoints = u"DEFPOINTS";
inline constexpr std::u16string_view kContinuous = u"Continuous";
inline constexpr int kDefaultColor = 7;

struct Layer {
    std::u16string name;
    std::u16string lineType{kContinuous};
    int color = kDefaultColor;
};

enum class ObjectKind { Line, Circle, Text };

struct Point {
    double x = 0;
    double y = 0;
};

// One drawn object. position is the start of a line, the centre of a circle, the insertion point of a
// text; end, radius and text/height belong to the kind that uses them.
struct DrawingObject {
    int id = 0;
    ObjectKind kind = ObjectKind::Line;
    std::u16string layer{kLayerZero};
    Point position;
    Point end;
    double radius = 0;
    std::u16string text;
    double height = 2.5;
};

struct Group {
    std::u16string name;
    std::u16string description;
    std::vector<int> members;
};

// The one drawing a stand-in holds: its layer table in creation order ("0" and "DEFPOINTS" always
// there), its objects and its named groups. Layer and group names are found without regard to case.
// Every change raises revision(), so that observers can tell that something happened.
class Drawing {
public:
    Drawing();

    const std::vector<Layer>& layers() const { return m_layers; }
    const std::vector<DrawingObject>& objects() const { return m_objects; }
    const std::vector<Group>& groups() const { return m_groups; }
    std::uint64_t revision() const { return m_revision; }

    const Layer* findLayer(std::u16string_view name) const;
    // Adds the layer when no layer of that name exists; true when it was added. The name must be valid.
    bool addLayer(std::u16string_view name);
    void setLineType(std::u16string_view layer, std::u16string_view lineType);
    void setColor(std::u16string_view layer, int color);
    // Renames a layer and moves its objects along; refused with a description of the reason.
    tiermark::Result<void> renameLayer(std::u16string_view oldName, std::u16string_view newName);

    // Adds an object with the next free id (when id is 0) and returns its id. An unknown layer is created.
    int addObject(DrawingObject object);
    const DrawingObject* findObject(int id) const;
    void moveObjects(const std::vector<int>& ids, double dx, double dy);
    void setObjectLayer(const std::vector<int>& ids, std::u16string_view layer);

    const Group* findGroup(std::u16string_view name) const;
    void addGroup(Group group);
    bool removeGroup(std::u16string_view name);

    // Back to the two fixed layers and nothing else.
    void clear();

private:
    Layer* layer(std::u16string_view name);

    std::vector<Layer> m_layers;
    std::vector<DrawingObject> m_objects;
    std::vector<Group> m_groups;
    int m_nextId = 1;
    std::uint64_t m_revision = 0;
};

}  // namespace cadsim
