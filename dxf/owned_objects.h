#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "dxf/dxf_groups.h"

// The objects of a DXF file's OBJECTS section that belong to a record the translated copy removes: a
// layer's extension dictionary and what that dictionary holds (AutoCAD keeps notes of its own there).
// Left behind, they would name an owner the file no longer has.
namespace dxf::groups {

class OwnedObjects {
public:
    // The handle (group 5) of a record that is removed: the objects it owns go with it.
    void removeOwner(std::string_view handle);
    // Whether any owner is removed: only then does the OBJECTS section need filtering.
    bool active() const { return !m_gone.empty(); }

    // One group of the OBJECTS section: appends to `write` what is to be written now. An object is held
    // until its owner (group 330 outside the "{ACAD_REACTORS" groups) or its first subclass marker (100)
    // is read; an object owned by a removed record (or by one of its removed objects) is left out whole.
    void take(const Group& group, std::string_view bytes, std::string& write);
    // Where the section ends: what is still held.
    void end(std::string& write);

private:
    enum class State { Between, Held, Kept, Left };
    void decide(bool gone, std::string& write);

    std::unordered_set<std::string> m_gone;  // upper-cased handles
    State m_state = State::Between;
    std::string m_held;
    std::string m_handle;
    bool m_inBraces = false;
};

}  // namespace dxf::groups
