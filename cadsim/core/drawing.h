#pragma once

#include <cstdint>
#include <functional>
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
    bool off = false;
    bool frozen = false;
    bool locked = false;
};

enum class ObjectKind { Line, Circle, Text };

struct Point {
    double x = 0;
    double y = 0;
};

// One drawn object. position is the start of a line, the centre of a circle, the insertion point of a
// text; end, radius and text/height belong to the kind that uses them. color 0 and an empty lineType are
// ByLayer.
struct DrawingObject {
    int id = 0;
    ObjectKind kind = ObjectKind::Line;
    std::u16string layer{kLayerZero};
    Point position;
    Point end;
    double radius = 0;
    std::u16string text;
    double height = 2.5;
    int color = 0;
    std::u16string lineType;
};

struct Group {
    std::u16string name;
    std::u16string description;
    std::vector<int> members;
    bool selectable = true;
};

// Which characters named objects (layers, groups, line types) may hold: EXTNAMES 1, the default of every
// release since 2000 (up to 255 characters, none of < > / \ " : ; ? * | , = ` ' nor a control character),
// or EXTNAMES 0 as in Release 14 (up to 31 of A–Z, 0–9, $, _ and -, kept in capitals).
enum class NameRules { Extended, Release14 };

// The one drawing a stand-in holds: its layer table in creation order ("0" and "DEFPOINTS" always
// there), its line-type table (the line types loaded in the drawing; Continuous always), its objects and
// its named groups. Layer, line-type and group names are found without regard to case. Every change raises
// revision(), so that observers can tell that something happened; an observer set with
// setBeforeChange() is called before each change (the command line keeps its undo steps so).
class Drawing {
public:
    Drawing();

    // Everything a change can touch, as one value: what the command line's U restores.
    struct Contents {
        std::vector<Layer> layers;
        std::vector<std::u16string> lineTypes;
        std::vector<DrawingObject> objects;
        std::vector<Group> groups;
        int nextId = 1;
    };
    const Contents& contents() const { return m_contents; }
    void restore(Contents contents);
    void setBeforeChange(std::function<void()> observer) { m_beforeChange = std::move(observer); }

    const std::vector<Layer>& layers() const { return m_contents.layers; }
    const std::vector<DrawingObject>& objects() const { return m_contents.objects; }
    const std::vector<Group>& groups() const { return m_contents.groups; }
    const std::vector<std::u16string>& lineTypes() const { return m_contents.lineTypes; }
    std::uint64_t revision() const { return m_revision; }

    NameRules nameRules() const { return m_nameRules; }
    void setNameRules(NameRules rules) { m_nameRules = rules; }
    // Why a text cannot name a layer, a group or a line type under the drawing's rules; nothing when it can.
    std::optional<std::string> invalidNameReason(std::u16string_view name) const;
    // The name as the drawing keeps it (capitals under Release 14 rules).
    std::u16string keptName(std::u16string_view name) const;

    const Layer* findLayer(std::u16string_view name) const;
    // Adds the layer when no layer of that name exists; true when it was added. The name must be valid.
    bool addLayer(std::u16string_view name);
    // Sets a layer's line type; the line type must be loaded (it is spelt as the line-type table spells it).
    void setLineType(std::u16string_view layer, std::u16string_view lineType);
    void setColor(std::u16string_view layer, int color);
    enum class LayerFlag { Off, On, Freeze, Thaw, Lock, Unlock };
    void setFlag(std::u16string_view layer, LayerFlag flag);
    // Renames a layer and moves its objects along; refused with a description of the reason.
    tiermark::Result<void> renameLayer(std::u16string_view oldName, std::u16string_view newName);
    // Puts the objects of the layers onto the target and deletes those layers (never "0" or "DEFPOINTS");
    // the names of the layers deleted.
    std::vector<std::u16string> mergeLayers(const std::vector<std::u16string>& from,
                                            std::u16string_view into);

    // The loaded line type of that name as the table spells it, or nothing when it is not loaded.
    std::optional<std::u16string> loadedLineType(std::u16string_view name) const;
    // Loads a line type into the table (a name already there is kept as it is); false for an invalid name.
    bool loadLineType(std::u16string_view name);

    // Adds an object with the next free id (when id is 0) and returns its id. An unknown layer is created.
    int addObject(DrawingObject object);
    const DrawingObject* findObject(int id) const;
    // The object created last, 0 for none.
    int lastObject() const;
    void moveObjects(const std::vector<int>& ids, double dx, double dy);
    // Adds displaced copies of the objects; their new ids.
    std::vector<int> copyObjects(const std::vector<int>& ids, double dx, double dy);
    void eraseObjects(const std::vector<int>& ids);
    // Puts the object in the place of the object with its id.
    void replaceObject(const DrawingObject& object);
    void setObjectLayer(const std::vector<int>& ids, std::u16string_view layer);
    void setObjectColor(const std::vector<int>& ids, int color);
    void setObjectLineType(const std::vector<int>& ids, std::u16string_view lineType);

    const Group* findGroup(std::u16string_view name) const;
    void addGroup(Group group);
    bool removeGroup(std::u16string_view name);
    void renameGroup(std::u16string_view name, std::u16string_view newName);
    void addGroupMembers(std::u16string_view name, const std::vector<int>& ids);
    void removeGroupMembers(std::u16string_view name, const std::vector<int>& ids);
    void setGroupSelectable(std::u16string_view name, bool selectable);

    // Back to the two fixed layers, Continuous alone and nothing else.
    void clear();

private:
    Layer* layer(std::u16string_view name);
    Group* group(std::u16string_view name);
    // Called before every change: the observer, then the revision.
    void touch();

    Contents m_contents;
    NameRules m_nameRules = NameRules::Extended;
    std::uint64_t m_revision = 0;
    std::function<void()> m_beforeChange;
};

}  // namespace cadsim
