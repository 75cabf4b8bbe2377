// The builder's start-up run and its fallback, and the three navigation buttons and the close button.
#include <QDialog>

#include "app/form_registry.h"
#include "app/program.h"
#include "builder/forms/builder_form.h"
#include "builder/queries.h"
#include "stddb/settings_store.h"
#include "ui/dialogs.h"

namespace builder {
namespace {

constexpr std::u16string_view kBuiltInStages[] = {u"測量", u"設計", u"施工", u"維持管理"};

// Refills a list with the texts, in order.
void fill(ui::ListBox& list, const std::vector<std::u16string>& texts) {
    list.clearItems();
    for (const auto& text : texts) {
        list.addItem(text);
    }
}

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
    if (database.registeredPath().empty() || !startUpFromDatabase()) {
        startUpFallback();
    }
    m_inStartUp = false;
}

tiermark::Result<void> UserForm1::startUpFromDatabase() {
    stddb::SharedDatabase& database = m_program.database();
    if (auto opened = database.open(m_program.workspace(), database.registeredPath()); !opened) {
        return opened.error();
    }

    // Each list is read whole before it is filled: a failure in the middle of a table leaves it as it was.
    auto readColumn = [&database](
                          std::u16string_view table,
                          std::u16string_view field) -> tiermark::Result<std::vector<std::u16string>> {
        auto rows = database.openShared(table);
        if (!rows) {
            return rows.error();
        }
        return columnTexts(**rows, field);
    };

    auto stages = readColumn(u"ライフサークルテーブル", u"サイクル名");
    if (!stages) {
        return stages.error();
    }
    fill(*ListBox1, *stages);
    fill(*ListBox8, *stages);

    for (int i = 0; i < ListBox1->listCount(); ++i) {
        const std::u16string stored =
            m_program.settings().GetSetting(stddb::kSectionLife, stddb::kKeyDefaultStage);
        if (stored == ListBox1->itemText(i)) {
            ListBox1->setListIndex(i);
            ListBox8->setListIndex(i);
        }
    }

    auto kinds = readColumn(u"種別テーブル", u"名称");
    if (!kinds) {
        return kinds.error();
    }
    fill(*ListBox2, *kinds);
    fill(*ListBox9, *kinds);

    auto widths = readColumn(u"線幅テーブル", u"線幅");
    if (!widths) {
        return widths.error();
    }
    fill(*ListBox5, *widths);
    if (!ListBox5->setListIndex(0)) {
        return tiermark::makeError("the line-width table has no rows");
    }

    auto papers = readColumn(u"用紙テーブル", u"呼び方");
    if (!papers) {
        return papers.error();
    }
    fill(*ListBox7, *papers);
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
        m_program.forms().showSettings();
    }
}

void UserForm1::CommandButton3_Click() {
    m_program.forms().showSettings();
}

void UserForm1::CommandButton4_Click() {
    m_program.forms().showAbout();
}

void UserForm1::CommandButton6_Click() {
    m_program.forms().showVersions();
}

void UserForm1::CommandButton7_Click() {
    hide();
}

}  // namespace builder
