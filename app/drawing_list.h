#pragma once

#include "cadlink/discovery.h"
#include "core/program.h"
#include "ui/controls.h"

namespace app {

// The drawing list of the main window as the discovery sees it: lines with their record index as item data.
class ListBoxDrawingList final : public cadlink::DrawingList {
public:
    explicit ListBoxDrawingList(ui::ListBox& list) : m_list(list) {}

    void clear() override;
    void addLine(const std::u16string& text, std::int32_t itemData) override;
    int lineCount() const override;
    int listIndex() const override;
    void setListIndex(int index) override;
    std::int32_t itemData(int line) const override;

private:
    ui::ListBox& m_list;
};

// Keeps the program's chosen drawing as the list shows it: after every change of its lines, of their
// record indexes or of the chosen line, whether made by the user, by the discovery or by code.
void keepChosenDrawing(ui::ListBox& list, core::Program& program);

}  // namespace app
