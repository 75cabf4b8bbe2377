// The builder's start-up run and its fallback, and the three navigation buttons and the close button.
#include <QDialog>

#include "builder/forms/builder_form.h"
#include "builder/queries.h"
#include "core/navigation.h"
#include "core/program.h"
#include "stddb/settings_store.h"
#include "ui/dialogs.h"

namespace builder {
namespace {

constexpr std::u16string_view kBuiltInStages[] = {u"測量", u"設計", u"施工", u"維持管理"};

}  // namespace

void UserForm1::UserForm_Activate() {
    // A run must not disturb an operation in progress (layer creation waits in the numbered-layer form), nor
    // start again from inside itself (a window it opens hands the activation back when it closes).
    if (m_inStartUp || m_operationInProgress) {
        return;
    }
    m_inStartUp = true;
    stddb::SharedDatabase& database = m_program.database();
    database.setRegisteredPath(stddb::registeredDatabasePath(m_program.settings()));
    if (database.registeredPath().empty()) {
        startUpFallback();
    } else if (auto started = startUpFromDatabase(); !started) {
        tellDatabaseUnreadable();
        startUpFallback();
    }
    m_inStartUp = false;
}

tiermark::Result<void> UserForm1::startUpFromDatabase() {
    // The lists are filled from one state of the file: when it changed while its tables were read (a new
    // release copied over it), the start-up runs once more on the new file.
    stddb::SharedDatabase& database = m_program.database();
    m_startUpChangedFile = false;
    for (int attempt = 0;; ++attempt) {
        if (auto opened = database.open(m_program.workspace(), database.registeredPath()); !opened) {
            return opened.error();
        }
        // Every table is read before a list is touched: a file that cannot be read whole leaves the lists
        // as the last good start-up filled them.
        auto read = preloadCascadeTables(*database.get());
        if (read) {
            if (auto filled = fillStartUpLists(); !filled) {
                return filled.error();
            }
        }
        auto unchanged = database.get()->CheckUnchanged();
        if (unchanged) {
            return read;  // a file that stayed as it was and still cannot be read whole is damaged
        }
        if (attempt == 1) {
            m_startUpChangedFile = true;
            return unchanged;
        }
    }
}

void UserForm1::tellDatabaseUnreadable() {
    // Told once per showing: the message box hands the activation back when it closes, and the start-up
    // that follows would fail in the same way.
    if (m_unreadableToldSinceShown) {
        return;
    }
    m_unreadableToldSinceShown = true;
    ui::showMessage(m_program.dialogs(), this,
                    databaseUnreadableMessage(m_program.database().registeredPath(), m_startUpChangedFile));
    m_startUpChangedFile = false;
}

tiermark::Result<void> UserForm1::fillStartUpLists() {
    stddb::SharedDatabase& database = m_program.database();
    // Each table is opened, its lists are cleared and then filled with its rows in one insertion: a table
    // that fails while its rows are read leaves its lists holding only the rows read so far, never a
    // previous database's items.
    auto fillColumn = [&database](std::u16string_view table, std::u16string_view field,
                                  std::initializer_list<ui::ListBox*> lists) -> tiermark::Result<void> {
        auto rows = database.openShared(table);
        if (!rows) {
            return rows.error();
        }
        for (ui::ListBox* list : lists) {
            list->clearItems();
        }
        std::vector<std::u16string> texts;
        auto put = [&texts, lists] {
            for (ui::ListBox* list : lists) {
                list->addItems(texts);
            }
        };
        for (stddb::Recordset& set = **rows; !set.Eof();) {
            auto text = fieldText(set, field);
            if (!text) {
                put();
                return text.error();
            }
            texts.push_back(std::move(*text));
            if (auto next = set.MoveNext(); !next) {
                put();
                return next.error();
            }
        }
        put();
        return {};
    };

    if (auto stages = fillColumn(u"ライフサークルテーブル", u"サイクル名", {ListBox1, ListBox8}); !stages) {
        return stages.error();
    }

    for (int i = 0; i < ListBox1->listCount(); ++i) {
        const std::u16string stored =
            m_program.settings().GetSetting(stddb::kSectionLife, stddb::kKeyDefaultStage);
        if (stored == ListBox1->itemText(i)) {
            ListBox1->setListIndex(i);
            ListBox8->setListIndex(i);
        }
    }

    if (auto kinds = fillColumn(u"種別テーブル", u"名称", {ListBox2, ListBox9}); !kinds) {
        return kinds.error();
    }

    if (auto widths = fillColumn(u"線幅テーブル", u"線幅", {ListBox5}); !widths) {
        return widths.error();
    }
    if (!ListBox5->setListIndex(0)) {
        return tiermark::makeError("the line-width table has no rows");
    }

    if (auto papers = fillColumn(u"用紙テーブル", u"呼び方", {ListBox7}); !papers) {
        return papers.error();
    }
    if (!ListBox7->setListIndex(3)) {
        return tiermark::makeError("the paper table has fewer than four rows");
    }
    return {};
}

void UserForm1::startUpFallback() {
    ListBox1->clearItems();
    for (std::u16string_view stage : kBuiltInStages) {
        ListBox1->addItem(std::u16string(stage));
    }
    ListBox1->setListIndex(2);
    // The settings window is offered once per showing of the builder: offering it again each time it
    // closes and hands the activation back would never let the user out.
    if (!m_settingsOfferedSinceShown) {
        m_settingsOfferedSinceShown = true;
        m_program.navigation().show(core::Window::Settings);
    }
}

void UserForm1::chooseStage(std::u16string_view stage) {
    for (int i = 0; i < ListBox1->listCount(); ++i) {
        if (ListBox1->itemText(i) == stage) {
            ListBox1->setListIndex(i);
            return;
        }
    }
}

void UserForm1::CommandButton3_Click() {
    m_program.navigation().show(core::Window::Settings);
}

void UserForm1::CommandButton4_Click() {
    m_program.navigation().show(core::Window::About);
}

void UserForm1::CommandButton6_Click() {
    m_program.navigation().show(core::Window::Versions);
}

void UserForm1::CommandButton7_Click() {
    hide();
}

}  // namespace builder
