#include "app/drawing_list.h"

namespace app {

void ListBoxDrawingList::clear() {
    m_list.clearItems();
}

void ListBoxDrawingList::addLine(const std::u16string& text, std::int32_t itemData) {
    m_list.addItem(text);
    m_list.item(m_list.count() - 1)->setData(Qt::UserRole, itemData);
}

int ListBoxDrawingList::lineCount() const {
    return m_list.count();
}

int ListBoxDrawingList::listIndex() const {
    return m_list.listIndex();
}

void ListBoxDrawingList::setListIndex(int index) {
    m_list.setListIndex(index);
}

std::int32_t ListBoxDrawingList::itemData(int line) const {
    const QListWidgetItem* item = m_list.item(line);
    return item != nullptr ? item->data(Qt::UserRole).toInt() : 0;
}

}  // namespace app
