#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "cadlink/drawing_access.h"
#include "layercheck/layer_check.h"

// How checkLayers judges one layer of a drawing.
namespace layercheck {

// A family's members begin with prefix and end in one suffix character.
struct Family {
    std::u16string prefix;  // folded
    std::u16string templateName;
    bool ofDrawingKind = false;
};

// Everything a layer is judged by: the standard's layers by name, its families and the entries of the
// changer's right-hand list.
class Judge {
public:
    explicit Judge(const Standard& standard);

    // The row of one layer of the drawing; standardIndex is the standard layer it is (where it is one).
    Row judge(const cadlink::DrawingLayer& layer, std::optional<std::size_t>& standardIndex) const;

    // The row of a layer of an external reference: its own verdict, and the judgement of the name it has in
    // the referenced drawing (after the last "|") as its note.
    Row judgeReferenced(const cadlink::DrawingLayer& layer) const;

private:
    // The notes and the verdict of a layer named as a standard layer, a numbered member or neither.
    void judgeStandard(Row& row, const cadlink::DrawingLayer& layer, const cadlink::LayerRecord& model) const;
    static void judgeMember(Row& row, const cadlink::DrawingLayer& layer, const Family& family);
    void judgeOther(Row& row, const cadlink::DrawingLayer& layer, const std::u16string& key) const;

    const Standard& m_standard;
    std::unordered_map<std::u16string, std::size_t> m_byName;
    std::vector<Family> m_families;
    std::vector<std::u16string> m_changerEntries;
};

}  // namespace layercheck
