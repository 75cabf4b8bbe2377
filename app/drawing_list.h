#pragma once

#include "cadlink/discovery.h"
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

}  // namespace app
