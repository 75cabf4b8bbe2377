#pragma once

#include <string>
#include <vector>

#include "cadlink/discovery.h"

namespace win32test {

// The main window's drawing list as discovery fills it, without a widget.
class ListModel final : public cadlink::DrawingList {
public:
    void clear() override {
        m_lines.clear();
        m_index = -1;
    }
    void addLine(const std::u16string& text, std::int32_t itemData) override {
        m_lines.push_back({text, itemData});
    }
    int lineCount() const override { return static_cast<int>(m_lines.size()); }
    int listIndex() const override { return m_index; }
    void setListIndex(int index) override { m_index = index; }
    std::int32_t itemData(int line) const override {
        return m_lines.at(static_cast<std::size_t>(line)).itemData;
    }
    const std::u16string& text(int line) const { return m_lines.at(static_cast<std::size_t>(line)).text; }

private:
    struct Line {
        std::u16string text;
        std::int32_t itemData = 0;
    };
    std::vector<Line> m_lines;
    int m_index = -1;
};

}  // namespace win32test
