#include "app/drawing_list.h"

#include <QItemSelectionModel>

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

void keepChosenDrawing(ui::ListBox& list, core::Program& program) {
    auto note = [&list, &program] {
        const int line = list.listIndex();
        if (line < 0) {
            program.chooseDrawing(std::nullopt);
            return;
        }
        const QListWidgetItem* item = list.item(line);
        program.chooseDrawing(core::ChosenDrawing{item->data(Qt::UserRole).toInt(), list.itemText(line)});
    };
    // The list's own signals are blocked while it deselects: its model and selection model speak for it.
    QObject::connect(list.selectionModel(), &QItemSelectionModel::selectionChanged, &list, note);
    QAbstractItemModel* model = list.model();
    QObject::connect(model, &QAbstractItemModel::modelReset, &list, note);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &list, note);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, &list, note);
    QObject::connect(model, &QAbstractItemModel::dataChanged, &list, note);
    note();
}

}  // namespace app
