#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "dxf/dxf_groups.h"

// What the layer records that a translated copy removes leave behind in the rest of the file: the objects
// of the OBJECTS section that belong to them (a layer's extension dictionary and what that dictionary
// holds, where AutoCAD keeps notes of its own), and the pointers that name them (the layers a viewport
// freezes). Left as they were, they would name a record the file no longer has.
namespace dxf::groups {

class RemovedRecords {
public:
    // A layer record that stays, under the (upper-cased) name it ends with, and its handle (group 5).
    void kept(const std::u16string& name, std::string_view handle);
    // The handle of a record that is removed, and the (upper-cased) layer its objects move to: the objects
    // it owns go with it, and pointers to it point to that layer's record.
    void removed(std::string_view handle, const std::u16string& into);
    // Whether any record is removed: only then does the rest of the file need looking at.
    bool active() const { return !m_gone.empty(); }

    // The handle a pointer (groups 330 to 369) names instead of a removed record; none for any other.
    std::optional<std::string> pointerTo(std::string_view handle) const;

    // One group of the OBJECTS section: appends to `write` what is to be written now. An object is held
    // until its owner (group 330 outside the "{ACAD_REACTORS" groups) or its first subclass marker (100)
    // is read; an object owned by a removed record (or by one of its removed objects) is left out whole.
    void take(const Group& group, std::string_view bytes, std::string& write);
    // Where the section ends: what is still held.
    void end(std::string& write);

private:
    enum class State { Between, Held, Kept, Left };
    void decide(bool gone, std::string& write);

    std::unordered_set<std::string> m_gone;                      // upper-cased handles
    std::unordered_map<std::string, std::u16string> m_into;      // by a removed record's handle
    std::unordered_map<std::u16string, std::string> m_handleOf;  // a record that stays, by its name
    State m_state = State::Between;
    std::string m_held;
    std::string m_handle;
    bool m_inBraces = false;
};

}  // namespace dxf::groups
